#include "windows/frmMenu.h"
#include "connection/FrameHost.h"
#include "connection/frmOrvelIRC.h"
#include "core/ChannelMembers.h"
#include "core/Session.h"
#include "core/Teletrivia.h"
#include "platform/Platform.h"
#include "windows/frmChan.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QMenu>

const QString frmMenu::SweetWord = QStringLiteral("Fizzletops");
const QString frmMenu::ChocolateWord = QStringLiteral("Brumbles");
const QString frmMenu::DrinkWord = QStringLiteral("Zolt");

// Each line follows the nick, so it opens with a comma.
const QStringList frmMenu::JokeLines = {
    QStringLiteral(", did you hear that Glorbosoft sells TV dinners now? You have to reboot the microwave every single "
                   "time you want to add a side dish."),
    QStringLiteral(", every Glorbosoft TV dinner comes with a 400 page license agreement printed on the lid, and by "
                   "peeling back the foil you accept every word of it."),
    QStringLiteral(", the new Glorbosoft TV dinner needs two gigabytes of free room in your freezer and still asks you "
                   "to upgrade to the family size before it will heat up."),
    QStringLiteral(", each Glorbosoft TV dinner has a little paper clip on the tray that pops up and says: It looks "
                   "like you are trying to eat. Would you like some help with that?"),
    QStringLiteral(", when a Glorbosoft TV dinner freezes halfway through cooking, the only fix their help line knows "
                   "is to take it out, put it back in and press Start again."),
    QStringLiteral(", Glorbosoft TV dinners come in three editions: Home, which has no dessert, Professional, which "
                   "has a dessert you cannot open, and Enterprise, which has a dessert and a consultant who opens it "
                   "for you at an hourly rate."),
    QStringLiteral(", the Glorbosoft TV dinner promises to be ready in five minutes, then shows a progress bar that "
                   "sits at 99 percent for the next half hour."),
    QStringLiteral(", you can only eat a Glorbosoft TV dinner with a Glorbosoft fork, and the fork only works after you "
                   "register it online and type in a 25 character key."),
    QStringLiteral(", the Glorbosoft TV dinner service pack is the same meal again with a new label, a bigger box and "
                   "a note saying that the peas have been fixed."),
    QStringLiteral(", halfway through a Glorbosoft TV dinner the whole tray turns blue, and then the dinner tells you "
                   "that it has performed an illegal operation and will be shut down."),
    QStringLiteral(", Glorbosoft says their TV dinner is the most secure meal ever made, which is why you get a new "
                   "patch for the gravy every second Tuesday of the month."),
};

frmMenu::frmMenu() { buildMenu(); }

frmMenu::~frmMenu() = default;

void frmMenu::buildMenu()
{
    auto item = [this](QMenu *menu, const QString &caption, void (frmMenu::*handler)()) {
        QAction *a = menu->addAction(caption);
        if (handler) connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto inert = [](QMenu *menu, const QString &caption, bool enabled) {
        QAction *a = menu->addAction(caption);
        a->setEnabled(enabled);
        return a;
    };

    mnuNamelistHidden = new QMenu(QStringLiteral("Namelist*Hidden*"), this);
    QMenu *top = mnuNamelistHidden;

    mnuCtcp = top->addMenu(QStringLiteral("Ctcp"));
    mnuTime = item(mnuCtcp, QStringLiteral("Time"), &frmMenu::mnuTime_Click);
    mnuCtcpVersion = item(mnuCtcp, QStringLiteral("Version"), &frmMenu::mnuCTCPVersion_Click);
    mnuCtcpPage = item(mnuCtcp, QStringLiteral("Page"), &frmMenu::mnuCtcpPage_Click);
    mnuCtcpHelp = item(mnuCtcp, QStringLiteral("Help"), &frmMenu::mnuCtcpHelp_Click);
    mnuCtcpFinger = item(mnuCtcp, QStringLiteral("Finger"), &frmMenu::mnuCtcpFinger_Click);
    mnuCtcpClientInfo = item(mnuCtcp, QStringLiteral("Clientinfo"), &frmMenu::mnuCtcpClientInfo_Click);
    mnuSep = top->addSeparator();

    mnuFun = top->addMenu(QStringLiteral("Fun"));
    mnuInsultsAndJokes = mnuFun->addMenu(QStringLiteral("Insults and Jokes"));
    mnuIfMsBuiltCars = inert(mnuInsultsAndJokes, QStringLiteral("If Glorbosoft built cars"), false);
    mnuMSTvDinners = item(mnuInsultsAndJokes, QStringLiteral("Glorbosoft TV Dinners"), &frmMenu::mnuMSTvDinners_Click);
    mnuIfGODwereAProgrammer = inert(mnuInsultsAndJokes, QStringLiteral("If GOD were a programmer"), false);
    mnuWelcome = mnuFun->addMenu(QStringLiteral("Welcome"));
    mnuWelcomeKewlHi = inert(mnuWelcome, QStringLiteral("Kewlhi"), true);
    mnuYEEEAAAAHHHH = inert(mnuWelcome, QStringLiteral("!!!!!!"), true);
    mnuWelcomeWave = inert(mnuWelcome, QStringLiteral("Wave"), true);
    mnuShake = inert(mnuWelcome, QStringLiteral("Shake"), true);
    mnuBatman = inert(mnuWelcome, QStringLiteral("Quasarman"), true);
    mnuSep9829 = mnuFun->addSeparator();
    mnuHugs = inert(mnuFun, QStringLiteral("Hugs"), false);
    mnuKiss = inert(mnuFun, QStringLiteral("Kiss"), false);
    mnuRose = inert(mnuFun, QStringLiteral("Rose"), false);
    mnuSep92879032 = mnuFun->addSeparator();
    mnuPoke = inert(mnuFun, QStringLiteral("Poke"), false);
    mnuFood = mnuFun->addMenu(QStringLiteral("Food"));
    mnuFoodLifeSavers = item(mnuFood, SweetWord, &frmMenu::mnuFoodLifeSavers_Click);
    mnuHersheys = item(mnuFood, ChocolateWord, &frmMenu::mnuHersheys_Click);
    mnuCoke = item(mnuFood, DrinkWord, &frmMenu::mnuCoke_Click);
    mnuSep2 = top->addSeparator();

    mnuQuery = item(top, QStringLiteral("Query"), &frmMenu::mnuQuery_Click);
    mnuWhois = item(top, QStringLiteral("Whois"), &frmMenu::mnuWhois_Click);
    mnuSep937893 = top->addSeparator();
    mnuOp = item(top, QStringLiteral("Op"), &frmMenu::mnuOp_Click);
    mnuDeop = item(top, QStringLiteral("Deop"), &frmMenu::mnuDeop_Click);
    mnuSep789378 = top->addSeparator();
    mnuVoice = item(top, QStringLiteral("Voice"), &frmMenu::mnuVoice_Click);
    mnuDeVoice = item(top, QStringLiteral("De-Voice"), &frmMenu::mnuDevoice_Click);
    mnuSep90893 = top->addSeparator();
    mnuKick = item(top, QStringLiteral("Kick"), &frmMenu::mnuKick_Click);
    mnuBan = item(top, QStringLiteral("Ban"), &frmMenu::mnuBan_Click);
    mnuKickBan = item(top, QStringLiteral("Kick/Ban"), &frmMenu::mnuKickBan_Click);
    mnuSep80279323 = top->addSeparator();

    mnuBots = top->addMenu(QStringLiteral("Bots"));
    mnuEggdropInterface = mnuBots->addMenu(QStringLiteral("Eggdrop Interface"));
    mnuGetops = item(mnuEggdropInterface, QStringLiteral("Get Ops"), &frmMenu::mnuGetops_Click);
    mnuSetPass = item(mnuEggdropInterface, QStringLiteral("Set Password"), &frmMenu::mnuSetPass_Click);
    mnuSetInfo = item(mnuEggdropInterface, QStringLiteral("Set Info"), &frmMenu::mnuSetInfo_Click);
    mnuIdent = item(mnuEggdropInterface, QStringLiteral("Ident"), &frmMenu::mnuIdent_Click);
    mnuHelp = item(mnuEggdropInterface, QStringLiteral("Help"), &frmMenu::mnuHelp_Click);

    // Each item answers to its own name.
    const std::pair<QObject *, const char *> names[] = {
        {mnuNamelistHidden, "mnuNamelistHidden"}, {mnuCtcp, "mnuCtcp"}, {mnuTime, "mnuTime"},
        {mnuCtcpVersion, "mnuCtcpVersion"}, {mnuCtcpPage, "mnuCtcpPage"}, {mnuCtcpHelp, "mnuCtcpHelp"},
        {mnuCtcpFinger, "mnuCtcpFinger"}, {mnuCtcpClientInfo, "mnuCtcpClientInfo"}, {mnuSep, "mnuSep"},
        {mnuFun, "mnuFun"}, {mnuInsultsAndJokes, "mnuInsultsAndJokes"}, {mnuIfMsBuiltCars, "mnuIfMsBuiltCars"},
        {mnuMSTvDinners, "mnuMSTvDinners"}, {mnuIfGODwereAProgrammer, "mnuIfGODwereAProgrammer"},
        {mnuWelcome, "mnuWelcome"}, {mnuWelcomeKewlHi, "mnuWelcomeKewlHi"}, {mnuYEEEAAAAHHHH, "mnuYEEEAAAAHHHH"},
        {mnuWelcomeWave, "mnuWelcomeWave"}, {mnuShake, "mnuShake"}, {mnuBatman, "mnuBatman"},
        {mnuSep9829, "mnuSep9829"}, {mnuHugs, "mnuHugs"}, {mnuKiss, "mnuKiss"}, {mnuRose, "mnuRose"},
        {mnuSep92879032, "mnuSep92879032"}, {mnuPoke, "mnuPoke"}, {mnuFood, "mnuFood"},
        {mnuFoodLifeSavers, "mnuFoodLifeSavers"}, {mnuHersheys, "mnuHersheys"}, {mnuCoke, "mnuCoke"},
        {mnuSep2, "mnuSep2"}, {mnuQuery, "mnuQuery"}, {mnuWhois, "mnuWhois"}, {mnuSep937893, "mnuSep937893"},
        {mnuOp, "mnuOp"}, {mnuDeop, "mnuDeop"}, {mnuSep789378, "mnuSep789378"}, {mnuVoice, "mnuVoice"},
        {mnuDeVoice, "mnuDeVoice"}, {mnuSep90893, "mnuSep90893"}, {mnuKick, "mnuKick"}, {mnuBan, "mnuBan"},
        {mnuKickBan, "mnuKickBan"}, {mnuSep80279323, "mnuSep80279323"}, {mnuBots, "mnuBots"},
        {mnuEggdropInterface, "mnuEggdropInterface"}, {mnuGetops, "mnuGetops"}, {mnuSetPass, "mnuSetPass"},
        {mnuSetInfo, "mnuSetInfo"}, {mnuIdent, "mnuIdent"}, {mnuHelp, "mnuHelp"}};
    for (const auto &[object, name] : names) object->setObjectName(QLatin1String(name));
}

namespace {
QString channel() { return form<frmOrvelIRC>().ChanCentral(); }
void send(const QString &line) { form<frmOrvelIRC>().SendData(line); }
} // namespace

QString frmMenu::takeNick(const QString &strip)
{
    // Both tests look at the entry itself, not at what the first one left.
    const QString entry = form<frmChan>().Namelist->Members().Picked();
    QString selected = entry;
    if (!strip.isEmpty() && entry.startsWith(strip.at(0))) selected = entry.mid(1);
    if (strip.size() > 1 && entry.startsWith(strip.at(1))) selected = entry.mid(1);
    return selected;
}

void frmMenu::ctcp(const QString &request)
{
    const QString nick = takeNick(QStringLiteral("@+"));
    send(QStringLiteral("PRIVMSG ") + nick + QStringLiteral(" :\x01") + request + QStringLiteral("\x01"));
}

void frmMenu::mnuTime_Click() { ctcp(QStringLiteral("TIME")); }
void frmMenu::mnuCTCPVersion_Click() { ctcp(QStringLiteral("VERSION")); }
void frmMenu::mnuCtcpPage_Click() { ctcp(QStringLiteral("PAGE")); }
void frmMenu::mnuCtcpHelp_Click() { ctcp(QStringLiteral("HELP")); }
void frmMenu::mnuCtcpFinger_Click() { ctcp(QStringLiteral("FINGER")); }
void frmMenu::mnuCtcpClientInfo_Click() { ctcp(QStringLiteral("CLIENTINFO")); }

void frmMenu::mnuMSTvDinners_Click()
{
    const int k = trivia::DrawOneTo(int(JokeLines.size()));
    const QString nick = takeNick(QStringLiteral("@+"));
    const QString joke = JokeLines.at(k - 1);
    send(QStringLiteral("PRIVMSG ") + channel() + QStringLiteral(" :") + nick + joke);
    form<frmChan>().Addtext(QStringLiteral("> ") + nick + joke);
}

void frmMenu::mnuFoodLifeSavers_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    // Nine letters (the sixth is left out), each in its own colours.
    static const char *const codes[9] = {"16,1", "1,8", "16,4", "16,6", "1,8", "15,4", "16,4", "1,8", "1,8"};
    QString word = SweetWord.toUpper();
    word.remove(5, 1);
    QString coloured;
    for (int i = 0; i < 9 && i < word.size(); ++i)
        coloured += QChar(3) + QLatin1String(codes[i]) + word.at(i);
    send(QStringLiteral("PRIVMSG ") + channel() + QStringLiteral(" :\x01" "ACTION hands ") + nick +
         QStringLiteral(" some \x03" "0,15 ") + coloured + QStringLiteral("\x03" "15,15.\x01"));
    form<frmChan>().Addtext2(QStringLiteral("* ") + session().Nick() + QStringLiteral(" hands ") + nick +
                             QStringLiteral(" some ") + SweetWord.toUpper());
}

void frmMenu::mnuHersheys_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    QString word = ChocolateWord.toUpper();
    word.insert(word.size() - 1, QLatin1Char('\''));
    send(QStringLiteral("PRIVMSG ") + channel() + QStringLiteral(" :\x01" "ACTION gives ") + nick +
         QStringLiteral(" a \x03" "0,15 \x03" "15,1") + word + QStringLiteral("\x03" "15,15.\x01"));
    form<frmChan>().Addtext2(QStringLiteral("* ") + session().Nick() + QStringLiteral(" gives ") + nick +
                             QStringLiteral(" a  ") + word);
}

void frmMenu::mnuCoke_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    send(QStringLiteral("PRIVMSG ") + channel() + QStringLiteral(" :\x01" "ACTION tosses ") + nick +
         QStringLiteral(" a \x03" "3|\x03" "16,4") + DrinkWord + QStringLiteral("\x03" "3,0|\x01"));
    form<frmChan>().Addtext2(QStringLiteral("* ") + session().Nick() + QStringLiteral("  tosses ") + nick +
                             QStringLiteral(" a |") + DrinkWord + QLatin1Char('|'));
}

void frmMenu::mnuQuery_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    frmOrvelChat &chat = form<frmOrvelChat>();
    // An open chat may be minimised or behind the channel window.
    chat.BringToFront();
    chat.txtUser->setText(nick);
}

void frmMenu::mnuWhois_Click() { send(QStringLiteral("WHOIS ") + takeNick(QStringLiteral("@+"))); }

// Op and Voice send the entry as it stands, status character and all.
void frmMenu::mnuOp_Click()
{
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" +o :") + form<frmChan>().Namelist->Members().Picked());
}

void frmMenu::mnuDeop_Click()
{
    const QString nick = takeNick(QStringLiteral("@"));
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" -o :") + nick);
}

void frmMenu::mnuVoice_Click()
{
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" +v ") + form<frmChan>().Namelist->Members().Picked());
}

void frmMenu::mnuDevoice_Click()
{
    const QString nick = takeNick(QStringLiteral("+"));
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" -v ") + nick);
}

void frmMenu::mnuKick_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    send(QStringLiteral("KICK ") + channel() + QLatin1Char(' ') + nick + QStringLiteral(" :Get Out"));
}

void frmMenu::mnuBan_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" +b ") + nick);
}

void frmMenu::mnuKickBan_Click()
{
    const QString nick = takeNick(QStringLiteral("@+"));
    send(QStringLiteral("KICK ") + channel() + QLatin1Char(' ') + nick);
    send(QStringLiteral("MODE ") + channel() + QStringLiteral(" +b ") + nick);
}

void frmMenu::botCommand(const QString &prompt, const QString &word)
{
    const QString nick = takeNick(QStringLiteral("@+"));
    const QString answer = platform::dialogs().InputBox(prompt, AppTitle, QString());
    // Cancel and an empty answer send nothing; anything else goes out exactly as typed.
    if (answer.isEmpty()) return;
    send(QStringLiteral("PRIVMSG ") + nick + QStringLiteral(" :") + word + QLatin1Char(' ') + answer);
}

void frmMenu::mnuGetops_Click() { botCommand(QStringLiteral("Password"), QStringLiteral("op")); }
void frmMenu::mnuSetPass_Click() { botCommand(QStringLiteral("Password"), QStringLiteral("pass")); }
void frmMenu::mnuSetInfo_Click() { botCommand(QStringLiteral("Information"), QStringLiteral("info")); }
void frmMenu::mnuIdent_Click() { botCommand(QStringLiteral("Identify"), QStringLiteral("ident")); }

void frmMenu::mnuHelp_Click() { send(QStringLiteral("PRIVMSG ") + takeNick(QStringLiteral("@+")) + QStringLiteral(" :help")); }
