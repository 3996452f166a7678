#pragma once
// The received-line table: every received line runs through one fixed sequence of rows,
// tested on the line's parts and text. A handler either ends the line or lets the next
// rows see it too; the rows' order decides what a line that meets several of them does.
// The table changes the session and the channel's members and tells the screen what to
// show.
#include <QString>

class LineView;

namespace core {

class ChannelMembers;
class Screen;
class Session;
class Teletrivia;

// Values local to one received block.
struct Arrival
{
    QString whoisText;  // the user a 311 reply named, for the 318 of the same block
};

class LineTable
{
public:
    LineTable(Session &session, Screen &screen, ChannelMembers &members, Teletrivia &game);
    LineTable(const LineTable &) = delete;
    LineTable &operator=(const LineTable &) = delete;

    // Runs one line through the table; a row may rewrite it (our own prefix is cut).
    void Dispatch(QString &line, Arrival &a);
    // Forgets a names reply in progress.
    void Reset() { m_namesRunOpen = false; }

    // The texts the table looks for, built from the nick; rebuilt only when it changes,
    // not for every line.
    struct Needles
    {
        QString nick;       // what the texts below were built from
        QString ownPrefix;  // ":" & nick
        QString nickInUse;  // "* " & nick & " :Nickname is already in use."
    };

private:
    const Needles &needles();

    // ---- the automatic replies (every channel state) ----
    void pingReply(const LineView &v);
    void clockReply(const LineView &v);
    void ownModeNotice(const LineView &cut);
    // The server's echo of a change of our own nick: the nick is ours from now on. It is
    // kept as the user's choice only when a /NICK asked for it (not a rename by the server).
    void ownNickChange(QStringView nick);
    void alternativeNickReply();
    void closingLinkReply(const QString &line);
    void versionReply(const LineView &v);
    void pageNotice(const LineView &v);
    void timeReply(const LineView &v);
    void wakeupSound();
    void errorNotice(const QString &line);
    void pingCodeReply(const QString &line);
    // A server line in the server pane: its last parameter (after the first " :"), or else
    // its words after the target nick; formatting marks are taken out.
    void serverText(const QString &line);

    // ---- messages ----
    // Private and channel messages; plain channel text is offered to the game.
    void displayMessage(const QString &line, const LineView &v);

    // ---- joining ----
    // 332, 353 and 366 of the channel being joined, from the server.
    void joinReply(const QString &line, const LineView &v);
    void joinEcho(const LineView &v);  // the user's own JOIN line
    void addNames(QStringView names);

    // ---- the joined channel: one handler per event, in the order they are tried ----
    struct Event;
    void channelEvents(const QString &line, const LineView &v, Arrival &a);
    void whois(const Event &e, Arrival &a);
    void topicChange(const Event &e);
    // The names refill: sees every line of the channel, to know where a run of names
    // lines ends.
    void namesRefill(const Event &e);
    bool kick(const Event &e);
    bool part(const Event &e);
    bool dccOffer(const Event &e);
    bool quit(const Event &e);
    bool modeChange(const Event &e);
    void join(const Event &e);
    void nickChange(const Event &e);
    // Takes the member's every form ("nick", "@nick", "+nick", "+nick ") out of the list.
    void removeEveryForm(const QString &nick);
    // One change of a member's operator or voice status, or of a ban, shown and kept in the
    // list; false for letters the channel window does not follow.
    bool applyMode(QChar sign, QChar letter, const QString &target, const QString &setter);

    Session &m_session;
    Screen &m_screen;
    ChannelMembers &m_members;
    Teletrivia &m_game;
    Needles m_needles;
    // True while consecutive names lines for the current channel are refilling the list.
    bool m_namesRunOpen = false;
};

} // namespace core
