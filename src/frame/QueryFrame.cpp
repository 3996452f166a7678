// The frame's controls for the private chat window: its window-bar button and Show item.
#include "frame/frmOrvelMain.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

void frmOrvelMain::Command4_Click()
{
    // Only while the window is loaded (its Show item is then disabled).
    if (mnuShowQueryWindow->isEnabled()) return;
    frmOrvelChat *c = loaded<frmOrvelChat>();
    if (!c || !c->SubWindow()) return;
    if (c->IsMinimized()) c->Restore();
    m_mdi->setActiveSubWindow(c->SubWindow());
}

void frmOrvelMain::mnuShowQueryWindow_Click()
{
    frmOrvelChat &c = form<frmOrvelChat>();
    c.ShowForm();
    m_mdi->setActiveSubWindow(c.SubWindow());
}
