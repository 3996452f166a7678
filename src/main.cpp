#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    frmOrvelMain &frame = Main();
    frame.show();
    return app.exec();
}
