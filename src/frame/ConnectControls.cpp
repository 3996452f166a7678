// The connect controls of the frame: Connect, Quit and Setup, the File item that reads
// Connect / Cancel Connect / Disconnect, the Quit button's pop-up, the close-socket
// items and the nine-step count-down that gives up an attempt that never connects.
#include "connection/frmOrvelIRC.h"
#include "frame/ClickFilter.h"
#include "platform/Forms.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "core/Session.h"
#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

void frmOrvelMain::buildConnectControls()
{
    connect(cmdDisconnect, &QPushButton::clicked, this, &frmOrvelMain::cmdDisconnect_Click);
    ClickFilter::on(cmdDisconnect)->MouseDown = [this](int button) { cmdDisconnect_MouseDown(button); };
    connect(mnuConnect, &QAction::triggered, this, &frmOrvelMain::mnuConnect_Click);
    // Every digit stops the count-down where it stands.
    for (QLabel *d : {nine, eight, Seven, Six, Five, Four, Three, Two, One, Zero})
        ClickFilter::on(d)->Click = [this] { Digit_Click(); };

    // The controls follow the session's connection, the digits its count-down.
    core::Session &ss = *m_session;
    connect(&ss, &core::Session::AttemptStarted, this, [this] {
        cmdConnect->setEnabled(false);
        cmdSetup->setEnabled(false);
        cmdDisconnect->setEnabled(true);
    });
    connect(&ss, &core::Session::Connected, this, [this] {
        cmdConnect->setEnabled(false);
        cmdDisconnect->setEnabled(true);
        cmdSetup->setEnabled(false);
        mnuSetup->setEnabled(false);
        mnuConnect->setText(QStringLiteral("Disconnect"));
    });
    connect(&ss, &core::Session::ConnectionEnded, this, [this] {
        cmdConnect->setEnabled(true);
        mnuSetup->setEnabled(true);
        cmdDisconnect->setEnabled(false);
        cmdSetup->setEnabled(true);
        mnuConnect->setText(QStringLiteral("Connect"));
    });
    connect(&ss.Countdown(), &core::CountDown::Changed, this, &frmOrvelMain::ShowCountDown);
    ShowCountDown();

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
    // The attempt uses the server window's settings as loaded.
    QPointer<frmOrvelIRC> s(&form<frmOrvelIRC>());
    m_session->Connect();
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
    s.SendData(QStringLiteral("QUIT :") + m_settings.RichTextBox1.Text);
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
    m_session->Countdown().Cancel();
    form<frmOrvelIRC>();
    m_session->ConnectionGone(core::ServerStyle::Progress);
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
    s.SendData(QStringLiteral("QUIT :") + m_settings.RichTextBox1.Text);
    s.Addtext2(QStringLiteral("\x01 Disconnected"));
}

void frmOrvelMain::mnuQuitOrvelIRC_Click() { platform::endProgram(0); }

void frmOrvelMain::ShowCountDown()
{
    const core::CountDown &c = m_session->Countdown();
    QLabel *const digits[10] = {Zero, One, Two, Three, Four, Five, Six, Seven, eight, nine};
    for (int d = 0; d < 10; ++d) digits[d]->setVisible(c.Shows(d));
    Image5->setVisible(c.FrameShown());
}

void frmOrvelMain::Digit_Click() { m_session->Countdown().Hold(); }
