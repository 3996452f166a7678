#include "core/Commands.h"
#include "core/ChannelMembers.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include "platform/TextCut.h"
#include <optional>
#include <utility>

namespace core {

Cut CutCommand(const QString &text)
{
    Cut c;
    const int blank = cut::InStr(text, QStringLiteral(" "));
    cut::Set(c.argument, cut::Mid(text, blank + 1));
    QString word;
    if (cut::Set(word, cut::Left(text, blank - 1))) c.word = word.toUpper();
    return c;
}

namespace {

// Where an echo of what the user did shows.
enum class Pane { None, Server, Channel };
// An echo's colour: black for what was done, dark blue for what was said or acted.
enum class Tone { Black, Blue };

// One entered line at work: the line it came from and the pane its echo goes to.
struct Entered
{
    Session &session;
    Screen &screen;
    InputLine where;
    Pane echo;

    // A line for the server goes out through the server window, which opens when it is
    // not open (a channel window may outlive it).
    void Send(const QString &line)
    {
        screen.UseServerWindow();
        session.SendData(line);
    }
    void Echo(Tone tone, const QString &text)
    {
        if (echo == Pane::Server)
            screen.ServerLine(tone == Tone::Black ? ServerStyle::Status : ServerStyle::Progress, text);
        else if (echo == Pane::Channel)
            screen.ChannelLine(tone == Tone::Black ? ChannelStyle::Text : ChannelStyle::Event, text);
    }
    const QString &Channel() const { return session.CurrentChannel(); }
};

// /MSG: the target (up to the first blank) and the text after it; nothing without a blank.
std::optional<std::pair<QString, QString>> targetAndText(const QString &argument)
{
    const int blank = cut::InStr(argument, QStringLiteral(" "));
    const auto target = cut::Left(argument, blank - 1);
    if (!target) return std::nullopt;
    return std::make_pair(*target, *cut::Mid(argument, blank + 1));
}

void notice(Entered &e, const QString &a)
{
    e.Send(QStringLiteral("NOTICE ") + e.Channel() + QStringLiteral(" :") + a);
    e.Echo(Tone::Blue, (e.where == InputLine::Server ? QStringLiteral("NOTICE: ") : QStringLiteral("NOTICE > ")) + a);
}

// Both lines connect through the server window's session: the window shows the attempt.
void server(Entered &e, const QString &a)
{
    e.screen.UseServerWindow();
    e.session.ConnectTo(a);
}

// Only exactly "send" or "chat" is answered.
void dcc(Entered &e, const QString &a)
{
    if (a == QLatin1String("send") || a == QLatin1String("chat"))
        e.screen.InformUser(QStringLiteral("Sorry, no dcc commands yet."));
}

void kick(Entered &e, const QString &a) { e.Send(QStringLiteral("KICK ") + e.Channel() + QLatin1Char(' ') + a); }
void nothing(Entered &, const QString &) {}
void invite(Entered &e, const QString &a) { e.Send(QStringLiteral("INVITE ") + a); }
void run(Entered &e, const QString &a) { e.screen.StartProgram(a); }
void sound(Entered &e, const QString &a) { e.screen.PlaySound(a); }
void echo(Entered &e, const QString &a) { e.screen.ServerLine(ServerStyle::Echo, a); }
void ban(Entered &e, const QString &a) { e.Send(QStringLiteral("MODE ") + e.Channel() + QStringLiteral(" +b ") + a); }

void away(Entered &e, const QString &a)
{
    e.Send(QStringLiteral("AWAY :") + a);
    e.Echo(Tone::Black, QStringLiteral("\x01 Set away"));
}

void raw(Entered &e, const QString &a) { e.Send(a); }

void whois(Entered &e, const QString &a)
{
    e.Send(QStringLiteral("WHOIS :") + a);
    e.Echo(Tone::Black, QStringLiteral("\x01 Attempting to get information on ") + a + QStringLiteral("..."));
}

void quit(Entered &e, const QString &a) { e.Send(QStringLiteral("QUIT :") + a); }
void mode(Entered &e, const QString &a) { e.Send(QStringLiteral("MODE ") + a); }

// Sends the change. Registered with a server, the nick becomes ours when the server echoes
// the change; offline or still registering it is taken at once (the nick setting and,
// while a connection is shown, the caption). Only the first word counts; with no word at
// all nothing is sent, changed or shown.
void nick(Entered &e, const QString &a)
{
    const QString nick = a.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (nick.isEmpty()) return;
    e.Send(QStringLiteral("NICK ") + nick);
    Session &ss = e.session;
    // Once registered the server decides: its echo of the change makes the nick ours, and
    // a refusal leaves ours as it is. Before that no echo comes, so the nick is taken now.
    if (ss.Socket().IsConnected() && ss.WelcomeSeen()) ss.SetRequestedNick(nick);
    else ss.ChangeNick(nick, true);
    e.Echo(Tone::Black, QStringLiteral("\x01 Attempting to change your nick..."));
}

// Leaving a channel changes neither the current channel nor the channel state: the
// server's echo of the part does.
void part(Entered &e, const QString &a)
{
    e.Send(QStringLiteral("PART ") + a);
    e.Echo(Tone::Black, QStringLiteral("\x01 Parted Channel"));
}

// Sends "JOIN " and the argument as typed, sets the channel state to "join sent" and makes
// the channel it names (without a key or a second channel) the current channel. With no
// channel word nothing is sent, changed or shown.
void join(Entered &e, const QString &a)
{
    // The channel is the first word, up to a second channel after a comma; a key after it
    // goes out on the JOIN line and nowhere else.
    QString channel = a.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (channel.isEmpty()) return;
    const qsizetype comma = channel.indexOf(QLatin1Char(','));
    if (comma >= 0) channel.truncate(comma);
    e.Send(QStringLiteral("JOIN ") + a);
    Session &ss = e.session;
    // Servers answer nothing to a join of the channel we are in: waiting for its replies
    // would stop following the channel for good.
    if (!(ss.ChannelState() == ChannelState::Joined && !ss.PartedCurrentChannel() && ss.IsCurrentChannel(channel))) {
        ss.SetChannelState(ChannelState::JoinSent);
        ss.SetCurrentChannel(channel);
    }
    e.Echo(Tone::Black, QStringLiteral("\x01 Attempting to join ") + a + QStringLiteral("..."));
}

// The action goes to the channel only while its nick list names someone; the echo shows
// all the same.
void action(Entered &e, const QString &a)
{
    e.screen.UseChannelWindow();
    if (e.session.Members().Count() > 0)
        e.Send(QStringLiteral("PRIVMSG ") + e.Channel() + QStringLiteral(" :\x01" "ACTION ") + a + QChar(1));
    e.Echo(Tone::Blue, QStringLiteral("* ") + e.session.Nick() + QLatin1Char(' ') + a);
}

void msg(Entered &e, const QString &a)
{
    const auto m = targetAndText(a);
    if (!m) return;
    e.Send(QStringLiteral("PRIVMSG ") + m->first + QStringLiteral(" :") + m->second);
    e.Echo(Tone::Black, QStringLiteral("=->") + m->first + QStringLiteral("<-= ") + m->second);
}

struct Row
{
    const char *word;
    // The lines that know the word; in the other line it does nothing.
    bool inServerLine, inChannelLine;
    // The server line refuses the row while not connected; the channel line tests nothing.
    bool serverLineTestsConnected;
    // Where each line's echo of the row goes.
    Pane serverLineEcho, channelLineEcho;
    void (*run)(Entered &, const QString &argument);
};

constexpr bool Yes = true, No = false;
constexpr Pane None = Pane::None, Server = Pane::Server, Channel = Pane::Channel;

// In the order the words are tried, which is each line's own order.
const Row Rows[] = {
    // word      server channel tests  server echo channel echo
    {"NOTICE",   Yes,   Yes,    No,    Channel,    Channel,     notice},
    {"SERVER",   Yes,   Yes,    No,    Server,     Server,      server},
    {"DCC",      Yes,   Yes,    No,    None,       None,        dcc},
    {"KICK",     Yes,   No,     Yes,   None,       None,        kick},
    {"TOPIC",    Yes,   No,     No,    None,       None,        nothing},
    {"INVITE",   Yes,   No,     Yes,   None,       None,        invite},
    {"RUN",      Yes,   No,     No,    None,       None,        run},
    {"SOUND",    Yes,   No,     No,    None,       None,        sound},
    {"SHELL",    Yes,   No,     No,    None,       None,        run},
    {"ECHO",     Yes,   No,     No,    Server,     None,        echo},
    {"BAN",      Yes,   No,     Yes,   None,       None,        ban},
    {"AWAY",     Yes,   Yes,    Yes,   Server,     Channel,     away},
    {"RAW",      Yes,   Yes,    Yes,   None,       None,        raw},
    {"WHOIS",    Yes,   Yes,    Yes,   Server,     Channel,     whois},
    {"QUIT",     Yes,   Yes,    Yes,   None,       None,        quit},
    {"MODE",     Yes,   Yes,    Yes,   None,       None,        mode},
    {"NICK",     Yes,   Yes,    Yes,   Server,     Channel,     nick},
    {"P",        Yes,   Yes,    Yes,   Server,     Channel,     part},
    {"PART",     Yes,   Yes,    Yes,   Server,     Server,      part},
    {"JOIN",     Yes,   Yes,    Yes,   Server,     Channel,     join},
    {"ACTION",   Yes,   Yes,    Yes,   Server,     Channel,     action},
    {"ME",       Yes,   Yes,    Yes,   Server,     Channel,     action},
    {"MSG",      Yes,   Yes,    Yes,   Server,     Channel,     msg},
};

const Row *findRow(InputLine where, const QString &word)
{
    for (const Row &row : Rows) {
        if (!(where == InputLine::Server ? row.inServerLine : row.inChannelLine)) continue;
        if (word == QLatin1String(row.word)) return &row;
    }
    return nullptr;
}

void refuse(Screen &screen, const QString &text)
{
    screen.ServerLine(ServerStyle::Status, text);
    screen.PlaySound(QStringLiteral("error.wav"));
}

} // namespace

void RunEntered(Session &session, InputLine where, const QString &line)
{
    Screen &screen = session.Display();
    if (!line.startsWith(QLatin1Char('/'))) {
        if (where == InputLine::Server) {
            // Typed text is never sent from the server window.
            refuse(screen, session.IsConnectedFlag() ? QStringLiteral("\x01 Error 4 (Not in a channel)")
                                                     : QStringLiteral("\x01 Error 5 (Not connected)"));
            return;
        }
        Entered e{session, screen, where, Pane::Channel};
        e.Send(QStringLiteral("PRIVMSG ") + e.Channel() + QStringLiteral(" :") + line);
        e.Echo(Tone::Black, QStringLiteral("<") + session.Nick() + QStringLiteral("> ") + line);
        return;
    }
    const Cut c = CutCommand(line.mid(1));
    const Row *row = findRow(where, c.word);
    if (!row) return;
    if (where == InputLine::Server && row->serverLineTestsConnected && !session.IsConnectedFlag()) {
        refuse(screen, QStringLiteral("\x01 Error 5 (Not connected)"));
        return;
    }
    Entered e{session, screen, where, where == InputLine::Server ? row->serverLineEcho : row->channelLineEcho};
    row->run(e, c.argument);
}

} // namespace core
