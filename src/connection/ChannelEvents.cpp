// What happens in the joined channel: whois replies, topic changes, kicks, parts, DCC
// refusals, quits, mode changes, joins and nick changes. Each test looks for a literal
// in the raw line; a line may meet several of them, in this order.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include <QMdiSubWindow>
#include <functional>

namespace {

const QString kSeparator = QStringLiteral("-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-");

// The text between the line's first ":" and the first "!" after it; "" when no "!" follows.
QString senderOf(const QString &line)
{
    const int p1 = cut::InStr(line, QStringLiteral(":"));
    const int p2 = cut::InStr(line, QStringLiteral("!"), p1 + 1);
    if (p2 == 0) return QString();
    return line.mid(p1, p2 - p1 - 1);
}

// The text after the first ":" from the line's second character on; fails without one.
std::optional<QString> trailingOf(const QString &line)
{
    const int p = cut::InStr(line, QStringLiteral(":"), 2);
    if (p == 0) return std::nullopt;
    return cut::Mid(line, p + 1);
}

// The line without its ":prefix " when it has one: what the sender asked the server to do.
QString commandPart(const QString &line)
{
    if (!line.startsWith(QLatin1Char(':'))) return line;
    const qsizetype b = line.indexOf(QLatin1Char(' '));
    return b < 0 ? QString() : line.mid(b + 1);
}

// Select by text (letter case aside), then remove only an exact match.
bool findAndRemove(frmChan &c, const QString &text)
{
    c.Namelist->SelectByText(text);
    const int at = c.Namelist->SelectedIndex();
    if (at < 0 || c.Namelist->SelectedText() != text) return false;
    c.Namelist->RemoveAt(at);
    return true;
}

void removeEveryForm(frmChan &c, const QString &nick)
{
    findAndRemove(c, nick);
    findAndRemove(c, QLatin1Char('@') + nick);
    findAndRemove(c, QLatin1Char('+') + nick);
    findAndRemove(c, QLatin1Char('+') + nick + QLatin1Char(' '));
}

bool channelWindowVisible()
{
    frmChan *c = loaded<frmChan>();
    return c && c->SubWindow() && !c->SubWindow()->isHidden();
}

} // namespace

bool frmOrvelIRC::StateTwoChain(QString &line, Arrival &a)
{
    const QString &nick = IrcData::CurrentNick;
    const QString chan = CurrentChannel;
    const QString fromServer = QLatin1Char(':') + IrcData::ServerName;
    const QString modeOn = QStringLiteral("MODE ") + chan;

    // WHOIS replies; the 311 opens the block and names the user for its end.
    if (line.startsWith(fromServer + QStringLiteral(" 311"))) {
        form<frmChan>().Addtext3(kSeparator);
        Main().PlaySnd(QStringLiteral("whois.wav"));
        cut::Set(a.whoisText, trailingOf(line));
        form<frmChan>().Addtext4(QStringLiteral("\x01 User: ") + a.whoisText);
    }
    if (line.startsWith(fromServer + QStringLiteral(" 319"))) {
        QString text;
        cut::Set(text, trailingOf(line));
        form<frmChan>().Addtext4(QStringLiteral("\x01 Channels: ") + text);
    }
    if (line.startsWith(fromServer + QStringLiteral(" 312"))) {
        QString text;
        cut::Set(text, trailingOf(line));
        form<frmChan>().Addtext4(QStringLiteral("\x01 Server: ") + text);
    }
    if (line.startsWith(fromServer + QStringLiteral(" 318"))) {
        form<frmChan>().Addtext4(QStringLiteral("\x01 End of Whois for ") + a.whoisText);
        form<frmChan>().Addtext3(kSeparator);
    }

    // Topic change: the caption names the channel and the new topic.
    if (line.contains(QStringLiteral("TOPIC ") + chan + QStringLiteral(" :"))) {
        QString topic;
        if (cut::Set(topic, cut::Mid(line, cut::InStr(line, chan) + int(chan.size()) + 2)))
            form<frmChan>().setCaption(chan + QStringLiteral(": ") + topic);
    }

    NamesRefill(line, a);

    // A kick: only a KICK command counts, so a quit reason or notice that merely quotes
    // one cannot throw us out of the channel.
    const QString command = commandPart(line);
    if (command.startsWith(QStringLiteral("KICK ") + chan + QLatin1Char(' ')) && !chan.isEmpty()) {
        QString reason;
        cut::Set(reason, trailingOf(line));
        // Our own kicks have lost their prefix: we are the kicker.
        const QString kicker = line == command ? nick : senderOf(line);
        const QString ownKick = QStringLiteral("KICK ") + chan + QLatin1Char(' ') + nick;
        if (command == ownKick || command.startsWith(ownKick + QStringLiteral(" :"))) {
            if (frmChan *c = loaded<frmChan>()) c->Unload();
            Addtext(QStringLiteral("\x01 You were kicked out of ") + chan + QStringLiteral(" by ") + kicker +
                    QStringLiteral(". Reason: ") + reason);
            ChannelState = 0;
            return true;
        }
        // Someone else's kick: they are gone from the channel like after a part.
        const QString rest = command.mid(5 + chan.size() + 1);
        const QString victim = cut::FirstWord(rest);
        if (!victim.isEmpty() && !victim.startsWith(QLatin1Char(':'))) {
            frmChan &c = form<frmChan>();
            removeEveryForm(c, victim);
            c.Addtext2(QStringLiteral("\x01 ") + victim + QStringLiteral(" was kicked by ") + kicker +
                       QStringLiteral(" (") + reason + QLatin1Char(')'));
            return true;
        }
    }

    if (line.contains(QStringLiteral("PART ") + chan)) {
        // Our own part echo has lost its prefix: it begins with the PART itself.
        if (line == QStringLiteral("PART ") + chan || cut::FirstWord(line) == QLatin1String("PART")) {
            Addtext2(QStringLiteral("\x01 Parted ") + chan);
        } else {
            const QString who = senderOf(line);
            frmChan &c = form<frmChan>();
            removeEveryForm(c, who);
            c.Addtext2(QStringLiteral("\x01 ") + who + QStringLiteral(" has Left ") + chan);
        }
        return true;
    }

    if (line.contains(QStringLiteral("PRIVMSG ") + nick + QStringLiteral(" :\x01" "DCC SEND "))) {
        const QString who = senderOf(line);
        SendReply(QStringLiteral("NOTICE ") + who + QStringLiteral(" :OrvelIRC is not a DCC compatible IRC client."));
        Addtext5(QStringLiteral("\x01 DCC Send from ") + who);
        return true;
    }
    if (line.contains(QStringLiteral("PRIVMSG ") + nick + QStringLiteral(" :\x01" "DCC CHAT "))) {
        const QString who = senderOf(line);
        SendReply(QStringLiteral("NOTICE ") + who + QStringLiteral(" :OrvelIRC is not a DCC compatible IRC client."));
        Addtext5(QStringLiteral("\x01 DCC Chat from ") + who);
    }

    if (line.contains(QStringLiteral("QUIT :"))) {
        const QString who = senderOf(line);
        QString reason;
        cut::Set(reason, cut::Mid(line, cut::InStr(line, QStringLiteral("QUIT :")) + 6));
        frmChan &c = form<frmChan>();
        removeEveryForm(c, who);
        c.Addtext2(QStringLiteral("\x01 ") + who + QStringLiteral(" Has Quit IRC (") + reason + QLatin1Char(')'));
        return true;
    }

    // Mode changes: the first mode letter pair after the channel decides; the target is
    // the text after it. Our own mode lines have lost their prefix: we set them.
    auto modeChange = [&](const QString &m, const std::function<void(frmChan &, const QString &)> &change) {
        QString setter = senderOf(line);
        if (setter.isEmpty() && cut::FirstWord(line) == QLatin1String("MODE")) setter = nick;
        // The letter pair is looked for where the step found it, after the channel: a
        // host such as "dsl-bob.example" also holds "-b".
        const QString found = modeOn + QLatin1Char(' ') + m;
        QString target;
        cut::Set(target, cut::Mid(line, cut::InStr(line, found) + int(found.size()) + 1));
        if (target.endsWith(QLatin1Char(' '))) target.chop(1);
        frmChan &c = form<frmChan>();
        change(c, target);
        c.Addtext2(QStringLiteral("\x01 ") + setter + QStringLiteral(" sets mode: ") + m + QLatin1Char(' ') + target);
    };
    if (line.contains(modeOn + QStringLiteral(" -o"))) {
        modeChange(QStringLiteral("-o"), [](frmChan &c, const QString &t) {
            if (findAndRemove(c, QLatin1Char('@') + t)) c.Namelist->AddItem(t);
        });
        return true;
    }
    if (line.contains(modeOn + QStringLiteral(" +b")))
        modeChange(QStringLiteral("+b"), [](frmChan &, const QString &) {});
    if (line.contains(modeOn + QStringLiteral(" -b")))
        modeChange(QStringLiteral("-b"), [](frmChan &, const QString &) {});
    if (line.contains(modeOn + QStringLiteral(" +v"))) {
        modeChange(QStringLiteral("+v"), [](frmChan &c, const QString &t) {
            if (findAndRemove(c, t)) c.Namelist->AddItem(QLatin1Char('+') + t);
        });
        return true;
    }
    if (line.contains(modeOn + QStringLiteral(" -v"))) {
        modeChange(QStringLiteral("-v"), [](frmChan &c, const QString &t) {
            if (findAndRemove(c, QLatin1Char('+') + t)) c.Namelist->AddItem(t);
        });
        return true;
    }

    if (line.contains(QStringLiteral("JOIN :") + chan)) {
        if (cut::FirstWord(line) == QLatin1String("JOIN")) {
            form<frmChan>().ShowForm();
        } else {
            const QString who = senderOf(line);
            frmChan &c = form<frmChan>();
            c.Addtext2(QStringLiteral("\x01 ") + who + QStringLiteral(" has joined ") + chan);
            c.Namelist->AddItem(who);
        }
    }

    if (line.contains(modeOn + QStringLiteral(" +o"))) {
        modeChange(QStringLiteral("+o"), [](frmChan &c, const QString &t) {
            findAndRemove(c, t);
            findAndRemove(c, QLatin1Char('+') + t);
            c.Namelist->AddItem(QLatin1Char('@') + t);
        });
        return true;
    }

    if (line.contains(QStringLiteral("NICK :"))) {
        const QString oldNick = senderOf(line);
        QString newNick;
        cut::Set(newNick, cut::Mid(line, cut::InStr(line, QStringLiteral("NICK :")) + 6));
        if (channelWindowVisible()) {
            frmChan &c = form<frmChan>();
            QString status;
            if (findAndRemove(c, QLatin1Char('+') + oldNick)) status = QStringLiteral("+");
            if (findAndRemove(c, QLatin1Char('@') + oldNick)) status = QStringLiteral("@");
            findAndRemove(c, oldNick);
            c.Namelist->AddItem(status + newNick);
            c.Addtext2(QStringLiteral("\x01 ") + oldNick + QStringLiteral(" is now known as ") + newNick);
        }
    }

    // End of the chain: a chat offer is shown as a message, a server line in the server pane.
    if (cut::AfterFirstBlank(line, 7) == QLatin1String("PRIVMSG")) {
        DisplayMessage(line, a);
        return true;
    }
    if (line.startsWith(fromServer)) {
        ServerText(line);
        return true;
    }
    return false;
}
