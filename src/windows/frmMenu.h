#pragma once
#include "platform/Forms.h"
#include <QStringList>
class QAction;
class QMenu;

// Carries the nick list's pop-up menu; the window itself is never shown. Every command
// acts on the entry selected in the channel window's nick list.
class frmMenu : public FormBase
{
    Q_OBJECT
public:
    frmMenu();
    ~frmMenu() override;
    bool IsMdiChild() const override { return false; }

    QMenu *mnuNamelistHidden = nullptr;
    QMenu *mnuCtcp = nullptr;
    QAction *mnuTime = nullptr, *mnuCtcpVersion = nullptr, *mnuCtcpPage = nullptr, *mnuCtcpHelp = nullptr,
            *mnuCtcpFinger = nullptr, *mnuCtcpClientInfo = nullptr;
    QAction *mnuSep = nullptr;
    QMenu *mnuFun = nullptr, *mnuInsultsAndJokes = nullptr, *mnuWelcome = nullptr, *mnuFood = nullptr;
    QAction *mnuIfMsBuiltCars = nullptr, *mnuMSTvDinners = nullptr, *mnuIfGODwereAProgrammer = nullptr;
    QAction *mnuWelcomeKewlHi = nullptr, *mnuYEEEAAAAHHHH = nullptr, *mnuWelcomeWave = nullptr, *mnuShake = nullptr,
            *mnuBatman = nullptr;
    QAction *mnuSep9829 = nullptr, *mnuHugs = nullptr, *mnuKiss = nullptr, *mnuRose = nullptr,
            *mnuSep92879032 = nullptr, *mnuPoke = nullptr;
    QAction *mnuFoodLifeSavers = nullptr, *mnuHersheys = nullptr, *mnuCoke = nullptr;
    QAction *mnuSep2 = nullptr, *mnuQuery = nullptr, *mnuWhois = nullptr, *mnuSep937893 = nullptr;
    QAction *mnuOp = nullptr, *mnuDeop = nullptr, *mnuSep789378 = nullptr, *mnuVoice = nullptr, *mnuDeVoice = nullptr;
    QAction *mnuSep90893 = nullptr, *mnuKick = nullptr, *mnuBan = nullptr, *mnuKickBan = nullptr,
            *mnuSep80279323 = nullptr;
    QMenu *mnuBots = nullptr, *mnuEggdropInterface = nullptr;
    QAction *mnuGetops = nullptr, *mnuSetPass = nullptr, *mnuSetInfo = nullptr, *mnuIdent = nullptr,
            *mnuHelp = nullptr;

    // The gift words (the captions of the three food items) and the eleven joke lines.
    static const QString SweetWord;      // ten letters
    static const QString ChocolateWord;  // eight letters
    static const QString DrinkWord;      // four letters
    static const QStringList JokeLines;

    void mnuTime_Click();
    void mnuCTCPVersion_Click();
    void mnuCtcpPage_Click();
    void mnuCtcpHelp_Click();
    void mnuCtcpFinger_Click();
    void mnuCtcpClientInfo_Click();
    void mnuMSTvDinners_Click();
    void mnuFoodLifeSavers_Click();
    void mnuHersheys_Click();
    void mnuCoke_Click();
    void mnuQuery_Click();
    void mnuWhois_Click();
    void mnuOp_Click();
    void mnuDeop_Click();
    void mnuVoice_Click();
    void mnuDevoice_Click();
    void mnuKick_Click();
    void mnuBan_Click();
    void mnuKickBan_Click();
    void mnuGetops_Click();
    void mnuSetPass_Click();
    void mnuSetInfo_Click();
    void mnuIdent_Click();
    void mnuHelp_Click();

private:
    void buildMenu();
    // The picked entry less a leading status character of the strip set.
    QString takeNick(const QString &strip);
    void ctcp(const QString &request);
    void botCommand(const QString &prompt, const QString &word);
};
