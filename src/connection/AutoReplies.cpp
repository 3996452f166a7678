// What the program answers on its own, in every channel state: the server's PING, the
// channel's "!time", the user's own mode, a nickname in use, the link closing, ERROR
// lines and the CTCP requests VERSION, PAGE, TIME and the WAKEUP call.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
#include "settings/IrcData.h"
#include "settings/SettingsFile.h"
#include <QLabel>
#include <QTime>

QString frmOrvelIRC::SenderOf(const QString &line)
{
    // A line without "!" after its first colon names no sender.
    const int p1 = cut::InStr(line, QStringLiteral(":"));
    const std::optional<QString> rest = cut::Mid(line, p1 + 1);
    if (!rest) return QString();
    const int p2 = cut::InStr(*rest, QStringLiteral("!"));
    if (p2 == 0) return QString();
    return cut::Mid(line, p1 + 1, p2 - 1).value_or(QString());
}

void frmOrvelIRC::SendReply(const QString &line)
{
    for (const QChar c : line)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0)) return;
    SendData(line);
}

void frmOrvelIRC::PingReply(const QString &line)
{
    Addtext2(QStringLiteral("PING? PONG!"));
    Main().PlaySnd(QStringLiteral("ping.wav"));
    // Servers that check the token while registering need it back.
    const QString token = line.mid(6);
    SendData(QStringLiteral("PONG ") + IrcData::ServerName + QStringLiteral(" :") + token);
    if (ChannelState == 2) SendData(QStringLiteral("NAMES ") + CurrentChannel);
}

void frmOrvelIRC::ClockReply(const QString &line, Arrival &a)
{
    a.sender = SenderOf(line);
    SendData(QStringLiteral("PRIVMSG ") + CurrentChannel + QStringLiteral(" :\x03" "12<<Current time: \x03" "10") +
             Main().Label22->text() + QStringLiteral("\x03" "12>> --== OrvelIRC 1.02 ==--"));
}

void frmOrvelIRC::OwnModeNotice(const QString &cutLine)
{
    QString mode = cutLine;
    const int colon = cut::InStr(cutLine, QStringLiteral(":"));
    if (colon > 0) cut::Set(mode, cut::Mid(cutLine, colon + 1));
    Addtext(QStringLiteral("\x01 Your mode is now ") + mode);
}

void frmOrvelIRC::AlternativeNickReply()
{
    const QString alt = txtAlternativeNickname.Text;
    // An alternative that is taken as well would be asked for again and again; an empty
    // one would leave no nick at all and wipe the stored one.
    if (alt == IrcData::CurrentNick || alt.isEmpty()) return;
    SendData(QStringLiteral("NICK ") + alt);
    txtNick.Text = alt;
    IrcData::CurrentNick = alt;
    settings::Write(QStringLiteral("nick.msg"), alt);
    setCaption(IrcData::CurrentNick + QStringLiteral(" on ") + IrcData::ServerName);
    Addtext(QStringLiteral("\x01 Attempting to change your nick..."));
}

void frmOrvelIRC::ClosingLinkReply(const QString &line)
{
    // The reason is what the server put in parentheses; without any, the text after
    // "Closing Link:". An opening one that is never closed gives no reason.
    QString reason;
    const int open = cut::InStr(line, QStringLiteral("("));
    if (open > 0) {
        const int close = cut::InStr(line, QStringLiteral(")"), open + 1);
        cut::Set(reason, cut::Mid(line, open + 1, close - open - 1));
    } else {
        reason = line.mid(QStringLiteral("ERROR :Closing Link:").size()).trimmed();
    }
    Addtext2(QStringLiteral("\x01 Quit IRC (") + reason + QStringLiteral(")"));
    HideChannelWindow();
    ChannelState = 0;
    Main().PlaySnd(QStringLiteral("quit.wav"));
}

void frmOrvelIRC::VersionReply(const QString &line, Arrival &a)
{
    a.sender = SenderOf(line);
    SendReply(QStringLiteral("NOTICE ") + a.sender +
              QStringLiteral(" :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"));
    Addtext2(QStringLiteral("\x01 -> [") + a.sender + QStringLiteral("] VERSION"));
}

void frmOrvelIRC::PageNotice(const QString &line, Arrival &a)
{
    a.sender = SenderOf(line);
    Addtext(QStringLiteral("\x01 You are being paged by: ") + a.sender);
    Main().PlaySnd(QStringLiteral("page.wav"));
}

void frmOrvelIRC::TimeReply(const QString &line, Arrival &a)
{
    a.sender = SenderOf(line);
    SendReply(QStringLiteral("NOTICE ") + a.sender + QStringLiteral(" :OrvelIRC CTCP Time Reply: ") +
              QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void frmOrvelIRC::WakeupSound() { Main().PlaySnd(QStringLiteral("wakeup.wav")); }

void frmOrvelIRC::ErrorNotice(const QString &line)
{
    const int open = cut::InStr(line, QStringLiteral("("));
    if (open > 0) Addtext2(QStringLiteral("\x01 ERROR ") + line.mid(open - 1));
    Main().PlaySnd(QStringLiteral("error.wav"));
}

void frmOrvelIRC::PingCodeReply(const QString &line)
{
    // Without a "PONG" in the line there is nothing to send back.
    const int at = cut::InStr(line, QStringLiteral("PONG"));
    if (at > 0) SendData(line.mid(at - 1));
}
