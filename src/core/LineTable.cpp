// The received-line table's rows, in their order: those tried in every channel state, then
// those of the channel state: no channel, a join awaited, in the channel.
#include "core/LineTable.h"
#include "core/FormattingMarks.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include <algorithm>

namespace core {

LineTable::LineTable(Session &session, Screen &screen, ChannelMembers &members, Teletrivia &game)
    : m_session(session), m_screen(screen), m_members(members), m_game(game)
{
}

const LineTable::Needles &LineTable::needles()
{
    Needles &n = m_needles;
    const QString &nick = m_session.Nick();
    // Built once at first use even when the nick is still empty.
    if (!n.ownPrefix.isEmpty() && n.nick == nick) return n;
    n.nick = nick;
    n.ownPrefix = QLatin1Char(':') + nick;
    n.nickInUse = QStringLiteral("* ") + nick + QStringLiteral(" :Nickname is already in use.");
    return n;
}

namespace {
// The replies by which a server refuses a JOIN.
bool isJoinRefusal(QStringView reply)
{
    static const QStringView codes[] = {u"403", u"405", u"437", u"461", u"471", u"473", u"474", u"475", u"476", u"477"};
    return std::find(std::begin(codes), std::end(codes), reply) != std::end(codes);
}

// The own-prefix test: ":" and the nick, then "!" or a blank. A longer nick that merely
// begins with ours is someone else.
bool hasOwnPrefix(const QString &line, const LineTable::Needles &n)
{
    if (n.nick.isEmpty() || !line.startsWith(n.ownPrefix)) return false;
    const qsizetype next = n.ownPrefix.size();
    if (next >= line.size()) return false;
    const QChar c = line[next];
    return c == QLatin1Char('!') || c == QLatin1Char(' ');
}

// The nickname-in-use reply, by its literal text or by its numeric form "433 * nick".
// Only the server's 433 reply counts: a message or notice that quotes the text must not
// make us change nick.
bool nickInUse(const QString &line, const LineView &v, const LineTable::Needles &n)
{
    if (v.Command() != u"433") return false;
    if (line.contains(n.nickInUse)) return true;
    return v.Param(0) == u"*" && v.Param(1) == QStringView(n.nick);
}

// The text of a PRIVMSG to us (see PrivateText) is a DCC file or chat offer.
bool isDccOffer(QStringView request)
{
    return request.startsWith(u"\x01" "DCC SEND ") || request.startsWith(u"\x01" "DCC CHAT ");
}
} // namespace

void LineTable::Dispatch(QString &line, Arrival &a)
{
    LineView v(line);
    // Rows tried in every channel state.
    if (v.Command() == u"PING" && (!v.HasPrefix() || v.FromServer())) {
        pingReply(v);
        return;
    }
    const Needles *n = &needles();
    if (v.Command() == u"PRIVMSG" && v.Last() == u"!time" && m_session.IsCurrentChannel(v.Param(0))) clockReply(v);
    if (hasOwnPrefix(line, *n)) {
        if (v.Command() == u"NICK") {
            // Renamed by the server or a raw command: from now on we go by the new nick. The
            // prefix stays, so the channel renames our entry like anyone else's.
            ownNickChange(v.Param(0));
            n = &needles();
        } else {
            const qsizetype b = line.indexOf(QLatin1Char(' '));
            if (b >= 0) line.remove(0, b + 1);
            v.Reset(line);
            if (v.Command() == u"MODE") ownModeNotice(v);
        }
    }
    if (nickInUse(line, v, *n)) {
        alternativeNickReply();
        n = &needles();  // the nick may have changed
    }
    if (!v.HasPrefix() && v.Command() == u"ERROR" && v.Last().startsWith(u"Closing Link:", Qt::CaseInsensitive)) {
        closingLinkReply(line);
        return;
    }
    // A client's request counts only as the whole text of a PRIVMSG to our nick: a notice,
    // a channel message or a topic that quotes one asks nothing.
    const QStringView request = PrivateText(v, n->nick);
    if (request == u"\x01version\x01" || request == u"\x01VERSION\x01") {
        versionReply(v);
        return;
    }
    if (request == u"\x01PAGE\x01") pageNotice(v);
    if (request == u"\x01TIME\x01") {
        timeReply(v);
        return;
    }
    if (request == u"\u2021WAKEUP\u2021") {
        wakeupSound();
        return;
    }
    if (line.startsWith(QLatin1String("ERROR"))) errorNotice(line);
    if (v.HasPrefix() && v.Command() == u"PRIVMSG") {
        // Once in a channel, DCC offers go on to the channel rules, which refuse them.
        if (!(m_session.ChannelState() == ChannelState::Joined && isDccOffer(request))) {
            displayMessage(line, v);
            return;
        }
    }

    const QString &serverName = m_session.ServerName();
    switch (m_session.ChannelState()) {
    case ChannelState::None:
        if (v.Command() == u"513" && v.HasPrefix() && v.Prefix() == serverName) {
            pingCodeReply(line);
            return;
        }
        if (v.Command() == u"001" && v.HasPrefix()) {
            const QStringView name = v.Prefix();
            // A name holding a line end or NUL could never go back in a PONG: every later
            // PING would be answered cut short. Such a name is not taken.
            const bool sendable = !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')) &&
                                  !name.contains(QChar(0));
            if (sendable) m_session.SetServerName(name.toString());
            m_session.SetWelcomeSeen(true);
        }
        // Until the welcome names the server, whatever a server says is shown: a refused
        // user name or a registration time-out must reach the user.
        if ((v.HasPrefix() && v.Prefix() == serverName) || (!m_session.WelcomeSeen() && v.FromServer())) serverText(line);
        return;
    case ChannelState::JoinSent:
        if (v.HasPrefix() && v.Prefix() == serverName) {
            // The topic, names and end of names of the channel being joined (the names
            // reply has its channel after the public/secret marker) are the join's.
            const QStringView w = v.Command();
            const bool names = w == u"353";
            if ((names || w == u"332" || w == u"366") && m_session.IsCurrentChannel(v.Param(names ? 2 : 1))) {
                joinReply(line, v);
                return;
            }
            // Everything else the server says is shown; a refused join stops the wait. A 437
            // may refuse a nick instead: it counts only when it names the channel.
            if (isJoinRefusal(w) && (w != u"437" || m_session.IsCurrentChannel(v.Param(1))))
                m_session.SetChannelState(ChannelState::None);
            serverText(line);
            return;
        }
        if (!v.HasPrefix() && v.Command() == u"JOIN") joinEcho(v);
        return;
    case ChannelState::Joined:
        channelEvents(line, v, a);
        return;
    }
}

void LineTable::serverText(const QString &line)
{
    // The last parameter follows the first " :"; a ":" inside a word ("ircd-1:8.2",
    // "CHANLIMIT=#:20") is part of that word. A line without a last parameter shows its
    // words after the target nick, and one without such words shows whole.
    QString text = line;
    const qsizetype colon = line.indexOf(QLatin1String(" :"));
    if (colon >= 0) {
        text = line.mid(colon + 2);
    } else {
        qsizetype at = 0;
        for (int word = 0; word < 3 && at >= 0; ++word) {
            at = line.indexOf(QLatin1Char(' '), at);
            if (at >= 0) ++at;
        }
        if (at > 0 && at < line.size()) text = line.mid(at);
    }
    m_screen.ServerLine(ServerStyle::Server, WithoutMarks(text));
}

} // namespace core
