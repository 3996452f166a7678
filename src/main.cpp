#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "settings/WorkingFolder.h"
#include <QApplication>
#include <QDir>
#include <QIcon>

namespace {
// Every size of the program's icon, so that the window, the task bar and the desktop
// entry show the same picture.
QIcon ProgramIcon()
{
    QIcon icon;
    for (const QFileInfo &png : QDir(QStringLiteral(":/icon")).entryInfoList(QDir::Files)) icon.addFile(png.filePath());
    return icon;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVELIRC_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());

    const QString shipped = settings::ShippedDataFolder();
    if (shipped.isEmpty())
        qWarning("OrvelIRC: no shipped data in %s/../share/orvelirc: sounds, pictures and server lists are missing",
                 qUtf8Printable(QCoreApplication::applicationDirPath()));
    const QString folder = settings::WorkingFolderPath();
    const QString problem = settings::EnterWorkingFolder(folder, shipped);
    if (!problem.isEmpty()) {
        const QString text = QStringLiteral("OrvelIRC cannot use its working folder: ") + problem;
        qWarning("%s", qUtf8Printable(text));
        platform::dialogs().MsgBox(text, AppTitle, MsgIcon::Exclamation);
        return 1;
    }

    Main();  // its start-up shows it
    return app.exec();
}
