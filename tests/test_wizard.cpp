// The setup wizard and the options dialog, driven through the frame.
#include "ClientSession.h"
#include "dialogs/frmDashboard.h"
#include "platform/FileLists.h"
#include "settings/Defaults.h"
#include "settings/SettingsFile.h"
#include "dialogs/frmOptions.h"
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QStringList Prompts = {
    QStringLiteral("Please enter your prefered Nickname"),
    QStringLiteral("Please enter an alternative Nickname"),
    QStringLiteral("Please enter your real name"),
    QStringLiteral("Please enter your prefered e-mail address"),
    QStringLiteral("Please enter your prefered server (Note: If you do not know any servers by heart, enter ") +
        settings::DefaultHost + QStringLiteral(")"),
    QStringLiteral("Please enter the port number of this IRC server (Note: Usually 6667)"),
    QStringLiteral("Enter your prefered away message (Note: When you set yourself away, this message will be seen by everyone)"),
    QStringLiteral("Enter your prefered back message (Note: When you set yourself back from being away, this message will be displayed to everyone in your current channel)"),
    QStringLiteral("Enter your prefered quit message (Note: When you quit from IRC, people will see this message)"),
};
const QStringList WizardFiles = {"nick.msg", "altnick.msg", "realname.msg", "email.msg", "server.msg",
                                 "port.msg", "away.msg", "back.msg", "discon.msg"};
// Check1 to Check7's files.
const QStringList FlagFiles = {"pcdos.msg", "cos.msg", "cdexit.msg", "splash.msg", "auto.msg", "indata.msg", "ontop.msg"};
Holder &FlagHolder(frmOrvelMain &m, int i)
{
    settings::FrameSettings &fs = m.Settings();
    Holder *h[] = {&fs.txtPcdos, &fs.txtCos, &fs.txtCDExit, &fs.txtSplash, &fs.txtAutoArrange, &fs.txtInData,
                   &fs.txtWindowListOnTop};
    return *h[i];
}
QList<int> Values(frmOptions &d)
{
    QList<int> v;
    for (auto *b : {d.Check1, d.Check2, d.Check3, d.Check4, d.Check5, d.Check6, d.Check7, d.Check8}) v << b->Value();
    return v;
}
QString Value(const QString &file) { return settings::Read(file).value_or(QStringLiteral("<missing>")); }
bool BarOnTop(frmOrvelMain &m) { return m.centralWidget()->layout()->indexOf(m.Picture2) == 0; }

// Records whether the frame shows at each question.
class WatchingDialogs : public RecordingDialogs
{
public:
    QList<bool> frameShown;
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        frameShown << frmOrvelMain::Instance()->isVisible();
        return RecordingDialogs::InputBox(prompt, title, def);
    }
};

// Runs the action from inside the modal dialog's own loop, once it shows.
template <class Dialog> void WhenShown(std::function<void(Dialog &)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        Dialog *d = Dialog::Current();
        if (!d || !d->isVisible()) return;
        poll->deleteLater();
        poll->stop();
        act(*d);
    });
    poll->start();
}
} // namespace

class WizardTest : public QObject
{
    Q_OBJECT
private slots:
    void wizardAbandoned_data();
    void wizardAbandoned();
    void firstRunWizardCancelledLoadGoesOn();
    void wizardCompletesAndRestarts();
    void checkBoxValues();
    void optionsFlags_data();
    void optionsFlags();
    void optionsMessagesDefaultsAndNone();
    void fontChoice();
    void dashboardPicture();
};

void WizardTest::wizardAbandoned_data()
{
    QTest::addColumn<int>("answered");
    QTest::newRow("first question") << 0;
    QTest::newRow("server question") << 4;
    QTest::newRow("last question") << 8;
}

void WizardTest::wizardAbandoned()
{
    QFETCH(int, answered);
    WatchingDialogs ask;  // outlives the environment, which restores the default dialogs
    TestEnv env;
    for (const QString &f : WizardFiles) env.writeSetting(f, QStringLiteral("old"));
    env.writeSetting(QStringLiteral("backpic.msg"), QStringLiteral("mine.jpg"));
    frmOrvelMain &m = env.start();
    m.show();
    platform::setDialogs(&ask);
    for (int i = 0; i < answered; ++i) ask.answers << QStringLiteral("answer %1").arg(i + 1);

    m.mnuSetupWizard->trigger();  // the next answer is empty: Cancel
    QCOMPARE(ask.prompts, Prompts.mid(0, answered + 1));
    QCOMPARE(ask.titles, QStringList(answered + 1, AppTitle));
    QCOMPARE(ask.frameShown, QList<bool>(answered + 1, false));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(Value(WizardFiles[i]), i < answered ? QStringLiteral("answer %1").arg(i + 1) : QStringLiteral("old"));
    QCOMPARE(Value(QStringLiteral("backpic.msg")), QStringLiteral("mine.jpg"));
    QVERIFY(m.isVisible());
    QVERIFY(env.launcher.started.isEmpty() && ask.messages.isEmpty());
    QCOMPARE(TestEnv::endCalls, 0);
    QCOMPARE(session().Settings().Nick(), QStringLiteral("old"));  // nothing reloaded
}

void WizardTest::firstRunWizardCancelledLoadGoesOn()
{
    TestEnv env;  // no settings at all
    frmOrvelMain &m = env.start();
    QCOMPARE(env.dialogs.prompts, QStringList(Prompts[0]));
    QVERIFY(m.isVisible());
    QVERIFY(settings::Find(QStringLiteral("nick.msg")).isEmpty());
    // The server window's load carried on with the empty holders.
    QCOMPARE(session().ServerName(), QString());
    QCOMPARE(m.mnuWindowOne->text(), QStringLiteral("&1 Server Connection"));
}

void WizardTest::wizardCompletesAndRestarts()
{
    TestEnv env;
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("backpic.msg"), QStringLiteral("/home/x/chosen.gif"));
    frmOrvelMain &m = env.start();
    m.show();
    const QStringList answers = {"newnick", "newalt", "   ", "n@example.org", "irc.example.net", "66x", "gone", "here", "bye"};
    env.dialogs.answers = answers;
    bool frameHidden = false;
    QString awayShown;
    qsizetype messagesBefore = -1, startsBefore = -1;
    WhenShown<frmOptions>([&](frmOptions &d) {
        frameHidden = !m.isVisible();
        awayShown = d.txtAwayMsg->text();
        messagesBefore = env.dialogs.messages.size();
        startsBefore = env.launcher.started.size();
        d.Command1->click();
    });

    m.mnuSetupWizard->trigger();
    QCOMPARE(env.dialogs.prompts, Prompts);
    // Written as typed: blanks only and a port that is no number too.
    for (int i = 0; i < 9; ++i) QCOMPARE(Value(WizardFiles[i]), answers[i]);
    QCOMPARE(Value(QStringLiteral("backpic.msg")), QStringLiteral("bubbles.jpg"));
    // The options dialog came up over the hidden frame, with the new messages, before the rest.
    QVERIFY(frameHidden);
    QCOMPARE(awayShown, QStringLiteral("gone"));
    QCOMPARE(messagesBefore, 0);
    QCOMPARE(startsBefore, 0);
    QCOMPARE(env.dialogs.messages, QStringList(QStringLiteral("OrvelIRC setup is now complete. OrvelIRC will now be restarted")));
    QCOMPARE(env.dialogs.icons, QList<MsgIcon>{MsgIcon::Information});
    QCOMPARE(env.dialogs.titles.last(), AppTitle);
    QCOMPARE(env.launcher.started, (QList<QPair<QString, QStringList>>{{QCoreApplication::applicationFilePath(), {}}}));
    QCOMPARE(TestEnv::endCalls, 1);
    QVERIFY(!m.isVisible());
    // The restarted program loads the answers; this one's holders stay as they were.
    QCOMPARE(session().Settings().Nick(), QStringLiteral("abc"));
}

void WizardTest::checkBoxValues()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOptions d(&env.start());
    int clicks = 0;
    d.Check8->Click = [&] { ++clicks; };
    d.Check8->SetValue(2);
    QCOMPARE(d.Check8->checkState(), Qt::PartiallyChecked);
    d.Check8->SetValue(2);  // no change, no click
    d.Check8->SetValue(1);
    QCOMPARE(d.Check8->checkState(), Qt::Checked);
    d.Check8->SetValue(7);  // no value of a box: it stays set
    QCOMPARE(d.Check8->Value(), 1);
    QCOMPARE(clicks, 2);
    // A user's click toggles a set or grey box to clear and a clear one to set.
    d.show();
    const QPoint box(6, d.Check8->height() / 2);
    QTest::mouseClick(d.Check8, Qt::LeftButton, {}, box);
    QCOMPARE(d.Check8->Value(), 0);
    QTest::mouseClick(d.Check8, Qt::LeftButton, {}, box);
    QCOMPARE(d.Check8->Value(), 1);
    d.Check8->SetValue(2);
    QTest::mouseClick(d.Check8, Qt::LeftButton, {}, box);
    QCOMPARE(d.Check8->Value(), 0);
    QCOMPARE(clicks, 6);

    // A grey box is neither ticked nor cleared: OK leaves its flag alone.
    env.writeSetting(QStringLiteral("cos.msg"), QStringLiteral("maybe"));
    d.Check2->SetValue(2);
    d.Command1_Click();
    QCOMPARE(Value(QStringLiteral("cos.msg")), QStringLiteral("maybe"));
    QCOMPARE(Value(QStringLiteral("pcdos.msg")), QStringLiteral("no"));
}

void WizardTest::optionsFlags_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("value");
    QTest::newRow("yes") << QStringLiteral("yes") << 1;
    QTest::newRow("no") << QStringLiteral("no") << 0;
    QTest::newRow("capitals") << QStringLiteral("Yes") << 0;
    QTest::newRow("trailing blank") << QStringLiteral("yes ") << 0;
    QTest::newRow("empty") << QString() << 0;
}

void WizardTest::optionsFlags()
{
    QFETCH(QString, stored);
    QFETCH(int, value);
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    // Into the holders only (a start-up with these flags would connect and show the splash).
    for (int i = 0; i < 7; ++i) FlagHolder(m, i).Text = stored;
    const QStringList filesBefore = QDir::current().entryList(QDir::Files);
    frmOptions d(&m);
    d.Form_Load();
    QCOMPARE(d.windowTitle(), AppTitle);
    QCOMPARE(Values(d), QList<int>({value, value, value, value, value, value, value, 0}));

    // OK writes every box back as "yes" or "no", into file and holder; Check8 is stored nowhere.
    d.Check8->SetValue(1);
    d.Command1_Click();
    const QString expected = value ? QStringLiteral("yes") : QStringLiteral("no");
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(Value(FlagFiles[i]), expected);
        QCOMPARE(FlagHolder(m, i).Text, expected);
    }
    QStringList added = QDir::current().entryList(QDir::Files);
    for (const QString &f : filesBefore + FlagFiles + QStringList{"discon.msg", "away.msg", "back.msg"}) added.removeAll(f);
    QCOMPARE(added, QStringList());
    QVERIFY(!d.isVisible());
    QCOMPARE(BarOnTop(m), bool(value));
    QCOMPARE(m.WindowBarOnTop(), bool(value));

    // Window List On Top moves the bar at once, the other way too.
    frmOptions again(&m);
    again.Form_Load();
    again.Check7->SetValue(1 - value);
    again.Command1_Click();
    QCOMPARE(BarOnTop(m), !value);
}

void WizardTest::optionsMessagesDefaultsAndNone()
{
    TestEnv env;
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("away.msg"), QStringLiteral("out"));
    env.writeSetting(QStringLiteral("back.msg"), QStringLiteral("in"));
    env.writeSetting(QStringLiteral("discon.msg"), QStringLiteral("later"));
    frmOrvelMain &m = env.start();
    // Written behind the frame's back: the dialog reads the files, not the holders.
    env.writeSetting(QStringLiteral("away.msg"), QStringLiteral("out <b>now</b>"));
    env.writeSetting(QStringLiteral("cos.msg"), QStringLiteral("yes"));

    // Defaults and then Cancel change nothing.
    const QStringList filesBefore = QDir::current().entryList(QDir::Files);
    frmOptions cancelled(&m);
    cancelled.Form_Load();
    cancelled.Command3_Click();
    QCOMPARE(Values(cancelled), QList<int>({0, 1, 0, 0, 1, 0, 0, 0}));
    QVERIFY(cancelled.txtQuitM->text().startsWith(QStringLiteral("OrvelIRC 1.02 * ")));
    QCOMPARE(cancelled.txtBackMsg->text(), QStringLiteral("Back at my keyboard"));
    QCOMPARE(cancelled.txtAwayMsg->text(), QStringLiteral("Away from my keyboard"));
    cancelled.Command2_Click();
    QCOMPARE(QDir::current().entryList(QDir::Files), filesBefore);
    QCOMPARE(Value(QStringLiteral("away.msg")), QStringLiteral("out <b>now</b>"));
    QCOMPARE(m.Settings().txtAwayMsg.Text, QStringLiteral("out"));
    QCOMPARE(m.Settings().txtCos.Text, QString());

    frmOptions d(&m);
    d.Form_Load();
    QCOMPARE(d.txtAwayMsg->text(), QStringLiteral("out <b>now</b>"));
    QCOMPARE(d.txtBackMsg->text(), QStringLiteral("in"));
    QCOMPARE(d.txtQuitM->text(), QStringLiteral("later"));
    QCOMPARE(d.AwayMessage, QStringLiteral("out <b>now</b>"));
    d.txtAwayMsg->setText(QStringLiteral("brb"));
    d.txtBackMsg->setText(QString());
    d.txtQuitM->setText(QStringLiteral("ciao"));
    d.Command1_Click();
    const QStringList files = {Value("away.msg"), Value("back.msg"), Value("discon.msg")};
    QCOMPARE(files, QStringList({"brb", "", "ciao"}));
    QCOMPARE(QStringList({d.AwayMessage, d.BackMessage, d.QuitMessage}), files);
    QCOMPARE(QStringList({m.Settings().txtAwayMsg.Text, m.Settings().txtBackMsg.Text, m.Settings().RichTextBox1.Text}), files);
    // The box was clear (the holder was loaded before cos.msg said "yes"), so "no" it is.
    QCOMPARE(m.Settings().txtCos.Text, QStringLiteral("no"));

    // None removes the picture setting (a missing one is no matter) and asks for a restart.
    env.writeSetting(QStringLiteral("backpic.msg"), QStringLiteral("x.jpg"));
    d.Command7_Click();
    d.Command7_Click();
    QVERIFY(settings::Find(QStringLiteral("backpic.msg")).isEmpty());
    QCOMPARE(env.dialogs.messages, QStringList(2, QStringLiteral("You must restart OrvelIRC before the changes take efect.")));
    QCOMPARE(env.dialogs.icons, QList<MsgIcon>(2, MsgIcon::Information));
    QCOMPARE(env.dialogs.titles.last(), AppTitle);
}

void WizardTest::fontChoice()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    auto *d = new frmOptions(&m);  // goes with the frame
    d->Form_Load();
    d->Command6_Click();  // the chooser is cancelled
    QVERIFY(settings::Find(QStringLiteral("fontname.msg")).isEmpty());
    QVERIFY(settings::Find(QStringLiteral("fontsize.msg")).isEmpty());

    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPointSizeF(13.5);
    env.dialogs.fontAnswer = f;
    d->Command6_Click();
    QCOMPARE(Value(QStringLiteral("Fontname.msg")), QStringLiteral("DejaVu Serif"));
    QCOMPARE(Value(QStringLiteral("FontSize.msg")), QStringLiteral("13.5"));
    QCOMPARE(m.Settings().txtFontName.Text, QStringLiteral("DejaVu Serif"));
    QCOMPARE(m.Settings().txtFontSize.Text, QStringLiteral("13.5"));
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Addtext(QStringLiteral("\x01 after"));
    QCOMPARE(TextRuns(s.Incoming).last().family, QStringLiteral("DejaVu Serif"));
    QCOMPARE(TextRuns(s.Incoming).last().size, 13.5);

    // The next start reads the same name and size back.
    env.stop();
    frmOrvelMain &again = env.start();
    QCOMPARE(again.Settings().txtFontName.Text, QStringLiteral("DejaVu Serif"));
    QCOMPARE(again.Settings().txtFontSize.Text.toDouble(), 13.5);
}

void WizardTest::dashboardPicture()
{
    TestEnv env;
    env.writeConnection(6667);
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(QStringLiteral("red.png")));
    QVERIFY(img.scaled(12, 10).save(QStringLiteral("green.png")));
    env.writeSetting(QStringLiteral("backpic.msg"), QDir::current().filePath(QStringLiteral("red.png")));
    frmOrvelMain &m = env.start();

    // The dialog shows the panel's picture; the chooser's OK puts the new one on the panel
    // and into the open dialog.
    QSize atLoad, afterChoice;
    WhenShown<frmOptions>([&](frmOptions &o) {
        atLoad = o.Picture().size();
        QVERIFY(!o.LoadPicture(QStringLiteral("backpic.msg")));  // no picture: Image1 keeps its own
        WhenShown<frmDashboard>([&](frmDashboard &c) {
            QVERIFY(c.Dir1->SetPath(QDir::currentPath()));
            c.Combo1->setEditText(QStringLiteral("*.png"));
            const QList<QListWidgetItem *> found = c.File1->findItems(QStringLiteral("green.png"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            c.File1->setCurrentItem(found[0]);
            c.Command2->click();
        });
        o.Command4->click();
        afterChoice = o.Picture().size();
        o.Command2->click();
    });
    m.mnuOptions->trigger();
    QCOMPARE(atLoad, QSize(30, 20));
    QCOMPARE(afterChoice, QSize(12, 10));
    QVERIFY(!frmOptions::Current());
    QCOMPARE(m.Picture1->palette().brush(QPalette::Window).texture().size(), QSize(12, 10));
    QCOMPARE(QDir::cleanPath(Value(QStringLiteral("backpic.msg"))), QDir::current().filePath(QStringLiteral("green.png")));
}

QTEST_MAIN(WizardTest)
#include "test_wizard.moc"
