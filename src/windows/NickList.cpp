#include "windows/NickList.h"
#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

// What the view shows: the entries as they stood when the list was last shown.
class NickListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_shown.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= m_shown.size()) return {};
        return m_shown[index.row()];
    }
    void show(const QStringList &entries)
    {
        beginResetModel();
        m_shown = entries;
        endResetModel();
    }
private:
    QStringList m_shown;
};

NickList::NickList(QWidget *parent) : QListView(parent), m_model(new NickListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every entry is one line of the same font: the view never measures them one by one.
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &NickList::selectionMoved);
}

namespace {
bool before(const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }
} // namespace

// The entries are always in this order, so places are found by halving: a channel of many
// thousand names fills in n log n comparisons, and a quit costs a few, not one per member.
qsizetype NickList::lowerBound(const QString &text) const
{
    return std::lower_bound(m_items.cbegin(), m_items.cend(), text, before) - m_items.cbegin();
}

qsizetype NickList::upperBound(const QString &text) const
{
    return std::upper_bound(m_items.cbegin(), m_items.cend(), text, before) - m_items.cbegin();
}

void NickList::AddItem(const QString &text)
{
    // After any entries that compare equal, so equal entries keep their arrival order.
    const qsizetype at = upperBound(text);
    m_items.insert(at, text);
    if (m_selected >= at) ++m_selected;
    changed();
}

void NickList::RemoveAt(int index)
{
    if (index < 0 || index >= m_items.size()) return;
    m_items.removeAt(index);
    if (m_selected == index) m_selected = -1;
    else if (m_selected > index) --m_selected;
    changed();
}

void NickList::Replace(int index, const QString &text)
{
    if (index < 0 || index >= m_items.size()) return;
    const bool picked = m_selected == index;
    m_items.removeAt(index);
    if (m_selected > index) --m_selected;
    const qsizetype at = upperBound(text);
    m_items.insert(at, text);
    if (picked) m_selected = int(at);
    else if (m_selected >= at) ++m_selected;
    changed();
}

void NickList::Clear()
{
    m_items.clear();
    m_selected = -1;
    changed();
}

int NickList::IndexOf(const QString &text) const
{
    // Equal entries stand together: the first of them is the one.
    const qsizetype at = lowerBound(text);
    if (at >= m_items.size() || QString::compare(m_items[at], text, Qt::CaseInsensitive) != 0) return -1;
    return int(at);
}

bool NickList::SelectByText(const QString &text)
{
    const int at = IndexOf(text);
    if (at < 0) return false;
    m_selected = at;
    changed();
    return true;
}

QString NickList::SelectedText() const { return m_selected < 0 ? QString() : m_items[m_selected]; }
int NickList::SelectedIndex() const { return m_selected; }
QString NickList::ItemText(int index) const { return m_items.value(index); }

void NickList::changed()
{
    if (!Defer()) FinishBatch();
}

void NickList::FinishBatch()
{
    m_showing = true;
    // The list is shown anew; the reader's place in it stays where it was.
    const int top = verticalScrollBar()->value();
    m_model->show(m_items);
    doItemsLayout();
    verticalScrollBar()->setValue(top);
    if (m_selected >= 0) {
        // As a list box does, the selected entry is scrolled into view.
        selectionModel()->setCurrentIndex(m_model->index(m_selected), QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clear();
    }
    m_showing = false;
}

// The user's choice, by mouse or keyboard.
void NickList::selectionMoved()
{
    if (m_showing) return;
    const QModelIndexList sel = selectionModel()->selectedIndexes();
    m_selected = sel.isEmpty() ? -1 : sel.first().row();
}

void NickList::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton) {
        // The pop-up acts on the entry selected before the click.
        e->accept();
        emit MouseDown(2);
        return;
    }
    QListView::mousePressEvent(e);
    emit MouseDown(e->button() == Qt::LeftButton ? 1 : 4);
}

void NickList::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(e);
    emit DblClick();
}

void NickList::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }
