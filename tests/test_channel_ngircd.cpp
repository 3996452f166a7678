// End to end against a real IRC server: our client and scripted peers in one channel.
#include "Harness.h"
#include "Ngircd.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include "windows/frmOrvelChat.h"
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace {
void type(CommandLine *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// A frame deleted while shown would still get the MDI area's activation signal.
struct HideFrameOnExit
{
    ~HideFrameOnExit()
    {
        if (frmOrvelMain *f = frmOrvelMain::Instance()) f->hide();
    }
};

bool paneHasLine(const RichPane *p, const QString &line)
{
    return p->Text().split(QLatin1Char('\n')).contains(line);
}
} // namespace

class ChannelNgircdTest : public QObject
{
    Q_OBJECT
private slots:
    void joinTalkAndLeave();
    void namesOverSeveralLinesSurviveARefill();
};

void ChannelNgircdTest::joinTalkAndLeave()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    Peer peer;
    QVERIFY(peer.connect(server.port()));
    QVERIFY(peer.registerUser(QStringLiteral("peer")));
    peer.send("JOIN #test");
    peer.send("TOPIC #test :Talk: anything goes");
    QVERIFY(peer.waitForLine(" TOPIC #test :Talk: anything goes"));

    TestEnv env;
    env.writeConnection(server.port(), QStringLiteral("orvel"), QStringLiteral("127.0.0.1"), QStringLiteral("orvel_"),
                        QStringLiteral("orvel"));
    HideFrameOnExit guard;
    frmOrvelMain &m = env.start();
    m.show();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    type(s.Outgoing, QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(WaitUntil([] { return IrcData::ServerName == QLatin1String("irc.test.local"); }, 10000));

    type(s.Outgoing, QStringLiteral("/JOIN #test"));
    s.Timer1->fire();
    QVERIFY2(WaitUntil([&] { return s.ChannelState == 2; }), qPrintable(s.Incoming->Text()));
    frmChan *c = loaded<frmChan>();
    QVERIFY(c);
    QCOMPARE(c->Caption(), QStringLiteral("#test: Talk: anything goes"));
    QVERIFY(c->Incoming->Text().startsWith(QStringLiteral("\x01 Now speaking in #test")));
    QCOMPARE(c->Namelist->Items(), QStringList({"@peer", "orvel"}));
    QVERIFY(peer.waitForLine(":orvel!"));

    // Both directions of the conversation.
    type(c->Outgoing, QStringLiteral("hello peer"));
    QVERIFY(peer.waitForLine(" PRIVMSG #test :hello peer"));
    QVERIFY(paneHasLine(c->Incoming, QStringLiteral("<orvel> hello peer")));
    peer.send("PRIVMSG #test :hi orvel");
    QVERIFY(WaitUntil([&] { return paneHasLine(c->Incoming, QStringLiteral("<peer> hi orvel")); }));
    peer.send("PRIVMSG #test :\x03" "12blue words");
    QVERIFY(WaitUntil([&] { return paneHasLine(c->Incoming, QStringLiteral("<peer> blue words")); }));
    QCOMPARE(TextRuns(c->Incoming).last().colour, PaletteColour(9));

    // Actions both ways.
    type(c->Outgoing, QStringLiteral("/ME waves"));
    QVERIFY(peer.waitForLine(" PRIVMSG #test :\x01" "ACTION waves\x01"));
    QVERIFY(paneHasLine(c->Incoming, QStringLiteral("* orvel waves")));
    peer.send("PRIVMSG #test :\x01" "ACTION bows\x01");
    QVERIFY(WaitUntil([&] { return paneHasLine(c->Incoming, QStringLiteral("* peer bows")); }));

    // A private message opens the private chat window.
    peer.send("PRIVMSG orvel :just us");
    QVERIFY(WaitUntil([] { return loaded<frmOrvelChat>() != nullptr; }));
    frmOrvelChat *chat = loaded<frmOrvelChat>();
    QVERIFY(WaitUntil([&] { return chat->txtIncoming->Text().endsWith(QStringLiteral("\n<peer> just us")); }));
    QCOMPARE(chat->txtUser->text(), QStringLiteral("peer"));

    // Closing the channel window leaves the channel.
    c->Unload();
    QVERIFY(peer.waitForLine(" PART #test"));
    QVERIFY(peer.lineContaining(" PART #test").startsWith(":orvel!"));
}

void ChannelNgircdTest::namesOverSeveralLinesSurviveARefill()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    // Enough members that the names reply needs more than one line.
    std::vector<std::unique_ptr<Peer>> peers;
    QStringList expected;
    for (int i = 0; i < 70; ++i) {
        const QString nick = QStringLiteral("member%1").arg(i, 3, 10, QLatin1Char('0'));
        auto p = std::make_unique<Peer>();
        QVERIFY(p->connect(server.port()));
        QVERIFY(p->registerUser(nick));
        p->send("JOIN #big");
        QVERIFY(p->waitForLine(" 366 "));
        expected.append(i == 0 ? QLatin1Char('@') + nick : nick);
        peers.push_back(std::move(p));
    }
    expected.append(QStringLiteral("orvel"));
    expected.sort(Qt::CaseInsensitive);

    TestEnv env;
    env.writeConnection(server.port(), QStringLiteral("orvel"), QStringLiteral("127.0.0.1"), QStringLiteral("orvel_"),
                        QStringLiteral("orvel"));
    HideFrameOnExit guard;
    frmOrvelMain &m = env.start();
    m.show();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    type(s.Outgoing, QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(WaitUntil([] { return IrcData::ServerName == QLatin1String("irc.test.local"); }, 10000));
    type(s.Outgoing, QStringLiteral("/JOIN #big"));
    s.Timer1->fire();
    QVERIFY(WaitUntil([&] { return s.ChannelState == 2; }));
    NickList *list = form<frmChan>().Namelist;
    QCOMPARE(list->Items(), expected);

    // The names asked for again come back over several lines and refill the list whole.
    list->AddItem(QStringLiteral("stale"));
    type(s.Outgoing, QStringLiteral("/RAW NAMES #big"));
    QVERIFY(WaitUntil([&] { return !list->Items().contains(QStringLiteral("stale")) && list->Count() == expected.size(); }));
    QVERIFY(WaitUntil([&] { return s.Incoming->Text().contains(QStringLiteral("End of NAMES list")); }));
    QCOMPARE(list->Items(), expected);
}

QTEST_MAIN(ChannelNgircdTest)
#include "test_channel_ngircd.moc"
