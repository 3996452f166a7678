#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include <QApplication>
#include <QStyle>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));
    Main();  // its start-up shows it
    return app.exec();
}
