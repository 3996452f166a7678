#include "dialogs/frmSoundOptions.h"
#include "platform/FileLists.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

// The lists start in the working folder, where the program's own sounds are.
frmSoundOptions::frmSoundOptions(QWidget *parent)
    : FileChooser(parent, QStringLiteral("Path"), {QStringLiteral("*.wav"), QStringLiteral("*.*")},
                  {QStringLiteral("Broadcast in Channel"), QStringLiteral("Chorus"), QStringLiteral("Delay"),
                   QStringLiteral("Distortion")},
                  false)
{
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

void frmSoundOptions::Combo1_Change() { SyncLists(); }

void frmSoundOptions::focusActiveChild()
{
    if (FormHost *host = formHost())
        if (QMdiSubWindow *w = host->MdiArea()->activeSubWindow()) w->setFocus();
}

void frmSoundOptions::Command2_Click()
{
    // The whole path, so that a sound from any folder plays.
    if (Play) Play(Dir1->Path() + u'/' + File1->FileName());
    done(QDialog::Accepted);
    focusActiveChild();
}

void frmSoundOptions::Command1_Click()
{
    FileChooser::Command1_Click();
    focusActiveChild();
}
