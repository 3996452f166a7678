#pragma once
#include "platform/DisplayBatch.h"
#include <QListView>
#include <QStringList>

class NickListModel;
namespace core { class ChannelMembers; }

// The channel's nick list: a single-selection view of the channel's members, in their
// order. The members and the user's pick are the core's data, always current; the view is
// told once per display batch. What the user selects becomes the pick; a right click never
// moves it.
class NickList : public QListView, public display::BatchedView
{
    Q_OBJECT
public:
    explicit NickList(core::ChannelMembers &members, QWidget *parent = nullptr);
    core::ChannelMembers &Members() const { return m_members; }
    void FinishBatch() override;
signals:
    void MouseDown(int button);
    void DblClick();
protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
private:
    void changed();
    void selectionMoved();
    core::ChannelMembers &m_members;
    NickListModel *m_model;
    bool m_showing = false;
};
