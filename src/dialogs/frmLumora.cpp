#include "dialogs/frmLumora.h"
#include "dialogs/Pictures.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {
QPointer<frmLumora> g_current;
const QSize kPictureSize(600, 400);
}

frmLumora::frmLumora(QWidget *parent) : QDialog(parent), m_picture(pictures::Edition(kPictureSize))
{
    setWindowTitle(AppTitle);
    setFixedSize(kPictureSize);
}

frmLumora *frmLumora::Current() { return g_current.data(); }

void frmLumora::Form_Click() { accept(); }

void frmLumora::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), m_picture);
}

void frmLumora::mouseReleaseEvent(QMouseEvent *e)
{
    // Any button: a click is a click.
    if (rect().contains(e->position().toPoint())) Form_Click();
    else QDialog::mouseReleaseEvent(e);
}

void frmLumora::ShowModal()
{
    QPointer<frmLumora> d = new frmLumora(mainWindow());
    d->setAttribute(Qt::WA_DeleteOnClose);
    g_current = d;
    d->exec();
}
