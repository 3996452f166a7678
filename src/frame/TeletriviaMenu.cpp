// The frame's "Tele Trivia" menu: start and stop a game in the current channel.
#include "connection/frmOrvelIRC.h"
#include "core/Session.h"
#include "frame/frmOrvelMain.h"
#include "windows/frmChan.h"
#include <QAction>
#include <QMenu>

void frmOrvelMain::buildTeletriviaMenu()
{
    // It stands before "Plugins" and "Dash Board" in the OrvelIRC menu.
    QAction *before = mnuDashboard;
    for (QAction *a : mnuOrvelIRC->actions()) {
        const QString t = QString(a->text()).remove(QLatin1Char('&'));
        if (t == QLatin1String("Plugins") || a == mnuDashboard) { before = a; break; }
    }
    mnuTeletrivia = new QMenu(QStringLiteral("Tele Trivia"), this);
    mnuOrvelIRC->insertMenu(before, mnuTeletrivia);
    mnuStartTeleTrivia = mnuTeletrivia->addAction(QStringLiteral("Start"));
    mnuStopTeletrivia = mnuTeletrivia->addAction(QStringLiteral("Stop"));
    mnuStartTeleTrivia->setEnabled(false);
    mnuStopTeletrivia->setEnabled(false);
    connect(mnuStartTeleTrivia, &QAction::triggered, this, &frmOrvelMain::mnuStartTeleTrivia_Click);
    connect(mnuStopTeletrivia, &QAction::triggered, this, &frmOrvelMain::mnuStopTeletrivia_Click);
}

void frmOrvelMain::mnuStartTeleTrivia_Click()
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    if (!s.IsConnectedFlag()) {
        s.Addtext(QStringLiteral("\x01 Error 5 (Not Connected)"));
        PlaySnd(QStringLiteral("error.wav"));
        return;
    }
    s.SendData(QStringLiteral("PRIVMSG ") + s.ChanCentral() + QStringLiteral(" :\x03" "12<<\x03" "10Tele trivia has begun!\x03" "12>>"));
    form<frmChan>().Addtext(QStringLiteral("> <<Tele trivia has begun!>>"));
    // The phase and the held answer carry over: the first tick does whatever the indicator says.
    session().Game().Timer().setEnabled(true);
    mnuStartTeleTrivia->setEnabled(false);
    mnuStopTeletrivia->setEnabled(true);
}

void frmOrvelMain::mnuStopTeletrivia_Click()
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.SendData(QStringLiteral("PRIVMSG ") + s.ChanCentral() + QStringLiteral(" :\x03" "12<<\x03" "10Teletrivia has ended!\x03" "12>>"));
    mnuStopTeletrivia->setEnabled(false);
    mnuStartTeleTrivia->setEnabled(true);
    session().Game().Timer().setEnabled(false);
}
