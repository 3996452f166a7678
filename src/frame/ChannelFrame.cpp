// The frame's controls for the channel window: its window-bar button and Show item.
#include "frame/frmOrvelMain.h"
#include "windows/frmChan.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

void frmOrvelMain::Command3_Click()
{
    // Only while the window is loaded (its Show item is then disabled).
    if (mnuShowChannelWindow->isEnabled()) return;
    frmChan *c = loaded<frmChan>();
    if (!c || !c->SubWindow()) return;
    if (c->IsMinimized()) c->Restore();
    m_mdi->setActiveSubWindow(c->SubWindow());
}

void frmOrvelMain::mnuShowChannelWindow_Click()
{
    frmChan &c = form<frmChan>();
    c.ShowForm();
    m_mdi->setActiveSubWindow(c.SubWindow());
}
