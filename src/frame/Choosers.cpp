// The frame's side of the sound and picture choosers.
#include "dialogs/frmSoundOptions.h"
#include "frame/frmOrvelMain.h"
#include <QFrame>
#include <QPixmap>

// The chosen sound plays through the frame's wave control.
void frmOrvelMain::OpenSoundChooser()
{
    frmSoundOptions::ShowModal([this](const QString &file) { PlaySnd(file); });
}

bool frmOrvelMain::LoadDashboardPicture(const QString &path)
{
    const QPixmap pic(path);
    if (pic.isNull()) return false;
    Picture1->setStyleSheet(QString());
    QPalette pal = Picture1->palette();
    pal.setBrush(QPalette::Window, QBrush(pic));
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(pal);
    return true;
}

QPixmap frmOrvelMain::DashboardPicture() const
{
    const QBrush panel = Picture1->palette().brush(QPalette::Window);
    return panel.style() == Qt::TexturePattern ? panel.texture() : QPixmap();
}
