// The program against InspIRCd 3 (Debian's inspircd, started here on a free loopback
// port), which checks the user name and writes some line forms unlike ngircd: a new
// user's registration, a join with the topic set, an op by a peer and a reasonless part.
#include "ClientSession.h"
#include "Inspircd.h"
#include "Ngircd.h"

class InspircdTest : public QObject
{
    Q_OBJECT
private slots:
    void registersJoinsAndFollowsTheChannel();
};

void InspircdTest::registersJoinsAndFollowsTheChannel()
{
    Inspircd server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    Peer boss, pal;
    QVERIFY(boss.connectAs(server.port(), QStringLiteral("boss")));
    QVERIFY(boss.joinChannel("#bars"));
    boss.send("TOPIC #bars :Bars: open late");
    QVERIFY(boss.waitForLine(" TOPIC #bars :Bars: open late"));
    QVERIFY(pal.connectAs(server.port(), QStringLiteral("pal")));
    QVERIFY(pal.joinChannel("#bars"));

    // The wizard asks for an e-mail address: it holds an "@", which no user name may.
    ClientSession t(server.port(), {{QStringLiteral("nick.msg"), QStringLiteral("orvel")},
                                    {QStringLiteral("email.msg"), QStringLiteral("orvel.bars@example.org")}});
    QVERIFY2(t.connect(server.name), qPrintable(t.s->Incoming->Text() + server.log()));
    QVERIFY(PaneHasLine(t.s->Incoming, QStringLiteral("Welcome to the InspTest IRC Network orvel!orvelbars@127.0.0.1")));

    QVERIFY2(t.join(QStringLiteral("#bars")), qPrintable(t.s->Incoming->Text()));
    frmChan *c = loaded<frmChan>();
    QVERIFY(c);
    QCOMPARE(c->Caption(), QStringLiteral("#bars: Bars: open late"));
    QCOMPARE(c->Namelist->Members().Items(), QStringList({"@boss", "orvel", "pal"}));

    // This server sends "MODE #bars +o :orvel" and "PART :#bars".
    boss.send("MODE #bars +o orvel");
    QVERIFY2(WaitUntil([&] { return c->Namelist->Members().Items() == QStringList({"@boss", "@orvel", "pal"}); }),
             qPrintable(c->Namelist->Members().Items().join(QLatin1Char(' '))));
    QVERIFY(PaneHasLine(c->Incoming, QStringLiteral("\x01 boss sets mode: +o orvel")));
    pal.send("PART #bars");
    QVERIFY2(WaitUntil([&] { return c->Namelist->Members().Items() == QStringList({"@boss", "@orvel"}); }),
             qPrintable(c->Namelist->Members().Items().join(QLatin1Char(' '))));
    QVERIFY(PaneHasLine(c->Incoming, QStringLiteral("\x01 pal has Left #bars")));
}

QTEST_MAIN(InspircdTest)
#include "test_inspircd.moc"
