// The program against a real IRC server (Debian's ngircd, started here on a free loopback
// port): registration, the MOTD, PING, a taken nickname, CTCP replies to another client and
// a flood of requests that must not get us dropped.
#include "ClientSession.h"
#include "Ngircd.h"
#include "settings/SettingsFile.h"
#include "windows/frmOrvelChat.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QPushButton>
#include <QRegularExpression>

class NgircdTest : public QObject
{
    Q_OBJECT
private slots:
    void registersShowsMotdAndStaysUp();
    void takenNickSwitchesToAlternative();
    void answersPeerVersionAndTime();
    void floodOfRequestsGetsFewReplies();
};

namespace {
int count(const QString &text, const QString &what) { return int(text.count(what)); }
}

void NgircdTest::registersShowsMotdAndStaysUp()
{
    Ngircd server;
    server.pingTimeout = 3;
    server.pongTimeout = 3;
    QVERIFY2(server.start(), qPrintable(server.error()));
    ClientSession t(server.port(), {}, ClientSession::Ticks::Real);
    t.m->mnuOutDataWindow->setChecked(true);
    QTest::mouseClick(t.m->cmdConnect, Qt::LeftButton);

    // The welcome names the server; from then on its lines are shown.
    QVERIFY2(WaitUntil([] { return session().ServerName() == QStringLiteral("irc.test.local"); }), qPrintable(t.s->Incoming->Text()));
    QVERIFY(WaitUntil([&] { return t.s->Incoming->Text().contains(QStringLiteral("End of MOTD command")); }));
    const QString pane = t.s->Incoming->Text();
    QVERIFY(pane.contains(QStringLiteral("\nWelcome to the Internet Relay Network abc!")));
    QVERIFY(pane.contains(QStringLiteral("\n- irc.test.local message of the day\n- Welcome to the OrvelIRC test server\nEnd of MOTD command")));
    // NICK went out first, then USER.
    QVERIFY(form<frmOutData>().Text().startsWith(
        QStringLiteral("\nNICK abc\nUSER me 127.0.0.1 127.0.0.1 :Real Name")));

    // The server's PINGs are answered: it pings again instead of dropping us after its
    // PONG time-out, and the connection stays up.
    QVERIFY(WaitUntil([&] { return count(t.s->Incoming->Text(), QStringLiteral("PING? PONG!")) >= 2; }, 30000));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));  // the host as it was typed
    QVERIFY(!t.s->Incoming->Text().contains(QStringLiteral("\x01 Disconnected")));
    QVERIFY(t.m->cmdDisconnect->isEnabled());
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Disconnect"));
    QVERIFY(form<frmOutData>().Text().contains(QStringLiteral("\nPONG :irc.test.local")));

    // Quit: the server closes the link and the controls come back.
    t.m->Settings().RichTextBox1.Text = QStringLiteral("Leaving now");
    QTest::mouseClick(t.m->cmdDisconnect, Qt::LeftButton);
    QVERIFY(WaitUntil([&] { return t.m->mnuConnect->text() == QStringLiteral("Connect"); }));
    QVERIFY(t.m->cmdConnect->isEnabled());
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\x01 Disconnected")));

    // Connect again reaches the host the user chose, not the name the server gave itself.
    QTest::mouseClick(t.m->cmdConnect, Qt::LeftButton);
    QVERIFY2(WaitUntil([&] { return count(t.s->Incoming->Text(), QStringLiteral("End of MOTD command")) == 2; }, 10000),
             qPrintable(t.s->Incoming->Text()));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    server.stop();
    QVERIFY(!server.running());
}

void NgircdTest::takenNickSwitchesToAlternative()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    Peer holder;
    QVERIFY(holder.connectAs(server.port(), QStringLiteral("abc")));

    ClientSession t(server.port(), {}, ClientSession::Ticks::Real);
    t.m->cmdConnect_Click();
    QVERIFY2(WaitUntil([] { return session().ServerName() == QStringLiteral("irc.test.local"); }), qPrintable(t.s->Incoming->Text()));
    QCOMPARE(session().Nick(), QStringLiteral("abc_"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc_"));
    QVERIFY(t.s->Incoming->Text().contains(QStringLiteral("\x01 Attempting to change your nick...")));
    QVERIFY(t.s->Incoming->Text().contains(QStringLiteral("\nWelcome to the Internet Relay Network abc_!")));

    // The other client reaches us under the alternative nick.
    holder.send("PRIVMSG abc_ :\x01VERSION\x01");
    QVERIFY(holder.waitForLine(" NOTICE abc :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"));
    QVERIFY(holder.lineContaining(" NOTICE abc :I am using").startsWith(":abc_!"));

    // Registered, a nick someone has is refused: ours stays, and so does what we are sent.
    t.typeServer(QStringLiteral("/NICK abc"));
    QVERIFY(WaitUntil([&] { return count(t.s->Incoming->Text(), QStringLiteral("already in use")) == 2; }));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc_ on 127.0.0.1"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc_"));
    holder.send("PRIVMSG abc_ :psst");
    QVERIFY(WaitUntil([] { return loaded<frmOrvelChat>() && loaded<frmOrvelChat>()->txtIncoming->Text().endsWith(QStringLiteral("<abc> psst")); }));
    // A free one is ours when the server's echo comes.
    t.typeServer(QStringLiteral("/NICK abd"));
    QCOMPARE(session().Nick(), QStringLiteral("abc_"));
    QVERIFY(WaitUntil([] { return session().Nick() == QStringLiteral("abd"); }));
    QCOMPARE(t.s->Caption(), QStringLiteral("abd on irc.test.local"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abd"));
}

void NgircdTest::answersPeerVersionAndTime()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    ClientSession t(server.port(), {}, ClientSession::Ticks::Real);
    t.m->cmdConnect_Click();
    QVERIFY(WaitUntil([&] { return t.s->Incoming->Text().contains(QStringLiteral("End of MOTD command")); }));

    Peer peer;
    QVERIFY(peer.connectAs(server.port(), QStringLiteral("peer")));
    peer.send("PRIVMSG abc :\x01VERSION\x01");
    QVERIFY(peer.waitForLine(" NOTICE peer :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"));
    QVERIFY(peer.lineContaining(" NOTICE peer :I am using").startsWith(":abc!"));
    QVERIFY(WaitUntil([&] { return t.s->Incoming->Text().endsWith(QStringLiteral("\x01 -> [peer] VERSION")); }));

    peer.send("PRIVMSG abc :\x01TIME\x01");
    QVERIFY(peer.waitForLine(" NOTICE peer :OrvelIRC CTCP Time Reply: "));
    const QByteArray reply = peer.lineContaining(" NOTICE peer :OrvelIRC CTCP Time Reply: ");
    QVERIFY2(QRegularExpression(QStringLiteral(" :OrvelIRC CTCP Time Reply: ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"))
                 .match(QString::fromUtf8(reply)).hasMatch(),
             reply.constData());
}

void NgircdTest::floodOfRequestsGetsFewReplies()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    ClientSession t(server.port(), OrvelSettings());
    QVERIFY(t.connect(QStringLiteral("irc.test.local")));
    QVERIFY(t.join(QStringLiteral("#flood")));
    Peer peers[3];
    for (int i = 0; i < 3; ++i) {
        QVERIFY(peers[i].connectAs(server.port(), QStringLiteral("peer%1").arg(i)));
        QVERIFY(peers[i].joinChannel("#flood"));
    }

    // Fifty requests from three people: VERSION, TIME and the channel's clock.
    const QByteArray requests[] = {"PRIVMSG orvel :\x01VERSION\x01", "PRIVMSG orvel :\x01TIME\x01", "PRIVMSG #flood :!time"};
    for (int i = 0; i < 50; ++i) peers[i % 3].send(requests[i % 5 % 3]);
    // Each one's last word comes after all its requests: once all three are shown, every
    // request has been handled; once our own last words reach them, so have the replies.
    for (Peer &p : peers) p.send("PRIVMSG orvel :done");
    QVERIFY(WaitUntil([] {
        const frmOrvelChat *chat = loaded<frmOrvelChat>();
        return chat && chat->txtIncoming->Text().count(QStringLiteral("> done")) == 3;
    }));
    for (int i = 0; i < 3; ++i) {
        t.s->SendData(QStringLiteral("PRIVMSG peer%1 :over").arg(i));
        QVERIFY(peers[i].waitForLine(" PRIVMSG peer" + QByteArray::number(i) + " :over"));
    }
    int replies = 0;
    for (int i = 0; i < 3; ++i)
        for (const QByteArray &l : peers[i].lines())
            if (l.startsWith(":orvel!") && (l.contains(" NOTICE ") || (i == 0 && l.contains("Current time")))) ++replies;
    QVERIFY2(replies >= 1 && replies <= 4, qPrintable(QString::number(replies)));
    // Every VERSION request is still shown.
    QCOMPARE(int(t.s->Incoming->Text().count(QStringLiteral("] VERSION"))), 20);
    QVERIFY(t.s->Tcp1().IsConnected());
    QVERIFY(!t.paneSinceMark().contains(QStringLiteral("Disconnected")));
}

QTEST_MAIN(NgircdTest)
#include "test_ngircd.moc"
