#include "dialogs/frmSoundOptions.h"
#include "frame/frmOrvelMain.h"
#include "platform/FileLists.h"
#include "platform/Platform.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmSoundOptions> g_current;
}

frmSoundOptions::frmSoundOptions(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(AppTitle);
    auto *outer = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Path"), this);
    auto *g = new QGridLayout(Frame1);
    Drive1 = new DriveListBox(Frame1);
    Dir1 = new DirListBox(Frame1);
    File1 = new FileListBox(Frame1);
    Combo1 = new QComboBox(Frame1);
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral("*.wav"), QStringLiteral("*.*")});
    g->addWidget(Dir1, 0, 0);
    g->addWidget(File1, 0, 1);
    g->addWidget(Drive1, 1, 0);
    g->addWidget(Combo1, 1, 1);
    outer->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("Options"), this);
    auto *o = new QHBoxLayout(Frame2);
    Check1 = new QCheckBox(QStringLiteral("Broadcast in Channel"), Frame2);
    Check2 = new QCheckBox(QStringLiteral("Chorus"), Frame2);
    Check3 = new QCheckBox(QStringLiteral("Delay"), Frame2);
    Check4 = new QCheckBox(QStringLiteral("Distortion"), Frame2);
    for (QCheckBox *c : {Check1, Check2, Check3, Check4}) o->addWidget(c);
    outer->addWidget(Frame2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Command2 = new QPushButton(QStringLiteral("OK"), this);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    outer->addLayout(buttons);

    // The lists start in the working folder, where the sounds are played from.
    const QString here = QDir::currentPath();
    Drive1->SetDriveFor(here);
    Dir1->SetPath(here);
    Command2->setEnabled(false);

    connect(Command2, &QPushButton::clicked, this, &frmSoundOptions::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSoundOptions::Command1_Click);
    connect(Drive1, &DriveListBox::Change, this, &frmSoundOptions::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmSoundOptions::Dir1_Change);
    connect(Combo1, &QComboBox::editTextChanged, this, &frmSoundOptions::Combo1_Change);
    connect(File1, &QListWidget::itemSelectionChanged, this, &frmSoundOptions::updateOk);
    resize(520, 380);
}

frmSoundOptions *frmSoundOptions::Current() { return g_current.data(); }

void frmSoundOptions::ShowModal()
{
    frmSoundOptions d(&Main());
    g_current = &d;
    d.Form_Load();
    d.exec();
}

void frmSoundOptions::Form_Load()
{
    setWindowTitle(AppTitle);
    SyncLists();
    Combo1->setEditText(QStringLiteral("*.wav"));
}

void frmSoundOptions::SyncLists()
{
    File1->SetPath(Dir1->Path());
    if (Drive1->DriveFor(Dir1->Path()) != Drive1->Drive()) Dir1->SetPath(Drive1->Drive());
    File1->SetPattern(Combo1->currentText());
    updateOk();
}

void frmSoundOptions::Drive1_Change()
{
    if (Drive1->DriveFor(Dir1->Path()) != Drive1->Drive()) Dir1->SetPath(Drive1->Drive());
    File1->SetPath(Dir1->Path());
    updateOk();
}

void frmSoundOptions::Dir1_Change()
{
    File1->SetPath(Dir1->Path());
    Drive1->SetDriveFor(Dir1->Path());
    updateOk();
}

void frmSoundOptions::Combo1_Change() { SyncLists(); }

void frmSoundOptions::updateOk() { Command2->setEnabled(!File1->FileName().isEmpty()); }

void frmSoundOptions::focusActiveChild()
{
    if (QMdiSubWindow *w = Main().MdiArea()->activeSubWindow()) w->setFocus();
}

void frmSoundOptions::Command2_Click()
{
    // The bare name: the sound is looked for in the working folder.
    Main().PlaySnd(File1->FileName());
    done(QDialog::Accepted);
    focusActiveChild();
}

void frmSoundOptions::Command1_Click()
{
    done(QDialog::Rejected);
    focusActiveChild();
}
