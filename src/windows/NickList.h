#pragma once
#include "platform/DisplayBatch.h"
#include <QListView>
#include <QStringList>

class NickListModel;

// The channel's nick list: single selection, kept in alphabetical order with letter case
// aside (a new entry takes its sorted place). The entries and the selection live here as
// data, always current; the view is told once per display batch. A right click never
// moves the selection, and removing an entry never selects another.
class NickList : public QListView, public display::BatchedView
{
    Q_OBJECT
public:
    explicit NickList(QWidget *parent = nullptr);
    void AddItem(const QString &text);
    void RemoveAt(int index);
    // The entry at the index becomes the text and moves to its sorted place; when it was
    // the picked entry, the pick goes with it.
    void Replace(int index, const QString &text);
    void Clear();
    // Selects the first entry equal to the text, letter case aside; false (selection
    // unchanged) when there is none.
    bool SelectByText(const QString &text);
    // The first entry equal to the text, letter case aside; -1 when there is none.
    int IndexOf(const QString &text) const;
    // "" when nothing is selected.
    QString SelectedText() const;
    // -1 when nothing is selected.
    int SelectedIndex() const;
    int Count() const { return int(m_items.size()); }
    QString ItemText(int index) const;
    QStringList Items() const { return m_items; }
    void FinishBatch() override;
signals:
    void MouseDown(int button);
    void DblClick();
protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
private:
    // The place of the first entry equal to the text (letter case aside), or where it would
    // go; and the place after the last such entry.
    qsizetype lowerBound(const QString &text) const;
    qsizetype upperBound(const QString &text) const;
    void changed();
    void selectionMoved();
    NickListModel *m_model;
    QStringList m_items;
    int m_selected = -1;
    bool m_showing = false;
};
