// Received channel and private messages, the join replies and the nick list fill.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include "windows/frmOrvelChat.h"
#include <QLabel>
#include <QLineEdit>

namespace {
using cut::InStr;
using cut::Mid;

// ":nick!user@host ..." -> "nick"; nothing when the line has no "!".
std::optional<QString> labelNick(const QString &line) { return Mid(line, 2, InStr(line, QStringLiteral("!")) - 2); }

// The characters between the first ":" and the first "!" after it; "" without such a "!".
QString senderOf(const QString &line)
{
    const int p1 = InStr(line, QStringLiteral(":"));
    const QString after = *Mid(line, p1 + 1);
    const int p2 = InStr(after, QStringLiteral("!"));
    return Mid(line, p1 + 1, p2 - 1).value_or(QString());
}

// Names text -> entries: each blank ends one entry, so two blanks in a row give an empty
// entry and a trailing blank gives none. Walks the text once: a long names line from the
// server must not cost a copy of its rest per name.
void addNames(const QString &names)
{
    NickList *list = form<frmChan>().Namelist;
    qsizetype from = 0;
    while (from < names.size()) {
        const qsizetype blank = names.indexOf(QLatin1Char(' '), from);
        if (blank < 0) {
            list->AddItem(names.mid(from));
            return;
        }
        list->AddItem(names.mid(from, blank - from));
        from = blank + 1;
    }
}

struct Colour
{
    const char *digits;
    int palette;  // -1: the one colour outside the palette
};
const Colour kTwoCharacter[] = {{"0", 15}, {"2", 1}, {"3", 2}, {"4", 12}, {"5", 4},
                                {"6", 5},  {"7", 6}, {"8", 14}, {"9", 10}};
const Colour kThreeCharacter[] = {{"10", 8}, {"11", 6}, {"12", 9}, {"13", -1}, {"14", 2}, {"15", 7}};

void setColour(RichPane *pane, int palette)
{
    if (palette < 0) pane->SetSelColorRgb(QColor(192, 0, 192));
    else pane->SetSelColor(palette);
}
} // namespace

void frmOrvelIRC::DisplayMessage(QString &line, Arrival &a)
{
    const QString targetPart = Mid(line, InStr(line, QStringLiteral(" ")) + 9).value_or(QString());
    QString target;
    cut::Set(target, cut::Left(targetPart, InStr(targetPart, QStringLiteral(" ")) - 1));
    const QString text = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 1);
    const std::optional<QString> nick = labelNick(line);

    if (target.toLower() == IrcData::CurrentNick.toLower()) {
        const bool wasOpen = loaded<frmOrvelChat>() != nullptr;
        const QString sender = senderOf(line);
        QPointer<frmOrvelChat> chat = &form<frmOrvelChat>();
        chat->txtUser->setText(sender);
        chat->Label1->setText(QStringLiteral("Private Chat with ") + sender);
        if (!wasOpen) {
            chat->ShowForm();
            chat->txtIncoming->SetSelColor(1);
            chat->txtIncoming->SetSelText(QStringLiteral("\x01 Now chatting with ") + chat->txtUser->text());
        }
        const QString message = QLatin1Char('<') + nick.value_or(QString()) + QStringLiteral("> ") + text;
        Main().ApplyFontHolders(chat->txtIncoming, nullptr);
        chat->txtIncoming->SetSelColor(1);
        chat->txtIncoming->SetSelText(QStringLiteral("\r\n") + message);
        chat->txtIncoming->SetSelColor(0);
        return;
    }

    if (text.startsWith(QChar(1))) {
        // Every client request in a channel message shows this way: the eight characters
        // after the ":" that an ACTION begins with are skipped whatever they are.
        const QString request = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 9);
        const auto actionText = cut::Left(request, int(request.size()) - 1);
        if (nick && actionText) form<frmChan>().Addtext2(QStringLiteral("* ") + *nick + QLatin1Char(' ') + *actionText);
        return;
    }

    if (line.contains(QChar(3))) {
        RichPane *pane = form<frmChan>().Incoming;
        pane->SetSelColor(0);
        // A line whose prefix is a server name has no nick to show in the label.
        pane->SetSelText(QStringLiteral("\r\n<") + nick.value_or(QString()) + QStringLiteral("> "));
        QString coloured = line.mid(line.indexOf(QChar(3)));
        const QString code = QString(QChar(3));
        for (const Colour &c : kTwoCharacter)
            if (coloured.startsWith(code + QLatin1String(c.digits))) setColour(pane, c.palette);
        for (const Colour &c : kThreeCharacter) {
            if (!coloured.startsWith(code + QLatin1String(c.digits))) continue;
            setColour(pane, c.palette);
            pane->SetSelText(coloured.mid(3));
            return;
        }
        if (coloured.startsWith(code + QLatin1Char('1'))) pane->SetSelColor(0);
        pane->SetSelText(coloured.mid(2));
        return;
    }

    if (nick) form<frmChan>().Addtext(QLatin1Char('<') + *nick + QStringLiteral("> ") + text);
    TeletriviaCheck(line, a);
}

void frmOrvelIRC::JoinReply(QString &line, Arrival &)
{
    const QString fromServer = QLatin1Char(':') + IrcData::ServerName;
    if (line.startsWith(fromServer)) {
        const QString rest = *Mid(line, InStr(line, QStringLiteral(" ")) + 1);
        const QString word = cut::FirstWord(rest);
        const QString afterColon = *Mid(rest, InStr(rest, QStringLiteral(":")) + 1);
        if (word == QLatin1String("332")) {
            const QString channel = ChanCentral.Text;
            form<frmChan>().setCaption(channel + QStringLiteral(": ") + afterColon);
        } else if (word == QLatin1String("353")) {
            addNames(afterColon);
        } else if (word == QLatin1String("366")) {
            ChannelState = 2;
            NamesRunOpen = false;
        }
    }
    // Anything else while the join is pending is dropped.
}

void frmOrvelIRC::JoinEcho(QString &line, Arrival &)
{
    if (cut::FirstWord(line) != QLatin1String("JOIN")) return;
    frmChan &c = form<frmChan>();
    c.ShowForm();
    // The names that follow are this channel's alone.
    c.Namelist->Clear();
    c.Incoming->SetSelColor(1);
    const QString text = QStringLiteral("\x01 Now speaking in ") + CurrentChannel;
    c.Incoming->SetSelText(c.Incoming->TextLength() > 0 ? QStringLiteral("\r\n") + text : text);
}

void frmOrvelIRC::NamesRefill(QString &line, Arrival &)
{
    // The names of the current channel, however the server spells it.
    const QString marker = QLatin1Char(':') + IrcData::ServerName + QStringLiteral(" 353 ") + IrcData::CurrentNick +
                           QStringLiteral(" = ");
    const qsizetype at = line.indexOf(marker, 0, Qt::CaseInsensitive);
    QStringView channel;
    if (at >= 0) {
        channel = QStringView(line).sliced(at + marker.size());
        const qsizetype blank = channel.indexOf(QLatin1Char(' '));
        if (blank >= 0) channel = channel.first(blank);
    }
    if (at < 0 || !IsCurrentChannel(channel)) {
        NamesRunOpen = false;
        return;
    }
    // A names reply may span several lines: the list is emptied at the first of them only.
    if (!NamesRunOpen) form<frmChan>().Namelist->Clear();
    NamesRunOpen = true;
    const QString rest = *Mid(line, InStr(line, QStringLiteral(" ")) + 1);
    addNames(*Mid(rest, InStr(rest, QStringLiteral(":")) + 1));
}
