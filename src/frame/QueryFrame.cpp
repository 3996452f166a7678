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
    if (frmOrvelChat *c = loaded<frmOrvelChat>()) c->BringToFront();
}

void frmOrvelMain::mnuShowQueryWindow_Click()
{
    frmOrvelChat &c = form<frmOrvelChat>();
    c.ShowForm();
    m_mdi->setActiveSubWindow(c.SubWindow());
}
