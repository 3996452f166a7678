// What the program answers on its own, in every channel state: the server's PING, the
// channel's "!time", the user's own mode, a nickname in use, the link closing, ERROR
// lines and the CTCP requests VERSION, PAGE, TIME and the WAKEUP call.
#include "core/Clock.h"
#include "core/FormattingMarks.h"
#include "core/LineTable.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "platform/TextCut.h"
#include <QTime>
#include <optional>

namespace core {

void LineTable::pingReply(const LineView &v)
{
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("PING? PONG!"));
    m_screen.PlaySound(QStringLiteral("ping.wav"));
    // The token goes back alone: servers that check it while registering want nothing else.
    const QString token = v.Last().toString();
    m_session.SendData(token.isEmpty() ? QStringLiteral("PONG ") + m_session.ServerName() : QStringLiteral("PONG :") + token);
    if (m_session.ChannelState() == ChannelState::Joined) m_session.SendData(QStringLiteral("NAMES ") + m_session.CurrentChannel());
}

void LineTable::clockReply(const LineView &v)
{
    if (!IsPlainNick(v.Nick())) return;
    m_session.SendReply(QStringLiteral("PRIVMSG ") + m_session.CurrentChannel() + QStringLiteral(" :\x03" "12<<Current time: \x03" "10") +
                        ClockText(QTime::currentTime()) + QStringLiteral("\x03" "12>> --== OrvelIRC 1.02 ==--"));
}

void LineTable::ownModeNotice(const LineView &cut)
{
    // Only our user mode: a channel mode we set is a channel event.
    if (cut.Param(0) != QStringView(m_session.Nick()) || cut.Count() < 2) return;
    QString mode;
    for (qsizetype i = 1; i < cut.Count(); ++i) {
        if (i > 1) mode += QLatin1Char(' ');
        mode += cut.Param(i);
    }
    m_screen.ServerLine(ServerStyle::Status, QStringLiteral("\x01 Your mode is now ") + mode);
}

void LineTable::ownNickChange(QStringView nick)
{
    if (!IsPlainNick(nick)) return;
    const QString &requested = m_session.RequestedNick();
    const bool asked = !requested.isEmpty() && nick.compare(requested, Qt::CaseInsensitive) == 0;
    if (asked) m_session.SetRequestedNick(QString());
    m_session.ChangeNick(nick.toString(), asked);
}

void LineTable::alternativeNickReply()
{
    const QString alt = m_session.Settings().AlternativeNick();
    // An alternative that is taken as well would be asked for again and again; an empty
    // one would leave no nick at all and wipe the stored one.
    if (alt == m_session.Nick() || alt.isEmpty()) return;
    m_session.SendData(QStringLiteral("NICK ") + alt);
    m_session.ChangeNick(alt, true);
    m_screen.ServerLine(ServerStyle::Status, QStringLiteral("\x01 Attempting to change your nick..."));
}

namespace {
// The text inside the "[...]" that ends the line, brackets inside it kept; nothing when
// the line does not end in "]" or its "[" is missing.
std::optional<QString> lastBracketed(const QString &line)
{
    if (!line.endsWith(QLatin1Char(']'))) return std::nullopt;
    int depth = 0;
    for (qsizetype i = line.size() - 1; i >= 0; --i) {
        if (line[i] == QLatin1Char(']')) ++depth;
        else if (line[i] == QLatin1Char('[') && --depth == 0) return line.mid(i + 1, line.size() - i - 2);
    }
    return std::nullopt;
}
} // namespace

void LineTable::closingLinkReply(const QString &line)
{
    // Servers give the reason last, in brackets ("[Killed (x (why))]") or in parentheses
    // that hold parentheses of their own ("(Killed (x (why)))"): all of it up to the last
    // ")". Without either, the text after "Closing Link:"; an opening parenthesis that is
    // never closed gives no reason.
    QString reason;
    const qsizetype open = line.indexOf(QLatin1Char('('));
    if (const std::optional<QString> bracketed = lastBracketed(line)) {
        reason = *bracketed;
    } else if (open >= 0) {
        const qsizetype close = line.lastIndexOf(QLatin1Char(')'));
        if (close > open) reason = line.mid(open + 1, close - open - 1);
    } else {
        reason = line.mid(QStringLiteral("ERROR :Closing Link:").size()).trimmed();
    }
    reason = WithoutMarks(reason);
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Quit IRC (") + reason + QStringLiteral(")"));
    m_screen.HideChannelWindow();
    m_session.SetChannelState(ChannelState::None);
    m_screen.PlaySound(QStringLiteral("quit.wav"));
}

void LineTable::versionReply(const LineView &v)
{
    const QString sender = v.Nick().toString();
    if (IsPlainNick(sender))
        m_session.SendReply(QStringLiteral("NOTICE ") + sender +
                            QStringLiteral(" :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"));
    m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 -> [") + sender + QStringLiteral("] VERSION"));
}

void LineTable::pageNotice(const LineView &v)
{
    m_screen.ServerLine(ServerStyle::Status, QStringLiteral("\x01 You are being paged by: ") + v.Nick().toString());
    m_screen.PlaySound(QStringLiteral("page.wav"));
}

void LineTable::timeReply(const LineView &v)
{
    const QString sender = v.Nick().toString();
    if (!IsPlainNick(sender)) return;
    m_session.SendReply(QStringLiteral("NOTICE ") + sender + QStringLiteral(" :OrvelIRC CTCP Time Reply: ") +
                        QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void LineTable::wakeupSound() { m_screen.PlaySound(QStringLiteral("wakeup.wav")); }

void LineTable::errorNotice(const QString &line)
{
    const int open = cut::InStr(line, QStringLiteral("("));
    if (open > 0) m_screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 ERROR ") + WithoutMarks(line.mid(open - 1)));
    m_screen.PlaySound(QStringLiteral("error.wav"));
}

void LineTable::pingCodeReply(const QString &line)
{
    // Without a "PONG" in the line there is nothing to send back.
    const int at = cut::InStr(line, QStringLiteral("PONG"));
    if (at > 0) m_session.SendData(line.mid(at - 1));
}

} // namespace core
