#include "core/ReceivedLines.h"

namespace core {

ReceivedLines::Block ReceivedLines::Take(const QString &received, QString *shown)
{
    Block out;
    // The held text keeps its buffer, so a remainder that grows over many blocks is
    // appended to rather than copied each time.
    QString work = std::move(m_held);
    const bool held = !work.isEmpty();
    work += received;
    m_held.clear();
    const bool complete = work.endsWith(QLatin1Char('\n')) || work.endsWith(QLatin1Char('\r'));
    // A piece that still ends nothing shows only itself, so data dribbled in many small
    // pieces cannot repeat a long remainder into the view again and again.
    if (shown) *shown = (complete || !held ? work : received) + QStringLiteral("\r\n");
    // The LF of a CR LF that two reads split ends the line already handled.
    if (m_skipLeadingLf && work.startsWith(QLatin1Char('\n'))) work.remove(0, 1);
    m_skipLeadingLf = false;
    if (m_dropping) {
        // The rest of a line already dropped as too long, up to its line end, goes with it.
        qsizetype end = 0;
        while (end < work.size() && work[end] != QLatin1Char('\r') && work[end] != QLatin1Char('\n')) ++end;
        if (end == work.size()) return out;
        if (work[end] == QLatin1Char('\r') && end + 1 < work.size() && work[end + 1] == QLatin1Char('\n')) ++end;
        m_skipLeadingLf = end + 1 == work.size() && work[end] == QLatin1Char('\r');
        work.remove(0, end + 1);
        m_dropping = false;
        if (work.isEmpty()) return out;
    }
    if (!complete) {
        // Nothing is handled until a block ends in a line end.
        if (work.size() <= MaxHeld) {
            m_held = std::move(work);
            return out;
        }
        // Too much to hold back: the complete lines in it are handled now and only the
        // unfinished last line is held; one that is itself too long is dropped.
        qsizetype end = work.lastIndexOf(QLatin1Char('\n'));
        if (end < 0) end = work.lastIndexOf(QLatin1Char('\r'));
        if (work.size() - (end + 1) > MaxHeld) {
            out.overlong = true;
            m_dropping = true;
        } else {
            m_held = work.mid(end + 1);
        }
        work.truncate(end + 1);
    }
    m_skipLeadingLf = m_held.isEmpty() && work.endsWith(QLatin1Char('\r'));
    out.lines = std::move(work);
    return out;
}

void ReceivedLines::Clear()
{
    m_held.clear();
    m_dropping = false;
    m_skipLeadingLf = false;
}

QString LineSplitter::next()
{
    qsizetype at = find(m_crlf, u"\r\n");
    qsizetype skip = 2;
    if (at < 0) {
        skip = 1;
        at = find(m_cr, u"\r");
        if (at < 0) at = find(m_lf, u"\n");
    }
    if (at < 0) {
        const QString line = m_text.mid(m_pos);
        m_pos = m_text.size();
        return line;
    }
    const QString line = m_text.mid(m_pos, at - m_pos);
    m_pos = at + skip;
    return line;
}

qsizetype LineSplitter::find(qsizetype &cached, QStringView what)
{
    if (cached == -1) return -1;  // none left in the text
    if (cached < m_pos) cached = m_text.indexOf(what, m_pos);
    return cached;
}

} // namespace core
