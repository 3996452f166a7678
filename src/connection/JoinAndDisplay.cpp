// Received channel and private messages, the join replies and the nick list fill.
#include "connection/frmOrvelIRC.h"
#include "core/LineView.h"
#include "core/FormattingMarks.h"
#include "core/Session.h"
#include "core/Screen.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
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

// The colour of each code 0 to 15.
const int kCodeColour[16] = {15, 0, 1, 2, 12, 4, 5, 6, 14, 10, 8, 6, 9, core::Code13Colour, 2, 7};

// How many digits after the \x03 at `at` make its colour code, and which code they name
// (-1: none). Two digits from 00 to 15 are one code, as every client sends them; any
// other digit alone is a code, so "\x0316" is code 1.
std::pair<int, int> firstCode(const QString &text, qsizetype at)
{
    auto digit = [&](qsizetype i) { return i < text.size() && text[i].isDigit() ? text[i].digitValue() : -1; };
    const int d1 = digit(at + 1), d2 = digit(at + 2);
    if (d1 < 0) return {0, -1};
    if (d2 >= 0 && d1 * 10 + d2 <= 15) return {2, d1 * 10 + d2};
    return {1, d1};
}
} // namespace

void frmOrvelIRC::DisplayMessage(QString &line, Arrival &a)
{
    const QString targetPart = Mid(line, InStr(line, QStringLiteral(" ")) + 9).value_or(QString());
    QString target;
    cut::Set(target, cut::Left(targetPart, InStr(targetPart, QStringLiteral(" ")) - 1));
    const QString text = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 1);
    const std::optional<QString> nick = labelNick(line);

    core::Screen &screen = session().Display();
    if (target.toLower() == session().Nick().toLower()) {
        QString message;
        if (text.startsWith(u"\x01" "ACTION ")) {
            // An action shows as in the channel, "* nick text", in the colour of the chat.
            QStringView action = QStringView(text).mid(8);
            if (action.endsWith(QChar(1))) action.chop(1);
            message = QStringLiteral("* ") + nick.value_or(QString()) + QLatin1Char(' ') + action.toString();
        } else {
            message = QLatin1Char('<') + nick.value_or(QString()) + QStringLiteral("> ") + text;
        }
        screen.PrivateMessage(senderOf(line), WithoutMarks(message));
        return;
    }

    if (text.startsWith(QChar(1))) {
        // Every client request in a channel message shows this way: the eight characters
        // after the ":" that an ACTION begins with are skipped whatever they are.
        const QString request = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 9);
        const auto actionText = cut::Left(request, int(request.size()) - 1);
        if (nick && actionText)
            screen.ChannelLine(core::ChannelStyle::Event, WithoutMarks(QStringLiteral("* ") + *nick + QLatin1Char(' ') + *actionText));
        return;
    }

    if (line.contains(QChar(3))) {
        // Only the first colour code counts: the text before it shows in black with the
        // label, the text after it in the code's colour, without any further marks.
        const qsizetype at = text.indexOf(QChar(3));
        // A line whose prefix is a server name has no nick to show in the label.
        screen.ChannelInsert(0, QStringLiteral("\r\n") + WithoutMarks(QLatin1Char('<') + nick.value_or(QString()) +
                                                                     QStringLiteral("> ") + text.left(at < 0 ? text.size() : at)));
        if (at < 0) return;  // the mark was outside the message text
        const auto [digits, code] = firstCode(text, at);
        // Without a code the text goes on in the label's colour.
        screen.ChannelInsert(code >= 0 ? kCodeColour[code] : 0, WithoutMarks(text.mid(at + ColourCodeLength(text, at, digits))));
        return;
    }

    if (nick) screen.ChannelLine(core::ChannelStyle::Text, WithoutMarks(QLatin1Char('<') + *nick + QStringLiteral("> ") + text));
    TeletriviaCheck(line, a);
}

void frmOrvelIRC::JoinReply(const QString &line, const LineView &v)
{
    const QString rest = *Mid(line, InStr(line, QStringLiteral(" ")) + 1);
    const QString afterColon = *Mid(rest, InStr(rest, QStringLiteral(":")) + 1);
    if (v.Command() == u"332") {
        session().Display().ChannelCaption(session().CurrentChannel() + QStringLiteral(": ") + WithoutMarks(afterColon));
    } else if (v.Command() == u"353") {
        addNames(afterColon);
    } else if (v.Command() == u"366") {
        session().SetChannelState(core::ChannelState::Joined);
        session().SetPartedCurrentChannel(false);
        NamesRunOpen = false;
    }
}

void frmOrvelIRC::JoinEcho(const LineView &v)
{
    core::Screen &screen = session().Display();
    screen.ShowChannelWindow();
    // The names that follow are this channel's alone.
    form<frmChan>().Namelist->Clear();
    // The channel this echo is for (a quicker join may have been typed since), as the user
    // typed it when it is the current one.
    const QStringView joined = v.Param(0);
    const QString name = session().IsCurrentChannel(joined) ? session().CurrentChannel() : joined.toString();
    const QString text = QStringLiteral("\x01 Now speaking in ") + name;
    screen.ChannelInsert(1, screen.ChannelPaneEmpty() ? text : QStringLiteral("\r\n") + text);
}

void frmOrvelIRC::NamesRefill(const LineView &v)
{
    // The public names of the current channel from the server, however it spells the channel.
    const core::Session &ss = session();
    const bool ours = v.Command() == u"353" && v.HasPrefix() && v.Prefix() == ss.ServerName() &&
                      v.Param(0) == ss.Nick() && v.Param(1) == u"=" && ss.IsCurrentChannel(v.Param(2));
    if (!ours) {
        NamesRunOpen = false;
        return;
    }
    // A names reply may span several lines: the list is emptied at the first of them only.
    if (!NamesRunOpen) form<frmChan>().Namelist->Clear();
    NamesRunOpen = true;
    addNames(v.Last().toString());
}
