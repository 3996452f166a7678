// Received data: framing into lines, the order of the line table and the automatic
// replies, checked byte for byte on the loopback server.
#include "ClientSession.h"
#include "core/Clock.h"
#include "settings/SettingsFile.h"
#include "windows/frmInData.h"
#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTime>

namespace {
// A sound as the wave control plays it: the previous file closed, this one opened and played.
QStringList soundOf(const QString &file)
{
    return {QStringLiteral("MMControl1:Close"), QStringLiteral("MMControl1:Open:WaveAudio:") + file,
            QStringLiteral("MMControl1:Play:WaveAudio:") + file};
}
} // namespace

class DispatchTest : public QObject
{
    Q_OBJECT
private slots:
    void heldBlockIsShownTwiceAndHandledOnce();
    void lineEndsAndSplitting();
    void heldRemainderIsBounded();
    void newConnectionStartsClean();
    void welcomeSetsServerNameAndIsShown();
    void serverLines_data();
    void serverLines();
    void closingLinkOnlyAtLineStart();
    void cutTextNeverCarriesLineEndsOntoTheWire();
    void pingReplies();
    void clockReply();
    void nickInUse();
    void closingLink();
    void versionPageAndTime();
};

void DispatchTest::heldBlockIsShownTwiceAndHandledOnce()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    c.m->mnuIndataWindow->setChecked(true);
    frmInData &view = form<frmInData>();
    const QString before = view.Text();

    c.srv.send("PING :abc");
    QVERIFY(WaitUntil([&] { return view.Text() == before + QStringLiteral("PING :abc\n"); }));
    Pump();
    QCOMPARE(c.srv.received(), QByteArray());  // held: nothing handled yet
    QCOMPARE(session().Framing().Held(), QStringLiteral("PING :abc"));

    c.srv.send("\r\n");
    QVERIFY(c.srv.waitForLine("PONG :abc"));
    QCOMPARE(view.Text(), before + QStringLiteral("PING :abc\nPING :abc\n\n"));
    QCOMPARE(session().Framing().Held(), QString());
    QCOMPARE(c.srv.lines(), Lines({"PONG :abc"}));

    // Complete lines inside a held block wait for the block's end as well.
    c.srv.clear();
    c.srv.send("PING :h1\r\nPING :h2");
    QVERIFY(WaitUntil([&] { return session().Framing().Held() == QStringLiteral("PING :h1\r\nPING :h2"); }));
    Pump();
    QCOMPARE(c.srv.received(), QByteArray());
    QCOMPARE(c.repliesTo("\r\n"), Lines({"PONG :h1", "PONG :h2"}));
}

void DispatchTest::lineEndsAndSplitting()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // CR LF is searched first: a lone LF before it stays inside the one line.
    QCOMPARE(c.repliesTo("PING :a\nPING :b\r\n"), Lines({"PONG :a"}));
    // Without CR LF, lone CRs split; without CR, lone LFs do.
    // (Each block is answered before the next goes out, so blocks never run together.)
    c.srv.send("PING :c\rPING :d\r");
    QVERIFY(c.srv.waitForLine("PONG :d"));
    QCOMPARE(c.srv.lines(), Lines({"PONG :c", "PONG :d"}));
    c.srv.clear();
    c.srv.send("PING :e\nPING :f\n");
    QVERIFY(c.srv.waitForLine("PONG :f"));
    QCOMPARE(c.srv.lines(), Lines({"PONG :e", "PONG :f"}));
    c.srv.clear();
    // The first lone CR ends a line even with a lone LF later in the block.
    c.srv.send("PING :g\rPING :h\n");
    QVERIFY(c.srv.waitForLine("PONG :h"));
    QCOMPARE(c.srv.lines(), Lines({"PONG :g", "PONG :h"}));
    c.srv.clear();
    // A CR LF split across two arrivals is one line end: the LF does not head the next line.
    c.srv.send("PING :x\r");
    QVERIFY(c.srv.waitForLine("PONG :x"));
    c.srv.clear();
    QCOMPARE(c.repliesTo("\nPING :y\r\n"), Lines({"PONG :y"}));
    // Empty lines match nothing; every line of a block is handled, in order.
    QCOMPARE(c.repliesTo("\r\n\r\nPING :1\r\nERROR :Closing Link: abc (gone)\r\nPING :2\r\n\r\nPING :3\r\n"),
             Lines({"PONG :1", "PONG :2", "PONG :3"}));
}

void DispatchTest::heldRemainderIsBounded()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    c.srv.send(QByteArray(core::ReceivedLines::MaxHeld + 4096, 'x'));
    const QString dropped = QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped");
    QVERIFY(WaitUntil([&] { return c.paneSinceMark().contains(dropped); }));
    QVERIFY(session().Framing().Held().size() <= core::ReceivedLines::MaxHeld);
    QCOMPARE(ColourOf(c.s->Incoming, dropped), PaletteColour(0));
    // Whatever was still held ends with the next line end; later lines are whole again.
    c.srv.send("\r\n");
    QCOMPARE(c.repliesTo("PING :after\r\n"), Lines({"PONG :after"}));
    QCOMPARE(session().Framing().Held(), QString());

    // A flood that outgrows the bound mid-line loses none of its complete lines, whether
    // they end in CR LF or in lone CRs: they are handled, and only the unfinished last one
    // waits for its end.
    for (const QByteArray end : {QByteArray("\r\n"), QByteArray("\r")}) {
        c.mark();
        c.srv.clear();
        QByteArray flood = "PING :held1" + end;
        while (flood.size() <= core::ReceivedLines::MaxHeld + 4096) flood += QByteArray(100, 'y') + end;
        c.srv.send(flood + "PING :tai");
        QVERIFY(c.srv.waitForLine("PONG :held1"));
        QVERIFY(WaitUntil([] { return session().Framing().Held().endsWith(QStringLiteral("PING :tai")); }));
        QVERIFY(!session().Framing().Held().contains(QStringLiteral("held1")));
        QVERIFY(!c.paneSinceMark().contains(dropped));
        c.srv.send("l\r\n");
        QVERIFY(c.srv.waitForLine("PONG :tail"));
        QCOMPARE(c.srv.lines(), Lines({"PONG :held1", "PONG :tail"}));
    }
}

void DispatchTest::newConnectionStartsClean()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // Half a line when the server closes, and a join typed offline in the channel window,
    // are not taken over by the next connection.
    c.srv.send("PING :hal");
    QVERIFY(WaitUntil([] { return !session().Framing().Held().isEmpty(); }));
    c.srv.closeClient();
    QVERIFY(WaitUntil([&] { return c.s->Caption().isEmpty(); }));
    c.typeChannel(QStringLiteral("/JOIN #c"));
    QVERIFY(c.connectByButton());
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QCOMPARE(c.repliesTo("PING :new\r\n"), Lines({"PONG :new"}));

    // Nor a line being dropped as too long, nor the channel, when /SERVER leaves a channel.
    QVERIFY(c.join(QStringLiteral("#c")));
    c.srv.send(QByteArray(core::ReceivedLines::MaxHeld + 4096, 'x'));
    QVERIFY(WaitUntil([&] { return session().Framing().Dropping(); }));
    c.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QVERIFY(c.srv.waitForLineStarting("USER "));
    c.srv.clear();
    c.mark();
    QCOMPARE(c.repliesTo(":irc.new 001 abc :Welcome anew\r\n"), Lines());
    QCOMPARE(session().ServerName(), QStringLiteral("irc.new"));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\nWelcome anew"));
}

void DispatchTest::welcomeSetsServerNameAndIsShown()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    QCOMPARE(session().ServerName(), QStringLiteral("127.0.0.1"));
    // Before the welcome, whatever a server says is shown, by any name; a user's line is not.
    QCOMPARE(c.repliesTo(":irc.example NOTICE * :*** Looking up your hostname\r\n:bob!u@h NOTICE * :psst\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n*** Looking up your hostname"));
    c.mark();

    QCOMPARE(c.repliesTo(":irc.example 001 abc :Welcome to the Example net abc\r\n"
                    ":irc.example 375 abc :- irc.example message of the day\r\n"),
             Lines());
    QCOMPARE(session().ServerName(), QStringLiteral("irc.example"));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\nWelcome to the Example net abc\n- irc.example message of the day"));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("Welcome to the Example net abc")), PaletteColour(3));
    // From then on, only the server by the name it gave.
    c.mark();
    QCOMPARE(c.repliesTo(":other.example NOTICE abc :hidden\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());
}

void DispatchTest::serverLines_data()
{
    QTest::addColumn<int>("state");  // the channel state the lines arrive in
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<Lines>("replies");
    QTest::addColumn<QString>("pane");  // the server pane's new text
    QTest::addColumn<QStringList>("sounds");
    QTest::addColumn<QString>("line");  // a pane line whose colour is checked, if any
    QTest::addColumn<QColor>("colour");

    const QStringList none;
    const QString noLine;
    const QColor noColour;
    // Server text: what follows the first " :", or else the words after the target nick,
    // or else the whole line; without formatting marks. After the welcome, a differently
    // named server is not shown.
    QTest::newRow("server text") << 0 << QByteArray(":127.0.0.1 NOTICE abc :*** Hello :there\r\n:127.0.0.1 NOCOLON\r\n"
                                                    ":127.0.0.1 004 abc 127.0.0.1 ircd-hybrid-1:8.2.43 DGH bkloveIh\r\n"
                                                    ":127.0.0.1 005 abc CHANLIMIT=#:20 :are supported by this server\r\n"
                                                    ":127.0.0.1 NOTICE abc :\x02" "bold\x02 \x03" "04,1red\x03 \x1F\x0F" "plain\r\n"
                                                    ":other NOTICE abc :hidden\r\n")
                                 << Lines()
                                 << QStringLiteral("\n*** Hello :there\n:127.0.0.1 NOCOLON\n127.0.0.1 ircd-hybrid-1:8.2.43 DGH "
                                                   "bkloveIh\nare supported by this server\nbold red plain")
                                 << none << noLine << noColour;
    QTest::newRow("513 with a PONG") << 0 << QByteArray(":127.0.0.1 513 abc :To connect, type /QUOTE PONG 1687626375\r\n")
                                     << Lines({"PONG 1687626375"}) << QString() << none << noLine << noColour;
    // Without a PONG in it nothing goes back, and the line still ends there.
    QTest::newRow("513 without a PONG") << 0 << QByteArray(":127.0.0.1 513 abc :Please wait\r\n") << Lines() << QString()
                                        << none << noLine << noColour;
    // While joining the server still speaks; other people's lines wait for the channel.
    QTest::newRow("state 1") << 1 << QByteArray(":127.0.0.1 376 abc :End of MOTD command\r\n"
                                                ":127.0.0.1 NOTICE abc :note\r\n:bob!u@h NOTICE abc :hi\r\n"
                                                ":abc!u@h MODE abc :+i\r\n")
                             << Lines() << QStringLiteral("\nEnd of MOTD command\nnote\n\x01 Your mode is now +i") << none
                             << QStringLiteral("note") << PaletteColour(3);
    QTest::newRow("state 2 server text") << 2 << QByteArray(":127.0.0.1 372 abc :- the message of the day\r\n") << Lines()
                                         << QStringLiteral("\n- the message of the day") << none
                                         << QStringLiteral("- the message of the day") << PaletteColour(3);
    // "abcd" merely begins with our "abc": not our prefix, nothing is cut or reported.
    QTest::newRow("longer nick's prefix") << 0 << QByteArray(":abcd MODE abcd :+i\r\n:abcd!u@h MODE abcd :+w\r\n") << Lines()
                                          << QString() << none << noLine << noColour;
    // Our user mode with or without the ":"; a channel mode we set is not our mode.
    QTest::newRow("own prefix") << 0 << QByteArray(":abc MODE abc :+i\r\n:abc!u@h MODE abc +w\r\n:abc!u@h MODE #c +o bob\r\n")
                                << Lines() << QStringLiteral("\n\x01 Your mode is now +i\n\x01 Your mode is now +w") << none
                                << noLine << noColour;
    QTest::newRow("own mode notice") << 0 << QByteArray(":abc MODE abc :+i\r\n:abc!~u@h JOIN :#c\r\n") << Lines()
                                     << QStringLiteral("\n\x01 Your mode is now +i") << none
                                     << QStringLiteral("\x01 Your mode is now +i") << PaletteColour(0);
    const QByteArray version = " :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    // Replies go to a plain nick only: not to a server, a blank, a list or a channel.
    QTest::newRow("plain senders only") << 0 << QByteArray(":bob!u@h PRIVMSG abc :\x01VERSION\x01\r\n:srv PRIVMSG abc :\x01VERSION\x01\r\n"
                                                           ":a b!u@h PRIVMSG abc :\x01VERSION\x01\r\n:a,#c!u@h PRIVMSG abc :\x01VERSION\x01\r\n"
                                                           ":#c!u@h PRIVMSG abc :\x01TIME\x01\r\n")
                                        << Lines({"NOTICE bob" + version})
                                        << QStringLiteral("\n\x01 -> [bob] VERSION\n\x01 -> [] VERSION\n\x01 -> [a,#c] VERSION")
                                        << none << noLine << noColour;
    QTest::newRow("wakeup, UTF-8") << 0 << QByteArray(":x!u PRIVMSG abc :\xE2\x80\xA1WAKEUP\xE2\x80\xA1\r\n") << Lines() << QString()
                                   << soundOf(QStringLiteral("wakeup.wav")) << noLine << noColour;
    QTest::newRow("wakeup, cp1252") << 0 << QByteArray(":x!u PRIVMSG abc :\x87WAKEUP\x87\r\n") << Lines() << QString()
                                    << soundOf(QStringLiteral("wakeup.wav")) << noLine << noColour;
    QTest::newRow("ERROR notice") << 0 << QByteArray("ERROR :Your host is trying to (re)connect \x1Ftoo\x1F fast\r\n") << Lines()
                                  << QStringLiteral("\n\x01 ERROR (re)connect too fast") << soundOf(QStringLiteral("error.wav"))
                                  << QStringLiteral("\x01 ERROR (re)connect too fast") << PaletteColour(1);
    // The whole reason, as real servers word it when an operator kills us.
    const QString killed = QStringLiteral("\n\x01 Quit IRC (Killed (alice (you are killed for the test)))");
    QTest::newRow("closing link, ircd-hybrid")
        << 0 << QByteArray("ERROR :Closing Link: 127.0.0.1 (Killed (alice (you are killed for the test)))\r\n") << Lines()
        << killed << soundOf(QStringLiteral("quit.wav")) << noLine << noColour;
    QTest::newRow("closing link, irc2")
        << 0 << QByteArray("ERROR :Closing Link: newbie2[~new.user@127.0.0.1] alice (Local Kill by alice (you are killed for the test))\r\n")
        << Lines() << QStringLiteral("\n\x01 Quit IRC (Local Kill by alice (you are killed for the test))")
        << soundOf(QStringLiteral("quit.wav")) << noLine << noColour;
    QTest::newRow("closing link, InspIRCd")
        << 0 << QByteArray("ERROR :Closing link: (new.user@127.0.0.1) [Killed (alice (you are killed for the test))]\r\n")
        << Lines() << killed << soundOf(QStringLiteral("quit.wav")) << noLine << noColour;
    QTest::newRow("other ERROR") << 0 << QByteArray("ERROR :Closing connection\r\n") << Lines() << QString()
                                 << soundOf(QStringLiteral("error.wav")) << noLine << noColour;
}

// Lines fed in a channel state: what goes back, what the server pane shows, the sounds;
// the state stays as it was.
void DispatchTest::serverLines()
{
    QFETCH(int, state);
    QFETCH(QByteArray, lines);
    QFETCH(Lines, replies);
    QFETCH(QString, pane);
    QFETCH(QStringList, sounds);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    ClientSession c;
    QVERIFY(c.connectByButton());
    QCOMPARE(c.repliesTo(":127.0.0.1 001 abc :Welcome\r\n"), Lines());
    c.mark();
    session().SetChannelState(core::ChannelState(state));
    if (state != 0) session().SetCurrentChannel(QStringLiteral("#c"));
    QCOMPARE(c.repliesTo(lines), replies);
    QCOMPARE(c.paneSinceMark(), pane);
    QCOMPARE(c.soundsSinceMark(), sounds);
    QCOMPARE(int(session().ChannelState()), state);
    if (!line.isEmpty()) QCOMPARE(ColourOf(c.s->Incoming, line), colour);
}

void DispatchTest::closingLinkOnlyAtLineStart()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    session().SetChannelState(core::ChannelState::Joined);
    session().SetCurrentChannel(QStringLiteral("#c"));
    // Somebody saying the words does not close our link.
    QCOMPARE(c.repliesTo(":bob!u@h PRIVMSG #c :ERROR :Closing Link: abc (bye)\r\n"
                         ":bob!u@h NOTICE abc :ERROR :Closing Link: abc (bye)\r\n"),
             Lines());
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    QVERIFY(!c.paneSinceMark().contains(QStringLiteral("Quit IRC")));
    QVERIFY(!c.soundsSinceMark().join(QLatin1Char(' ')).contains(QStringLiteral("quit.wav")));
}

void DispatchTest::cutTextNeverCarriesLineEndsOntoTheWire()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // A lone CR or LF stays inside a line when the block holds a CR LF. A reply that such
    // text would cut short is not sent; what is sent never carries the line end.
    QCOMPARE(c.repliesTo(":x\rQUIT!u PRIVMSG abc :\x01TIME\x01\r\n"), Lines());
    QCOMPARE(c.repliesTo(":x\nJOIN #evil!u PRIVMSG abc :\x01version\x01\r\n"), Lines());
    QCOMPARE(c.repliesTo(":127.0.0.1 513 abc :/QUOTE PONG 1\nQUIT\r\n"), Lines({"PONG 1"}));
    // A server name holding a line end is not taken: the PONG keeps its token.
    QCOMPARE(c.repliesTo(":srv\nQUIT 001 abc :hi\r\nPING :t\r\n"), Lines({"PONG :t"}));
    QCOMPARE(session().ServerName(), QStringLiteral("127.0.0.1"));
}

void DispatchTest::pingReplies()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // A server that checks its registration cookie welcomes us only when the cookie comes
    // back alone.
    c.srv.send("PING :2665149584\r\n");
    if (c.srv.waitForLine("PONG :2665149584")) c.srv.send(":irc.cookie 001 abc :Welcome\r\n");
    QVERIFY(WaitUntil([] { return session().ServerName() == QStringLiteral("irc.cookie"); }));
    c.srv.clear();

    const int mm = int(MultimediaLog().size());
    c.srv.send("PING :12345\r\n");
    QVERIFY(c.srv.waitForLine("PONG :12345"));
    QVERIFY(c.s->Incoming->Text().endsWith(QStringLiteral("\nPING? PONG!")));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("PING? PONG!")), PaletteColour(1));
    QCOMPARE(MultimediaLog().mid(mm).size(), 3);
    QVERIFY(MultimediaLog()[mm].startsWith(QStringLiteral("MMControl1:Close:")));
    QCOMPARE(MultimediaLog().mid(mm + 1), QStringList({
                                                   QStringLiteral("MMControl1:Open:WaveAudio:ping.wav"),
                                                   QStringLiteral("MMControl1:Play:WaveAudio:ping.wav")}));
    Pump();
    QCOMPARE(c.srv.lines(), Lines({"PONG :12345"}));

    c.srv.clear();
    session().SetChannelState(core::ChannelState::Joined);
    session().SetCurrentChannel(QStringLiteral("#c"));
    c.srv.send("PING :777\r\n");
    QVERIFY(c.srv.waitForLine("NAMES #c"));
    QCOMPARE(c.srv.lines(), Lines({"PONG :777", "NAMES #c"}));
}

void DispatchTest::clockReply()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // The reply tells the time as the dashboard's clock shows it, at the second it answers.
    c.m->Timer1->fire(); // writes the clock
    QVERIFY(!c.m->Label22->text().isEmpty());
    const auto reply = [](const QString &clock) {
        return "PRIVMSG #c :\x03" "12<<Current time: \x03" "10" + clock.toUtf8() + "\x03" "12>> --== OrvelIRC 1.02 ==--";
    };
    const auto answered = [&](const QByteArray &lines) {
        const QString before = core::ClockText(QTime::currentTime());
        const Lines got = c.repliesTo(lines);
        const QString after = core::ClockText(QTime::currentTime());
        return got == Lines({reply(before)}) || got == Lines({reply(after)});
    };
    // No channel: nobody asked.
    QCOMPARE(c.repliesTo(":bob!u@h PRIVMSG #c :!time\r\n:bob!u@h PRIVMSG  :!time\r\n"), Lines());
    session().SetCurrentChannel(QStringLiteral("#c"));
    QVERIFY(answered(":bob!u@h PRIVMSG #c :!time\r\n"));
    // In any channel state, for the channel in either spelling, and only for a user's
    // "!time" itself: not for more words, another channel or a notice that quotes one.
    session().SetChannelState(core::ChannelState::Joined);
    QVERIFY(answered(":bob!u@h PRIVMSG #C :!time\r\n:bob!u@h PRIVMSG #c :!time please\r\n:bob!u@h PRIVMSG #other :!time\r\n"
                     ":bob!u@h NOTICE #c :PRIVMSG #c :!time\r\n:127.0.0.1 PRIVMSG #c :!time\r\n"));
}

void DispatchTest::nickInUse()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // The numeric reply as ngircd words it.
    QCOMPARE(c.repliesTo(":irc.example 433 * abc :Nickname already in use\r\n"), Lines({"NICK abc_"}));
    QCOMPARE(session().Nick(), QStringLiteral("abc_"));
    QCOMPARE(session().Settings().Nick(), QStringLiteral("abc_"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc_"));
    QCOMPARE(c.s->Caption(), QStringLiteral("abc_ on 127.0.0.1"));
    // Still registering: the server's own words are shown as well.
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Attempting to change your nick...\nNickname already in use"));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("\x01 Attempting to change your nick...")), PaletteColour(0));

    // The alternative is taken too: it is not asked for again and again.
    c.mark();
    QCOMPARE(c.repliesTo(":irc.example 433 * abc_ :Nickname is already in use.\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\nNickname is already in use."));

    // The literal wording, with another alternative at hand.
    session().Settings().Set(Setting::AlternativeNick, QStringLiteral("abc9"));
    QCOMPARE(c.repliesTo(":srv 433 * abc_ :Nickname is already in use.\r\n"), Lines({"NICK abc9"}));
    QCOMPARE(c.s->Caption(), QStringLiteral("abc9 on 127.0.0.1"));
    // Another nick's reply, or a 433 that is not for registration, changes nothing.
    QCOMPARE(c.repliesTo(":srv 433 * someone :Nickname already in use\r\n:srv 433 abc9 x :Nickname already in use\r\n"), Lines());
    QCOMPARE(session().Nick(), QStringLiteral("abc9"));

    // The next line of the same block already goes by the new nick.
    session().Settings().Set(Setting::AlternativeNick, QStringLiteral("abc7"));
    const QByteArray version = "NOTICE x :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    QCOMPARE(c.repliesTo(":srv 433 * abc9 :Nickname already in use\r\n:x!u PRIVMSG abc7 :\x01VERSION\x01\r\n"),
             Lines({"NICK abc7", version}));
    // Without an alternative the nick is kept, on the server and in nick.msg.
    session().Settings().Set(Setting::AlternativeNick, QString());
    c.mark();
    QCOMPARE(c.repliesTo(":srv 433 * abc7 :Nickname already in use\r\n:x!u PRIVMSG abc7 :\x01VERSION\x01\r\n"),
             Lines({version}));
    QCOMPARE(session().Nick(), QStringLiteral("abc7"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc7"));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\nNickname already in use\n\x01 -> [x] VERSION"));
}

void DispatchTest::closingLink()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    // Before any join there is no channel window to hide, and none is made.
    QCOMPARE(c.repliesTo("ERROR :Closing Link: abc[host] (early)\r\n"), Lines());
    QVERIFY(!loaded<frmChan>());
    c.mark();
    session().SetChannelState(core::ChannelState::Joined);
    session().SetCurrentChannel(QStringLiteral("#c"));
    QPointer<frmChan> chan(&form<frmChan>());
    QVERIFY(!chan->SubWindow()->isHidden());
    // The channel window is hidden, not closed: no PART goes out.
    QCOMPARE(c.repliesTo("ERROR :Closing Link: abc[host] (Quit: \x02" "bye\x02)\r\n"), Lines());
    QVERIFY(chan && loaded<frmChan>() == chan.data());
    QVERIFY(chan->SubWindow()->isHidden());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Quit IRC (Quit: bye)"));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("\x01 Quit IRC (Quit: bye)")), PaletteColour(1));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QCOMPARE(c.soundsSinceMark(), soundOf(QStringLiteral("quit.wav")));
    // Without parentheses the reason is the text after "Closing Link:".
    c.mark();
    QCOMPARE(c.repliesTo("ERROR :Closing Link: abc[host] Killed\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Quit IRC (abc[host] Killed)"));
    // An opening parenthesis never closed gives no reason.
    c.mark();
    QCOMPARE(c.repliesTo("ERROR :Closing Link: abc[host] (Killed\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Quit IRC ()"));
    // Servers write "Closing link:" in their own letter case.
    session().SetChannelState(core::ChannelState::Joined);
    c.mark();
    QCOMPARE(c.repliesTo("ERROR :Closing link: (abc@host) [Quit: bye]\r\n"), Lines());
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QCOMPARE(c.soundsSinceMark(), soundOf(QStringLiteral("quit.wav")));
}

void DispatchTest::versionPageAndTime()
{
    ClientSession c;
    QVERIFY(c.connectByButton());
    const QByteArray version = "NOTICE x :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    QCOMPARE(c.repliesTo(":x!u PRIVMSG abc :\x01VERSION\x01\r\n"), Lines({version}));
    QCOMPARE(c.repliesTo(":x!u PRIVMSG abc :\x01version\x01\r\n"), Lines({version}));
    QCOMPARE(c.repliesTo(":x!u PRIVMSG abc :\x01Version\x01\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 -> [x] VERSION\n\x01 -> [x] VERSION"));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("\x01 -> [x] VERSION")), PaletteColour(1));

    c.mark();
    QCOMPARE(c.repliesTo(":pager!u@h PRIVMSG abc :\x01PAGE\x01\r\n"), Lines());
    QVERIFY(c.paneSinceMark().startsWith(QStringLiteral("\n\x01 You are being paged by: pager")));
    QCOMPARE(ColourOf(c.s->Incoming, QStringLiteral("\x01 You are being paged by: pager")), PaletteColour(0));
    QVERIFY(c.soundsSinceMark().contains(QStringLiteral("MMControl1:Play:WaveAudio:page.wav")));

    c.mark();
    const QTime asked = QTime::currentTime();
    const Lines time = c.repliesTo(":x!u PRIVMSG abc :\x01TIME\x01\r\n");
    const QTime answered = QTime::currentTime();
    QCOMPARE(time.size(), 1);
    const QByteArray prefix = "NOTICE x :OrvelIRC CTCP Time Reply: ";
    QVERIFY(time[0].startsWith(prefix));
    const QString clock = QString::fromLatin1(time[0].mid(prefix.size()));
    QVERIFY2(QRegularExpression(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$")).match(clock).hasMatch(),
             qPrintable(clock));
    // The 24-hour clock of a second between the request and its answer, however long that took.
    QStringList seconds;
    const QString last = answered.toString(QStringLiteral("HH:mm:ss"));
    for (QTime t = asked; seconds.size() < 86400 && (seconds.isEmpty() || seconds.last() != last); t = t.addSecs(1))
        seconds << t.toString(QStringLiteral("HH:mm:ss"));
    QVERIFY2(seconds.contains(clock), qPrintable(clock));
    QCOMPARE(c.paneSinceMark(), QString());
}

QTEST_MAIN(DispatchTest)
#include "test_dispatch.moc"
