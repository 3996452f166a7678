// The session without any window: received lines run through the line table, and what they
// change (state, members, lines sent) and show (through a recording screen) is checked
// directly, no frame, no socket.
#include "RecordingScreen.h"
#include "core/Commands.h"
#include "core/Session.h"
#include <QSignalSpy>
#include <QTest>

namespace {
// A session registered as "abc" with the server irc.test, its /JOIN of #c sent.
struct Joining
{
    RecordingScreen screen;
    core::Session session{screen};
    QSignalSpy sent{&session, &core::Session::Sent};
    Joining()
    {
        session.SetNick(QStringLiteral("abc"));
        session.SetServerName(QStringLiteral("irc.test"));
        session.SetCurrentChannel(QStringLiteral("#c"));
        session.SetChannelState(core::ChannelState::JoinSent);
        screen.onChannelClosed = [this] { session.Members().Clear(); };
    }
    QStringList sentLines()
    {
        QStringList out;
        for (const QList<QVariant> &s : sent) out << s.at(0).toString();
        sent.clear();
        return out;
    }
};
} // namespace

class CoreTest : public QObject
{
    Q_OBJECT
private slots:
    void joinRepliesFillTheChannel();
    void channelEventsKeepTheMembers();
    void commandLinesDifferInTheirColumns();
};

void CoreTest::joinRepliesFillTheChannel()
{
    Joining j;
    j.session.Feed(QStringLiteral(":abc!u@h JOIN :#c\r\n:irc.test 332 abc #c :The topic\r\n"
                                  ":irc.test 353 abc = #c :@op +vo carl abc\r\n:irc.test 366 abc #c :End of /NAMES list.\r\n"));
    QCOMPARE(j.screen.take(), (QStringList{"show channel", "insert 1: \x01 Now speaking in #c", "caption: #c: The topic",
                                           "use channel"}));
    QCOMPARE(j.screen.blocksOpen, 0);
    QCOMPARE(j.session.Members().Items(), (QStringList{"+vo", "@op", "abc", "carl"}));
    QCOMPARE(j.session.ChannelState(), core::ChannelState::Joined);
    QCOMPARE(j.sentLines(), QStringList());
    // Joined, a PING also asks for the names again.
    j.session.Feed(QStringLiteral("PING :t1\r\n"));
    QCOMPARE(j.sentLines(), (QStringList{"PONG :t1", "NAMES #c"}));
    QCOMPARE(j.screen.take(), (QStringList{"server Progress: PING? PONG!", "sound: ping.wav"}));
}

void CoreTest::channelEventsKeepTheMembers()
{
    Joining j;
    j.session.Feed(QStringLiteral(":abc!u@h JOIN :#c\r\n:irc.test 353 abc = #c :@op +vo carl abc\r\n:irc.test 366 abc #c :End\r\n"));
    QVERIFY(j.session.Members().Pick(QStringLiteral("carl")));
    j.screen.take();
    // A voice given, a quit, a join and a kick of someone else, in one block; the pick
    // follows its member through the change of status.
    j.session.Feed(QStringLiteral(":op!u@h MODE #c +v carl\r\n:vo!u@h QUIT :bye\r\n:x!u@h JOIN :#c\r\n"
                                  ":op!u@h KICK #c x :out\r\n"));
    QCOMPARE(j.screen.take(), (QStringList{"use channel", "channel Event: \x01 op sets mode: +v carl", "use channel",
                                           "channel Event: \x01 vo Has Quit IRC (bye)", "channel Event: \x01 x has joined #c",
                                           "use channel", "channel Event: \x01 x was kicked by op (out)"}));
    QCOMPARE(j.session.Members().Items(), (QStringList{"+carl", "@op", "abc"}));
    QCOMPARE(j.session.Members().Picked(), QStringLiteral("+carl"));
    // Our own kick closes the channel window, its list with it, and ends the channel.
    j.session.Feed(QStringLiteral(":op!u@h KICK #c abc :bye\r\n"));
    QCOMPARE(j.screen.take(), (QStringList{"close channel", "server Status: \x01 You were kicked out of #c by op. Reason: bye"}));
    QCOMPARE(j.session.Members().Count(), 0);
    QCOMPARE(j.session.ChannelState(), core::ChannelState::None);
}

void CoreTest::commandLinesDifferInTheirColumns()
{
    Joining j;
    using core::InputLine;
    const auto enter = [&](InputLine where, const QString &line) { core::RunEntered(j.session, where, line); };
    // Not connected: the server line refuses plain text and the rows that test the flag;
    // the channel line tests nothing. Sends go out through the server window.
    enter(InputLine::Server, QStringLiteral("hi"));
    enter(InputLine::Server, QStringLiteral("/part #c"));
    enter(InputLine::Channel, QStringLiteral("hi"));
    enter(InputLine::Channel, QStringLiteral("/part #c"));
    enter(InputLine::Channel, QStringLiteral("/P #c"));
    // Words the channel line lacks do nothing there.
    enter(InputLine::Channel, QStringLiteral("/KICK bob"));
    enter(InputLine::Channel, QStringLiteral("/echo x"));
    enter(InputLine::Server, QStringLiteral("/echo x"));
    QCOMPARE(j.screen.take(), (QStringList{"server Status: \x01 Error 5 (Not connected)", "sound: error.wav",
                                           "server Status: \x01 Error 5 (Not connected)", "sound: error.wav",
                                           "use server", "channel Text: <abc> hi",
                                           "use server", "server Status: \x01 Parted Channel",
                                           "use server", "channel Text: \x01 Parted Channel", "server Echo: x"}));
    QCOMPARE(j.sentLines(), (QStringList{"PRIVMSG #c :hi", "PART #c", "PART #c"}));
    // Connected, the same rows run from the server line with their echo in its pane.
    j.session.SetConnectedCaption(QStringLiteral("abc on irc.test"));
    enter(InputLine::Server, QStringLiteral("/P #c"));
    enter(InputLine::Server, QStringLiteral("/notice hey"));
    enter(InputLine::Channel, QStringLiteral("/notice hey"));
    QCOMPARE(j.screen.take(), (QStringList{"use server", "server Status: \x01 Parted Channel", "use server",
                                           "channel Event: NOTICE: hey", "use server", "channel Event: NOTICE > hey"}));
    QCOMPARE(j.sentLines(), (QStringList{"PART #c", "NOTICE #c :hey", "NOTICE #c :hey"}));
}

QTEST_GUILESS_MAIN(CoreTest)
#include "test_core.moc"
