#include "platform/DisplayBatch.h"
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace display {
namespace {
int g_depth = 0;
bool g_finishing = false;
std::vector<BatchedView *> g_pending;

// A window about to be shown (a dialog, a message box, a pop-up menu) gets the finished
// block: it may run an event loop that paints the views, and its user reads them.
class ShowWatcher : public QObject
{
public:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && g_depth > 0 && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow())
            DisplayBatch::Finish();
        return false;
    }
};
} // namespace

BatchedView::~BatchedView()
{
    if (m_enlisted) DisplayBatch::withdraw(this);
}

bool BatchedView::Defer()
{
    if (g_depth == 0 || g_finishing) return false;
    if (!m_enlisted) DisplayBatch::enlist(this);
    return true;
}

DisplayBatch::DisplayBatch()
{
    static ShowWatcher *watcher = nullptr;
    if (!watcher && QCoreApplication::instance()) {
        watcher = new ShowWatcher;
        watcher->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
    }
    ++g_depth;
}

DisplayBatch::~DisplayBatch()
{
    if (g_depth == 1) Finish();
    --g_depth;
}

void DisplayBatch::enlist(BatchedView *v)
{
    v->m_enlisted = true;
    g_pending.push_back(v);
}

void DisplayBatch::withdraw(BatchedView *v)
{
    v->m_enlisted = false;
    g_pending.erase(std::remove(g_pending.begin(), g_pending.end(), v), g_pending.end());
}

void DisplayBatch::Finish()
{
    if (g_finishing) return;
    g_finishing = true;
    // In the order the views first changed; what finishing one view sets off in another is
    // shown at once, as outside a batch.
    while (!g_pending.empty()) {
        BatchedView *v = g_pending.front();
        g_pending.erase(g_pending.begin());
        v->m_enlisted = false;
        v->FinishBatch();
    }
    g_finishing = false;
}

} // namespace display
