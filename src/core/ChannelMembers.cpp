#include "core/ChannelMembers.h"
#include <algorithm>

namespace core {

namespace {
bool before(const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }
} // namespace

// The entries are always in this order, so places are found by halving: a channel of many
// thousand names fills in n log n comparisons, and a quit costs a few, not one per member.
qsizetype ChannelMembers::lowerBound(const QString &text) const
{
    return std::lower_bound(m_items.cbegin(), m_items.cend(), text, before) - m_items.cbegin();
}

qsizetype ChannelMembers::upperBound(const QString &text) const
{
    return std::upper_bound(m_items.cbegin(), m_items.cend(), text, before) - m_items.cbegin();
}

int ChannelMembers::IndexOf(const QString &text) const
{
    // Equal entries stand together: the first of them is the one.
    const qsizetype at = lowerBound(text);
    if (at >= m_items.size() || QString::compare(m_items[at], text, Qt::CaseInsensitive) != 0) return -1;
    return int(at);
}

void ChannelMembers::Add(const QString &text)
{
    // After any entries that compare equal, so equal entries keep their arrival order.
    const qsizetype at = upperBound(text);
    m_items.insert(at, text);
    if (m_picked >= at) ++m_picked;
    emit Changed();
}

void ChannelMembers::RemoveAt(int index)
{
    if (index < 0 || index >= m_items.size()) return;
    m_items.removeAt(index);
    if (m_picked == index) m_picked = -1;
    else if (m_picked > index) --m_picked;
    emit Changed();
}

void ChannelMembers::Replace(int index, const QString &text)
{
    if (index < 0 || index >= m_items.size()) return;
    const bool picked = m_picked == index;
    m_items.removeAt(index);
    if (m_picked > index) --m_picked;
    const qsizetype at = upperBound(text);
    m_items.insert(at, text);
    if (picked) m_picked = int(at);
    else if (m_picked >= at) ++m_picked;
    emit Changed();
}

void ChannelMembers::Clear()
{
    m_items.clear();
    m_picked = -1;
    emit Changed();
}

bool ChannelMembers::Pick(const QString &text)
{
    const int at = IndexOf(text);
    if (at < 0) return false;
    m_picked = at;
    emit Changed();
    return true;
}

} // namespace core
