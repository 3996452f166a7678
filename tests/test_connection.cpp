// The connect controls, the count-down with its time-out, the socket's connect and close
// events, and the sound board with the audio CD.
#include "ClientSession.h"
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "settings/IrcData.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

using Lines = QList<QByteArray>;

namespace {
// A loopback port that refuses connections.
int deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

// "E"/"D" for Connect, Quit, Setup and the File menu's Setup item, in that order.
QString buttons(frmOrvelMain &m)
{
    QString s;
    for (bool on : {m.cmdConnect->isEnabled(), m.cmdDisconnect->isEnabled(), m.cmdSetup->isEnabled(), m.mnuSetup->isEnabled()})
        s += on ? QLatin1Char('E') : QLatin1Char('D');
    return s;
}

// The digits that show, as their numbers.
QString digits(frmOrvelMain &m)
{
    QString s;
    const QLabel *d[10] = {m.Zero, m.One, m.Two, m.Three, m.Four, m.Five, m.Six, m.Seven, m.eight, m.nine};
    for (int i = 9; i >= 0; --i)
        if (!d[i]->isHidden()) s += QString::number(i);
    return s;
}

// A double click as the user gives it: the click of the first press, then the double click.
void doubleClick(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::mouseDClick(w, Qt::LeftButton);
}

QString paneLines(frmOrvelIRC &s) { return s.Incoming->Text(); }

// The colour of the latest pane line holding exactly this text.
QColor colourOf(frmOrvelIRC &s, const QString &text)
{
    QColor found;
    for (const RichPane::Run &r : TextRuns(s.Incoming))
        if (QString(r.text).remove(QLatin1Char('\n')) == text) found = r.colour;
    return found;
}

const QString kError71 = QStringLiteral("\x01 Error 71 (failed to connect (server))");
const QString kDisconnected = QStringLiteral("\x01 Disconnected");
} // namespace

class ConnectionTest : public QObject
{
    Q_OBJECT
private slots:
    void startStateAndAttempt();
    void timeOutAfterNineTicks();
    void connectEventRegistersAndStopsCountDown();
    void digitClickStopsCountDown();
    void peerCloseRestoresControls();
    void fileItemThreeWays();
    void fileItemAfterTimeOut();
    void newConnectDuringAttemptAndQuit();
    void badPortNeverReachesStalePort();
    void closeSocketItemsAndQuitPopup();
    void playOnConnect();
    void soundBoard();
    void ampMenuAndPlaySnd();
};

void ConnectionTest::startStateAndAttempt()
{
    TestEnv env;
    env.writeConnection(deadPort());
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    QVERIFY(m.Timer2->Enabled());
    QCOMPARE(m.Timer2->Interval(), 1000);
    QCOMPARE(digits(m), QString());
    QVERIFY(!m.Image5->isHidden());
    QCOMPARE(s.Caption(), QString());

    MultimediaLog().clear();
    QTest::mouseClick(m.cmdConnect, Qt::LeftButton);
    QCOMPARE(buttons(m), QStringLiteral("DEDE"));  // the File menu's Setup is left alone
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(digits(m), QStringLiteral("9"));
    QVERIFY(!m.Image5->isHidden());
    QVERIFY(m.Timer2->Enabled());
    QCOMPARE(s.Caption(), QStringLiteral("abc on 127.0.0.1"));
    QCOMPARE(s.Incoming->MousePointer(), 13);
    QVERIFY(paneLines(s).endsWith(QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...")));
    QCOMPARE(TextRuns(s.Incoming).last().colour, PaletteColour(1));
    // No audio CD unless asked for.
    QCOMPARE(MultimediaLog(), QStringList());
}

void ConnectionTest::timeOutAfterNineTicks()
{
    TestEnv env;
    env.writeConnection(deadPort());
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.cmdConnect_Click();
    const QString before = paneLines(s);
    const QStringList countDown = {QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("6"), QStringLiteral("5"),
                                   QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    for (const QString &d : countDown) {
        m.Timer2->fire();
        QCOMPARE(digits(m), d);
        QCOMPARE(s.Caption(), QStringLiteral("abc on 127.0.0.1"));
    }
    QCOMPARE(paneLines(s), before);
    const int mm = int(MultimediaLog().size());
    m.Timer2->fire();  // the ninth
    QCOMPARE(digits(m), QStringLiteral("0"));
    QCOMPARE(paneLines(s), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(colourOf(s, kError71), PaletteColour(1));
    QCOMPARE(MultimediaLog().mid(mm + 1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                                                       QStringLiteral("MMControl1:Play:WaveAudio:error.wav")}));
    QCOMPARE(s.Caption(), QString());
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));
    QCOMPARE(s.Incoming->MousePointer(), 1);
    QVERIFY(m.Timer2->Enabled());  // it keeps ticking, to no effect
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    m.Timer2->fire();
    QCOMPARE(digits(m), QStringLiteral("0"));
    QCOMPARE(paneLines(s), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);

    // A later attempt clears the Zero at its first tick.
    m.cmdConnect_Click();
    QCOMPARE(digits(m), QStringLiteral("90"));
    m.Timer2->fire();
    QCOMPARE(digits(m), QStringLiteral("8"));
}

void ConnectionTest::connectEventRegistersAndStopsCountDown()
{
    TestEnv env;
    LoopbackServer srv;
    env.writeConnection(srv.port(), QStringLiteral("abc"), QStringLiteral("127.0.0.1"), QStringLiteral("abc_"),
                        QStringLiteral("me@example.org"), QStringLiteral("Real Name With Blanks"));
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.cmdConnect_Click();
    QVERIFY(srv.waitForClient());
    QVERIFY(srv.waitForLineStarting("USER "));
    QCOMPARE(srv.lines(), Lines({"NICK abc", "USER me@example.org 127.0.0.1 127.0.0.1 :Real Name With Blanks"}));
    QVERIFY(paneLines(s).endsWith(QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...\n\x01 Connection established.\n"
                                                 "\x01 Sending login information...")));
    QCOMPARE(colourOf(s, QStringLiteral("\x01 Connection established.")), PaletteColour(1));
    QCOMPARE(buttons(m), QStringLiteral("DEDD"));
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Disconnect"));
    QVERIFY(!m.Timer2->Enabled());
    QCOMPARE(digits(m), QString());
    QVERIFY(m.Image5->isHidden());
    QCOMPARE(s.Caption(), QStringLiteral("abc on 127.0.0.1"));
    QCOMPARE(s.Incoming->MousePointer(), 1);
    QCOMPARE(IrcData::RealName, QStringLiteral("Real Name With Blanks"));
    QCOMPARE(IrcData::EmailAddress, QStringLiteral("me@example.org"));

    // The housekeeping tick mirrors the File item into the server pop-up.
    m.Timer1->fire();
    QCOMPARE(m.mnuDisconnectMe->text(), QStringLiteral("Disconnect"));
}

void ConnectionTest::digitClickStopsCountDown()
{
    TestEnv env;
    LoopbackServer srv;
    env.writeConnection(srv.port());
    frmOrvelMain &m = env.start();
    m.cmdConnect_Click();
    QTest::mouseClick(m.nine, Qt::LeftButton);  // before the connection comes up
    QVERIFY(!m.Timer2->Enabled());
    QVERIFY(srv.waitForLineStarting("USER "));
    // The count-down was not running: the digits are left as they were.
    QCOMPARE(digits(m), QStringLiteral("9"));
    QVERIFY(!m.Image5->isHidden());
    QCOMPARE(buttons(m), QStringLiteral("DEDD"));

    // Without its count-down a failed attempt never times out.
    srv.closeClient();
    QVERIFY(WaitUntil([&] { return m.mnuConnect->text() == QStringLiteral("Connect"); }));
    IrcData::ServerPort = QString::number(deadPort());
    m.cmdConnect_Click();
    m.Timer2->fire();
    QCOMPARE(digits(m), QStringLiteral("8"));
    QTest::mouseClick(m.eight, Qt::LeftButton);
    QVERIFY(!m.Timer2->Enabled());
    QCOMPARE(digits(m), QStringLiteral("8"));
    QCOMPARE(buttons(m), QStringLiteral("DEDE"));
}

void ConnectionTest::peerCloseRestoresControls()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.irc->ChannelState = 2;
    c.irc->Teletrivia->setEnabled(true);
    c.irc->SetPicture1BackColor(4);
    c.main->Timer2->setEnabled(true);
    c.main->nine->setVisible(true);
    c.server.closeClient();
    QVERIFY(WaitUntil([&] { return c.irc->Caption().isEmpty(); }));
    QCOMPARE(c.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
    QCOMPARE(c.colourOf(kDisconnected), PaletteColour(0));
    QCOMPARE(buttons(*c.main), QStringLiteral("EDEE"));
    QVERIFY(!c.main->Timer2->Enabled());
    QCOMPARE(digits(*c.main), QStringLiteral("9"));  // the digits are not touched
    QVERIFY(!c.irc->Teletrivia->Enabled());
    QCOMPARE(c.irc->Picture1BackColor, 1);
    QCOMPARE(c.main->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(c.irc->ChannelState, 0);
}

void ConnectionTest::fileItemThreeWays()
{
    TestEnv env;
    LoopbackServer srv;
    env.writeConnection(srv.port());
    env.writeSetting(QStringLiteral("discon.msg"), QStringLiteral("See you later"));
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();

    // Connect, then Cancel Connect before the server has answered.
    m.mnuConnect->trigger();
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Cancel Connect"));
    QCOMPARE(digits(m), QStringLiteral("9"));
    QCOMPARE(s.Caption(), QStringLiteral("abc on 127.0.0.1"));
    m.Timer2->fire();
    const QString before = paneLines(s);
    m.mnuConnect->trigger();
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(paneLines(s), before + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(colourOf(s, kDisconnected), PaletteColour(1));
    QVERIFY(!m.Timer2->Enabled());
    QCOMPARE(digits(m), QStringLiteral("0"));
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));
    QCOMPARE(s.Caption(), QString());
    QCOMPARE(s.Incoming->MousePointer(), 1);

    // Connect again and let it come up: the item turns into Disconnect, which quits.
    if (srv.hasClient()) srv.closeClient();
    m.mnuConnect->trigger();
    QVERIFY(WaitUntil([&] { return m.mnuConnect->text() == QStringLiteral("Disconnect"); }));
    QVERIFY(srv.waitForLineStarting("USER "));
    srv.clear();
    m.Timer1->fire();
    m.mnuDisconnectMe->trigger();  // the server pop-up's twin does the same
    QVERIFY(srv.waitForLine("QUIT :See you later"));
    QCOMPARE(s.Caption(), QString());
    QCOMPARE(s.Incoming->MousePointer(), 1);
    // Quit changes no control: the server's close does.
    QCOMPARE(buttons(m), QStringLiteral("DEDD"));
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Disconnect"));
    srv.closeClient();
    QVERIFY(WaitUntil([&] { return m.mnuConnect->text() == QStringLiteral("Connect"); }));
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));
}

void ConnectionTest::fileItemAfterTimeOut()
{
    TestEnv env;
    env.writeConnection(deadPort());
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.mnuConnect_Click();
    for (int i = 0; i < 9; ++i) m.Timer2->fire();
    QVERIFY(paneLines(s).endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Cancel Connect"));
    m.mnuConnect_Click();
    QVERIFY(paneLines(s).endsWith(kError71 + QLatin1Char('\n') + kDisconnected + QLatin1Char('\n') + kDisconnected));
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(digits(m), QStringLiteral("0"));
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));

    // Started by the button, an attempt leaves the item at Connect: choosing it starts another.
    m.cmdConnect_Click();
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Connect"));
    m.mnuConnect_Click();
    QCOMPARE(m.mnuConnect->text(), QStringLiteral("Cancel Connect"));
    QVERIFY(paneLines(s).endsWith(kDisconnected + QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...")));
}

void ConnectionTest::newConnectDuringAttemptAndQuit()
{
    TestEnv env;
    env.writeConnection(deadPort());
    env.writeSetting(QStringLiteral("discon.msg"), QStringLiteral("bye"));
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.cmdConnect_Click();
    m.Timer2->fire();
    m.Timer2->fire();
    QCOMPARE(digits(m), QStringLiteral("7"));
    const QString before = paneLines(s);
    m.cmdConnect_Click();
    QCOMPARE(paneLines(s), before + QLatin1Char('\n') + kDisconnected + QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1..."));
    m.Timer2->fire();
    QCOMPARE(digits(m), QStringLiteral("8"));  // the count-down starts again

    // Quit during the attempt empties the flag; the count-down still ends it.
    QTest::mouseClick(m.cmdDisconnect, Qt::LeftButton);
    QCOMPARE(s.Caption(), QString());
    QCOMPARE(buttons(m), QStringLiteral("DEDE"));
    for (int i = 0; i < 8; ++i) m.Timer2->fire();
    QVERIFY(paneLines(s).endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
    QCOMPARE(buttons(m), QStringLiteral("EDEE"));
}

void ConnectionTest::badPortNeverReachesStalePort()
{
    TestEnv env;
    LoopbackServer srv;
    env.writeConnection(srv.port());
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.cmdConnect_Click();
    QVERIFY(srv.waitForLineStarting("USER "));
    srv.closeClient();
    QVERIFY(srv.waitForDisconnect());
    QVERIFY(WaitUntil([&] { return s.Caption().isEmpty(); }));

    for (const QString &bad : {QStringLiteral("66x"), QStringLiteral("70000"), QStringLiteral("0"), QString()}) {
        IrcData::ServerPort = bad;
        m.cmdConnect_Click();
        QVERIFY(!WaitUntil([&] { return srv.hasClient(); }, 300));
        QCOMPARE(s.Caption(), QStringLiteral("abc on 127.0.0.1"));
        for (int i = 0; i < 9; ++i) m.Timer2->fire();
        QVERIFY(paneLines(s).endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
        QCOMPARE(buttons(m), QStringLiteral("EDEE"));
    }
    // A port with blanks around it is still a whole number.
    IrcData::ServerPort = QLatin1Char(' ') + QString::number(srv.port()) + QLatin1Char(' ');
    m.cmdConnect_Click();
    QVERIFY(srv.waitForClient());
}

void ConnectionTest::closeSocketItemsAndQuitPopup()
{
    {
        ClientSession c;
        QVERIFY(c.ok);
        frmOrvelMain &m = *c.main;
        // The server pop-up's item closes the socket and nothing else.
        m.mnuCloseTCPSocket->trigger();
        QVERIFY(c.server.waitForDisconnect());
        Pump();
        QCOMPARE(c.irc->Caption(), QStringLiteral("abc on 127.0.0.1"));
        QCOMPARE(buttons(m), QStringLiteral("DEDD"));
        QCOMPARE(m.mnuConnect->text(), QStringLiteral("Disconnect"));
        QCOMPARE(c.paneSinceMark(), QString());

        // The Quit button's pop-up opens on the right button only, and only while enabled.
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *p = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                shown = p->title();
                p->close();
            }
        });
        m.cmdDisconnect_MouseDown(1);
        QCOMPARE(shown, QString());
        m.cmdDisconnect_MouseDown(2);
        QCOMPARE(shown, QStringLiteral("Quit"));
        QStringList items;
        for (QAction *a : m.mnuQuitHidden->actions()) items << a->text();
        QCOMPARE(items, QStringList({QStringLiteral("Normal"), QStringLiteral("Close the tcp socket"), QStringLiteral("Quit IRC/OrvelIRC")}));

        // "Close the tcp socket" cancels: status line, count-down reset, controls back.
        m.mnuCloseTheTCPSocket->trigger();
        QCOMPARE(c.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
        QCOMPARE(c.colourOf(kDisconnected), PaletteColour(1));
        QCOMPARE(buttons(m), QStringLiteral("EDEE"));
        QCOMPARE(digits(m), QStringLiteral("0"));
        QCOMPARE(c.irc->Caption(), QString());
        QCOMPARE(m.mnuConnect->text(), QStringLiteral("Disconnect"));
        shown = QStringLiteral("none");
        m.cmdDisconnect_MouseDown(2);  // returns at once: a disabled button opens nothing
        QCOMPARE(shown, QStringLiteral("none"));

        m.mnuQuitOrvelIRC->trigger();
        QCOMPARE(TestEnv::endCalls, 1);
        m.mnuQuitIRCOrvelIRC2882->trigger();
        QCOMPARE(TestEnv::endCalls, 2);
    }
    {
        ClientSession c;
        QVERIFY(c.ok);
        c.main->RichTextBox1.Text = QStringLiteral("Gone fishing");
        // "Normal": QUIT with the stored message, the flag emptied, a status line.
        c.main->mnuSendtheserveraquitmessage->trigger();
        QVERIFY(c.server.waitForLine("QUIT :Gone fishing"));
        QCOMPARE(c.irc->Caption(), QString());
        QCOMPARE(c.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
        QCOMPARE(c.colourOf(kDisconnected), PaletteColour(1));
        c.mark();
        c.main->mnuSendtheserveraquitmessage->trigger();
        QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Your not connected"));
        QCOMPARE(c.colourOf(QStringLiteral("\x01 Your not connected")), PaletteColour(0));
        // The server pop-up's "Normal" is the Quit button's action, which tests nothing.
        c.server.clear();
        c.main->mnuNormal->trigger();
        QVERIFY(c.server.waitForLine("QUIT :Gone fishing"));
    }
}

void ConnectionTest::playOnConnect()
{
    TestEnv env;
    env.writeConnection(deadPort());
    env.writeSetting(QStringLiteral("pcdos.msg"), QStringLiteral("yes"));
    frmOrvelMain &m = env.start();
    MultimediaLog().clear();
    m.cmdConnect_Click();
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("CDControl:Open:CDAudio:"), QStringLiteral("CDControl:Play:CDAudio:"),
                                           QStringLiteral("CDControl:Visible:1")}));
    QVERIFY(m.AmpIsOn());
    m.Timer1->fire();
    QVERIFY(!m.CDPanel->isHidden());
}

void ConnectionTest::soundBoard()
{
    TestEnv env;
    env.writeConnection(deadPort());
    frmOrvelMain &m = env.start();
    m.Timer1->fire();
    QVERIFY(!m.Command1->isEnabled());
    m.Command1_Click();
    QCOMPARE(env.dialogs.messages, QStringList({QStringLiteral("Nothing to do!")}));
    QCOMPARE(env.dialogs.titles.last(), QStringLiteral("OrvelIRC"));

    // Amp: a label click selects, "Make it so" switches the player on, then off.
    QTest::mouseClick(m.Label7, Qt::LeftButton);
    QVERIFY(m.Option3->isChecked());
    m.Timer1->fire();
    QVERIFY(m.Command1->isEnabled());
    MultimediaLog().clear();
    QTest::mouseClick(m.Command1, Qt::LeftButton);
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:error.wav"),
                                                  QStringLiteral("CDControl:Visible:1"), QStringLiteral("CDControl:Open:CDAudio:")}));
    QVERIFY(m.AmpIsOn());
    MultimediaLog().clear();
    m.Command1_Click();
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:switch.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:switch.wav"),
                                                  QStringLiteral("CDControl:Stop:CDAudio:"), QStringLiteral("CDControl:Close:CDAudio:"),
                                                  QStringLiteral("CDControl:Visible:0")}));
    QVERIFY(!m.AmpIsOn());
    doubleClick(m.Label7);  // a double click toggles straight away
    QVERIFY(m.AmpIsOn());

    // MP3: the chosen file goes whole, blanks and all, to the desktop's player.
    env.dialogs.fileAnswer = QStringLiteral("/home/u/My Music/a song; rm -rf.mp3");
    doubleClick(m.Label5);
    QVERIFY(m.Option1->isChecked());
    QCOMPARE(env.launcher.started.size(), 1);
    QCOMPARE(env.launcher.started[0].first, QStringLiteral("xdg-open"));
    QCOMPARE(env.launcher.started[0].second, QStringList({env.dialogs.fileAnswer}));
    env.dialogs.fileAnswer.clear();  // Cancel ends it silently
    m.Command1_Click();
    QCOMPARE(env.launcher.started.size(), 1);

    // Volume: the desktop's volume control when it is installed, silence otherwise.
    doubleClick(m.Label8);
    QVERIFY(m.Option4->isChecked());
    QCOMPARE(env.launcher.started.size(), 1);
    env.launcher.existing = QStringList({QStringLiteral("pavucontrol")});
    doubleClick(m.Option4);
    QCOMPARE(env.launcher.started.size(), 2);
    QCOMPARE(env.launcher.started[1].first, QStringLiteral("pavucontrol"));
    QCOMPARE(env.launcher.started[1].second, QStringList());
    QCOMPARE(env.dialogs.messages.size(), 1);
}

void ConnectionTest::ampMenuAndPlaySnd()
{
    TestEnv env;
    env.writeConnection(deadPort());
    frmOrvelMain &m = env.start();
    MultimediaLog().clear();
    QStringList names;
    for (QAction *a : m.mnuAmp->actions())
        if (!a->isSeparator()) names << a->text();
    QCOMPARE(names, QStringList({QStringLiteral("Switch Amp On"), QStringLiteral("Switch Amp Off"), QStringLiteral("Start Amp"),
                                 QStringLiteral("Stop Amp"), QStringLiteral("Pause"), QStringLiteral("Next"), QStringLiteral("Previous")}));
    // The transport items send their command whatever the player's state.
    for (QAction *a : {m.mnuCrankAmp, m.mnuPauseAmp, m.mnuStopAmp, m.mnuNextTrack, m.mnuPreviousTrack}) a->trigger();
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("CDControl:Play::"), QStringLiteral("CDControl:Pause::"),
                                           QStringLiteral("CDControl:Stop::"), QStringLiteral("CDControl:Next::"),
                                           QStringLiteral("CDControl:Prev::")}));
    QVERIFY(!m.AmpIsOn());
    MultimediaLog().clear();
    m.mnuTurnOnAmp->trigger();
    m.mnuCrankAmp->trigger();
    QCOMPARE(MultimediaLog().last(), QStringLiteral("CDControl:Play:CDAudio:"));

    // A sound cuts off the one before it.
    MultimediaLog().clear();
    m.PlaySnd(QStringLiteral("page.wav"));
    m.PlaySnd(QStringLiteral("chat.wav"));
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Close:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Open:WaveAudio:chat.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:chat.wav")}));
}

QTEST_MAIN(ConnectionTest)
#include "test_connection.moc"
