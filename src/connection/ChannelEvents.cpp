// What happens in the joined channel: whois replies, topic changes, kicks, parts, DCC
// refusals, quits, mode changes, joins and nick changes. Each event is known by the
// line's own command word and parameters; a line may meet several tests, in this order.
#include "core/FormattingMarks.h"
#include "core/LineView.h"
#include "connection/frmOrvelIRC.h"
#include "core/Session.h"
#include "core/Screen.h"
#include "frame/frmOrvelMain.h"
#include "windows/frmChan.h"
#include <QMdiSubWindow>

namespace {

const QString kSeparator = QStringLiteral("-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-");

// The first entry equal to the text letter case aside, only when it is exactly the text;
// -1 otherwise.
int exactEntry(frmChan &c, const QString &text)
{
    const int at = c.Namelist->IndexOf(text);
    return at >= 0 && c.Namelist->ItemText(at) == text ? at : -1;
}

// Removes that entry. The user's pick in the list is left alone.
bool findAndRemove(frmChan &c, const QString &text)
{
    const int at = exactEntry(c, text);
    if (at < 0) return false;
    c.Namelist->RemoveAt(at);
    return true;
}

// A member's one entry: its place and its status character ("@", "+" or none).
struct Member
{
    int at = -1;
    QString status;
};

Member findMember(frmChan &c, const QString &nick)
{
    for (const QString &status : {QStringLiteral("@"), QStringLiteral("+"), QString()})
        if (const int at = exactEntry(c, status + nick); at >= 0) return {at, status};
    return {};
}

void removeEveryForm(frmChan &c, const QString &nick)
{
    findAndRemove(c, nick);
    findAndRemove(c, QLatin1Char('@') + nick);
    findAndRemove(c, QLatin1Char('+') + nick);
    findAndRemove(c, QLatin1Char('+') + nick + QLatin1Char(' '));
}

// Whether a channel mode letter takes a parameter: the member and list modes and the key
// always, the limit only when it is set.
bool takesParameter(QChar letter, bool adding)
{
    return QStringView(u"ovbeIkhqa").contains(letter) || (adding && letter == QLatin1Char('l'));
}

// One change of a member's operator or voice status, or of a ban, shown and kept in the
// list; false for letters the channel window does not follow.
bool applyMode(frmChan &c, core::Screen &screen, QChar sign, QChar letter, const QString &target, const QString &setter)
{
    const bool adding = sign == QLatin1Char('+');
    // A member keeps one entry: a status it already has, or lacks, changes nothing, and the
    // entry is replaced in place so that the user's pick stays on it.
    const Member m = findMember(c, target);
    const QString op = QStringLiteral("@"), voice = QStringLiteral("+");
    if (letter == QLatin1Char('o') && adding) {
        if (m.at < 0) c.Namelist->AddItem(op + target);
        else if (m.status != op) c.Namelist->Replace(m.at, op + target);
    } else if (letter == QLatin1Char('o')) {
        if (m.status == op) c.Namelist->Replace(m.at, target);
    } else if (letter == QLatin1Char('v') && adding) {
        if (m.at >= 0 && m.status.isEmpty()) c.Namelist->Replace(m.at, voice + target);
    } else if (letter == QLatin1Char('v')) {
        if (m.status == voice) c.Namelist->Replace(m.at, target);
    } else if (letter != QLatin1Char('b')) {
        return false;
    }
    screen.ChannelLine(core::ChannelStyle::Event,
                       QStringLiteral("\x01 ") + setter + QStringLiteral(" sets mode: ") + sign + letter + QLatin1Char(' ') + target);
    return true;
}

} // namespace

bool frmOrvelIRC::StateTwoChain(QString &line, const LineView &v, Arrival &a)
{
    core::Session &ss = session();
    core::Screen &screen = ss.Display();
    const QString &nick = ss.Nick();
    const QString &chan = ss.CurrentChannel();
    const QStringView command = v.Command();
    const bool fromServer = v.HasPrefix() && v.Prefix() == ss.ServerName();
    // Lines of our own reach the chain without their prefix.
    const bool own = !v.HasPrefix();
    const bool here = SameChannel(v.Param(0), chan);

    // WHOIS replies; the 311 opens the block and names the user for its end.
    if (fromServer && command == u"311") {
        screen.ChannelLine(core::ChannelStyle::Rule, kSeparator);
        screen.PlaySound(QStringLiteral("whois.wav"));
        if (v.Count()) a.whoisText = WithoutMarks(v.Last().toString());
        screen.ChannelLine(core::ChannelStyle::Whois, QStringLiteral("\x01 User: ") + a.whoisText);
    } else if (fromServer && command == u"319") {
        screen.ChannelLine(core::ChannelStyle::Whois, QStringLiteral("\x01 Channels: ") + WithoutMarks(v.Last().toString()));
    } else if (fromServer && command == u"312") {
        screen.ChannelLine(core::ChannelStyle::Whois, QStringLiteral("\x01 Server: ") + WithoutMarks(v.Last().toString()));
    } else if (fromServer && command == u"318") {
        screen.ChannelLine(core::ChannelStyle::Whois, QStringLiteral("\x01 End of Whois for ") + a.whoisText);
        screen.ChannelLine(core::ChannelStyle::Rule, kSeparator);
    }

    // Topic change: the caption names the channel and the new topic.
    if (command == u"TOPIC" && here && v.Count() >= 2)
        screen.ChannelCaption(chan + QStringLiteral(": ") + WithoutMarks(v.Last().toString()));

    NamesRefill(v);

    if (command == u"KICK" && here && v.Count() >= 2) {
        const QString victim = v.Param(1).toString();
        const QString reason = v.Count() >= 3 ? WithoutMarks(v.Last().toString()) : QString();
        const QString kicker = own ? nick : v.Nick().toString();
        if (victim == nick) {
            screen.CloseChannelWindow();
            screen.ServerLine(core::ServerStyle::Status, QStringLiteral("\x01 You were kicked out of ") + chan +
                                                             QStringLiteral(" by ") + kicker + QStringLiteral(". Reason: ") + reason);
            ss.SetChannelState(core::ChannelState::None);
            return true;
        }
        // Someone else's kick: they are gone from the channel like after a part.
        frmChan &c = form<frmChan>();
        removeEveryForm(c, victim);
        screen.ChannelLine(core::ChannelStyle::Event, QStringLiteral("\x01 ") + victim + QStringLiteral(" was kicked by ") +
                                                          kicker + QStringLiteral(" (") + reason + QLatin1Char(')'));
        return true;
    }

    if (command == u"PART" && here) {
        if (own) {
            screen.ServerLine(core::ServerStyle::Progress, QStringLiteral("\x01 Parted ") + chan);
            ss.SetPartedCurrentChannel(true);
        } else {
            const QString who = v.Nick().toString();
            frmChan &c = form<frmChan>();
            removeEveryForm(c, who);
            screen.ChannelLine(core::ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" has Left ") + chan);
        }
        return true;
    }

    const QStringView request = PrivateText(v, nick);
    const bool dccSend = IsDccSend(request);
    if (IsDccOffer(request)) {
        const QString who = v.Nick().toString();
        if (IsPlainNick(who))
            ss.SendReply(QStringLiteral("NOTICE ") + who + QStringLiteral(" :OrvelIRC is not a DCC compatible IRC client."));
        screen.ServerLine(core::ServerStyle::Offer,
                          (dccSend ? QStringLiteral("\x01 DCC Send from ") : QStringLiteral("\x01 DCC Chat from ")) + who);
        if (dccSend) return true;
    }

    if (command == u"QUIT") {
        const QString who = v.Nick().toString();
        frmChan &c = form<frmChan>();
        removeEveryForm(c, who);
        screen.ChannelLine(core::ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" Has Quit IRC (") +
                                                          WithoutMarks(v.Last().toString()) + QLatin1Char(')'));
        return true;
    }

    // Mode changes: each letter takes its own parameter, in order ("+ov-v a b c"). Our
    // own mode lines have lost their prefix: we set them.
    if (command == u"MODE" && here) {
        const QString setter = own ? nick : v.Nick().toString();
        frmChan &c = form<frmChan>();
        QChar sign = QLatin1Char('+');
        qsizetype next = 2;  // the parameter the next letter takes
        bool memberChanged = false;
        for (const QChar letter : v.Param(1)) {
            if (letter == QLatin1Char('+') || letter == QLatin1Char('-')) {
                sign = letter;
                continue;
            }
            if (!takesParameter(letter, sign == QLatin1Char('+'))) continue;
            const QString target = v.Param(next++).toString();
            if (target.isEmpty()) continue;
            if (applyMode(c, screen, sign, letter, target, setter) && letter != QLatin1Char('b')) memberChanged = true;
        }
        if (memberChanged) return true;
    }

    if (command == u"JOIN" && here) {
        if (own) {
            screen.ShowChannelWindow();
        } else {
            const QString who = v.Nick().toString();
            frmChan &c = form<frmChan>();
            screen.ChannelLine(core::ChannelStyle::Event, QStringLiteral("\x01 ") + who + QStringLiteral(" has joined ") + chan);
            c.Namelist->AddItem(who);
        }
    }

    if (command == u"NICK" && screen.ChannelWindowVisible()) {
        const QString oldNick = v.Nick().toString();
        const QString newNick = v.Param(0).toString();
        if (!oldNick.isEmpty() && IsPlainNick(newNick)) {
            frmChan &c = form<frmChan>();
            // The entry keeps its status and, when picked, the user's pick.
            const Member m = findMember(c, oldNick);
            if (m.at >= 0) c.Namelist->Replace(m.at, m.status + newNick);
            else c.Namelist->AddItem(newNick);
            screen.ChannelLine(core::ChannelStyle::Event, QStringLiteral("\x01 ") + oldNick + QStringLiteral(" is now known as ") + newNick);
        }
    }

    // End of the chain: a chat offer is shown as a message, a server line in the server pane.
    if (v.HasPrefix() && command == u"PRIVMSG") {
        DisplayMessage(line, a);
        return true;
    }
    if (fromServer) {
        ServerText(line);
        return true;
    }
    return false;
}
