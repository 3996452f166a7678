// End to end against a real IRC server: our client and scripted peers in one channel.
#include "ClientSession.h"
#include "Ngircd.h"
#include "windows/frmOrvelChat.h"
#include <QLineEdit>
#include <memory>

class ChannelNgircdTest : public QObject
{
    Q_OBJECT
private slots:
    void joinTalkAndLeave();
    void namesOverSeveralLinesSurviveARefill();
    void keyedChannelAndRejoin();
};

// Timers run on their own here, as in the program, and none is fired by hand: what the
// windows show must be right the moment the server's replies arrive.
void ChannelNgircdTest::joinTalkAndLeave()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    Peer peer;
    QVERIFY(peer.connectAs(server.port(), QStringLiteral("peer")));
    // The server spells these channels with capitals; the user types small letters.
    for (const QByteArray chan : {"#Test", "#Two", "#Inv"}) QVERIFY(peer.joinChannel(chan));
    peer.send("TOPIC #Test :Talk: anything goes");
    peer.send("TOPIC #Two :Second topic");
    peer.send("MODE #Inv +i");
    QVERIFY(peer.waitForLine(" MODE #Inv +i"));

    ClientSession t(server.port(), OrvelSettings(), ClientSession::Ticks::Real);
    QVERIFY(t.connect(QStringLiteral("irc.test.local")));
    QVERIFY2(t.join(QStringLiteral("#test")), qPrintable(t.s->Incoming->Text()));
    frmChan *c = loaded<frmChan>();
    QVERIFY(c);
    QCOMPARE(c->Caption(), QStringLiteral("#test: Talk: anything goes"));
    QVERIFY(c->Incoming->Text().startsWith(QStringLiteral("\x01 Now speaking in #test")));
    QCOMPARE(c->Namelist->Members().Items(), QStringList({"@peer", "orvel"}));
    QVERIFY(peer.waitForLine(":orvel!"));

    // Both directions of the conversation.
    TypeLine(c->Outgoing, QStringLiteral("hello peer"));
    QVERIFY(peer.waitForLine(" PRIVMSG #Test :hello peer"));
    QVERIFY(PaneHasLine(c->Incoming, QStringLiteral("<orvel> hello peer")));
    peer.send("PRIVMSG #test :hi orvel");
    QVERIFY(WaitUntil([&] { return PaneHasLine(c->Incoming, QStringLiteral("<peer> hi orvel")); }));
    // Colours as other clients send them: two digits, a background, text before the code;
    // later marks are taken out.
    peer.send("PRIVMSG #test :hello \x03" "04,01red\x02 words\x0F");
    QVERIFY(WaitUntil([&] { return PaneHasLine(c->Incoming, QStringLiteral("<peer> hello red words")); }));
    QList<RichPane::Run> runs = TextRuns(c->Incoming);
    QCOMPARE(runs.last().text, QStringLiteral("red words"));
    QCOMPARE(runs.last().colour, PaletteColour(12));
    QCOMPARE(runs[runs.size() - 2].text.trimmed(), QStringLiteral("<peer> hello"));
    QCOMPARE(runs[runs.size() - 2].colour, PaletteColour(0));

    // Actions both ways.
    TypeLine(c->Outgoing, QStringLiteral("/ME waves"));
    QVERIFY(peer.waitForLine(" PRIVMSG #Test :\x01" "ACTION waves\x01"));
    QVERIFY(PaneHasLine(c->Incoming, QStringLiteral("* orvel waves")));
    peer.send("PRIVMSG #test :\x01" "ACTION \x1D" "bows\x1D\x01");
    QVERIFY(WaitUntil([&] { return PaneHasLine(c->Incoming, QStringLiteral("* peer bows")); }));

    // A private message opens the private chat window.
    peer.send("PRIVMSG orvel :\x02just\x02 \x03" "4us");
    QVERIFY(WaitUntil([] { return loaded<frmOrvelChat>() != nullptr; }));
    frmOrvelChat *chat = loaded<frmOrvelChat>();
    QVERIFY(WaitUntil([&] { return chat->txtIncoming->Text().endsWith(QStringLiteral("\n<peer> just us")); }));
    QCOMPARE(chat->txtUser->text(), QStringLiteral("peer"));

    // A second join names its own channel, and its list holds each name once.
    QVERIFY(t.join(QStringLiteral("#two")));
    QCOMPARE(c->Caption(), QStringLiteral("#two: Second topic"));
    QCOMPARE(c->Namelist->Members().Items(), QStringList({"@peer", "orvel"}));

    // A refused join is shown and ends the wait; the next join completes.
    t.typeServer(QStringLiteral("/JOIN #inv"));
    QVERIFY(WaitUntil([&] { return session().ChannelState() == core::ChannelState::None; }));
    QVERIFY2(t.s->Incoming->Text().contains(QStringLiteral("Cannot join channel (+i)")), qPrintable(t.s->Incoming->Text()));
    QVERIFY(t.join(QStringLiteral("#three")));
    QCOMPARE(c->Namelist->Members().Items(), QStringList({"@orvel"}));

    // /SERVER while joined: the new connection starts in no channel, shows what its server
    // says, and a join on it lists each name once.
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QVERIFY(WaitUntil([&] { return t.s->Incoming->Text().count(QStringLiteral("End of MOTD command")) == 2; }));
    QVERIFY(t.join(QStringLiteral("#test")));
    QCOMPARE(c->Caption(), QStringLiteral("#test: Talk: anything goes"));
    QCOMPARE(c->Namelist->Members().Items(), QStringList({"@peer", "orvel"}));

    // Closing the channel window leaves the channel it shows.
    c->Unload();
    QVERIFY(peer.waitForLine(" PART #Test"));
    QVERIFY(peer.lineContaining(" PART #Test").startsWith(":orvel!"));
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
        QVERIFY(p->connectAs(server.port(), nick));
        QVERIFY(p->joinChannel("#big"));
        expected.append(i == 0 ? QLatin1Char('@') + nick : nick);
        peers.push_back(std::move(p));
    }
    expected.append(QStringLiteral("orvel"));
    expected.sort(Qt::CaseInsensitive);

    ClientSession t(server.port(), OrvelSettings(), ClientSession::Ticks::Real);
    QVERIFY(t.connect(QStringLiteral("irc.test.local")));
    QVERIFY(t.join(QStringLiteral("#big")));
    core::ChannelMembers *list = &form<frmChan>().Namelist->Members();
    QCOMPARE(list->Items(), expected);

    // The names asked for again come back over several lines and refill the list whole.
    list->Add(QStringLiteral("stale"));
    t.typeServer(QStringLiteral("/RAW NAMES #big"));
    QVERIFY(WaitUntil([&] { return !list->Items().contains(QStringLiteral("stale")) && list->Count() == expected.size(); }));
    QVERIFY(WaitUntil([&] { return t.s->Incoming->Text().contains(QStringLiteral("End of NAMES list")); }));
    QCOMPARE(list->Items(), expected);
}

// A channel joined with its key is that channel; the key goes out on the JOIN line only.
// Joining it again while in it changes nothing here; after leaving it, it is a new join.
void ChannelNgircdTest::keyedChannelAndRejoin()
{
    Ngircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    Peer peer, guest;
    QVERIFY(peer.connectAs(server.port(), QStringLiteral("peer")));
    QVERIFY(guest.connectAs(server.port(), QStringLiteral("guest")));
    QVERIFY(peer.joinChannel("#sec"));
    peer.send("MODE #sec +k sesame");
    peer.send("TOPIC #sec :Secret talk");
    QVERIFY(peer.waitForLine(" TOPIC #sec :Secret talk"));

    ClientSession t(server.port(), OrvelSettings(), ClientSession::Ticks::Real);
    QVERIFY(t.connect(QStringLiteral("irc.test.local")));
    QVERIFY2(t.join(QStringLiteral("#sec sesame")), qPrintable(t.s->Incoming->Text()));
    frmChan *c = loaded<frmChan>();
    QCOMPARE(c->Caption(), QStringLiteral("#sec: Secret talk"));
    QCOMPARE(c->Incoming->Text(), QStringLiteral("\x01 Now speaking in #sec"));
    TypeLine(c->Outgoing, QStringLiteral("hello"));
    QVERIFY(peer.waitForLine(" PRIVMSG #sec :hello"));
    guest.send("JOIN #sec sesame");
    QVERIFY(WaitUntil([&] { return c->Namelist->Members().Items() == QStringList({"@peer", "guest", "orvel"}); }));

    // The server answers nothing to a join of a channel we are in: the channel is followed on.
    t.typeServer(QStringLiteral("/JOIN #SEC sesame"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    guest.send("PART #sec");
    QVERIFY(WaitUntil([&] { return c->Namelist->Members().Items() == QStringList({"@peer", "orvel"}); }));

    // Once we have left it, joining it again is a join like the first.
    c->Unload();
    QVERIFY(WaitUntil([&] { return PaneHasLine(t.s->Incoming, QStringLiteral("\x01 Parted #sec")); }));
    t.typeServer(QStringLiteral("/JOIN #sec sesame"));
    QVERIFY(WaitUntil([&] { return session().ChannelState() == core::ChannelState::Joined && loaded<frmChan>() && loaded<frmChan>()->Caption() == QStringLiteral("#sec: Secret talk"); }));
    QCOMPARE(loaded<frmChan>()->Namelist->Members().Items(), QStringList({"@peer", "orvel"}));

    // Two joins typed at once, answered as fast as the server can: each echo names its own channel.
    t.typeServer(QStringLiteral("/JOIN #one"));
    t.typeServer(QStringLiteral("/JOIN #two"));
    QVERIFY(WaitUntil([&] { return session().ChannelState() == core::ChannelState::Joined && session().CurrentChannel() == QStringLiteral("#two"); }));
    QCOMPARE(LastLines(loaded<frmChan>()->Incoming, 2), QStringList({"\x01 Now speaking in #one", "\x01 Now speaking in #two"}));
}

QTEST_MAIN(ChannelNgircdTest)
#include "test_channel_ngircd.moc"
