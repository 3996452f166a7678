// The connection's life: the Connect button's attempt, the socket coming up (registration
// with NICK and USER), the peer closing it, an attempt that fails, and every block of
// received data.
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include "settings/Defaults.h"

namespace core {

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

void Session::Connect()
{
    emit AttemptStarted();
    if (IsConnectedFlag()) m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Disconnected"));
    m_screen.SetBusy(true);

    CloseSocket();
    // Until this connection's welcome, the server goes by the host the user chose.
    SetServerName(m_serverAddress);
    m_socket->RemoteHost = m_serverAddress;
    // A port that is not a whole number from 1 to 65535 must not reach a stale port:
    // the attempt then never connects and the count-down reports it.
    if (const auto port = portNumber(m_serverPort)) {
        m_socket->RemotePort = *port;
        m_socket->Connect();
    }

    attemptUnderWay();
    m_countdown.Begin();
}

void Session::attemptUnderWay()
{
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Attempting to connect to ") + m_serverName + QStringLiteral("..."));
    SetConnectedCaption(ConnectedAs(m_settings.Nick(), m_serverName));
    m_screen.PlayCdOnConnect();
}

void Session::ConnectTo(const QString &host)
{
    m_screen.ServerLine(ServerStyle::Echo, QStringLiteral("\x01 Disconnected"));
    CloseSocket();
    m_screen.SetBusy(true);
    // Each value from its setting, a default for an empty one; the typed host counts only
    // when a server is stored.
    const auto orDefault = [](const QString &value, const QString &fallback) { return value.isEmpty() ? fallback : value; };
    SetServerName(m_settings.Server().isEmpty() ? settings::DefaultHost : host);
    SetServerPort(orDefault(m_settings.Port(), QStringLiteral("6667")));
    SetNick(orDefault(m_settings.Nick(), settings::DefaultNick));
    SetRealName(orDefault(m_settings.RealName(), settings::DefaultRealName));
    SetEmailAddress(orDefault(m_settings.Email(), settings::DefaultEmail));
    // The Connect button goes back to this host later.
    SetServerAddress(m_serverName);
    m_socket->RemoteHost = m_serverName;
    // A port that is not a whole number leaves the socket's previous port.
    bool ok = false;
    const int port = m_serverPort.trimmed().toInt(&ok);
    if (ok && port >= 0 && port <= 65535) m_socket->RemotePort = port;
    m_socket->Connect();
    attemptUnderWay();
}

void Session::socketConnected()
{
    // An attempt given up before it connected (Quit, a quit item) is not taken up: the
    // connection is closed at once and nothing goes out on it. A running count-down ends
    // that attempt itself; otherwise the controls are put back now.
    if (!IsConnectedFlag()) {
        if (m_countdown.Running()) CloseSocket();
        else ConnectionGone(std::nullopt);
        return;
    }
    // Nothing of an earlier connection carries over into this one.
    StartClean();
    m_screen.ConnectionFonts();
    emit Connected();
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Connection established."));
    m_screen.SetBusy(false);
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Sending login information..."));
    SendData(QStringLiteral("NICK ") + m_nick);
    // An empty setting never overwrites a value: /SERVER's defaults for a missing e-mail
    // or real name stay, and the USER line gets no empty field.
    if (!m_settings.Nick().isEmpty()) SetNick(m_settings.Nick());
    if (!m_settings.Server().isEmpty()) SetServerName(m_settings.Server());
    if (!m_settings.RealName().isEmpty()) SetRealName(m_settings.RealName());
    if (!m_settings.Email().isEmpty()) SetEmailAddress(m_settings.Email());
    if (m_realName.isEmpty()) SetRealName(settings::DefaultRealName);
    if (m_email.isEmpty()) SetEmailAddress(settings::DefaultEmail);
    SendData(QStringLiteral("USER ") + userNameFrom(m_email) + QLatin1Char(' ') + m_socket->LocalIP() + QLatin1Char(' ') +
             m_serverName + QStringLiteral(" :") + m_realName);
}

void Session::socketClosed() { ConnectionGone(ServerStyle::Status); }

void Session::attemptFailedSoon()
{
    // The Connect button's count-down reports its own attempt when it runs out.
    if (m_countdown.Running()) return;
    AttemptFailed();
}

void Session::AttemptFailed()
{
    m_screen.PlaySound(QStringLiteral("error.wav"));
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Error 71 (failed to connect (server))"));
    ConnectionGone(ServerStyle::Progress);
}

void Session::ConnectionGone(std::optional<ServerStyle> note)
{
    if (note) m_screen.ServerLine(*note, QStringLiteral("\x01 Disconnected"));
    CloseSocket();
    SetConnectedCaption(QString());
    m_screen.SetBusy(false);
    m_game.ConnectionGone();
    m_countdown.Timer().setEnabled(false);
    emit ConnectionEnded();
}

void Session::dataArrived()
{
    const QString received = m_socket->GetData();
    // The server has answered: a server that takes the connection and never says a word is
    // given up by the count-down like one that never takes it.
    m_countdown.Stop();
    Feed(received);
}

} // namespace core
