#include "connection/frmOrvelIRC.h"
#include "frame/Forms.h"
#include "frame/frmOrvelMain.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
void focusAndRestore(FormBase *f)
{
    if (!f || !f->SubWindow() || !f->SubWindow()->isVisible()) return;
    Main().MdiArea()->setActiveSubWindow(f->SubWindow());
    f->Restore();
}

void raiseFromBar(QAction *twin, FormBase *f)
{
    if (twin->isEnabled() || !f || !f->SubWindow()) return;
    if (f->IsMinimized()) f->Restore();
    Main().MdiArea()->setActiveSubWindow(f->SubWindow());
}
} // namespace

void frmOrvelMain::mnuWindowEntry_Click(int n)
{
    if (n < 1 || n > 3) return;
    const QString caption = mnuWindowEntry[n - 1]->text();
    const QString num = QLatin1Char('&') + QString::number(n) + QLatin1Char(' ');
    if (caption == num + QLatin1String("Server Connection")) focusAndRestore(loaded<frmOrvelIRC>());
    // ---- channel window entry ----
    else if (caption == num + QLatin1String("Channel Window")) focusAndRestore(loaded<frmChan>());
    // ---- end channel window entry ----
    // ---- query window entry ----
    else if (caption == num + QLatin1String("Query Window")) focusAndRestore(loaded<frmOrvelChat>());
    // ---- end query window entry ----
    else if (caption == num + QLatin1String("InData Window")) focusAndRestore(loaded<frmInData>());
    else if (caption == num + QLatin1String("OutData Window")) focusAndRestore(loaded<frmOutData>());
}

void frmOrvelMain::Command2_Click() { raiseFromBar(mnuShowServerWindow, loaded<frmOrvelIRC>()); }

void frmOrvelMain::mnuShowServerWindow_Click()
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.ShowForm();
    m_mdi->setActiveSubWindow(s.SubWindow());
}

void frmOrvelMain::mnuCloseWindows_Click()
{
    if (QMdiSubWindow *w = m_mdi->activeSubWindow()) w->close();
}

void frmOrvelMain::mnuCloseAll_Click()
{
    // Each unload lets the frame activate the next child, which is closed in turn.
    for (int guard = 0; guard < 64; ++guard) {
        QMdiSubWindow *w = m_mdi->activeSubWindow();
        if (!w) {
            const QList<QMdiSubWindow *> rest = m_mdi->subWindowList();
            for (QMdiSubWindow *c : rest)
                if (auto *f = qobject_cast<FormBase *>(c->widget()); f && !f->IsUnloaded()) { w = c; break; }
            if (!w) return;
        }
        w->close();
    }
}
