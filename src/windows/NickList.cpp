#include "windows/NickList.h"
#include "core/ChannelMembers.h"
#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>

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

NickList::NickList(core::ChannelMembers &members, QWidget *parent)
    : QListView(parent), m_members(members), m_model(new NickListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every entry is one line of the same font: the view never measures them one by one.
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &NickList::selectionMoved);
    connect(&m_members, &core::ChannelMembers::Changed, this, &NickList::changed);
    changed();
}

void NickList::changed()
{
    if (!Defer()) FinishBatch();
}

void NickList::FinishBatch()
{
    m_showing = true;
    // The list is shown anew; the reader's place in it stays where it was.
    const int top = verticalScrollBar()->value();
    m_model->show(m_members.Items());
    doItemsLayout();
    verticalScrollBar()->setValue(top);
    if (const int picked = m_members.PickedIndex(); picked >= 0) {
        // As a list box does, the selected entry is scrolled into view.
        selectionModel()->setCurrentIndex(m_model->index(picked), QItemSelectionModel::ClearAndSelect);
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
    m_members.SetPickedIndex(sel.isEmpty() ? -1 : sel.first().row());
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
