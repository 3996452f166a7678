#include "dialogs/FileChooser.h"
#include "platform/FileLists.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

FileChooser::FileChooser(QWidget *parent, const QString &frameTitle, const QStringList &patterns,
                         const QStringList &checks, bool rootWhenNoFolder)
    : QDialog(parent), m_rootWhenNoFolder(rootWhenNoFolder)
{
    setWindowTitle(AppTitle);
    auto *outer = new QVBoxLayout(this);
    Frame1 = new QGroupBox(frameTitle, this);
    auto *g = new QGridLayout(Frame1);
    Drive1 = new DriveListBox(Frame1);
    Dir1 = new DirListBox(Frame1);
    File1 = new FileListBox(Frame1);
    Combo1 = new QComboBox(Frame1);
    Combo1->setEditable(true);
    Combo1->addItems(patterns);
    g->addWidget(Dir1, 0, 0);
    g->addWidget(File1, 0, 1);
    g->addWidget(Drive1, 1, 0);
    g->addWidget(Combo1, 1, 1);
    outer->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("Options"), this);
    auto *o = new QHBoxLayout(Frame2);
    Check1 = new QCheckBox(checks.value(0), Frame2);
    Check2 = new QCheckBox(checks.value(1), Frame2);
    Check3 = new QCheckBox(checks.value(2), Frame2);
    Check4 = new QCheckBox(checks.value(3), Frame2);
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
    Command2->setEnabled(false);

    connect(Command2, &QPushButton::clicked, this, &FileChooser::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &FileChooser::Command1_Click);
    connect(Drive1, &DriveListBox::Change, this, &FileChooser::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &FileChooser::Dir1_Change);
    connect(Combo1, &QComboBox::editTextChanged, this, &FileChooser::Combo1_Change);
    connect(File1, &QListWidget::itemSelectionChanged, this, &FileChooser::updateOk);
    resize(520, 380);
}

QWidget *FileChooser::frameWindow() { return mainWindow(); }

void FileChooser::Drive1_Change()
{
    const QString folder = Dir1->Path();
    if ((m_rootWhenNoFolder && folder.isEmpty()) || Drive1->DriveFor(folder) != Drive1->Drive())
        Dir1->SetPath(Drive1->Drive());
    File1->SetPath(Dir1->Path());
    updateOk();
}

void FileChooser::Dir1_Change()
{
    File1->SetPath(Dir1->Path());
    Drive1->SetDriveFor(Dir1->Path());
    updateOk();
}

void FileChooser::Combo1_Change()
{
    File1->SetPattern(Combo1->currentText());
    updateOk();
}

void FileChooser::updateOk() { Command2->setEnabled(!File1->FileName().isEmpty()); }

void FileChooser::Command1_Click() { done(QDialog::Rejected); }
