#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "settings/WorkingFolder.h"
#include <QApplication>
#include <QStyle>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));

    const QString shipped = settings::ShippedDataFolder();
    if (shipped.isEmpty())
        qWarning("OrvelIRC: no shipped data in %s/../share/orvelirc: sounds, pictures and server lists are missing",
                 qUtf8Printable(QCoreApplication::applicationDirPath()));
    const QString folder = settings::WorkingFolderPath();
    const QString problem = settings::EnterWorkingFolder(folder, shipped);
    if (!problem.isEmpty()) {
        const QString text = QStringLiteral("OrvelIRC cannot use its working folder: ") + problem;
        qWarning("%s", qUtf8Printable(text));
        platform::dialogs().MsgBox(text, AppTitle);
        return 1;
    }

    frmOrvelMain &frame = Main();
    frame.show();
    return app.exec();
}
