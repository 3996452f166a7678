#include "core/Session.h"
#include "core/LineTable.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "platform/TcpSocket.h"

namespace core {

bool ReplyBudget::Take()
{
    if (!m_clock.isValid()) m_clock.start();
    const qint64 now = m_clock.elapsed();
    // Full when the oldest of the last Size replies is still inside the window.
    if (m_used == Size && now - m_sentAt[m_next] < Window) return false;
    m_sentAt[m_next] = now;
    m_next = (m_next + 1) % Size;
    if (m_used < Size) ++m_used;
    return true;
}

Session::Session(Screen &screen, QObject *parent)
    : QObject(parent), m_screen(screen), m_socket(new TcpSocket(this)), m_game(*this),
      m_table(std::make_unique<LineTable>(*this, screen, m_members, m_game))
{
    connect(m_socket, &TcpSocket::Connected, this, &Session::socketConnected);
    connect(m_socket, &TcpSocket::DataArrival, this, &Session::dataArrived);
    connect(m_socket, &TcpSocket::Closed, this, &Session::socketClosed);
    connect(m_socket, &TcpSocket::ConnectFailed, this, &Session::attemptFailedSoon);
    connect(&m_countdown, &CountDown::TimedOut, this, &Session::AttemptFailed);
}

Session::~Session() = default;

namespace {
// One setter's work: the value changes and the change is told, or nothing happens.
template <class T, class Signal> void update(Session *s, T &field, const T &value, Signal signal)
{
    if (field == value) return;
    field = value;
    emit(s->*signal)(field);
}
} // namespace

void Session::SetNick(const QString &nick) { update(this, m_nick, nick, &Session::NickChanged); }
void Session::SetServerAddress(const QString &host) { update(this, m_serverAddress, host, &Session::ServerAddressChanged); }
void Session::SetServerPort(const QString &port) { update(this, m_serverPort, port, &Session::ServerPortChanged); }
void Session::SetServerName(const QString &name) { update(this, m_serverName, name, &Session::ServerNameChanged); }
void Session::SetRealName(const QString &name) { update(this, m_realName, name, &Session::RealNameChanged); }
void Session::SetEmailAddress(const QString &address) { update(this, m_email, address, &Session::EmailAddressChanged); }
void Session::SetChannelState(core::ChannelState state)
{
    update(this, m_channelState, state, &Session::ChannelStateChanged);
}
void Session::SetCurrentChannel(const QString &channel)
{
    update(this, m_currentChannel, channel, &Session::CurrentChannelChanged);
}
void Session::SetConnectedCaption(const QString &caption)
{
    update(this, m_caption, caption, &Session::ConnectedCaptionChanged);
}
void Session::SetShowReceived(bool on) { update(this, m_showReceived, on, &Session::ShowReceivedChanged); }
void Session::SetShowSent(bool on) { update(this, m_showSent, on, &Session::ShowSentChanged); }

bool Session::IsCurrentChannel(QStringView name) const { return SameChannel(name, m_currentChannel); }

void Session::ChangeNick(const QString &nick, bool chosen)
{
    SetNick(nick);
    if (chosen) m_settings.Save(settings::ConnectionSettings::Item::Nick, nick);
    // The caption is the connected flag: a nick change must never raise it by itself.
    if (IsConnectedFlag()) SetConnectedCaption(ConnectedAs(m_nick, m_serverName));
}

namespace {
// Where the text's first line ends: at its first CR, LF or NUL, else at its end.
qsizetype firstLineEnd(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\r' || text[i] == u'\n' || text[i] == u'\0') return i;
    return text.size();
}

bool isWholeLine(const QString &line) { return firstLineEnd(line) == line.size(); }
} // namespace

void Session::SendData(const QString &line)
{
    // One line only: whatever follows a CR, LF or NUL never reaches the wire.
    const QString one = line.left(firstLineEnd(line));
    m_socket->Send(one + QStringLiteral("\r\n"));
    if (m_showSent) m_screen.ShowSent(one);
    emit Sent(one);
}

bool Session::SendWhole(const QString &line)
{
    if (!isWholeLine(line)) return false;
    SendData(line);
    return true;
}

bool Session::SendReply(const QString &line)
{
    if (!isWholeLine(line) || !m_budget.Take()) return false;
    SendData(line);
    return true;
}

void Session::Feed(const QString &received)
{
    // Everything this block shows is shown once, when it has been handled.
    const BlockScope block(m_screen);
    QString shown;
    const ReceivedLines::Block taken = m_framing.Take(received, m_showReceived ? &shown : nullptr);
    if (m_showReceived) m_screen.ShowReceived(shown);
    if (taken.overlong)
        m_screen.ServerLine(ServerStyle::Status, QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped"));
    const quint64 closes = m_closes;
    Arrival a;
    LineSplitter lines(taken.lines);
    while (!lines.atEnd()) {
        QString line = lines.next();
        m_table->Dispatch(line, a);
        // A handler may have ended the connection (the server window's unload closes it):
        // the rest of the block has nowhere to go.
        if (m_closes != closes) return;
    }
}

void Session::CloseSocket()
{
    m_socket->Close();
    ++m_closes;
    StartClean();
}

void Session::StartClean()
{
    m_framing.Clear();
    SetChannelState(core::ChannelState::None);
    m_partedCurrentChannel = false;
    // Each connection waits for its own welcome before it knows the server's name.
    m_welcomeSeen = false;
    m_requestedNick.clear();
}

void Session::Reopen()
{
    m_socket->Close();
    ++m_closes;
    m_table->Reset();
    m_game.Reset();
    m_socket->RemoteHost.clear();
    m_socket->RemotePort = 0;
    m_budget = ReplyBudget();
    m_settings.Clear();
}

void Session::TakeSettings()
{
    SetServerAddress(m_settings.Server());
    SetServerName(m_settings.Server());
    SetServerPort(m_settings.Port());
    SetNick(m_settings.Nick());
    SetRealName(m_settings.RealName());
    SetEmailAddress(m_settings.Email());
}

} // namespace core
