#pragma once
// One IRC connection without any window: the socket, the framing of what it receives, the
// pace of automatic replies, sending, and the state every window consults. Each value has
// one setter, which tells the change with one signal; observers that must never lag (the
// connected-flag caption, the menus' check marks) are connected directly.
#include "core/ChannelMembers.h"
#include "core/CountDown.h"
#include "core/ReceivedLines.h"
#include "core/Screen.h"
#include "core/Teletrivia.h"
#include "settings/ConnectionSettings.h"
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class TcpSocket;

namespace core {

class LineTable;

// Where the user stands with the channel: no channel, a /JOIN typed and its names list
// awaited, or in the channel.
enum class ChannelState { None = 0, JoinSent = 1, Joined = 2 };

// At most Size automatic replies in any Window ms, so a flood of requests cannot get us
// dropped for flooding the server. Measured on the monotonic clock.
class ReplyBudget
{
public:
    static constexpr int Size = 4;
    static constexpr qint64 Window = 10000;
    // True, and counted, when a reply may go out now.
    bool Take();
private:
    QElapsedTimer m_clock;
    std::array<qint64, Size> m_sentAt{};  // a ring of the last replies' times
    int m_next = 0, m_used = 0;
};

class Session : public QObject
{
    Q_OBJECT
public:
    // What the session shows goes to the screen, which must outlive it.
    explicit Session(Screen &screen, QObject *parent = nullptr);
    ~Session() override;

    // ---- state ----
    // Our nick on the server.
    const QString &Nick() const { return m_nick; }
    void SetNick(const QString &nick);
    // The host and port the Connect button connects to: the server setting, or the host of
    // the last /SERVER. Never the name a server gives itself in its welcome.
    const QString &ServerAddress() const { return m_serverAddress; }
    void SetServerAddress(const QString &host);
    const QString &ServerPort() const { return m_serverPort; }
    void SetServerPort(const QString &port);
    // The server's name: the host connected to until the welcome names the server.
    const QString &ServerName() const { return m_serverName; }
    void SetServerName(const QString &name);
    // What the USER line registers with.
    const QString &RealName() const { return m_realName; }
    void SetRealName(const QString &name);
    const QString &EmailAddress() const { return m_email; }
    void SetEmailAddress(const QString &address);
    core::ChannelState ChannelState() const { return m_channelState; }
    void SetChannelState(core::ChannelState state);
    // The channel the last /JOIN named, without a key or a second channel. Nothing clears it.
    const QString &CurrentChannel() const { return m_currentChannel; }
    void SetCurrentChannel(const QString &channel);
    // True when the name is the current channel, letter case aside: servers spell a
    // channel their own way.
    bool IsCurrentChannel(QStringView name) const;
    // The connected flag: "nick on server" from the moment an attempt starts, "" when not
    // connected. It is the server window's caption.
    const QString &ConnectedCaption() const { return m_caption; }
    void SetConnectedCaption(const QString &caption);
    bool IsConnectedFlag() const { return !m_caption.isEmpty(); }
    static QString ConnectedAs(const QString &nick, const QString &server) { return nick + QStringLiteral(" on ") + server; }
    // The raw views: every received block, every sent line.
    bool ShowReceived() const { return m_showReceived; }
    void SetShowReceived(bool on);
    bool ShowSent() const { return m_showSent; }
    void SetShowSent(bool on);

    // Protocol bookkeeping that nothing outside the connection watches.
    // Set by the server's welcome; until then every server's lines are shown.
    bool WelcomeSeen() const { return m_welcomeSeen; }
    void SetWelcomeSeen(bool seen) { m_welcomeSeen = seen; }
    // The nick a /NICK asked the server for, until the server's echo makes it ours.
    const QString &RequestedNick() const { return m_requestedNick; }
    void SetRequestedNick(const QString &nick) { m_requestedNick = nick; }
    // Set by the echo of our own part of the current channel, cleared when a join of it
    // ends: a /JOIN of that channel is then a new join, not one of the channel we are in.
    bool PartedCurrentChannel() const { return m_partedCurrentChannel; }
    void SetPartedCurrentChannel(bool parted) { m_partedCurrentChannel = parted; }

    // The connection settings as loaded; the live values above are taken from them when
    // a connection starts.
    settings::ConnectionSettings &Settings() { return m_settings; }
    // The live values taken from the settings as they stand: at start and after Setup.
    void TakeSettings();
    // Our nick changes: the caption follows while it shows a connection; a nick the user
    // chose also becomes the nick setting, file and all.
    void ChangeNick(const QString &nick, bool chosen);

    // The channel's members, the quiz and the connect count-down.
    ChannelMembers &Members() { return m_members; }
    Teletrivia &Game() { return m_game; }
    CountDown &Countdown() { return m_countdown; }

    // ---- the connection ----
    core::Screen &Display() { return m_screen; }
    TcpSocket &Socket() { return *m_socket; }
    ReceivedLines &Framing() { return m_framing; }
    // Runs received text through the framing and the line table, as a block that arrives
    // on the socket does: shown in the received-data view while it is on, its complete
    // lines handled in order, what it shows shown once at its end. A block whose connection
    // is closed meanwhile stops there.
    void Feed(const QString &received);
    // Sends one IRC line: the text up to its first CR, LF or NUL, then CR LF. The line is
    // shown in the sent-data view while it is on, and told by Sent, whether or not the
    // socket could take it.
    void SendData(const QString &line);
    // Sends an automatic reply (one the user did not ask for) when it is one whole line
    // and the reply budget allows it; false when it was not sent. A reply that a CR, LF
    // or NUL in received text would cut short is not sent at all.
    bool SendReply(const QString &line);
    // The same without the budget, for lines whose pace the program sets itself.
    bool SendWhole(const QString &line);
    // Closes the socket; the next connection then starts clean (see StartClean).
    void CloseSocket();

    // The Connect button's attempt: to the address and port, with the count-down watching
    // it; the connected flag goes up at once.
    void Connect();
    // /SERVER: an attempt to the host with the connection settings as loaded (the stored
    // server decides whether the host counts), without the count-down.
    void ConnectTo(const QString &host);
    // The connection is gone, whoever ended it (the peer, our own close, a failed attempt):
    // the socket is closed and the connected flag, the connect controls, the count-down's
    // step and a running game return to their disconnected state. "\x01 Disconnected" is
    // written in the given style first (nothing without one).
    void ConnectionGone(std::optional<ServerStyle> note);
    // An attempt that did not connect: reported with the sound and the error line, then gone.
    void AttemptFailed();
    // Forgets what a connection left behind: a held half line, a line being dropped, a
    // CR waiting for its LF, the channel state, a part of the current channel, the welcome
    // and a nick a /NICK asked for.
    void StartClean();
    // A new owner takes the session up (the server window, loaded again): nothing of the
    // previous one's connection carries over but the values above, the members and the
    // quiz's answer; the quiz is stopped at its ask phase.
    void Reopen();

signals:
    void NickChanged(const QString &nick);
    void ServerAddressChanged(const QString &host);
    void ServerPortChanged(const QString &port);
    void ServerNameChanged(const QString &name);
    void RealNameChanged(const QString &name);
    void EmailAddressChanged(const QString &address);
    void ChannelStateChanged(core::ChannelState state);
    void CurrentChannelChanged(const QString &channel);
    void ConnectedCaptionChanged(const QString &caption);
    void ShowReceivedChanged(bool on);
    void ShowSentChanged(bool on);
    // Every line SendData passed on, as it went out (without its CR LF).
    void Sent(const QString &line);
    // The connect controls follow these: an attempt of the Connect button started, the
    // connection came up, the connection is gone.
    void AttemptStarted();
    void Connected();
    void ConnectionEnded();

private:
    // Both kinds of attempt: the attempt is announced, the connected flag goes up and the
    // CD plays when the settings ask for it.
    void attemptUnderWay();
    // The socket's events.
    void socketConnected();
    void socketClosed();
    void dataArrived();
    void attemptFailedSoon();

    QString m_nick, m_serverAddress, m_serverPort, m_serverName, m_realName, m_email;
    core::ChannelState m_channelState = core::ChannelState::None;
    QString m_currentChannel, m_caption;
    bool m_showReceived = false, m_showSent = false;
    bool m_welcomeSeen = false, m_partedCurrentChannel = false;
    QString m_requestedNick;
    settings::ConnectionSettings m_settings;
    core::Screen &m_screen;
    TcpSocket *m_socket;
    ReceivedLines m_framing;
    ReplyBudget m_budget;
    ChannelMembers m_members;
    Teletrivia m_game;
    CountDown m_countdown;
    std::unique_ptr<LineTable> m_table;
    // Counts the socket's closes, so a block can tell that its connection went meanwhile.
    quint64 m_closes = 0;
};

} // namespace core
