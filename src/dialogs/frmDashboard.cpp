#include "dialogs/frmDashboard.h"
#include "frame/frmOrvelMain.h"
#include "platform/FileLists.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "settings/frmOptions.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmDashboard> g_current;
}

frmDashboard::frmDashboard(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(AppTitle);
    auto *outer = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Choose a background"), this);
    auto *g = new QGridLayout(Frame1);
    Drive1 = new DriveListBox(Frame1);
    Dir1 = new DirListBox(Frame1);
    File1 = new FileListBox(Frame1);
    Combo1 = new QComboBox(Frame1);
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.*")});
    g->addWidget(Dir1, 0, 0);
    g->addWidget(File1, 0, 1);
    g->addWidget(Drive1, 1, 0);
    g->addWidget(Combo1, 1, 1);
    outer->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("Options"), this);
    auto *o = new QHBoxLayout(Frame2);
    Check1 = new QCheckBox(QStringLiteral("Tile Image"), Frame2);
    Check2 = new QCheckBox(QStringLiteral("Distorted"), Frame2);
    Check3 = new QCheckBox(QStringLiteral("Blurry"), Frame2);
    Check4 = new QCheckBox(QStringLiteral("Stretched"), Frame2);
    for (QCheckBox *c : {Check1, Check2, Check3, Check4}) o->addWidget(c);
    outer->addWidget(Frame2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Command2 = new QPushButton(QStringLiteral("OK"), this);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    outer->addLayout(buttons);

    // The lists start in the working folder.
    const QString here = QDir::currentPath();
    Drive1->SetDriveFor(here);
    Dir1->SetPath(here);
    File1->SetPath(Dir1->Path());
    Command2->setEnabled(false);

    connect(Command2, &QPushButton::clicked, this, &frmDashboard::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmDashboard::Command1_Click);
    connect(Drive1, &DriveListBox::Change, this, &frmDashboard::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmDashboard::Dir1_Change);
    connect(Combo1, &QComboBox::editTextChanged, this, &frmDashboard::Combo1_Change);
    connect(File1, &QListWidget::itemSelectionChanged, this, &frmDashboard::updateOk);
    resize(520, 380);
}

frmDashboard *frmDashboard::Current() { return g_current.data(); }

void frmDashboard::ShowModal()
{
    frmDashboard d(&Main());
    g_current = &d;
    d.Form_Load();
    d.exec();
}

void frmDashboard::Form_Load()
{
    Combo1->setEditText(QStringLiteral("*.gif"));
    setWindowTitle(AppTitle);
}

void frmDashboard::Drive1_Change()
{
    if (Dir1->Path().isEmpty() || Drive1->DriveFor(Dir1->Path()) != Drive1->Drive()) Dir1->SetPath(Drive1->Drive());
    File1->SetPath(Dir1->Path());
    updateOk();
}

void frmDashboard::Dir1_Change()
{
    File1->SetPath(Dir1->Path());
    Drive1->SetDriveFor(Dir1->Path());
    updateOk();
}

void frmDashboard::Combo1_Change()
{
    File1->SetPattern(Combo1->currentText());
    updateOk();
}

void frmDashboard::updateOk() { Command2->setEnabled(!File1->FileName().isEmpty()); }

void frmDashboard::Command2_Click()
{
    // Folder, separator and name: a file in a root folder gets a doubled separator, which
    // names the same file.
    const QString path = Dir1->Path() + u'/' + File1->FileName();
    Main().LoadDashboardPicture(path);
    if (frmOptions *options = frmOptions::Current()) options->LoadPicture(path);
    settings::Write(QStringLiteral("backpic.msg"), path);
    done(QDialog::Accepted);
}

void frmDashboard::Command1_Click() { done(QDialog::Rejected); }
