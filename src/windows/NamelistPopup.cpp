// The nick list's right-click menu, carried by the hidden frmMenu.
#include "windows/frmChan.h"
#include "windows/frmMenu.h"
#include <QCursor>
#include <QMenu>

void ShowNamelistPopup()
{
    // exec() returns once the menu has closed and the chosen command has run.
    form<frmMenu>().mnuNamelistHidden->exec(QCursor::pos());
}
