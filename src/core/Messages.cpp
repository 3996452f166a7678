// Received private and channel messages: a private message goes to the private chat, an
// action or other client request in a channel shows as "* nick text", a coloured message
// in the colour of its first code, and plain text as "<nick> text", offered to the game.
#include "core/FormattingMarks.h"
#include "core/LineTable.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "core/Teletrivia.h"
#include "platform/TextCut.h"

namespace core {

namespace {
using cut::InStr;
using cut::Mid;

// ":nick!user@host ..." -> "nick"; nothing when the line has no "!".
std::optional<QString> labelNick(const QString &line) { return Mid(line, 2, InStr(line, QStringLiteral("!")) - 2); }

// The colour of each code 0 to 15.
const int kCodeColour[16] = {15, 0, 1, 2, 12, 4, 5, 6, 14, 10, 8, 6, 9, Code13Colour, 2, 7};

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

void LineTable::displayMessage(const QString &line, const LineView &v)
{
    const QString targetPart = Mid(line, InStr(line, QStringLiteral(" ")) + 9).value_or(QString());
    QString target;
    cut::Set(target, cut::Left(targetPart, InStr(targetPart, QStringLiteral(" ")) - 1));
    const QString text = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 1);
    const std::optional<QString> nick = labelNick(line);

    if (target.toLower() == m_session.Nick().toLower()) {
        // The line has its prefix: the sender is the label's nick.
        const QString sender = nick.value_or(QString());
        QString message;
        if (text.startsWith(u"\x01" "ACTION ")) {
            // An action shows as in the channel, "* nick text", in the colour of the chat.
            QStringView action = QStringView(text).mid(8);
            if (action.endsWith(QChar(1))) action.chop(1);
            message = QStringLiteral("* ") + sender + QLatin1Char(' ') + action.toString();
        } else {
            message = QLatin1Char('<') + sender + QStringLiteral("> ") + text;
        }
        m_screen.PrivateMessage(sender, WithoutMarks(message));
        return;
    }

    if (text.startsWith(QChar(1))) {
        // Every client request in a channel message shows this way: the eight characters
        // after the ":" that an ACTION begins with are skipped whatever they are.
        const QString request = *Mid(targetPart, InStr(targetPart, QStringLiteral(":")) + 9);
        const auto actionText = cut::Left(request, int(request.size()) - 1);
        if (nick && actionText)
            m_screen.ChannelLine(ChannelStyle::Event, WithoutMarks(QStringLiteral("* ") + *nick + QLatin1Char(' ') + *actionText));
        return;
    }

    if (line.contains(QChar(3))) {
        // Only the first colour code counts: the text before it shows in black with the
        // label, the text after it in the code's colour, without any further marks.
        const qsizetype at = text.indexOf(QChar(3));
        // A line whose prefix is a server name has no nick to show in the label.
        m_screen.ChannelInsert(0, QStringLiteral("\r\n") + WithoutMarks(QLatin1Char('<') + nick.value_or(QString()) +
                                                                       QStringLiteral("> ") + text.left(at < 0 ? text.size() : at)));
        if (at < 0) return;  // the mark was outside the message text
        const auto [digits, code] = firstCode(text, at);
        // Without a code the text goes on in the label's colour.
        m_screen.ChannelInsert(code >= 0 ? kCodeColour[code] : 0, WithoutMarks(text.mid(at + ColourCodeLength(text, at, digits))));
        return;
    }

    if (nick) m_screen.ChannelLine(ChannelStyle::Text, WithoutMarks(QLatin1Char('<') + *nick + QStringLiteral("> ") + text));
    m_game.Check(v);
}

} // namespace core
