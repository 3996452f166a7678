#pragma once
#include "frame/Forms.h"
#include "platform/CommandLine.h"
#include "platform/RichPane.h"
#include "platform/Timer.h"
#include "settings/SettingsFile.h"
#include <QString>
class LineView;
class TcpSocket;
class QLabel;

// Values local to one arrival of received data.
struct Arrival
{
    QString whoisText;  // the user a 311 reply named, for the 318 of the same arrival
};

// The server window: the status pane, the server command line and the quiz indicator. The
// connection it shows is the session's: its caption is the connected flag.
class frmOrvelIRC : public FormBase
{
    Q_OBJECT
public:
    frmOrvelIRC();
    ~frmOrvelIRC() override;
    // The window's inner size when it opens.
    static constexpr QSize DesignedSize{500, 300};

    RichPane *Incoming = nullptr;
    CommandLine *Outgoing = nullptr;

    // Connection holders: the settings as loaded, kept by the session.
    Holder &txtAlternativeNickname, &txtNick, &txtServer, &txtPort, &txtRN, &txtEmail;
    Holder txtIpAddress, txtLocalH;

    // The current channel, as the other windows read it.
    const QString &ChanCentral() const;
    // The connection's socket, which the session keeps.
    TcpSocket &Tcp1() const;

    // Output procedures: one line each into the pane in a fixed colour.
    void AddtextX(const QString &text);
    void Addtext(const QString &text);
    void Addtext2(const QString &text);
    void Addtext3(const QString &text);
    void Addtext4(const QString &text);
    void Addtext5(const QString &text);
    // Sends one IRC line: the text up to its first CR, LF or NUL, then CR LF.
    void SendData(const QString &line);

    // Connected flag: the caption, "" when not connected.
    bool IsConnectedFlag() const;

    void Form_Load() override;
    void Form_Unload() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_GotFocus();
    void Incoming_Change();
    void Incoming_Click();
    void Incoming_MouseDown(int button);

    // ---- connection ----
    void TCP1_Connect();
    void TCP1_Close();
    void TCP1_DataArrival();
    // An attempt to connect failed: refused, host not found or no answer.
    void TCP1_ConnectFailed();
    // The connection is gone, whoever ended it (the peer, our own close, a failed
    // attempt): the socket is closed and the connected flag, the frame's connect controls
    // and a running game return to their disconnected state. The status line
    // "\x01 Disconnected" is written with the given output procedure (none when null).
    void ConnectionGone(void (frmOrvelIRC::*note)(const QString &));
    // An attempt that did not connect: reported with the sound and the error line, then gone.
    void AttemptFailed();
    // Shows a server line in the pane: its last parameter (after the first " :"), or else
    // its words after the target nick; formatting marks are taken out.
    void ServerText(const QString &line);
    // Runs one line through the received-line table.
    void DispatchLine(QString &line, Arrival &a);
    // The automatic replies (every channel state).
    void PingReply(const LineView &v);
    void ClockReply(const LineView &v);
    void OwnModeNotice(const LineView &cut);
    // The server's echo of a change of our own nick: the nick is ours from now on. It is
    // kept as the user's choice only when a /NICK asked for it (not a rename by the server).
    void OwnNickChange(QStringView nick);
    void AlternativeNickReply();
    void ClosingLinkReply(const QString &line);
    void VersionReply(const LineView &v);
    void PageNotice(const LineView &v);
    void TimeReply(const LineView &v);
    void WakeupSound();
    void ErrorNotice(const QString &line);
    void PingCodeReply(const QString &line);
    // The texts the line table looks for, built from the nick; rebuilt only when it
    // changes, not for every line.
    struct LineNeedles
    {
        QString nick;                // what the texts below were built from
        QString ownPrefix;           // ":" & nick
        QString nickInUse;           // "* " & nick & " :Nickname is already in use."
    };
    const LineNeedles &Needles();
    LineNeedles m_needles;
    // The text of a PRIVMSG to us (see PrivateText) is a DCC file or chat offer.
    static bool IsDccSend(QStringView request) { return request.startsWith(u"\x01" "DCC SEND "); }
    static bool IsDccOffer(QStringView request) { return IsDccSend(request) || request.startsWith(u"\x01" "DCC CHAT "); }
    // ---- end connection ----

    // ---- command line ----
    void Outgoing_KeyPress(int &KeyAscii);
    // One line of what was entered, handled as if it had been typed alone.
    void RunTypedLine(const QString &line);
    // ---- end command line ----

    // ---- join and display ----
    // Rows of the received-line table handled by the join and message display code.
    void DisplayMessage(QString &line, Arrival &a);   // private and channel messages
    // 332, 353 and 366 of the channel being joined, from the server.
    void JoinReply(const QString &line, const LineView &v);
    void JoinEcho(const LineView &v);                // the user's own JOIN line
    // The names refill once joined: call it with every line of the channel chain; it makes
    // its own test and also sees where a run of names lines ends.
    void NamesRefill(const LineView &v);
    // Plain channel text is offered to the quiz.
    void TeletriviaCheck(const QString &line, Arrival &a);
    // True while consecutive names lines for the current channel are refilling the list.
    bool NamesRunOpen = false;
    // ---- end join and display ----

    // ---- channel events ----
    // The state-2 chain, given the line and its parts; returns true when it ended the line.
    bool StateTwoChain(QString &line, const LineView &v, Arrival &a);
    // ---- end channel events ----

    // ---- teletrivia ----
    VbTimer *Teletrivia = nullptr;
    QLabel *Picture1 = nullptr;  // phase indicator
    // Black (ask) when the window is created, so the first tick of the first game asks.
    int Picture1BackColor = 0;
    void SetPicture1BackColor(int paletteIndex);
    // One game tick: ask, reveal or answered, by the indicator's colour.
    void Teletrivia_Timer();
    void Picture1_Click();     // phase := ask
    void Picture1_DblClick();  // phase := reveal
    // Connects the game's timer and indicator to their handlers (called once, at creation).
    void WireTeletrivia();
    // ---- end teletrivia ----

private:
    // The caption follows the session's connected flag and nothing else.
    using FormBase::setCaption;
    void output(const QString &text, int colour, bool lineEndFirst, bool setCommandFont);
};
