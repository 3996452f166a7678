// The nick list's pop-up menu: its tree, and the exact lines every command sends for an
// operator, a voiced member, a plain member and no selection.
#include "ClientSession.h"
#include "core/Teletrivia.h"
#include "windows/frmMenu.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

namespace {
double g_draw = 0.0;
double fixedDraw() { return g_draw; }
const QByteArray C = "\x03";

struct Lobby
{
    ClientSession t;
    frmMenu *menu = nullptr;
    bool ok = false;
    Lobby()
    {
        ok = t.connect() && t.join(QStringLiteral("#lobby"), "@bob +amy carl abc");
        menu = &form<frmMenu>();
    }
    // Selects the entry ("" clears the selection) and runs the item.
    QList<QByteArray> run(const QString &entry, QAction *item)
    {
        NickList *view = form<frmChan>().Namelist;
        if (entry.isEmpty()) {
            view->selectionModel()->clear();
        } else {
            view->Members().Pick(entry);
        }
        item->trigger();
        return t.sent();
    }
};

QStringList captions(const QMenu *m)
{
    QStringList out;
    for (const QAction *a : m->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
} // namespace

class PopupTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { trivia::Draw = &fixedDraw; }
    void cleanup() { trivia::Draw = &trivia::TimeSeededDraw; }
    void menuTree();
    void commandLines_data();
    void commandLines();
    void giftsAndTheirEchoes();
    void jokeLines();
    void queryOpensThePrivateChat();
    void botInputBoxes();
    void rightClickActsOnTheSelectedEntry();
    void pickFollowsTheMember();
};

void PopupTest::menuTree()
{
    ClientSession t;
    frmMenu &f = form<frmMenu>();
    QVERIFY(!f.isVisible());
    QCOMPARE(f.mnuNamelistHidden->title(), QStringLiteral("Namelist*Hidden*"));
    QCOMPARE(captions(f.mnuNamelistHidden),
             (QStringList{"Ctcp", "-", "Fun", "-", "Query", "Whois", "-", "Op", "Deop", "-", "Voice", "De-Voice", "-",
                          "Kick", "Ban", "Kick/Ban", "-", "Bots"}));
    QCOMPARE(captions(f.mnuCtcp), (QStringList{"Time", "Version", "Page", "Help", "Finger", "Clientinfo"}));
    QCOMPARE(captions(f.mnuFun), (QStringList{"Insults and Jokes", "Welcome", "-", "Hugs", "Kiss", "Rose", "-", "Poke", "Food"}));
    QCOMPARE(captions(f.mnuWelcome), (QStringList{"Kewlhi", "!!!!!!", "Wave", "Shake", f.mnuBatman->text()}));
    QCOMPARE(captions(f.mnuBots), QStringList{"Eggdrop Interface"});
    QCOMPARE(captions(f.mnuEggdropInterface), (QStringList{"Get Ops", "Set Password", "Set Info", "Ident", "Help"}));
    QCOMPARE(f.mnuInsultsAndJokes->actions().size(), 3);
    QCOMPARE(f.mnuInsultsAndJokes->actions().at(2)->text(), QStringLiteral("If GOD were a programmer"));
    for (QAction *a : {f.mnuIfMsBuiltCars, f.mnuIfGODwereAProgrammer, f.mnuHugs, f.mnuKiss, f.mnuRose, f.mnuPoke})
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    for (QAction *a : {f.mnuMSTvDinners, f.mnuWelcomeKewlHi, f.mnuBatman, f.mnuFoodLifeSavers, f.mnuHersheys, f.mnuCoke,
                       f.mnuOp, f.mnuGetops})
        QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    // The food captions are the gift words, of ten, eight and four letters.
    QCOMPARE(captions(f.mnuFood), (QStringList{frmMenu::SweetWord, frmMenu::ChocolateWord, frmMenu::DrinkWord}));
    QCOMPARE(frmMenu::SweetWord.size(), 10);
    QCOMPARE(frmMenu::ChocolateWord.size(), 8);
    QCOMPARE(frmMenu::DrinkWord.size(), 4);
}

void PopupTest::commandLines_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QList<QByteArray>>("lines");

    struct E { const char *entry, *nick, *deop, *devoice; };
    const E entries[] = {{"@bob", "bob", "bob", "@bob"}, {"+amy", "amy", "+amy", "amy"},
                         {"carl", "carl", "carl", "carl"}, {"", "", "", ""}};
    for (const E &e : entries) {
        const QByteArray n = e.nick, en = e.entry;
        auto row = [&](const char *item, QList<QByteArray> lines) {
            QTest::addRow("%s %s", *e.entry ? e.entry : "none", item) << QString::fromUtf8(en) << QString::fromUtf8(item)
                                                                         << lines;
        };
        row("mnuTime", {"PRIVMSG " + n + " :\x01TIME\x01"});
        row("mnuCtcpVersion", {"PRIVMSG " + n + " :\x01VERSION\x01"});
        row("mnuCtcpPage", {"PRIVMSG " + n + " :\x01PAGE\x01"});
        row("mnuCtcpHelp", {"PRIVMSG " + n + " :\x01HELP\x01"});
        row("mnuCtcpFinger", {"PRIVMSG " + n + " :\x01" "FINGER\x01"});
        row("mnuCtcpClientInfo", {"PRIVMSG " + n + " :\x01" "CLIENTINFO\x01"});
        row("mnuWhois", {"WHOIS " + n});
        row("mnuOp", {"MODE #lobby +o :" + en});
        row("mnuDeop", {"MODE #lobby -o :" + QByteArray(e.deop)});
        row("mnuVoice", {"MODE #lobby +v " + en});
        row("mnuDeVoice", {"MODE #lobby -v " + QByteArray(e.devoice)});
        row("mnuKick", {"KICK #lobby " + n + " :Get Out"});
        row("mnuBan", {"MODE #lobby +b " + n});
        row("mnuKickBan", {"KICK #lobby " + n, "MODE #lobby +b " + n});
        row("mnuHelp", {"PRIVMSG " + n + " :help"});
    }
}

void PopupTest::commandLines()
{
    QFETCH(QString, entry);
    QFETCH(QString, item);
    QFETCH(QList<QByteArray>, lines);
    Lobby l;
    QVERIFY(l.ok);
    auto *action = l.menu->findChild<QAction *>(item);
    QVERIFY2(action, qPrintable(item));
    const QString pane = form<frmChan>().Incoming->Text();
    QCOMPARE(l.run(entry, action), lines);
    // None of them writes into the channel pane.
    QCOMPARE(form<frmChan>().Incoming->Text(), pane);
}

void PopupTest::giftsAndTheirEchoes()
{
    Lobby l;
    QVERIFY(l.ok);
    frmChan &c = form<frmChan>();
    QCOMPARE(l.run(QStringLiteral("@bob"), l.menu->mnuFoodLifeSavers),
             QList<QByteArray>{"PRIVMSG #lobby :\x01" "ACTION hands bob some " + C + "0,15 " + C + "16,1F" + C + "1,8I" +
                               C + "16,4Z" + C + "16,6Z" + C + "1,8L" + C + "15,4T" + C + "16,4O" + C + "1,8P" + C +
                               "1,8S" + C + "15,15.\x01"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("* abc hands bob some FIZZLETOPS"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("* abc hands bob some FIZZLETOPS")), PaletteColour(1));

    QCOMPARE(l.run(QStringLiteral("+amy"), l.menu->mnuHersheys),
             QList<QByteArray>{"PRIVMSG #lobby :\x01" "ACTION gives amy a " + C + "0,15 " + C + "15,1BRUMBLE'S" + C +
                               "15,15.\x01"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("* abc gives amy a  BRUMBLE'S"));

    QCOMPARE(l.run(QStringLiteral("carl"), l.menu->mnuCoke),
             QList<QByteArray>{"PRIVMSG #lobby :\x01" "ACTION tosses carl a " + C + "3|" + C + "16,4Zolt" + C + "3,0|\x01"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("* abc  tosses carl a |Zolt|"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("* abc  tosses carl a |Zolt|")), PaletteColour(1));

    // With nothing selected the lines still go out, with an empty nick.
    QCOMPARE(l.run(QString(), l.menu->mnuCoke),
             QList<QByteArray>{"PRIVMSG #lobby :\x01" "ACTION tosses  a " + C + "3|" + C + "16,4Zolt" + C + "3,0|\x01"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("* abc  tosses  a |Zolt|"));
}

void PopupTest::jokeLines()
{
    QCOMPARE(frmMenu::JokeLines.size(), 11);
    for (const QString &j : frmMenu::JokeLines) {
        QVERIFY2(j.startsWith(QLatin1String(", ")), qPrintable(j));
        QVERIFY2(j.size() >= 106 && j.size() <= 341, qPrintable(j));
        QCOMPARE(frmMenu::JokeLines.count(j), 1);
    }
    Lobby l;
    QVERIFY(l.ok);
    frmChan &c = form<frmChan>();
    g_draw = 0.0;
    const QByteArray first = frmMenu::JokeLines.first().toUtf8();
    QCOMPARE(l.run(QStringLiteral("@bob"), l.menu->mnuMSTvDinners), QList<QByteArray>{"PRIVMSG #lobby :bob" + first});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("> bob") + frmMenu::JokeLines.first());
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("> bob") + frmMenu::JokeLines.first()), PaletteColour(0));
    g_draw = 0.99;
    QCOMPARE(l.run(QString(), l.menu->mnuMSTvDinners),
             QList<QByteArray>{"PRIVMSG #lobby :" + frmMenu::JokeLines.last().toUtf8()});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("> ") + frmMenu::JokeLines.last());
}

void PopupTest::queryOpensThePrivateChat()
{
    Lobby l;
    QVERIFY(l.ok);
    QVERIFY(!loaded<frmOrvelChat>());
    QVERIFY(l.run(QStringLiteral("@bob"), l.menu->mnuQuery).isEmpty());
    frmOrvelChat *chat = loaded<frmOrvelChat>();
    QVERIFY(chat);
    QCOMPARE(chat->txtUser->text(), QStringLiteral("bob"));
    QCOMPARE(Plays(QStringLiteral("chat.wav")), 1);
    // Open already, minimised behind a maximised channel window: it comes to the front.
    chat->Minimize();
    form<frmChan>().SubWindow()->showMaximized();
    l.t.m->MdiArea()->setActiveSubWindow(form<frmChan>().SubWindow());
    QVERIFY(l.run(QStringLiteral("carl"), l.menu->mnuQuery).isEmpty());
    QCOMPARE(chat->txtUser->text(), QStringLiteral("carl"));
    QVERIFY(!chat->IsMinimized());
    QCOMPARE(l.t.m->MdiArea()->activeSubWindow(), chat->SubWindow());
    // Items without a command do nothing.
    QVERIFY(l.run(QStringLiteral("carl"), l.menu->mnuWelcomeKewlHi).isEmpty());
    QVERIFY(l.run(QStringLiteral("carl"), l.menu->mnuBatman).isEmpty());
}

void PopupTest::botInputBoxes()
{
    Lobby l;
    QVERIFY(l.ok);
    RecordingDialogs &d = l.t.env.dialogs;
    d.answers << QStringLiteral(" my  pass ");
    QCOMPARE(l.run(QStringLiteral("@bob"), l.menu->mnuGetops), QList<QByteArray>{"PRIVMSG bob :op  my  pass "});
    d.answers << QStringLiteral("secret");
    QCOMPARE(l.run(QStringLiteral("+amy"), l.menu->mnuSetPass), QList<QByteArray>{"PRIVMSG amy :pass secret"});
    d.answers << QStringLiteral("I like trains");
    QCOMPARE(l.run(QStringLiteral("carl"), l.menu->mnuSetInfo), QList<QByteArray>{"PRIVMSG carl :info I like trains"});
    d.answers << QStringLiteral("pw");
    QCOMPARE(l.run(QString(), l.menu->mnuIdent), QList<QByteArray>{"PRIVMSG  :ident pw"});
    QCOMPARE(d.prompts, (QStringList{"Password", "Password", "Information", "Identify"}));
    QCOMPARE(d.titles, (QStringList{"OrvelIRC", "OrvelIRC", "OrvelIRC", "OrvelIRC"}));

    // An empty answer and Cancel (also "") send nothing.
    d.answers << QString();
    QVERIFY(l.run(QStringLiteral("@bob"), l.menu->mnuGetops).isEmpty());
    QVERIFY(l.run(QStringLiteral("+amy"), l.menu->mnuSetPass).isEmpty());
    QVERIFY(l.run(QStringLiteral("carl"), l.menu->mnuSetInfo).isEmpty());
    QVERIFY(l.run(QStringLiteral("carl"), l.menu->mnuIdent).isEmpty());
    QCOMPARE(d.prompts.size(), 8);
}

void PopupTest::rightClickActsOnTheSelectedEntry()
{
    Lobby l;
    QVERIFY(l.ok);
    frmChan &c = form<frmChan>();
    c.Namelist->Members().Pick(QStringLiteral("@bob"));
    const int carl = int(c.Namelist->Members().Items().indexOf(QStringLiteral("carl")));
    QVERIFY(carl >= 0);
    bool listWasDisabled = false;
    QTimer::singleShot(0, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        listWasDisabled = !c.Namelist->isEnabled();
        if (!popup) return;
        l.menu->mnuKick->trigger();
        popup->close();
    });
    QTest::mouseClick(c.Namelist->viewport(), Qt::RightButton, {}, c.Namelist->visualRect(c.Namelist->model()->index(carl, 0)).center());
    QVERIFY(listWasDisabled);
    QVERIFY(c.Namelist->isEnabled());
    QCOMPARE(c.Namelist->Members().Picked(), QStringLiteral("@bob"));
    QCOMPARE(l.t.sent(), QList<QByteArray>{"KICK #lobby bob :Get Out"});
}

// The user's pick stays on the member whose status or nick changes, so the next command
// goes to that member; each member is listed once whatever modes arrive.
void PopupTest::pickFollowsTheMember()
{
    Lobby l;
    QVERIFY(l.ok);
    core::ChannelMembers *list = &form<frmChan>().Namelist->Members();
    const struct { const char *pick, *line, *after; } steps[] = {
        {"carl", ":bob!u@h MODE #lobby +o carl", "@carl"},  {"@carl", ":bob!u@h MODE #lobby -o carl", "carl"},
        {"carl", ":bob!u@h MODE #lobby +v carl", "+carl"},  {"+carl", ":bob!u@h MODE #lobby -v carl", "carl"},
        {"carl", ":carl!c@h NICK :karl", "karl"},           {"@bob", ":bob!u@h MODE #lobby +ov-o bob bob bob", "bob"}};
    for (const auto &s : steps) {
        QVERIFY(list->Pick(QLatin1String(s.pick)));
        QVERIFY(l.t.feed(QByteArray(s.line) + "\r\n"));
        QCOMPARE(list->Picked(), QLatin1String(s.after));
    }
    QCOMPARE(list->Items(), (QStringList{"+amy", "abc", "bob", "karl"}));
}

QTEST_MAIN(PopupTest)
#include "test_popup.moc"
