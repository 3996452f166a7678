#include "core/LineView.h"

LineView::LineView(const QString &line) { Reset(line); }

void LineView::Reset(const QString &line)
{
    m_line = line;
    m_prefix = m_command = Span{};
    m_params.clear();
    // Read through a view: indexing the string itself would check for sharing at every
    // character.
    const QStringView text(m_line);
    const qsizetype n = text.size();
    qsizetype at = 0;
    auto skipBlanks = [&] {
        while (at < n && text[at] == u' ') ++at;
    };
    auto word = [&] {
        Span s{at, 0};
        while (at < n && text[at] != u' ') ++at;
        s.length = at - s.from;
        return s;
    };
    if (n > 0 && text[0] == u':') {
        ++at;
        m_prefix = word();
    }
    skipBlanks();
    m_command = word();
    for (skipBlanks(); at < n; skipBlanks()) {
        if (text[at] == u':') {
            m_params.append(Span{at + 1, n - at - 1});
            return;
        }
        m_params.append(word());
    }
}

QStringView LineView::Nick() const
{
    const QStringView p = Prefix();
    const qsizetype bang = p.indexOf(QLatin1Char('!'));
    return bang < 0 ? QStringView() : p.left(bang);
}

QStringView PrivateText(const LineView &v, QStringView nick)
{
    if (v.Command() != u"PRIVMSG" || v.Count() < 2 || v.Param(0).compare(nick, Qt::CaseInsensitive) != 0) return {};
    return v.Last();
}

bool IsPlainNick(QStringView nick)
{
    if (nick.isEmpty()) return false;
    const QChar first = nick.front();
    if (first == QLatin1Char('#') || first == QLatin1Char('&') || first == QLatin1Char(':') || first.isDigit()) return false;
    for (const QChar c : nick)
        if (c == QLatin1Char(' ') || c == QLatin1Char(',') || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}
