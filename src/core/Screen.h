#pragma once
// What the session asks of the screen, in its own words: lines for the server and the
// channel, the channel window's caption and visibility, the private chat, sounds, the raw
// views, a notice for the user and an outside program started. The windows implement it
// once; tests record it.
#include <QString>

namespace core {

// The server pane's kinds of line.
enum class ServerStyle {
    Status,    // black: status lines and what commands report
    Progress,  // dark blue: the connection's progress and the program's own notes
    Server,    // dark cyan: what the server says
    Echo,      // dark red: what the user echoes
    Offer,     // red, the text then a line end: DCC offers
};

// The channel pane's kinds of line.
enum class ChannelStyle {
    Text,   // black: channel messages and the game's lines
    Event,  // dark blue: joins, parts, quits, modes, nick changes, actions
    Rule,   // light grey: the rule around a whois answer
    Whois,  // dark grey: a whois answer's lines
};

// Colours are palette numbers 0 to 15; this one lies outside the palette (red 192, no
// green, blue 192): the colour code 13.
constexpr int Code13Colour = -1;

class Screen
{
public:
    virtual ~Screen() = default;

    // One received block is one unit of display work: what it shows is shown once, at
    // its end. Blocks nest.
    virtual void BeginBlock() = 0;
    virtual void EndBlock() = 0;

    // One line in the server pane (a line break first, or after for Startup and Offer).
    virtual void ServerLine(ServerStyle style, const QString &text) = 0;
    // One line in the channel pane, on a line of its own.
    virtual void ChannelLine(ChannelStyle style, const QString &text) = 0;
    // Text at the channel pane's end in a colour, with no font and no line break of its own.
    virtual void ChannelInsert(int colour, const QString &text) = 0;
    virtual bool ChannelPaneEmpty() = 0;
    virtual void ChannelCaption(const QString &caption) = 0;
    virtual void ShowChannelWindow() = 0;
    // Makes the channel window invisible, without closing it; one not open stays closed.
    virtual void HideChannelWindow() = 0;
    // Closes the channel window when it is open (it leaves the channel as it goes).
    virtual void CloseChannelWindow() = 0;
    virtual bool ChannelWindowVisible() = 0;
    // The channel window is used without writing to it (its nick list is): it opens.
    virtual void UseChannelWindow() = 0;
    // The server window is used without writing to it (a typed line goes out through it,
    // or it is to show a connection attempt): it opens.
    virtual void UseServerWindow() = 0;

    // A private message (or action) from the sender, as it shows: the private chat opens
    // when it is not open, the sender becomes the partner.
    virtual void PrivateMessage(const QString &sender, const QString &text) = 0;

    virtual void PlaySound(const QString &file) = 0;
    // Something the user must acknowledge before going on.
    virtual void InformUser(const QString &text) = 0;
    // Starts an outside program from a command line as the user typed it.
    virtual void StartProgram(const QString &commandLine) = 0;

    // The connection's life: a busy pointer over the server pane while an attempt is under
    // way, the audio CD when the settings ask for it on connecting, and the server pane's
    // fonts when the connection comes up.
    virtual void SetBusy(bool busy) = 0;
    virtual void PlayCdOnConnect() = 0;
    virtual void ConnectionFonts() = 0;
    // The raw views: a received block with its line end, and a sent line.
    virtual void ShowReceived(const QString &text) = 0;
    virtual void ShowSent(const QString &line) = 0;
};

// The scope of one block's display work.
class BlockScope
{
public:
    explicit BlockScope(Screen &screen) : m_screen(screen) { m_screen.BeginBlock(); }
    ~BlockScope() { m_screen.EndBlock(); }
    BlockScope(const BlockScope &) = delete;
    BlockScope &operator=(const BlockScope &) = delete;
private:
    Screen &m_screen;
};

} // namespace core
