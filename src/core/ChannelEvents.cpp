// What happens in the joined channel: whois replies, topic changes, the names refill,
// kicks, parts, DCC refusals, quits, mode changes, joins and nick changes. Each event is
// known by the line's own command word and parameters; a line may meet several of them,
// tried in this order, and a handler either ends the line or lets the next one see it.
#include "core/ChannelMembers.h"
#include "core/FormattingMarks.h"
#include "core/LineTable.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"

namespace core {

// What every handler of the joined channel asks of a line.
struct LineTable::Event
{
    const LineView &v;
    const QString &nick;  // ours
    const QString &chan;  // the current channel
    QStringView command;
    bool fromServer;
    bool own;   // our own lines reach the channel without their prefix
    bool here;  // the first parameter names the current channel
};

namespace {

const QString kSeparator = QStringLiteral("-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-");

// The first entry equal to the text letter case aside, only when it is exactly the text;
// -1 otherwise.
int exactEntry(const ChannelMembers &m, const QString &text)
{
    const int at = m.IndexOf(text);
    return at >= 0 && m.At(at) == text ? at : -1;
}

// Removes that entry. The user's pick in the list is left alone.
bool findAndRemove(ChannelMembers &m, const QString &text)
{
    const int at = exactEntry(m, text);
    if (at < 0) return false;
    m.RemoveAt(at);
    return true;
}

// A member's one entry: its place and its status character ("@", "+" or none).
struct Member
{
    int at = -1;
    QString status;
};

Member findMember(const ChannelMembers &m, const QString &nick)
{
    for (const QString &status : {QStringLiteral("@"), QStringLiteral("+"), QString()})
        if (const int at = exactEntry(m, status + nick); at >= 0) return {at, status};
    return {};
}

// Whether a channel mode letter takes a parameter: the member and list modes and the key
// always, the limit only when it is set.
bool takesParameter(QChar letter, bool adding)
{
    return QStringView(u"ovbeIkhqa").contains(letter) || (adding && letter == QLatin1Char('l'));
}

} // namespace

void LineTable::removeEveryForm(const QString &nick)
{
    findAndRemove(m_members, nick);
    findAndRemove(m_members, QLatin1Char('@') + nick);
    findAndRemove(m_members, QLatin1Char('+') + nick);
    findAndRemove(m_members, QLatin1Char('+') + nick + QLatin1Char(' '));
}

bool LineTable::applyMode(QChar sign, QChar letter, const QString &target, const QString &setter)
{
    const bool adding = sign == QLatin1Char('+');
    // A member keeps one entry: a status it already has, or lacks, changes nothing, and the
    // entry is replaced in place so that the user's pick stays on it.
    const Member m = findMember(m_members, target);
    const QString op = QStringLiteral("@"), voice = QStringLiteral("+");
    if (letter == QLatin1Char('o') && adding) {
        if (m.at < 0) m_members.Add(op + target);
        else if (m.status != op) m_members.Replace(m.at, op + target);
    } else if (letter == QLatin1Char('o')) {
        if (m.status == op) m_members.Replace(m.at, target);
    } else if (letter == QLatin1Char('v') && adding) {
        if (m.at >= 0 && m.status.isEmpty()) m_members.Replace(m.at, voice + target);
    } else if (letter == QLatin1Char('v')) {
        if (m.status == voice) m_members.Replace(m.at, target);
    } else if (letter != QLatin1Char('b')) {
        return false;
    }
    m_screen.ChannelLine(ChannelStyle::Event,
                         QStringLiteral("\x01 ") + setter + QStringLiteral(" sets mode: ") + sign + letter + QLatin1Char(' ') + target);
    return true;
}

void LineTable::channelEvents(const QString &line, const LineView &v, Arrival &a)
{
    const QStringView command = v.Command();
    const Event e{v,
                  m_session.Nick(),
                  m_session.CurrentChannel(),
                  command,
                  v.HasPrefix() && v.Prefix() == m_session.ServerName(),
                  !v.HasPrefix(),
                  SameChannel(v.Param(0), m_session.CurrentChannel())};

    whois(e, a);
    topicChange(e);
    namesRefill(e);
    if (kick(e) || part(e) || dccOffer(e) || quit(e) || modeChange(e)) return;
    join(e);
    nickChange(e);

    // End of the chain: a chat offer is shown as a message, a server line in the server pane.
    if (v.HasPrefix() && command == u"PRIVMSG") displayMessage(line, v);
    else if (e.fromServer) serverText(line);
}

// WHOIS replies; the 311 opens the block and names the user for its end.
void LineTable::whois(const Event &e, Arrival &a)
{
    if (!e.fromServer) return;
    if (e.command == u"311") {
        m_screen.ChannelLine(ChannelStyle::Rule, kSeparator);
        m_screen.PlaySound(QStringLiteral("whois.wav"));
        if (e.v.Count()) a.whoisText = WithoutMarks(e.v.Last().toString());
        m_screen.ChannelLine(ChannelStyle::Whois, QStringLiteral("\x01 User: ") + a.whoisText);
    } else if (e.command == u"319") {
        m_screen.ChannelLine(ChannelStyle::Whois, QStringLiteral("\x01 Channels: ") + WithoutMarks(e.v.Last().toString()));
    } else if (e.command == u"312") {
        m_screen.ChannelLine(ChannelStyle::Whois, QStringLiteral("\x01 Server: ") + WithoutMarks(e.v.Last().toString()));
    } else if (e.command == u"318") {
        m_screen.ChannelLine(ChannelStyle::Whois, QStringLiteral("\x01 End of Whois for ") + a.whoisText);
        m_screen.ChannelLine(ChannelStyle::Rule, kSeparator);
    }
}

// The caption names the channel and the new topic.
void LineTable::topicChange(const Event &e)
{
    if (e.command == u"TOPIC" && e.here && e.v.Count() >= 2)
        m_screen.ChannelCaption(e.chan + QStringLiteral(": ") + WithoutMarks(e.v.Last().toString()));
}

void LineTable::namesRefill(const Event &e)
{
    // The public names of the current channel from the server, however it spells the channel.
    const LineView &v = e.v;
    const bool ours = e.command == u"353" && e.fromServer && v.Param(0) == e.nick && v.Param(1) == u"=" &&
                      m_session.IsCurrentChannel(v.Param(2));
    if (!ours) {
        m_namesRunOpen = false;
        return;
    }
    // A names reply may span several lines: the list is emptied at the first of them only.
    if (!m_namesRunOpen) {
        m_screen.UseChannelWindow();
        m_members.Clear();
    }
    m_namesRunOpen = true;
    addNames(v.Last());
}

bool LineTable::kick(const Event &e)
{
    if (e.command != u"KICK" || !e.here || e.v.Count() < 2) return false;
    const QString victim = e.v.Param(1).toString();
    const QString reason = e.v.Count() >= 3 ? WithoutMarks(e.v.Last().toString()) : QString();
    const QString kicker = e.own ? e.nick : e.v.Nick().toString();
    if (victim == e.nick) {
        // The channel window goes, leaving the channel; the server pane tells why.
        const QString chan = e.chan;
        m_screen.CloseChannelWindow();
        m_screen.ServerLine(ServerStyle::Status, QStringLiteral("\x01 You were kicked out of ") + chan + QStringLiteral(" by ") +
                                                     kicker + QStringLiteral(". Reason: ") + reason);
        m_session.SetChannelState(ChannelState::None);
        return true;
    }
    // Someone else's kick: they are gone from the channel like after a part.
    m_screen.UseChannelWindow();
    removeEveryForm(victim);
    m_screen.ChannelLine(ChannelStyle::Event, QStringLiteral("\x01 ") + victim + QStringLiteral(" was kicked by ") + kicker +
                                                  QStringLiteral(" (") + reason + QLatin1Char(')'));
    return true;
}

bool LineTable::part(const Event &e)
{
    if (e.command != u"PART" || !e.here) return false;
    if (e.own) {
        m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Parted ") + e.chan);
        m_session.SetPartedCurrentChannel(true);
    } else {
        const QString who = e.v.Nick().toString();
        m_screen.UseChannelWindow();
        removeEveryForm(who);
        m_screen.ChannelLine(ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" has Left ") + e.chan);
    }
    return true;
}

// DCC offers are refused; a chat offer goes on to be shown as a message.
bool LineTable::dccOffer(const Event &e)
{
    const QStringView request = PrivateText(e.v, e.nick);
    const bool send = request.startsWith(u"\x01" "DCC SEND ");
    if (!send && !request.startsWith(u"\x01" "DCC CHAT ")) return false;
    const QString who = e.v.Nick().toString();
    if (IsPlainNick(who))
        m_session.SendReply(QStringLiteral("NOTICE ") + who + QStringLiteral(" :OrvelIRC is not a DCC compatible IRC client."));
    m_screen.ServerLine(ServerStyle::Offer, (send ? QStringLiteral("\x01 DCC Send from ") : QStringLiteral("\x01 DCC Chat from ")) + who);
    return send;
}

bool LineTable::quit(const Event &e)
{
    if (e.command != u"QUIT") return false;
    const QString who = e.v.Nick().toString();
    m_screen.UseChannelWindow();
    removeEveryForm(who);
    m_screen.ChannelLine(ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" Has Quit IRC (") +
                                                  WithoutMarks(e.v.Last().toString()) + QLatin1Char(')'));
    return true;
}

// Mode changes: each letter takes its own parameter, in order ("+ov-v a b c"). Our own mode
// lines have lost their prefix: we set them. The line ends when a member's status changed.
bool LineTable::modeChange(const Event &e)
{
    if (e.command != u"MODE" || !e.here) return false;
    const QString setter = e.own ? e.nick : e.v.Nick().toString();
    m_screen.UseChannelWindow();
    QChar sign = QLatin1Char('+');
    qsizetype next = 2;  // the parameter the next letter takes
    bool memberChanged = false;
    for (const QChar letter : e.v.Param(1)) {
        if (letter == QLatin1Char('+') || letter == QLatin1Char('-')) {
            sign = letter;
            continue;
        }
        if (!takesParameter(letter, sign == QLatin1Char('+'))) continue;
        const QString target = e.v.Param(next++).toString();
        if (target.isEmpty()) continue;
        if (applyMode(sign, letter, target, setter) && letter != QLatin1Char('b')) memberChanged = true;
    }
    return memberChanged;
}

void LineTable::join(const Event &e)
{
    if (e.command != u"JOIN" || !e.here) return;
    if (e.own) {
        m_screen.ShowChannelWindow();
        return;
    }
    const QString who = e.v.Nick().toString();
    m_screen.ChannelLine(ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" has joined ") + e.chan);
    m_members.Add(who);
}

void LineTable::nickChange(const Event &e)
{
    if (e.command != u"NICK" || !m_screen.ChannelWindowVisible()) return;
    const QString oldNick = e.v.Nick().toString();
    const QString newNick = e.v.Param(0).toString();
    if (oldNick.isEmpty() || !IsPlainNick(newNick)) return;
    // The entry keeps its status and, when picked, the user's pick.
    const Member m = findMember(m_members, oldNick);
    if (m.at >= 0) m_members.Replace(m.at, m.status + newNick);
    else m_members.Add(newNick);
    m_screen.ChannelLine(ChannelStyle::Event, QStringLiteral("\x01 ") + oldNick + QStringLiteral(" is now known as ") + newNick);
}

} // namespace core
