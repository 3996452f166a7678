#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include <QApplication>
#include <QStyle>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));
    frmOrvelMain &frame = Main();
    frame.show();
    return app.exec();
}
