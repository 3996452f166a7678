// The connect controls, the count-down with its time-out, the socket's connect and close
// events, and the sound board with the audio CD.
#include "ClientSession.h"
#include "settings/Defaults.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

// A loopback port whose listener never takes a connection off its full queue: the kernel
// then drops every further connection request unanswered, as a firewall that drops would.
class UnansweredPort
{
public:
    UnansweredPort()
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&a), len);
        ::listen(m_listener, 0);
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_filler = ::socket(AF_INET, SOCK_STREAM, 0);
        ::connect(m_filler, reinterpret_cast<sockaddr *>(&a), len);
    }
    ~UnansweredPort()
    {
        ::close(m_filler);
        ::close(m_listener);
    }
    int port() const { return m_port; }
private:
    int m_listener = -1, m_filler = -1, m_port = 0;
};

// Besides this machine, names that cannot be looked up at all: they fail without a query.
bool loopbackOrUnresolvable(const QString &host)
{
    const QHostAddress a(host);
    return host == QLatin1String("localhost") || (!a.isNull() && a.isLoopback()) || QUrl::toAce(host).isEmpty();
}

// "E"/"D" for Connect, Quit, Setup and the File menu's Setup item, in that order.
QString buttons(const frmOrvelMain *m)
{
    QString s;
    for (bool on : {m->cmdConnect->isEnabled(), m->cmdDisconnect->isEnabled(), m->cmdSetup->isEnabled(), m->mnuSetup->isEnabled()})
        s += on ? QLatin1Char('E') : QLatin1Char('D');
    return s;
}

// The digits that show, as their numbers.
QString digits(const frmOrvelMain *m)
{
    QString s;
    const QLabel *d[10] = {m->Zero, m->One, m->Two, m->Three, m->Four, m->Five, m->Six, m->Seven, m->eight, m->nine};
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
    void failedAttemptReportedByTheCountDown_data();
    void failedAttemptReportedByTheCountDown();
    void silentServerTimesOut();
    void closeSocketItemsAndQuitPopup();
    void closingServerWindowEndsTheConnection();
    void quitDuringAnAttemptAbandonsIt();
    void serverCommandFailureIsReported();
    void userLineNeverHasEmptyFields();
    void playOnConnect();
    void soundBoard();
    void ampMenuAndPlaySnd();
};

void ConnectionTest::startStateAndAttempt()
{
    ClientSession t(deadPort());
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QVERIFY(t.m->Timer2->Enabled());
    QCOMPARE(t.m->Timer2->Interval(), 1000);
    QCOMPARE(digits(t.m), QString());
    QVERIFY(!t.m->Image5->isHidden());
    QCOMPARE(t.s->Caption(), QString());

    MultimediaLog().clear();
    QTest::mouseClick(t.m->cmdConnect, Qt::LeftButton);
    QCOMPARE(buttons(t.m), QStringLiteral("DEDE"));  // the File menu's Setup is left alone
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(digits(t.m), QStringLiteral("9"));
    QVERIFY(!t.m->Image5->isHidden());
    QVERIFY(t.m->Timer2->Enabled());
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    QCOMPARE(t.s->Incoming->MousePointer(), 13);
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...")));
    QCOMPARE(TextRuns(t.s->Incoming).last().colour, PaletteColour(1));
    // No audio CD unless asked for.
    QCOMPARE(MultimediaLog(), QStringList());
}

void ConnectionTest::timeOutAfterNineTicks()
{
    ClientSession t(deadPort());
    t.m->cmdConnect_Click();
    const QString before = t.s->Incoming->Text();
    const QStringList countDown = {QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("6"), QStringLiteral("5"),
                                   QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    for (const QString &d : countDown) {
        t.m->Timer2->fire();
        QCOMPARE(digits(t.m), d);
        QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    }
    QCOMPARE(t.s->Incoming->Text(), before);
    const int mm = int(MultimediaLog().size());
    t.m->Timer2->fire();  // the ninth
    QCOMPARE(digits(t.m), QStringLiteral("0"));
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(ColourOf(t.s->Incoming, kError71), PaletteColour(1));
    QCOMPARE(MultimediaLog().mid(mm + 1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                                                       QStringLiteral("MMControl1:Play:WaveAudio:error.wav")}));
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.s->Incoming->MousePointer(), 1);
    QVERIFY(!t.m->Timer2->Enabled());
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    t.m->Timer2->fire();
    QCOMPARE(digits(t.m), QStringLiteral("0"));
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);

    // A later attempt clears the Zero at its first tick.
    t.m->cmdConnect_Click();
    QCOMPARE(digits(t.m), QStringLiteral("90"));
    t.m->Timer2->fire();
    QCOMPARE(digits(t.m), QStringLiteral("8"));
}

void ConnectionTest::connectEventRegistersAndStopsCountDown()
{
    ClientSession t(0, {{QStringLiteral("realname.msg"), QStringLiteral("Real Name With Blanks")},
                        {QStringLiteral("email.msg"), QStringLiteral("Me.Bars-1_x+t\u00e4g@example.org")}});
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForClient());
    QVERIFY(t.srv.waitForLineStarting("USER "));
    // The user name is the e-mail's part before "@": its letters and digits, at most nine.
    QCOMPARE(t.srv.lines(), Lines({"NICK abc", "USER MeBars1xt 127.0.0.1 127.0.0.1 :Real Name With Blanks"}));
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...\n\x01 Connection established.\n"
                                                 "\x01 Sending login information...")));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Connection established.")), PaletteColour(1));
    QCOMPARE(buttons(t.m), QStringLiteral("DEDD"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Disconnect"));
    // The count-down goes on until the server says its first words.
    QVERIFY(session().Countdown().Running());
    t.srv.send(":127.0.0.1 NOTICE * :*** Looking up your hostname\r\n");
    QVERIFY(WaitUntil([&] { return !t.m->Timer2->Enabled(); }));
    QCOMPARE(digits(t.m), QString());
    QVERIFY(t.m->Image5->isHidden());
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    QCOMPARE(t.s->Incoming->MousePointer(), 1);
    QCOMPARE(session().RealName(), QStringLiteral("Real Name With Blanks"));
    QCOMPARE(session().EmailAddress(), QStringLiteral("Me.Bars-1_x+t\u00e4g@example.org"));
    // The server pop-up's twin reads what the File item reads, without waiting for a tick.
    QCOMPARE(t.m->mnuDisconnectMe->text(), QStringLiteral("Disconnect"));

    // Nothing usable before the "@": a plain name all the same.
    session().Settings().Set(Setting::Email, QStringLiteral("\u00fc+@example.org"));
    t.srv.clear();
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForLineStarting("USER "));
    QCOMPARE(t.srv.lines().value(1), "USER orvel 127.0.0.1 127.0.0.1 :Real Name With Blanks");
}

void ConnectionTest::digitClickStopsCountDown()
{
    ClientSession t;
    t.m->cmdConnect_Click();
    QTest::mouseClick(t.m->nine, Qt::LeftButton);  // before the connection comes up
    QVERIFY(!t.m->Timer2->Enabled());
    QVERIFY(t.srv.waitForLineStarting("USER "));
    // The count-down was not running: the digits are left as they were.
    QCOMPARE(digits(t.m), QStringLiteral("9"));
    QVERIFY(!t.m->Image5->isHidden());
    QCOMPARE(buttons(t.m), QStringLiteral("DEDD"));

    // Without its count-down a failed attempt never times out.
    t.srv.closeClient();
    QVERIFY(WaitUntil([&] { return t.m->mnuConnect->text() == QStringLiteral("Connect"); }));
    session().SetServerPort(QString::number(deadPort()));
    t.m->cmdConnect_Click();
    t.m->Timer2->fire();
    QCOMPARE(digits(t.m), QStringLiteral("8"));
    QTest::mouseClick(t.m->eight, Qt::LeftButton);
    QVERIFY(!t.m->Timer2->Enabled());
    QCOMPARE(digits(t.m), QStringLiteral("8"));
    QCOMPARE(buttons(t.m), QStringLiteral("DEDE"));
}

void ConnectionTest::peerCloseRestoresControls()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    session().SetChannelState(core::ChannelState::Joined);
    session().Game().Timer().setEnabled(true);
    session().Game().SetPhase(core::TriviaPhase::Answered);
    session().Countdown().Begin();
    t.srv.closeClient();
    QVERIFY(WaitUntil([&] { return t.s->Caption().isEmpty(); }));
    QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
    QCOMPARE(ColourOf(t.s->Incoming, kDisconnected), PaletteColour(0));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QVERIFY(!t.m->Timer2->Enabled());
    QCOMPARE(digits(t.m), QStringLiteral("9"));  // the digits are not touched
    QVERIFY(!session().Game().Timer().Enabled());
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Reveal);
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
}

void ConnectionTest::fileItemThreeWays()
{
    ClientSession t(0, {{QStringLiteral("discon.msg"), QStringLiteral("See you later")}});

    // Connect, then Cancel Connect before the server has answered.
    t.m->mnuConnect->trigger();
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Cancel Connect"));
    QCOMPARE(digits(t.m), QStringLiteral("9"));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    t.m->Timer2->fire();
    const QString before = t.s->Incoming->Text();
    t.m->mnuConnect->trigger();
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(ColourOf(t.s->Incoming, kDisconnected), PaletteColour(1));
    QVERIFY(!t.m->Timer2->Enabled());
    QCOMPARE(digits(t.m), QStringLiteral("0"));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(t.s->Incoming->MousePointer(), 1);

    // Connect again and let it come up: the item turns into Disconnect, which quits.
    if (t.srv.hasClient()) t.srv.closeClient();
    t.m->mnuConnect->trigger();
    QVERIFY(WaitUntil([&] { return t.m->mnuConnect->text() == QStringLiteral("Disconnect"); }));
    QVERIFY(t.srv.waitForLineStarting("USER "));
    t.srv.clear();
    t.m->mnuDisconnectMe->trigger();  // the server pop-up's twin does the same
    QVERIFY(t.srv.waitForLine("QUIT :See you later"));
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(t.s->Incoming->MousePointer(), 1);
    // Quit changes no control: the server's close does.
    QCOMPARE(buttons(t.m), QStringLiteral("DEDD"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Disconnect"));
    t.srv.closeClient();
    QVERIFY(WaitUntil([&] { return t.m->mnuConnect->text() == QStringLiteral("Connect"); }));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
}

void ConnectionTest::fileItemAfterTimeOut()
{
    ClientSession t(deadPort());
    t.m->mnuConnect_Click();
    for (int i = 0; i < 9; ++i) t.m->Timer2->fire();
    QVERIFY(t.s->Incoming->Text().endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
    // Nothing is left to cancel: the item offers a new connection.
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(digits(t.m), QStringLiteral("0"));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));

    // Started by the button, an attempt leaves the item at Connect: choosing it starts another.
    t.m->cmdConnect_Click();
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    t.m->mnuConnect_Click();
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Cancel Connect"));
    QVERIFY(t.s->Incoming->Text().endsWith(kDisconnected + QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...")));
}

void ConnectionTest::newConnectDuringAttemptAndQuit()
{
    ClientSession t(deadPort(), {{QStringLiteral("discon.msg"), QStringLiteral("bye")}});
    t.m->cmdConnect_Click();
    t.m->Timer2->fire();
    t.m->Timer2->fire();
    QCOMPARE(digits(t.m), QStringLiteral("7"));
    const QString before = t.s->Incoming->Text();
    t.m->cmdConnect_Click();
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kDisconnected + QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1..."));
    t.m->Timer2->fire();
    QCOMPARE(digits(t.m), QStringLiteral("8"));  // the count-down starts again

    // Quit during the attempt empties the flag; the count-down still ends it.
    QTest::mouseClick(t.m->cmdDisconnect, Qt::LeftButton);
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(buttons(t.m), QStringLiteral("DEDE"));
    for (int i = 0; i < 8; ++i) t.m->Timer2->fire();
    QVERIFY(t.s->Incoming->Text().endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
}

void ConnectionTest::badPortNeverReachesStalePort()
{
    ClientSession t;
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForLineStarting("USER "));
    t.srv.closeClient();
    QVERIFY(t.srv.waitForDisconnect());
    QVERIFY(WaitUntil([&] { return t.s->Caption().isEmpty(); }));

    for (const QString &bad : {QStringLiteral("66x"), QStringLiteral("70000"), QStringLiteral("0"), QString()}) {
        session().SetServerPort(bad);
        t.m->cmdConnect_Click();
        QVERIFY(!WaitUntil([&] { return t.srv.hasClient(); }, 300));
        QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
        for (int i = 0; i < 9; ++i) t.m->Timer2->fire();
        QVERIFY(t.s->Incoming->Text().endsWith(kError71 + QLatin1Char('\n') + kDisconnected));
        QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    }
    // A port with blanks around it is still a whole number.
    session().SetServerPort(QLatin1Char(' ') + QString::number(t.srv.port()) + QLatin1Char(' '));
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForClient());
}

void ConnectionTest::failedAttemptReportedByTheCountDown_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("error");  // what the socket met, QAbstractSocket::SocketError
    QTest::newRow("refused") << QStringLiteral("127.0.0.1") << int(QAbstractSocket::ConnectionRefusedError);
    QTest::newRow("host not found") << QStringLiteral("no such host") << int(QAbstractSocket::HostNotFoundError);
    QTest::newRow("never answered") << QStringLiteral("127.0.0.1") << int(QAbstractSocket::UnknownSocketError);
}

// Whatever way an attempt from the Connect button fails, the count-down reports it and the
// controls return to the disconnected state; an attempt still under way is given up.
void ConnectionTest::failedAttemptReportedByTheCountDown()
{
    QFETCH(QString, host);
    QFETCH(int, error);
    UnansweredPort unanswered;
    const bool hangs = error == int(QAbstractSocket::UnknownSocketError);
    ClientSession t(hangs ? unanswered.port() : deadPort(), {{QStringLiteral("server.msg"), host}});
    TcpSocket::SetHostFilter(&loopbackOrUnresolvable);
    QTest::mouseClick(t.m->cmdConnect, Qt::LeftButton);
    auto *socket = t.s->Tcp1().findChildren<QTcpSocket *>().value(0);
    QVERIFY(socket);
    if (hangs) {
        // Given the time a refusal takes, the attempt is still waiting for an answer.
        QVERIFY(!WaitUntil([&] { return socket->state() != QAbstractSocket::ConnectingState; }, 300));
    } else {
        QVERIFY(WaitUntil([&] { return socket->state() == QAbstractSocket::UnconnectedState; }));
    }
    QCOMPARE(int(socket->error()), error);
    const QString before = t.s->Incoming->Text();
    for (int tick = 0; tick < 9; ++tick) t.m->Timer2->fire();
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(digits(t.m), QStringLiteral("0"));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
}

// A server that takes the connection and never says a word: the count-down goes on and
// gives the attempt up as when nothing answers at all.
void ConnectionTest::silentServerTimesOut()
{
    ClientSession t;
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForClient() && t.srv.waitForLineStarting("USER "));
    const QString before = t.s->Incoming->Text();
    for (int tick = 0; tick < 9; ++tick) t.m->Timer2->fire();
    QCOMPARE(t.s->Incoming->Text(), before + QLatin1Char('\n') + kError71 + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(t.s->Caption(), QString());
    QVERIFY(t.srv.waitForDisconnect());
}

void ConnectionTest::closeSocketItemsAndQuitPopup()
{
    {
        ClientSession t;
        QVERIFY(t.connectByButton());
        // The server pop-up's item closes the socket, and the controls say so.
        t.m->mnuCloseTCPSocket->trigger();
        QVERIFY(t.srv.waitForDisconnect());
        Pump();
        QCOMPARE(t.s->Caption(), QString());
        QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
        QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
        QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
        QVERIFY(t.connectByButton());

        // The Quit button's pop-up opens on the right button only, and only while enabled.
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *p = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                shown = p->title();
                p->close();
            }
        });
        t.m->cmdDisconnect_MouseDown(1);
        QCOMPARE(shown, QString());
        t.m->cmdDisconnect_MouseDown(2);
        QCOMPARE(shown, QStringLiteral("Quit"));
        QStringList items;
        for (QAction *a : t.m->mnuQuitHidden->actions()) items << a->text();
        QCOMPARE(items, QStringList({QStringLiteral("Normal"), QStringLiteral("Close the tcp socket"), QStringLiteral("Quit IRC/OrvelIRC")}));

        // "Close the tcp socket" cancels: status line, count-down reset, controls back.
        t.m->mnuCloseTheTCPSocket->trigger();
        QVERIFY(t.srv.waitForDisconnect());
        QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
        QCOMPARE(ColourOf(t.s->Incoming, kDisconnected), PaletteColour(1));
        QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
        QCOMPARE(digits(t.m), QStringLiteral("0"));
        QCOMPARE(t.s->Caption(), QString());
        QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
        shown = QStringLiteral("none");
        t.m->cmdDisconnect_MouseDown(2);  // returns at once: a disabled button opens nothing
        QCOMPARE(shown, QStringLiteral("none"));

        t.m->mnuQuitOrvelIRC->trigger();
        QCOMPARE(TestEnv::endCalls, 1);
        t.m->mnuQuitIRCOrvelIRC2882->trigger();
        QCOMPARE(TestEnv::endCalls, 2);
    }
    {
        ClientSession t;
        QVERIFY(t.connectByButton());
        t.m->Settings().RichTextBox1.Text = QStringLiteral("Gone fishing");
        // "Normal": QUIT with the stored message, the flag emptied, a status line.
        t.m->mnuSendtheserveraquitmessage->trigger();
        QVERIFY(t.srv.waitForLine("QUIT :Gone fishing"));
        QCOMPARE(t.s->Caption(), QString());
        QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + kDisconnected);
        QCOMPARE(ColourOf(t.s->Incoming, kDisconnected), PaletteColour(1));
        t.mark();
        t.m->mnuSendtheserveraquitmessage->trigger();
        QCOMPARE(t.paneSinceMark(), QStringLiteral("\n\x01 Your not connected"));
        QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Your not connected")), PaletteColour(0));
        // The server pop-up's "Normal" is the Quit button's action, which tests nothing.
        t.srv.clear();
        t.m->mnuNormal->trigger();
        QVERIFY(t.srv.waitForLine("QUIT :Gone fishing"));
    }
}

void ConnectionTest::closingServerWindowEndsTheConnection()
{
    {
        ClientSession t;
        QVERIFY(t.connectByButton());
        t.s->Unload();
        QVERIFY(t.srv.waitForDisconnect());
        QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
        QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    }
    {
        // During an attempt the count-down stops with it: its time-out would bring the
        // window back only to report on a socket that is gone.
        ClientSession t(deadPort());
        t.m->cmdConnect_Click();
        t.s->Unload();
        Pump();
        QVERIFY(!t.m->Timer2->Enabled());
        QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    }
}

void ConnectionTest::quitDuringAnAttemptAbandonsIt()
{
    ClientSession t;
    // Quit before the connection is up: when it comes up it is closed, and nothing goes out.
    t.m->cmdConnect_Click();
    t.m->cmdDisconnect_Click();
    QVERIFY(t.srv.waitForDisconnect());
    QCOMPARE(t.srv.received(), QByteArray());
    QCOMPARE(t.s->Caption(), QString());
    // The count-down still ends the attempt.
    for (int i = 0; i < 9; ++i) t.m->Timer2->fire();
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));

    // Without a count-down (/SERVER) the controls come back as soon as it is closed.
    QVERIFY(t.connectByButton());
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    t.m->mnuNormal->trigger();
    QVERIFY(t.srv.waitForDisconnect());
    QVERIFY(WaitUntil([&] { return t.m->cmdConnect->isEnabled(); }));
    QCOMPARE(t.srv.received(), QByteArray());
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
}

void ConnectionTest::serverCommandFailureIsReported()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    session().Settings().Set(Setting::Port, QString::number(deadPort()));
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(WaitUntil([&] { return t.s->Caption().isEmpty(); }));
    QCOMPARE(t.paneSinceMark(), QLatin1Char('\n') + kDisconnected + QStringLiteral("\n\x01 Attempting to connect to 127.0.0.1...\n") +
                                    kError71 + QLatin1Char('\n') + kDisconnected);
    QCOMPARE(ColourOf(t.s->Incoming, kError71), PaletteColour(1));
    QCOMPARE(t.soundsSinceMark(), QStringList({QStringLiteral("MMControl1:Close"), QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                                               QStringLiteral("MMControl1:Play:WaveAudio:error.wav")}));
    QCOMPARE(buttons(t.m), QStringLiteral("EDEE"));
    QCOMPARE(t.m->mnuConnect->text(), QStringLiteral("Connect"));
    QCOMPARE(t.s->Incoming->MousePointer(), 1);
}

void ConnectionTest::userLineNeverHasEmptyFields()
{
    ClientSession t;
    // Nothing stored for the e-mail and the real name: /SERVER's defaults go out (the user
    // name is the default e-mail's part before its "@").
    session().Settings().Set(Setting::Email, QString());
    session().Settings().Set(Setting::RealName, QString());
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(t.srv.waitForLineStarting("USER "));
    const QByteArray user = "USER orvel 127.0.0.1 127.0.0.1 :Unlisted";
    QCOMPARE(t.srv.lines(), Lines({"NICK abc", user}));
    QCOMPARE(session().EmailAddress(), settings::DefaultEmail);
    // The Connect button falls back the same way.
    t.srv.closeClient();
    QVERIFY(WaitUntil([&] { return t.s->Caption().isEmpty(); }));
    session().SetEmailAddress(QString());
    session().SetRealName(QString());
    t.srv.clear();
    t.m->cmdConnect_Click();
    QVERIFY(t.srv.waitForLineStarting("USER "));
    QCOMPARE(t.srv.lines(), Lines({"NICK abc", user}));
}

void ConnectionTest::playOnConnect()
{
    ClientSession t(deadPort(), {{QStringLiteral("pcdos.msg"), QStringLiteral("yes")}});
    MultimediaLog().clear();
    t.m->cmdConnect_Click();
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("CDControl:Open:CDAudio:"), QStringLiteral("CDControl:Play:CDAudio:"),
                                           QStringLiteral("CDControl:Visible:1")}));
    QVERIFY(t.m->AmpIsOn());
    QVERIFY(!t.m->CDPanel->isHidden());
}

void ConnectionTest::soundBoard()
{
    ClientSession t(deadPort());
    QVERIFY(!t.m->Command1->isEnabled());
    t.m->Command1_Click();
    QCOMPARE(t.env.dialogs.messages, QStringList({QStringLiteral("Nothing to do!")}));
    QCOMPARE(t.env.dialogs.icons, QList<MsgIcon>{MsgIcon::Exclamation});
    QCOMPARE(t.env.dialogs.titles.last(), QStringLiteral("OrvelIRC"));

    // Amp: a label click selects, "Make it so" switches the player on, then off.
    QTest::mouseClick(t.m->Label7, Qt::LeftButton);
    QVERIFY(t.m->Option3->isChecked());
    QVERIFY(t.m->Command1->isEnabled());  // at once, not at the next tick
    MultimediaLog().clear();
    QTest::mouseClick(t.m->Command1, Qt::LeftButton);
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:error.wav"),
                                                  QStringLiteral("CDControl:Visible:1"), QStringLiteral("CDControl:Open:CDAudio:")}));
    QVERIFY(t.m->AmpIsOn());
    QVERIFY(!t.m->CDPanel->isHidden());
    MultimediaLog().clear();
    t.m->Command1_Click();
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:switch.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:switch.wav"),
                                                  QStringLiteral("CDControl:Stop:CDAudio:"), QStringLiteral("CDControl:Close:CDAudio:"),
                                                  QStringLiteral("CDControl:Visible:0")}));
    QVERIFY(!t.m->AmpIsOn());
    QVERIFY(t.m->CDPanel->isHidden());
    doubleClick(t.m->Label7);  // a double click toggles straight away
    QVERIFY(t.m->AmpIsOn());

    // MP3: the chosen file goes whole, blanks and all, to the desktop's player.
    t.env.dialogs.fileAnswer = QStringLiteral("/home/u/My Music/a song; rm -rf.mp3");
    doubleClick(t.m->Label5);
    QVERIFY(t.m->Option1->isChecked());
    QCOMPARE(t.env.launcher.started.size(), 1);
    QCOMPARE(t.env.launcher.started[0].first, QStringLiteral("xdg-open"));
    QCOMPARE(t.env.launcher.started[0].second, QStringList({t.env.dialogs.fileAnswer}));
    t.env.dialogs.fileAnswer.clear();  // Cancel ends it silently
    t.m->Command1_Click();
    QCOMPARE(t.env.launcher.started.size(), 1);

    // Volume: the desktop's volume control when it is installed, silence otherwise.
    doubleClick(t.m->Label8);
    QVERIFY(t.m->Option4->isChecked());
    QCOMPARE(t.env.launcher.started.size(), 1);
    t.env.launcher.existing = QStringList({QStringLiteral("pavucontrol")});
    doubleClick(t.m->Option4);
    QCOMPARE(t.env.launcher.started.size(), 2);
    QCOMPARE(t.env.launcher.started[1].first, QStringLiteral("pavucontrol"));
    QCOMPARE(t.env.launcher.started[1].second, QStringList());
    QCOMPARE(t.env.dialogs.messages.size(), 1);
}

void ConnectionTest::ampMenuAndPlaySnd()
{
    ClientSession t(deadPort());
    MultimediaLog().clear();
    QStringList names;
    for (QAction *a : t.m->mnuAmp->actions())
        if (!a->isSeparator()) names << a->text();
    QCOMPARE(names, QStringList({QStringLiteral("Switch Amp On"), QStringLiteral("Switch Amp Off"), QStringLiteral("Start Amp"),
                                 QStringLiteral("Stop Amp"), QStringLiteral("Pause"), QStringLiteral("Next"), QStringLiteral("Previous")}));
    // The transport items send their command whatever the player's state.
    for (QAction *a : {t.m->mnuCrankAmp, t.m->mnuPauseAmp, t.m->mnuStopAmp, t.m->mnuNextTrack, t.m->mnuPreviousTrack}) a->trigger();
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("CDControl:Play::"), QStringLiteral("CDControl:Pause::"),
                                           QStringLiteral("CDControl:Stop::"), QStringLiteral("CDControl:Next::"),
                                           QStringLiteral("CDControl:Prev::")}));
    QVERIFY(!t.m->AmpIsOn());
    MultimediaLog().clear();
    t.m->mnuTurnOnAmp->trigger();
    t.m->mnuCrankAmp->trigger();
    QCOMPARE(MultimediaLog().last(), QStringLiteral("CDControl:Play:CDAudio:"));

    // A sound cuts off the one before it.
    MultimediaLog().clear();
    t.m->PlaySnd(QStringLiteral("page.wav"));
    t.m->PlaySnd(QStringLiteral("chat.wav"));
    QCOMPARE(MultimediaLog().mid(1), QStringList({QStringLiteral("MMControl1:Open:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Close:WaveAudio:page.wav"),
                                                  QStringLiteral("MMControl1:Open:WaveAudio:chat.wav"),
                                                  QStringLiteral("MMControl1:Play:WaveAudio:chat.wav")}));
}

QTEST_MAIN(ConnectionTest)
#include "test_connection.moc"
