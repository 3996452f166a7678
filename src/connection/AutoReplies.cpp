// What the program answers on its own, in every channel state: the server's PING, the
// channel's "!time", the user's own mode, a nickname in use, the link closing, ERROR
// lines and the CTCP requests VERSION, PAGE, TIME and the WAKEUP call.
#include "connection/frmOrvelIRC.h"
#include "core/FormattingMarks.h"
#include "core/LineView.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "settings/SettingsFile.h"
#include <QLabel>
#include <QTime>

void frmOrvelIRC::PingReply(const LineView &v)
{
    core::Session &ss = session();
    core::Screen &screen = ss.Display();
    screen.ServerLine(core::ServerStyle::Progress, QStringLiteral("PING? PONG!"));
    screen.PlaySound(QStringLiteral("ping.wav"));
    // The token goes back alone: servers that check it while registering want nothing else.
    const QString token = v.Last().toString();
    ss.SendData(token.isEmpty() ? QStringLiteral("PONG ") + ss.ServerName() : QStringLiteral("PONG :") + token);
    if (ss.ChannelState() == core::ChannelState::Joined) ss.SendData(QStringLiteral("NAMES ") + ss.CurrentChannel());
}

void frmOrvelIRC::ClockReply(const LineView &v)
{
    if (!IsPlainNick(v.Nick())) return;
    session().SendReply(QStringLiteral("PRIVMSG ") + session().CurrentChannel() +
                        QStringLiteral(" :\x03" "12<<Current time: \x03" "10") + Main().Label22->text() +
                        QStringLiteral("\x03" "12>> --== OrvelIRC 1.02 ==--"));
}

void frmOrvelIRC::OwnModeNotice(const LineView &cut)
{
    // Only our user mode: a channel mode we set is a channel event.
    if (cut.Param(0) != QStringView(session().Nick()) || cut.Count() < 2) return;
    QString mode;
    for (qsizetype i = 1; i < cut.Count(); ++i) {
        if (i > 1) mode += QLatin1Char(' ');
        mode += cut.Param(i);
    }
    session().Display().ServerLine(core::ServerStyle::Status, QStringLiteral("\x01 Your mode is now ") + mode);
}

void frmOrvelIRC::OwnNickChange(QStringView nick)
{
    if (!IsPlainNick(nick)) return;
    core::Session &ss = session();
    const bool asked = !ss.RequestedNick().isEmpty() && nick.compare(ss.RequestedNick(), Qt::CaseInsensitive) == 0;
    if (asked) ss.SetRequestedNick(QString());
    ss.ChangeNick(nick.toString(), asked);
}

void frmOrvelIRC::AlternativeNickReply()
{
    const QString alt = txtAlternativeNickname.Text;
    // An alternative that is taken as well would be asked for again and again; an empty
    // one would leave no nick at all and wipe the stored one.
    core::Session &ss = session();
    if (alt == ss.Nick() || alt.isEmpty()) return;
    ss.SendData(QStringLiteral("NICK ") + alt);
    ss.ChangeNick(alt, true);
    ss.Display().ServerLine(core::ServerStyle::Status, QStringLiteral("\x01 Attempting to change your nick..."));
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

void frmOrvelIRC::ClosingLinkReply(const QString &line)
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
    core::Session &ss = session();
    core::Screen &screen = ss.Display();
    screen.ServerLine(core::ServerStyle::Progress, QStringLiteral("\x01 Quit IRC (") + reason + QStringLiteral(")"));
    screen.HideChannelWindow();
    ss.SetChannelState(core::ChannelState::None);
    screen.PlaySound(QStringLiteral("quit.wav"));
}

void frmOrvelIRC::VersionReply(const LineView &v)
{
    const QString sender = v.Nick().toString();
    if (IsPlainNick(sender))
        session().SendReply(QStringLiteral("NOTICE ") + sender +
                  QStringLiteral(" :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"));
    session().Display().ServerLine(core::ServerStyle::Progress, QStringLiteral("\x01 -> [") + sender + QStringLiteral("] VERSION"));
}

void frmOrvelIRC::PageNotice(const LineView &v)
{
    core::Screen &screen = session().Display();
    screen.ServerLine(core::ServerStyle::Status, QStringLiteral("\x01 You are being paged by: ") + v.Nick().toString());
    screen.PlaySound(QStringLiteral("page.wav"));
}

void frmOrvelIRC::TimeReply(const LineView &v)
{
    const QString sender = v.Nick().toString();
    if (!IsPlainNick(sender)) return;
    session().SendReply(QStringLiteral("NOTICE ") + sender + QStringLiteral(" :OrvelIRC CTCP Time Reply: ") +
              QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void frmOrvelIRC::WakeupSound() { session().Display().PlaySound(QStringLiteral("wakeup.wav")); }

void frmOrvelIRC::ErrorNotice(const QString &line)
{
    const int open = cut::InStr(line, QStringLiteral("("));
    core::Screen &screen = session().Display();
    if (open > 0) screen.ServerLine(core::ServerStyle::Progress, QStringLiteral("\x01 ERROR ") + WithoutMarks(line.mid(open - 1)));
    screen.PlaySound(QStringLiteral("error.wav"));
}

void frmOrvelIRC::PingCodeReply(const QString &line)
{
    // Without a "PONG" in the line there is nothing to send back.
    const int at = cut::InStr(line, QStringLiteral("PONG"));
    if (at > 0) session().SendData(line.mid(at - 1));
}
