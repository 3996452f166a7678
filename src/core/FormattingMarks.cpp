#include "core/FormattingMarks.h"

namespace {
bool isDigitAt(QStringView text, qsizetype at)
{
    return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

bool isToggleMark(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x02 || u == 0x0F || u == 0x16 || u == 0x1D || u == 0x1E || u == 0x1F;
}
} // namespace

qsizetype ColourCodeLength(QStringView text, qsizetype at, int digits)
{
    qsizetype end = at + 1 + digits;
    if (digits > 0 && end < text.size() && text[end] == u',' && isDigitAt(text, end + 1))
        end += isDigitAt(text, end + 2) ? 3 : 2;
    return end - at;
}

QString WithoutMarks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] != QChar(3) && !isToggleMark(text[i])) ++i;
    if (i == text.size()) return text;  // the usual case: nothing to take out, no copy
    QString out = text.left(i);
    out.reserve(text.size());
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == QChar(3)) {
            const int digits = isDigitAt(text, i + 1) ? (isDigitAt(text, i + 2) ? 2 : 1) : 0;
            i += ColourCodeLength(text, i, digits);
            continue;
        }
        if (!isToggleMark(c)) out.append(c);
        ++i;
    }
    return out;
}
