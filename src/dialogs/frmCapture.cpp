#include "dialogs/frmCapture.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmCapture> g_current;
const int kInset = 20;  // room for the frame's caption and border

QSize areaPixels()
{
    return {platform::TwipsToPixelsX(frmCapture::AreaWidth), platform::TwipsToPixelsY(frmCapture::AreaHeight)};
}
} // namespace

frmCapture::frmCapture(QWidget *parent) : QDialog(parent)
{
    auto *l = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Clipboard Data"), this);
    // The picture is placed by hand: at its own size it may be larger than the frame,
    // which then shows its top left part.
    Frame1->setFixedSize(areaPixels() + QSize(2 * kInset, 2 * kInset));
    Image1 = new QLabel(Frame1);
    Image1->move(kInset, kInset);
    Image1->resize(areaPixels());
    Image1->setScaledContents(true);
    l->addWidget(Frame1);
    auto *row = new QHBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("Stretch"), this);
    Check1->setChecked(true);
    Command1 = new QPushButton(QStringLiteral("Exit"), this);
    row->addWidget(Check1);
    row->addStretch(1);
    row->addWidget(Command1);
    l->addLayout(row);
    connect(Check1, &QCheckBox::stateChanged, this, &frmCapture::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCapture::Command1_Click);
}

frmCapture *frmCapture::Current() { return g_current.data(); }

void frmCapture::Form_Load() { setWindowTitle(AppTitle); }

void frmCapture::SetPicture(const QPixmap &picture)
{
    Image1->setPixmap(picture);
    if (!Image1->hasScaledContents()) Image1->resize(picture.size());
}

void frmCapture::Check1_Click()
{
    if (Check1->isChecked()) {
        Image1->resize(areaPixels());
        Image1->setScaledContents(true);
    } else {
        Image1->setScaledContents(false);
        Image1->resize(Image1->pixmap().size());
    }
}

void frmCapture::Command1_Click() { accept(); }

void frmCapture::ShowModal(const QPixmap &picture)
{
    QPointer<frmCapture> d = new frmCapture(mainWindow());
    d->setAttribute(Qt::WA_DeleteOnClose);
    g_current = d;
    d->Form_Load();
    d->SetPicture(picture);
    d->exec();
}
