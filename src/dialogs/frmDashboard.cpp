#include "dialogs/frmDashboard.h"
#include "connection/FrameHost.h"
#include "platform/FileLists.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "dialogs/frmOptions.h"
#include <QComboBox>

frmDashboard::frmDashboard(QWidget *parent)
    : FileChooser(parent, QStringLiteral("Choose a background"),
                  {QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.*")},
                  {QStringLiteral("Tile Image"), QStringLiteral("Distorted"), QStringLiteral("Blurry"),
                   QStringLiteral("Stretched")},
                  true)
{
    File1->SetPath(Dir1->Path());
}

void frmDashboard::Form_Load()
{
    Combo1->setEditText(QStringLiteral("*.gif"));
    setWindowTitle(AppTitle);
}

void frmDashboard::Command2_Click()
{
    // Folder, separator and name: a file in a root folder gets a doubled separator, which
    // names the same file.
    const QString path = Dir1->Path() + u'/' + File1->FileName();
    if (!frameHost().LoadDashboardPicture(path)) {
        // A file that shows no picture never replaces a working setting; the chooser stays
        // open for another choice.
        platform::dialogs().MsgBox(QStringLiteral("The file ") + path +
                                       QStringLiteral(" is not a picture that can be shown. The dashboard picture "
                                                      "was not changed."),
                                   AppTitle, MsgIcon::Exclamation);
        return;
    }
    if (frmOptions *options = frmOptions::Current()) options->LoadPicture(path);
    settings::Write(QStringLiteral("backpic.msg"), path);
    done(QDialog::Accepted);
}
