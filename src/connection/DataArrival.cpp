// The server window's socket events: the connection coming up, the peer closing it, and
// every block of received data, which the session handles.
#include "connection/frmOrvelIRC.h"
#include "core/Session.h"
#include "frame/frmOrvelMain.h"
#include "platform/TcpSocket.h"
#include "settings/Defaults.h"
#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {
// The user name that USER sends, made from the e-mail setting: its letters and digits
// before the "@", at most nine. Servers differ in what else they take in a user name
// ("@", ".", "-", "_" are refused by some) and in how long it may be.
QString userNameFrom(const QString &email)
{
    const qsizetype at = email.indexOf(QLatin1Char('@'));
    QString name;
    for (const QChar c : QStringView(email).left(at < 0 ? email.size() : at)) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) name += c;
        if (name.size() == 9) break;
    }
    return name.isEmpty() ? QStringLiteral("orvel") : name;
}
} // namespace

void frmOrvelIRC::TCP1_Connect()
{
    frmOrvelMain &m = Main();
    core::Session &ss = session();
    // An attempt given up before it connected (Quit, a quit item) is not taken up: the
    // connection is closed at once and nothing goes out on it. A running count-down ends
    // that attempt itself; otherwise the controls are put back now.
    if (!IsConnectedFlag()) {
        if (m.CountDownRunning()) ss.CloseSocket();
        else ConnectionGone(nullptr);
        return;
    }
    // Nothing of an earlier connection carries over into this one.
    ss.StartClean();
    if (!m.txtFontName.Text.isEmpty()) {
        Incoming->SetSelFontName(m.txtFontName.Text);
        bool ok = false;
        const double pts = m.txtFontSize.Text.trimmed().toDouble(&ok);
        if (ok && pts > 0) Incoming->SetSelFontSize(pts);
    }
    if (!m.txtFontSize.Text.isEmpty()) {
        bool ok = false;
        const double pts = m.txtFontSize.Text.trimmed().toDouble(&ok);
        QFont f = m.txtFontName.Text.isEmpty() ? Outgoing->font() : MapFont(m.txtFontName.Text);
        if (ok && pts > 0) f.setPointSizeF(pts);
        Outgoing->setFont(f);
    }
    m.cmdConnect->setEnabled(false);
    m.cmdDisconnect->setEnabled(true);
    m.cmdSetup->setEnabled(false);
    m.mnuSetup->setEnabled(false);
    Addtext2(QStringLiteral("\x01 Connection established."));
    Incoming->SetMousePointer(1);
    Addtext2(QStringLiteral("\x01 Sending login information..."));
    m.mnuConnect->setText(QStringLiteral("Disconnect"));
    ss.SendData(QStringLiteral("NICK ") + ss.Nick());
    // An empty holder never overwrites a value: /SERVER's defaults for a missing e-mail
    // or real name stay, and the USER line gets no empty field.
    if (!txtNick.Text.isEmpty()) ss.SetNick(txtNick.Text);
    if (!txtServer.Text.isEmpty()) ss.SetServerName(txtServer.Text);
    if (!txtRN.Text.isEmpty()) ss.SetRealName(txtRN.Text);
    if (!txtEmail.Text.isEmpty()) ss.SetEmailAddress(txtEmail.Text);
    if (ss.RealName().isEmpty()) ss.SetRealName(settings::DefaultRealName);
    if (ss.EmailAddress().isEmpty()) ss.SetEmailAddress(settings::DefaultEmail);
    ss.SendData(QStringLiteral("USER ") + userNameFrom(ss.EmailAddress()) + QLatin1Char(' ') + ss.Socket().LocalIP() +
                QLatin1Char(' ') + ss.ServerName() + QStringLiteral(" :") + ss.RealName());
}

void frmOrvelIRC::TCP1_Close() { ConnectionGone(&frmOrvelIRC::Addtext); }

void frmOrvelIRC::TCP1_ConnectFailed()
{
    // The Connect button's count-down reports its own attempt when it runs out.
    if (Main().CountDownRunning()) return;
    AttemptFailed();
}

void frmOrvelIRC::AttemptFailed()
{
    Main().PlaySnd(QStringLiteral("error.wav"));
    Addtext2(QStringLiteral("\x01 Error 71 (failed to connect (server))"));
    ConnectionGone(&frmOrvelIRC::Addtext2);
}

void frmOrvelIRC::ConnectionGone(void (frmOrvelIRC::*note)(const QString &))
{
    if (note) (this->*note)(QStringLiteral("\x01 Disconnected"));
    core::Session &ss = session();
    ss.CloseSocket();
    ss.SetConnectedCaption(QString());
    Incoming->SetMousePointer(1);
    ss.Game().ConnectionGone();
    frmOrvelMain &m = Main();
    m.Timer2->setEnabled(false);
    m.cmdConnect->setEnabled(true);
    m.mnuSetup->setEnabled(true);
    m.cmdDisconnect->setEnabled(false);
    m.cmdSetup->setEnabled(true);
    m.mnuConnect->setText(QStringLiteral("Connect"));
}

void frmOrvelIRC::TCP1_DataArrival()
{
    core::Session &ss = session();
    const QString received = ss.Socket().GetData();
    // The server has answered: a server that takes the connection and never says a word is
    // given up by the count-down like one that never takes it.
    Main().StopCountDown();
    ss.Feed(received);
}
