#include "dialogs/frmSplash.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(AppTitle);
    auto *l = new QVBoxLayout(this);
    auto *t = new QLabel(AppTitle, this);
    t->setTextFormat(Qt::PlainText);
    l->addWidget(t);
}

void frmSplash::ShowModal()
{
    frmSplash s(&Main());
    s.exec();
}
