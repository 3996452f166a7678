#pragma once
// The channel's members as data: one entry per member, its nick after an optional "@"
// (operator) or "+" (voiced), kept in alphabetical order with letter case aside (a new
// entry takes its sorted place, after entries equal to it), and the user's pick among
// them. The nick list shows them; what the user selects there becomes the pick.
#include <QObject>
#include <QStringList>

namespace core {

class ChannelMembers : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const QStringList &Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    QString At(int index) const { return m_items.value(index); }
    // The first entry equal to the text, letter case aside; -1 when there is none.
    int IndexOf(const QString &text) const;

    void Add(const QString &text);
    void RemoveAt(int index);
    // The entry at the index becomes the text and moves to its sorted place; when it was
    // the picked entry, the pick goes with it.
    void Replace(int index, const QString &text);
    void Clear();

    // Picks the first entry equal to the text, letter case aside; false (pick unchanged)
    // when there is none. A removal never moves the pick to another entry.
    bool Pick(const QString &text);
    // The picked entry's text, "" when none is picked; its place, -1 when none.
    QString Picked() const { return m_picked < 0 ? QString() : m_items[m_picked]; }
    int PickedIndex() const { return m_picked; }
    // The nick list's report of what the user selected there; it shows it already, so
    // nothing is told.
    void SetPickedIndex(int index) { m_picked = index >= 0 && index < m_items.size() ? index : -1; }

signals:
    // The entries or the pick changed.
    void Changed();

private:
    // The place of the first entry equal to the text (letter case aside), or where it would
    // go; and the place after the last such entry.
    qsizetype lowerBound(const QString &text) const;
    qsizetype upperBound(const QString &text) const;
    QStringList m_items;
    int m_picked = -1;
};

} // namespace core
