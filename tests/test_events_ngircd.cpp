// Channel events, the pop-up commands, a private talk and a teletrivia round against a
// real IRC server, with scripted peers of which one is the channel's operator.
#include "ClientSession.h"
#include "Ngircd.h"
#include "core/Teletrivia.h"
#include "windows/frmMenu.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QLineEdit>
#include <memory>

namespace {

double g_draw = 0.0;
double fixedDraw() { return g_draw; }

// The two peers in #room (boss joined first and is its operator) and our client in it too.
struct Room
{
    Ngircd server;
    Peer boss, buddy;
    std::unique_ptr<ClientSession> t;
    QString error;

    bool setUp()
    {
        if (!server.start()) return fail(server.error());
        if (!boss.connectAs(server.port(), QStringLiteral("boss"))) return fail("boss");
        if (!boss.joinChannel("#room")) return fail("boss join");
        if (!buddy.connectAs(server.port(), QStringLiteral("buddy"))) return fail("buddy");
        if (!buddy.joinChannel("#room")) return fail("buddy join");

        t = std::make_unique<ClientSession>(server.port(), OrvelSettings(), ClientSession::Ticks::Real);
        if (!t->connect(QStringLiteral("irc.test.local"))) return fail("welcome");
        if (!t->join(QStringLiteral("#room"))) return fail(t->s->Incoming->Text());
        return boss.waitForLine(":orvel!") || fail("boss never saw us join");
    }
    bool fail(const QString &why)
    {
        error = why + QStringLiteral("\n") + server.log();
        return false;
    }
    QStringList nicks() const { return form<frmChan>().Namelist->Members().Items(); }
    bool listIs(const QStringList &want)
    {
        return WaitUntil([&] { return loaded<frmChan>() && nicks() == want; });
    }
    void select(const QString &entry) { form<frmChan>().Namelist->Members().Pick(entry); }
};
} // namespace

class EventsNgircdTest : public QObject
{
    Q_OBJECT
private slots:
    void operatorPeerChangesUsAndTheList();
    void ourPopupCommandsTakeEffect();
    void privateTalkAndATriviaRound();
};

void EventsNgircdTest::operatorPeerChangesUsAndTheList()
{
    Room r;
    QVERIFY2(r.setUp(), qPrintable(r.error));
    QVERIFY(r.listIs({"@boss", "buddy", "orvel"}));

    r.boss.send("MODE #room +v orvel");
    QVERIFY2(r.listIs({"+orvel", "@boss", "buddy"}), qPrintable(r.nicks().join(' ')));
    QVERIFY(PaneHasLine(form<frmChan>().Incoming, QStringLiteral("\x01 boss sets mode: +v orvel")));
    r.boss.send("MODE #room +o orvel");
    QVERIFY2(r.listIs({"@boss", "@orvel", "buddy"}), qPrintable(r.nicks().join(' ')));

    r.buddy.send("NICK pal");
    QVERIFY2(r.listIs({"@boss", "@orvel", "pal"}), qPrintable(r.nicks().join(' ')));
    QVERIFY(PaneHasLine(form<frmChan>().Incoming, QStringLiteral("\x01 buddy is now known as pal")));

    r.boss.send("KICK #room orvel :bye now");
    QVERIFY(WaitUntil([&] { return session().ChannelState() == core::ChannelState::None; }));
    QVERIFY(!loaded<frmChan>());
    QVERIFY(PaneHasLine(r.t->s->Incoming, QStringLiteral("\x01 You were kicked out of #room by boss. Reason: bye now")));
    // The channel has gone on without us.
    r.boss.clear();
    r.boss.send("NAMES #room");
    QVERIFY(r.boss.waitForLine(" 353 boss = #room :"));
    const QByteArray names = r.boss.lineContaining(" 353 boss = #room :");
    QVERIFY2(names.contains("@boss") && names.contains("pal") && !names.contains("orvel"), names.constData());
}

void EventsNgircdTest::ourPopupCommandsTakeEffect()
{
    Room r;
    QVERIFY2(r.setUp(), qPrintable(r.error));
    r.boss.send("MODE #room +o orvel");
    QVERIFY(r.listIs({"@boss", "@orvel", "buddy"}));
    frmMenu &menu = form<frmMenu>();

    r.select(QStringLiteral("buddy"));
    menu.mnuOp->trigger();
    QVERIFY(r.boss.waitForLine(" MODE #room +o buddy"));
    QVERIFY2(r.listIs({"@boss", "@buddy", "@orvel"}), qPrintable(r.nicks().join(' ')));
    QVERIFY(PaneHasLine(form<frmChan>().Incoming, QStringLiteral("\x01 orvel sets mode: +o buddy")));

    r.select(QStringLiteral("@buddy"));
    menu.mnuDeop->trigger();
    QVERIFY(r.boss.waitForLine(" MODE #room -o buddy"));
    QVERIFY2(r.listIs({"@boss", "@orvel", "buddy"}), qPrintable(r.nicks().join(' ')));

    r.select(QStringLiteral("buddy"));
    menu.mnuBan->trigger();
    QVERIFY(r.boss.waitForLine(" MODE #room +b buddy!*@*"));
    r.select(QStringLiteral("buddy"));
    menu.mnuKick->trigger();
    QVERIFY(r.buddy.waitForLine(" KICK #room buddy :Get Out"));
    QVERIFY2(r.listIs({"@boss", "@orvel"}), qPrintable(r.nicks().join(' ')));
    QVERIFY(PaneHasLine(form<frmChan>().Incoming, QStringLiteral("\x01 buddy was kicked by orvel (Get Out)")));
    // Banned: the way back in is closed.
    r.buddy.send("JOIN #room");
    QVERIFY(r.buddy.waitForLine(" 474 buddy #room"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
}

void EventsNgircdTest::privateTalkAndATriviaRound()
{
    Room r;
    QVERIFY2(r.setUp(), qPrintable(r.error));
    r.buddy.send("PRIVMSG orvel :psst, over here");
    QVERIFY(WaitUntil([] { return loaded<frmOrvelChat>() != nullptr; }));
    frmOrvelChat *chat = loaded<frmOrvelChat>();
    QVERIFY(WaitUntil([&] { return chat->txtIncoming->Text().endsWith(QLatin1String("<buddy> psst, over here")); }));
    QCOMPARE(chat->txtUser->text(), QStringLiteral("buddy"));
    TypeLine(chat->txtOutgoing, QStringLiteral("what is it?"));
    QVERIFY(r.buddy.waitForLine(" PRIVMSG buddy :what is it?"));

    trivia::Draw = &fixedDraw;
    g_draw = (trivia::Keys().indexOf(97) + 0.5) / 100.0;
    r.t->m->mnuStartTeleTrivia->trigger();
    QVERIFY(r.boss.waitForLine(" PRIVMSG #room :\x03" "12<<\x03" "10Tele trivia has begun!"));
    session().Game().Timer().fire();
    QVERIFY(r.boss.waitForLine(" PRIVMSG #room :\x03" "12<<Teletrivia Question: \x03" "10Can fish close their eyes?"));
    r.boss.send("PRIVMSG #room :No");
    QVERIFY(r.buddy.waitForLine(" PRIVMSG #room :\x03" "12<<Teletrivia: \x03" "10boss \x03" "12got it! Answer: \x03" "10No"));
    r.buddy.send("PRIVMSG #room :!stop");
    QVERIFY(r.boss.waitForLine(" NOTICE #room :\x03" "12<<\x03" "10 buddy, you stoped teletrivia."));
    QVERIFY(!session().Game().Timer().Enabled());
    trivia::Draw = &trivia::TimeSeededDraw;
}

QTEST_MAIN(EventsNgircdTest)
#include "test_events_ngircd.moc"
