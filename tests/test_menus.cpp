// The command menus: the channel and server pop-ups and the dashboard's mode switches,
// with the exact lines they send and the exact echoes they write.
#include "ClientSession.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {
QStringList captions(const QMenu *m)
{
    QStringList out;
    for (const QAction *a : m->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

const QString kNoCarrier = QStringLiteral("Hey, don't touch that TELEPHOqMF\u00e4\u00e5\u00f2\u00f4\u00d6\u00d5\u00d3NO CARRIER");

QAction *itemNamed(frmOrvelMain *m, const QString &name)
{
    const QMap<QString, QAction *> items{
        {"mnuOrvelIRC", m->mnuOrvelIRCBanner}, {"mnuNamesinThisChannel", m->mnuNamesinThisChannel},
        {"mnuAwayNormal", m->mnuAwayNormal}, {"mnuGottaPee", m->mnuGottaPee}, {"mnuAwayNoReason", m->mnuAwayNoReason},
        {"mnuDinnerTime", m->mnuDinnerTime}, {"mnuBackNormal", m->mnuBackNormal}, {"mnuBackPee", m->mnuBackPee},
        {"mnuBackFromNoReason", m->mnuBackFromNoReason}, {"mnuBackDinner", m->mnuBackDinner},
        {"mnuServerMessageOn", m->mnuServerMessageOn}, {"mnuServerMessagesOff", m->mnuServerMessagesOff},
        {"mnuWallopsOn", m->mnuWallopsOn}, {"mnuWallopsOff", m->mnuWallopsOff}, {"mnuListChannels", m->mnuListChannels},
        {"mnuQuitMsgInc", m->mnuQuitMsgInc}, {"mnuOhMyGodYouKilledKenny", m->mnuOhMyGodYouKilledKenny},
        {"mnuNoCarrier", m->mnuNoCarrier}, {"mnuLusers", m->mnuLusers}, {"mnuMOTD", m->mnuMOTD}, {"mnuTime", m->mnuTime}};
    return items.value(name);
}
} // namespace

class MenusTest : public QObject
{
    Q_OBJECT
private slots:
    void menuTrees();
    void connectedItems_data();
    void connectedItems();
    void typedReasons();
    void clearPartAndQuitNormal();
    void notConnected();
    void channelQuitSubmenuNamesakes();
    void modeSwitches();
    void childWindowsInTheClientArea();
};

void MenusTest::menuTrees()
{
    ClientSession t;
    frmOrvelMain *m = t.m;
    QCOMPARE(m->mnuIncoming->title(), QStringLiteral("Incoming"));
    QCOMPARE(captions(m->mnuIncoming), (QStringList{"OrvelIRC", "-", "List Channels", "Names", "-", "Away", "Modes", "-",
                                                    "Clear Buffer", "Part", "-", "Quit IRC"}));
    QCOMPARE(captions(m->mnuAwaySystem), (QStringList{"Away", "Back", "-", "Away?", "Back?"}));
    QCOMPARE(captions(m->mnuAway), (QStringList{"Away Normal", "-", "Gotta Take a Pee", "No Reason", "Dinner Time"}));
    QCOMPARE(captions(m->mnuBack), (QStringList{"Back Normal", "-", "Gotta Take a Pee", "No Reason", "Dinner Time"}));
    QCOMPARE(captions(m->mnuPersonalIRCSettings), (QStringList{"Wallops", "Server Messages"}));
    QCOMPARE(captions(m->mnuWallops), (QStringList{"On", "Off"}));
    QCOMPARE(captions(m->mnuServerMessages), (QStringList{"On", "Off"}));
    QCOMPARE(captions(m->mnuquitirc), (QStringList{"Normal", "Close Tcp Socket", "Quit IRC/OrvelIRC", "-", "Quit Msg Inc.",
                                                   "Oh my GOD, you've killed Kenny!", kNoCarrier}));
    QCOMPARE(m->mnuServer->title(), QStringLiteral("Server"));
    QCOMPARE(captions(m->mnuServer), (QStringList{"InData Window", "OutData Window", "-", "Lusers", "MOTD", "Time", "-",
                                                  "Clear Buffer", "Connect", "-", "Quit IRC"}));
    QCOMPARE(captions(m->mnuQuitIRC2), (QStringList{"Normal", "Close Tcp Socket", "Quit IRC/OrvelIRC"}));
    // Neither pop-up is in the menu bar.
    for (QAction *a : m->menuBar()->actions()) QVERIFY(a->menu() != m->mnuIncoming && a->menu() != m->mnuServer);
    // A right click in the server pane or the channel pane shows the frame's pop-up for it.
    QMenu *shown = nullptr;
    auto popupOf = [&shown](RichPane *pane) {
        shown = nullptr;
        QTimer::singleShot(0, [&shown] {
            shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (shown) shown->close();
        });
        QTest::mouseClick(pane->viewport(), Qt::RightButton);
        QCoreApplication::processEvents();
        return shown;
    };
    QCOMPARE(popupOf(t.s->Incoming), m->mnuServer);
    QCOMPARE(popupOf(form<frmChan>().Incoming), m->mnuIncoming);

    QCOMPARE(m->ModesCaption->text(), QStringLiteral("Modes:"));
    QCOMPARE(m->Label2->text(), QStringLiteral("Server Notices"));
    QCOMPARE(m->Label3->text(), QStringLiteral("Wallops"));
    QCOMPARE(m->Label21->text(), QStringLiteral("Invisibility"));
    for (QCheckBox *b : {m->Check1, m->Check2, m->Check3}) {
        QCOMPARE(frmOrvelMain::CheckValue(b), 0);
        QVERIFY(m->Picture1->isAncestorOf(b));
    }
}

void MenusTest::connectedItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QString>("echo");  // its last line, black
    QTest::addColumn<bool>("inServerPane");

    const QByteArray pm = "PRIVMSG #c :";
    auto row = [](const char *item, QList<QByteArray> lines, const char *echo = "", bool server = false) {
        QTest::newRow(item) << QString::fromLatin1(item) << lines << QString::fromUtf8(echo) << server;
    };
    row("mnuAwayNormal", {"AWAY :Out to lunch", pm + "[Set Away] [Reason: Out to lunch]"}, "> [Set Away] [Reason: Out to lunch]");
    row("mnuGottaPee", {"AWAY :I Gotta take a pee REAL BAD!!", pm + "[Set Away] [Reason: I gotta take a pee REAL BAD!!, brb!!]"},
        "> [Set Away] [Reason: I gotta take a pee REAL BAD!!, brb!!]", true);
    row("mnuAwayNoReason", {"AWAY : I have no reason. Bite Me!", pm + "[Set Away] [Reason: I have no reason. Bite Me!]"},
        "> [Set Away] [Reason: I have no reason. Bite Me!]");
    row("mnuDinnerTime", {"AWAY : Time to eat dinner!", pm + "[Set Away] [Reason: Time to eat dinner!]"},
        "> [Set Away] [Reason: Time to eat dinner!]");
    row("mnuBackNormal", {pm + "[Set Back] [Reason: Here again]"}, "> [Set Back] [Reason: Here again]");
    row("mnuBackPee", {pm + "[Set Back] [Reason: Back from takeing a pee.]"}, "> [Set Back] [Reason: Back from takeing a pee.]");
    row("mnuBackFromNoReason", {pm + "[Set Back] [Reason: I have no reason to be back, but I am.]"},
        "> [Set Back] [Reason: I have no reason to be back, but I am.]");
    row("mnuBackDinner", {pm + "[Set Back] [Reason: Back from eating dinner.]"}, "> [Set Back] [Reason: Back from eating dinner.]");
    row("mnuOrvelIRC", {pm + "\x03" "15,1<<-\x03" "16,1ORVELIRC 1.02\x03" "15,1*\x03" "10,1LUMORA EDiTION\x03" "15,1->>\x03"
                             "12,0 by Tessek"});
    row("mnuNamesinThisChannel", {"NAMES #c"});
    row("mnuListChannels", {"List"});
    // The Modes menu takes our nick, which the test sets apart from the nick setting.
    row("mnuServerMessageOn", {"MODE menunick +s"});
    row("mnuServerMessagesOff", {"MODE menunick -s"});
    row("mnuWallopsOn", {"MODE menunick +w"});
    row("mnuWallopsOff", {"MODE menunick -w"});
    row("mnuQuitMsgInc", {"QUIT :Quit Message Inc. Bringing you quality quit messages since 1932!"});
    row("mnuOhMyGodYouKilledKenny", {"QUIT :Oh my GOD! They killed Kenny! Those BASTARDS!"});
    row("mnuNoCarrier", {"QUIT :Hey, don't touch that TELEPHOqMF\xc3\xa4\xc3\xa5\xc3\xb2\xc3\xb4\xc3\x96\xc3\x95\xc3\x93NO CARRIER"});
    row("mnuLusers", {"LUSERS"});
    row("mnuMOTD", {"MOTD"});
    row("mnuTime", {"TIME"});
}

void MenusTest::connectedItems()
{
    QFETCH(QString, item);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QString, echo);
    QFETCH(bool, inServerPane);
    ClientSession t(0, {{"away.msg", "Out to lunch"}, {"back.msg", "Here again"}});
    QVERIFY(t.connectAndJoin());
    session().SetNick(QStringLiteral("menunick"));
    t.mark();
    RichPane *chanPane = form<frmChan>().Incoming;
    const QString chanBefore = chanPane->Text(), flag = t.s->Caption();
    itemNamed(t.m, item)->trigger();
    QCOMPARE(t.sent(), lines);
    if (echo.isEmpty()) {
        QCOMPARE(t.paneSinceMark(), QString());
        QCOMPARE(chanPane->Text(), chanBefore);
    } else if (inServerPane) {
        QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + echo);
        QCOMPARE(ColourOf(t.s->Incoming, echo), PaletteColour(0));
        QCOMPARE(chanPane->Text(), chanBefore);
    } else {
        QCOMPARE(chanPane->Text(), chanBefore + QLatin1Char('\n') + echo);
        QCOMPARE(ColourOf(chanPane, echo), PaletteColour(0));
        QCOMPARE(t.paneSinceMark(), QString());
    }
    // No item here touches the connected flag, not even the canned QUITs.
    QCOMPARE(t.s->Caption(), flag);
}

void MenusTest::typedReasons()
{
    ClientSession t(0, {{"away.msg", "Out to lunch"}, {"back.msg", "Here again"}});
    QVERIFY(t.connectAndJoin());
    RichPane *chanPane = form<frmChan>().Incoming;
    t.env.dialogs.answers = QStringList{"brb", "here now"};
    t.m->mnuAway9082983->trigger();
    t.m->mnuBack937892->trigger();
    // The wire lines leave the bracket open; the echoes close it.
    QCOMPARE(t.sent(), (Lines{"AWAY : brb", "PRIVMSG #c :[Set Away: brb", "PRIVMSG #c :[Set Back] [Reason: here now"}));
    QCOMPARE(LastLines(chanPane, 2), (QStringList{"> [Set Away] [Reason: brb]", "> [Set Back] [Reason: here now]"}));
    QCOMPARE(t.env.dialogs.prompts,
             (QStringList{"Enter your away message. (Note this message will be seen by everyone in the channel you are in.)",
                          "Enter your reason for being back. (Note this message will be seen by everyone in the channel you are in.)"}));
    QCOMPARE(t.env.dialogs.titles, (QStringList{"OrvelIRC", "OrvelIRC"}));
    // Cancel (an empty answer) sends and writes nothing.
    const QString before = chanPane->Text();
    t.m->mnuAway9082983->trigger();
    t.m->mnuBack937892->trigger();
    QCOMPARE(t.sent(), Lines());
    QCOMPARE(chanPane->Text(), before);
}

void MenusTest::clearPartAndQuitNormal()
{
    ClientSession t(0, {{"discon.msg", "Bye all"}});
    QVERIFY(t.connectAndJoin());
    QPointer<frmChan> c = &form<frmChan>();
    c->Addtext(QStringLiteral("some text"));
    t.m->mnuClearBuffer->trigger();
    QCOMPARE(c->Incoming->Text(), QString());
    QVERIFY(!t.s->Incoming->Text().isEmpty());
    t.m->mnuClearBuffer98390283902->trigger();
    QCOMPARE(t.s->Incoming->Text(), QString());

    t.m->mnuPartChannel->trigger();
    QCOMPARE(t.sent(), Lines{"PART #c"});
    Pump();
    QVERIFY(!c);
    QVERIFY(t.m->mnuShowChannelWindow->isEnabled());
    QVERIFY(!t.m->mnuWindowTwo->isVisible());

    // Quit IRC > Normal: the flag emptied, QUIT with the stored message, then the channel
    // window's unload leaves the channel.
    form<frmChan>();
    t.m->mnuQuitIRCNormal->trigger();
    QCOMPARE(t.sent(), (Lines{"QUIT :Bye all", "PART #c"}));
    QCOMPARE(t.s->Caption(), QString());
    Pump();
    QVERIFY(!loaded<frmChan>());
    // Not connected: a status line, nothing sent, the window stays.
    form<frmChan>();
    t.mark();
    t.m->mnuQuitIRCNormal->trigger();
    QCOMPARE(t.sent(), Lines());
    QCOMPARE(t.paneSinceMark(), QStringLiteral("\n\x01 Your not connected"));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Your not connected")), PaletteColour(0));
    QVERIFY(loaded<frmChan>());
}

void MenusTest::notConnected()
{
    // The socket stays open but the flag is empty, so what reaches the wire shows.
    ClientSession t;
    QVERIFY(t.connect());
    session().SetConnectedCaption(QString());
    for (QAction *a : {t.m->mnuLusers, t.m->mnuMOTD, t.m->mnuTime}) {
        t.mark();
        t.s->Outgoing->setText(QStringLiteral("half typed"));
        a->trigger();
        QCOMPARE(t.paneSinceMark(), QStringLiteral("\n\x01 Error 5 (Not connected)"));
        QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Error 5 (Not connected)")), PaletteColour(0));
        QCOMPARE(t.soundsSinceMark().filter(QStringLiteral("Play")), QStringList{"MMControl1:Play:WaveAudio:error.wav"});
        QCOMPARE(t.s->Outgoing->text(), QString());
    }
    QCOMPARE(t.sent(), Lines());
    // List Channels says so and sends anyway.
    t.mark();
    t.m->mnuListChannels->trigger();
    QCOMPARE(t.paneSinceMark(), QStringLiteral("\nYour not connected"));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("Your not connected")), PaletteColour(0));
    QCOMPARE(t.sent(), Lines{"List"});
}

void MenusTest::channelQuitSubmenuNamesakes()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    // Closing the socket from the channel pop-up ends the connection in every control.
    t.m->mnuCloseTCPSocket3892789->trigger();
    QVERIFY(t.srv.waitForDisconnect());
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(t.paneSinceMark(), QStringLiteral("\n\x01 Disconnected"));
    QVERIFY(t.m->cmdConnect->isEnabled() && !t.m->cmdDisconnect->isEnabled());
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(TestEnv::endCalls, 0);
    t.m->mnuquitircOrvelIRC0389->trigger();
    QCOMPARE(TestEnv::endCalls, 1);
}

void MenusTest::modeSwitches()
{
    ClientSession t;
    QVERIFY(t.connect());
    session().Settings().Set(Setting::Nick, QStringLiteral("boxnick"));
    session().SetNick(QStringLiteral("menunick"));
    frmOrvelMain *m = t.m;
    // The user's clicks: each change runs the action for the new state.
    QTest::mouseClick(m->Check1, Qt::LeftButton);
    QCOMPARE(frmOrvelMain::CheckValue(m->Check1), 1);
    QTest::mouseClick(m->Check1, Qt::LeftButton);
    QTest::mouseClick(m->Check2, Qt::LeftButton);
    QCOMPARE(t.sent(), (Lines{"MODE boxnick +s", "MODE boxnick -s", "MODE boxnick +w"}));
    // A label runs the action for the old state, then flips the box, which runs it again.
    QTest::mouseClick(m->Label2, Qt::LeftButton);
    QTest::mouseClick(m->Label3, Qt::LeftButton);
    QCOMPARE(t.sent(), (Lines{"MODE boxnick -s", "MODE boxnick +s", "MODE boxnick +w", "MODE boxnick -w"}));
    QCOMPARE(frmOrvelMain::CheckValue(m->Check1), 1);
    QCOMPARE(frmOrvelMain::CheckValue(m->Check2), 0);
    // A change by the program runs the action too; grey sends nothing and a label leaves it grey.
    frmOrvelMain::SetCheckValue(m->Check2, 1);
    frmOrvelMain::SetCheckValue(m->Check1, 2);
    QCOMPARE(frmOrvelMain::CheckValue(m->Check1), 2);
    QTest::mouseClick(m->Label2, Qt::LeftButton);
    QCOMPARE(frmOrvelMain::CheckValue(m->Check1), 2);
    frmOrvelMain::SetCheckValue(m->Check1, 7);
    QCOMPARE(frmOrvelMain::CheckValue(m->Check1), 2);
    // A user's click on a grey box sets it.
    QTest::mouseClick(m->Check1, Qt::LeftButton);
    QCOMPARE(t.sent(), (Lines{"MODE boxnick +w", "MODE boxnick +s"}));

    // Invisibility: never a line; the error and the sound once for the box, twice for its label.
    const QString err = QStringLiteral("Error 69 (Nothing to do!)");
    t.mark();
    QTest::mouseClick(m->Check3, Qt::LeftButton);
    QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + err);
    QCOMPARE(ColourOf(t.s->Incoming, err), PaletteColour(0));
    t.mark();
    QTest::mouseClick(m->Label21, Qt::LeftButton);
    QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + err + QLatin1Char('\n') + err);
    QCOMPARE(t.soundsSinceMark().filter(QStringLiteral("Play")),
             (QStringList{"MMControl1:Play:WaveAudio:error.wav", "MMControl1:Play:WaveAudio:error.wav"}));
    QCOMPARE(frmOrvelMain::CheckValue(m->Check3), 0);
    QCOMPARE(t.sent(), Lines());
}

QTEST_MAIN(MenusTest)
#include "test_menus.moc"

// Child windows open wholly inside the frame's client area, the quiz indicator beside the
// server pane's text, and Cascade leaves every window a usable size.
void MenusTest::childWindowsInTheClientArea()
{
    ClientSession t;
    t.m->resize(790, 700);
    QVERIFY(t.connectAndJoin());
    QVERIFY(t.feed(":x!u@h PRIVMSG abc :hi\r\n"));  // the private chat opens
    t.m->mnuIndataWindow->trigger();
    const QRect area = t.m->MdiArea()->viewport()->rect();
    const QList<QMdiSubWindow *> children = t.m->MdiArea()->subWindowList();
    QCOMPARE(children.size(), 4);
    for (const QMdiSubWindow *w : children) QVERIFY2(area.contains(w->geometry()), qPrintable(w->windowTitle()));
    const QRect text(t.s->Incoming->viewport()->mapTo(t.s, QPoint()), t.s->Incoming->viewport()->size());
    QVERIFY(t.s->Incoming->geometry().contains(t.s->Picture1->geometry()));
    QVERIFY(!text.intersects(t.s->Picture1->geometry()));

    t.m->mnuCascade->trigger();
    QSet<int> tops;
    for (const QMdiSubWindow *w : children) {
        QVERIFY(area.contains(w->geometry()));
        QVERIFY2(w->widget()->width() >= 300 && w->widget()->height() >= 150, qPrintable(w->windowTitle()));
        tops.insert(w->y());
    }
    QCOMPARE(tops.size(), children.size());  // each offset from the one behind
}
