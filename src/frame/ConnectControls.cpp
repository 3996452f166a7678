// The connect controls of the frame: Connect, Quit and Setup, the File item that reads
// Connect / Cancel Connect / Disconnect, the Quit button's pop-up, the close-socket
// items and the nine-step count-down that gives up an attempt that never connects.
#include "connection/frmOrvelIRC.h"
#include "frame/ClickFilter.h"
#include "frame/Forms.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

namespace {
// A port is a whole number from 1 to 65535; anything else gives no port at all.
std::optional<int> portNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5) return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int v = t.toInt();
    if (v < 1 || v > 65535) return std::nullopt;
    return v;
}
} // namespace

void frmOrvelMain::buildConnectControls()
{
    connect(cmdDisconnect, &QPushButton::clicked, this, &frmOrvelMain::cmdDisconnect_Click);
    ClickFilter::on(cmdDisconnect)->MouseDown = [this](int button) { cmdDisconnect_MouseDown(button); };
    connect(mnuConnect, &QAction::triggered, this, &frmOrvelMain::mnuConnect_Click);
    connect(Timer2, &VbTimer::Timer, this, &frmOrvelMain::Timer2_Timer);
    // Every digit stops the count-down where it stands.
    for (QLabel *d : {nine, eight, Seven, Six, Five, Four, Three, Two, One, Zero})
        ClickFilter::on(d)->Click = [this] { Digit_Click(); };

    mnuQuitHidden = new QMenu(QStringLiteral("Quit"), this);
    mnuSendtheserveraquitmessage = mnuQuitHidden->addAction(QStringLiteral("Normal"));
    mnuCloseTheTCPSocket = mnuQuitHidden->addAction(QStringLiteral("Close the tcp socket"));
    mnuQuitOrvelIRC = mnuQuitHidden->addAction(QStringLiteral("Quit IRC/OrvelIRC"));
    connect(mnuSendtheserveraquitmessage, &QAction::triggered, this, &frmOrvelMain::mnuSendtheserveraquitmessage_Click);
    connect(mnuCloseTheTCPSocket, &QAction::triggered, this, &frmOrvelMain::mnuCloseTheTCPSocket_Click);
    connect(mnuQuitOrvelIRC, &QAction::triggered, this, &frmOrvelMain::mnuQuitOrvelIRC_Click);

    // The server pop-up's end: "Disconnect", a separator and the "Quit IRC" submenu.
    mnuServer->addSeparator();
    mnuDisconnectMe = mnuServer->addAction(mnuConnect->text());
    connect(mnuDisconnectMe, &QAction::triggered, this, &frmOrvelMain::mnuDisconnectMe_Click);
    // The pop-up's twin reads what the File item reads, from the moment it changes.
    connect(mnuConnect, &QAction::changed, this, [this] { mnuDisconnectMe->setText(mnuConnect->text()); });
    mnuServer->addSeparator();
    mnuQuitIRC2 = mnuServer->addMenu(QStringLiteral("Quit IRC"));
    mnuNormal = mnuQuitIRC2->addAction(QStringLiteral("Normal"));
    mnuCloseTCPSocket = mnuQuitIRC2->addAction(QStringLiteral("Close Tcp Socket"));
    mnuQuitIRCOrvelIRC2882 = mnuQuitIRC2->addAction(QStringLiteral("Quit IRC/OrvelIRC"));
    connect(mnuNormal, &QAction::triggered, this, &frmOrvelMain::cmdDisconnect_Click);
    connect(mnuCloseTCPSocket, &QAction::triggered, this, &frmOrvelMain::mnuCloseTCPSocket_Click);
    connect(mnuQuitIRCOrvelIRC2882, &QAction::triggered, this, &frmOrvelMain::mnuQuitOrvelIRC_Click);
}

void frmOrvelMain::cmdConnect_Click()
{
    cmdConnect->setEnabled(false);
    cmdSetup->setEnabled(false);
    cmdDisconnect->setEnabled(true);

    QPointer<frmOrvelIRC> s(&form<frmOrvelIRC>());
    core::Session &ss = *m_session;
    if (ss.IsConnectedFlag()) s->Addtext2(QStringLiteral("\x01 Disconnected"));
    s->Incoming->SetMousePointer(13);

    ss.CloseSocket();
    // Until this connection's welcome, the server goes by the host the user chose.
    ss.SetServerName(ss.ServerAddress());
    TcpSocket &socket = ss.Socket();
    socket.RemoteHost = ss.ServerAddress();
    // A port that is not a whole number from 1 to 65535 must not reach a stale port:
    // the attempt then never connects and the count-down reports it.
    if (const auto port = portNumber(ss.ServerPort())) {
        socket.RemotePort = *port;
        socket.Connect();
    }

    s->Addtext2(QStringLiteral("\x01 Attempting to connect to ") + ss.ServerName() + QStringLiteral("..."));
    ss.SetConnectedCaption(core::Session::ConnectedAs(s->txtNick.Text, ss.ServerName()));

    if (txtPcdos.Text == QLatin1String("yes")) PlayCdOnConnect();

    Image5->setVisible(true);
    nine->setVisible(true);
    Timer2->setEnabled(true);

    if (s && s->SubWindow()) {
        m_mdi->setActiveSubWindow(s->SubWindow());
        s->Outgoing->setFocus();
    }
}

void frmOrvelMain::cmdDisconnect_Click()
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Incoming->SetMousePointer(1);
    m_session->SetConnectedCaption(QString());
    s.SendData(QStringLiteral("QUIT :") + RichTextBox1.Text);
}

void frmOrvelMain::cmdDisconnect_MouseDown(int button)
{
    if (button != 2 || !cmdDisconnect->isEnabled()) return;
    mnuQuitHidden->exec(QCursor::pos());
}

void frmOrvelMain::mnuConnect_Click()
{
    if (mnuConnect->text() == QLatin1String("Connect")) {
        mnuConnect->setText(QStringLiteral("Cancel Connect"));
        cmdConnect_Click();
        return;
    }
    if (mnuConnect->text() == QLatin1String("Cancel Connect")) {
        mnuConnect->setText(QStringLiteral("Connect"));
        mnuCloseTheTCPSocket_Click();
    }
    if (mnuConnect->text() == QLatin1String("Disconnect")) cmdDisconnect_Click();
}

void frmOrvelMain::mnuDisconnectMe_Click() { mnuConnect_Click(); }

void frmOrvelMain::mnuCloseTheTCPSocket_Click()
{
    Timer2->setEnabled(false);
    for (QLabel *d : {One, Two, Three, Four, Five, Six, Seven, eight, nine}) d->setVisible(false);
    Zero->setVisible(true);
    form<frmOrvelIRC>().ConnectionGone(&frmOrvelIRC::Addtext2);
}

// Closing the socket from a pop-up is a close like any other: the controls must not go
// on claiming a connection.
void frmOrvelMain::mnuCloseTCPSocket_Click() { mnuCloseTheTCPSocket_Click(); }

void frmOrvelMain::mnuSendtheserveraquitmessage_Click()
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    if (!m_session->IsConnectedFlag()) {
        s.Addtext(QStringLiteral("\x01 Your not connected"));
        return;
    }
    m_session->SetConnectedCaption(QString());
    s.SendData(QStringLiteral("QUIT :") + RichTextBox1.Text);
    s.Addtext2(QStringLiteral("\x01 Disconnected"));
}

void frmOrvelMain::mnuQuitOrvelIRC_Click() { platform::endProgram(0); }

QLabel *frmOrvelMain::CountDownDigit() const
{
    for (QLabel *d : {nine, eight, Seven, Six, Five, Four, Three, Two, One})
        if (!d->isHidden()) return d;
    return nullptr;
}

bool frmOrvelMain::CountDownRunning() const { return Timer2->Enabled() && CountDownDigit(); }

void frmOrvelMain::StopCountDown()
{
    if (!Timer2->Enabled()) return;
    Timer2->setEnabled(false);
    for (QLabel *d : {One, Two, Three, Four, Five, Six, Seven, eight, nine, Zero, Image5}) d->setVisible(false);
}

void frmOrvelMain::Timer2_Timer()
{
    QLabel *shown = CountDownDigit();
    if (!shown) return;
    if (shown == nine) {
        for (QLabel *d : {Zero, One, Two, Three, Four, Five, Six, Seven, eight, nine}) d->setVisible(false);
        eight->setVisible(true);
        return;
    }
    if (shown != One) {
        QLabel *const order[] = {eight, Seven, Six, Five, Four, Three, Two, One};
        for (int i = 0; i < 7; ++i)
            if (order[i] == shown) {
                order[i + 1]->setVisible(true);
                shown->setVisible(false);
                return;
            }
        return;
    }
    // The last step: the attempt has failed.
    Zero->setVisible(true);
    One->setVisible(false);
    form<frmOrvelIRC>().AttemptFailed();
}

void frmOrvelMain::Digit_Click() { Timer2->setEnabled(false); }
