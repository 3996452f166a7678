#include "ClientSession.h"
#include "dialogs/frmDashboard.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmSoundOptions.h"
#include "platform/FileLists.h"
#include "settings/Defaults.h"
#include "settings/SettingsFile.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmSetup.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

namespace {
// Opens a modal dialog through `open` and drives it while it runs. A dialog that a failed
// check left open is closed, so the test never hangs.
template <class D> bool DriveModal(const std::function<void()> &open, const std::function<void(D &)> &drive)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QPointer<D> d = D::Current();
        if (!d || !d->isVisible()) return;
        ran = true;
        drive(*d);
        if (d && d->isVisible()) d->reject();
    });
    open();
    return ran;
}

QByteArray FileBytes(const QString &name)
{
    QFile f(settings::Find(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QListWidgetItem *Find(QListWidget *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == text) return list->item(i);
    return nullptr;
}

void Select(QListWidget *list, const QString &text)
{
    QListWidgetItem *item = Find(list, text);
    QVERIFY2(item, qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// What the Tab key delivers to a list it moves to.
void TabInto(QListWidget *list)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list, &in);
}

void Open(QListWidget *list, const QString &text)
{
    QListWidgetItem *item = Find(list, text);
    QVERIFY2(item, qPrintable(text));
    const QPoint at = list->visualItemRect(item).center();
    // A double click starts with a press and release on the same entry.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

const QStringList ConnectionFiles = {QStringLiteral("nick.msg"),  QStringLiteral("altnick.msg"),
                                     QStringLiteral("realname.msg"), QStringLiteral("email.msg"),
                                     QStringLiteral("server.msg"), QStringLiteral("port.msg")};
} // namespace

class SetupTest : public QObject
{
    Q_OBJECT
private slots:
    void okSavesAndRefreshesWithoutSending();
    void defaultsCancelAndHelpWriteNothing();
    void emptyFieldsOpenWizardAtNextStart_data();
    void emptyFieldsOpenWizardAtNextStart();
    void networkTable_data();
    void networkTable();
    void serverListFiles_data();
    void serverListFiles();
    void doubleClickOnServerSavesAndCloses();
    void tabbingIntoTheListsChoosesNothing();
    void hoverColours_data();
    void hoverColours();
    void pictureChooser();
    void pictureChooserFeedsOpenOptionsDialog();
    void soundChooserFromSoundBoard();
};

void SetupTest::okSavesAndRefreshesWithoutSending()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.drain();
    const QString caption = t.s->Caption();
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("OrvelIRC"));
        QCOMPARE(d.txtNick->text(), QStringLiteral("abc"));
        QCOMPARE(d.txtAlternativeNickname->text(), QStringLiteral("abc_"));
        QCOMPARE(d.txtServer->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(d.txtPort->text(), QString::number(t.srv.port()));
        QCOMPARE(d.txtEmail->text(), QStringLiteral("me@example.org"));
        QCOMPARE(d.txtRN->text(), QStringLiteral("Real Name"));
        QCOMPARE(d.txtLocalHost->text(), t.s->Tcp1().LocalHostName());
        QCOMPARE(d.txtLocalIp->text(), t.s->Tcp1().LocalIP());
        QCOMPARE(d.Servers->count(), 0);
        d.txtNick->setText(QStringLiteral("newnick"));
        d.txtServer->setText(QStringLiteral("irc.new.example.net"));
        d.txtRN->clear();
        d.txtLocalIp->setText(QStringLiteral("10.1.2.3"));
        d.cmdOK->click();
    }));
    QVERIFY(!frmSetup::Current());
    QCOMPARE(FileBytes(QStringLiteral("nick.msg")), QByteArray("newnick\r\n"));
    QCOMPARE(FileBytes(QStringLiteral("server.msg")), QByteArray("irc.new.example.net\r\n"));
    QCOMPARE(FileBytes(QStringLiteral("realname.msg")), QByteArray("\r\n"));
    QCOMPARE(FileBytes(QStringLiteral("altnick.msg")), QByteArray("abc_\r\n"));
    QCOMPARE(session().Settings().Nick(), QStringLiteral("newnick"));
    QCOMPARE(session().Settings().Server(), QStringLiteral("irc.new.example.net"));
    QCOMPARE(t.s->txtIpAddress.Text, QStringLiteral("10.1.2.3"));
    QCOMPARE(session().Nick(), QStringLiteral("newnick"));
    QCOMPARE(session().ServerName(), QStringLiteral("irc.new.example.net"));
    QCOMPARE(session().RealName(), QString());
    QCOMPARE(session().Settings().AlternativeNick(), QStringLiteral("abc_"));
    QCOMPARE(session().ServerPort(), QString::number(t.srv.port()));
    // Nothing went to the server and the connection shows as before.
    QCOMPARE(t.sent(), Lines());
    QCOMPARE(t.s->Caption(), caption);
    // Received lines are now matched against the new nick.
    const Lines replies = t.repliesTo(":x!y@z PRIVMSG newnick :\x01VERSION\x01\r\n");
    QCOMPARE(replies.size(), 1);
    QVERIFY(replies.first().startsWith("NOTICE x :"));
}

void SetupTest::defaultsCancelAndHelpWriteNothing()
{
    ClientSession t;
    t.env.writeFile(QStringLiteral("readme.txt"), "Read me first\r\n");
    QMap<QString, QByteArray> before;
    for (const QString &f : ConnectionFiles) before[f] = FileBytes(f);
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        d.Command1->click();
        QCOMPARE(d.txtPort->text(), QStringLiteral("6667"));
        QCOMPARE(d.txtRN->text(), QStringLiteral("Your Real Name"));
        QCOMPARE(d.txtNick->text(), QStringLiteral("YourNick"));
        QCOMPARE(d.txtAlternativeNickname->text(), QStringLiteral("YourAlt"));
        QCOMPARE(d.txtEmail->text(), settings::DefaultEmail);
        QCOMPARE(d.txtServer->text(), settings::DefaultHost);
        QCOMPARE(d.txtLocalHost->text(), t.s->Tcp1().LocalHostName());
        d.cmdCancel->click();
    }));
    QVERIFY(!loaded<frmHelp>());
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        d.Command1->click();
        d.Command2->click();
    }));
    for (const QString &f : ConnectionFiles) QCOMPARE(FileBytes(f), before[f]);
    QCOMPARE(session().Settings().Nick(), QStringLiteral("abc"));
    // Help closed the dialog and shows the read-me in the help viewer.
    QVERIFY(loaded<frmHelp>() && loaded<frmHelp>()->isVisible());
    QCOMPARE(PaneText(loaded<frmHelp>()->RichTextBox1).trimmed(), QStringLiteral("Read me first"));
}

void SetupTest::emptyFieldsOpenWizardAtNextStart_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("wizard");
    QTest::newRow("nick") << "txtNick" << 1;
    QTest::newRow("port") << "txtPort" << 1;
    QTest::newRow("real name") << "txtRN" << 0;
}

void SetupTest::emptyFieldsOpenWizardAtNextStart()
{
    QFETCH(QString, field);
    QFETCH(int, wizard);
    TestEnv env;
    env.writeConnection(6667);
    env.start();
    {
        frmSetup d;
        d.Form_Load();
        const QMap<QString, QLineEdit *> fields = {{"txtNick", d.txtNick}, {"txtPort", d.txtPort}, {"txtRN", d.txtRN}};
        fields[field]->clear();
        d.cmdOK_Click();
    }
    env.stop();
    frmOrvelMain *frame = new frmOrvelMain();
    QSignalSpy spy(frame, &frmOrvelMain::setupWizardRequested);
    frame->MDIForm_Load();
    QCOMPARE(spy.count(), wizard);
}

void SetupTest::networkTable_data()
{
    QTest::addColumn<QString>("network");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::newRow("AfterNet") << "AfterNet" << 6 << "asia.afternet.example.org";
    QTest::newRow("BrazIRCNet") << "BrazIRCNet" << 5 << "irc.brazircnet.example.net";
    QTest::newRow("CobraNet") << "CobraNet" << 4 << "fang.cobranet.example.com";
    QTest::newRow("DarkZone") << "DarkZone" << 4 << "eclipse.darkzone.example.net";
    QTest::newRow("Eunet") << "Eunet" << 5 << "alps.eunet.example.org";
    QTest::newRow("FEFnet") << "FEFnet" << 4 << "alpha.fefnet.example.com";
    QTest::newRow("Chatnet") << "Chatnet" << 9 << "aurora.chatnet.example.net";
    QTest::newRow("DALnet") << "DALnet" << 28 << "alder.dalnet.example.net";
    QTest::newRow("EFnet") << "EFnet" << 39 << "irc.alpha.efnet.example.org";
    QTest::newRow("GalaxyNet") << "GalaxyNet" << 16 << "andromeda.galaxynet.example.com";
    QTest::newRow("IRCNet") << "IRCNet" << 15 << "irc1.ircnet.example.net";
    QTest::newRow("Misc") << "Misc" << 7 << "cafe.misc.example.org";
    QTest::newRow("Newnet") << "Newnet" << 11 << "atlas.newnet.example.com";
    QTest::newRow("Oznet") << "Oznet" << 5 << "billabong.oznet.example.net";
    QTest::newRow("StarLink") << "StarLink" << 4 << "altair.starlink.example.org";
    QTest::newRow("Undernet") << "Undernet" << 20 << "ant.undernet.example.com";
}

void SetupTest::networkTable()
{
    QFETCH(QString, network);
    QFETCH(int, count);
    QFETCH(QString, first);
    TestEnv env;
    env.writeConnection(6667);
    const QDir data(qEnvironmentVariable("ORVEL_DATA_DIR"));
    for (const QString &f : data.entryList({QStringLiteral("*.msg")})) QFile::copy(data.filePath(f), f);
    env.start();
    frmSetup d;
    d.Form_Load();
    QCOMPARE(Entries(d.Networks),
             QString("AfterNet BrazIRCNet Chatnet CobraNet DALnet DarkZone EFnet Eunet FEFnet GalaxyNet IRCNet Misc "
                     "Newnet Oznet StarLink Undernet").split(u' '));
    int builtIn = 0;
    for (const auto &[name, hosts] : frmSetup::BuiltInHosts()) builtIn += hosts.size();
    QCOMPARE(builtIn, 163);
    // Chosen twice: listed once, in alphabetical order, all under reserved example domains.
    for (int round = 0; round < 2; ++round) {
        d.Networks->setCurrentItem(nullptr);
        d.Networks->setCurrentItem(d.Networks->findItems(network, Qt::MatchExactly).first());
    }
    const QStringList servers = Entries(d.Servers);
    QCOMPARE(d.txtServer->text(), QStringLiteral("127.0.0.1"));  // filling the list picks nothing
    QCOMPARE(servers.size(), count);
    QCOMPARE(servers.first(), first);
    QStringList sorted = servers;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(servers, sorted);
    for (const QString &h : servers)
        QVERIFY2(h.endsWith(QLatin1String(".example.net")) || h.endsWith(QLatin1String(".example.org")) ||
                     h.endsWith(QLatin1String(".example.com")),
                 qPrintable(h));
}

void SetupTest::serverListFiles_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<QStringList>("servers");
    QTest::newRow("two hosts") << QByteArray("\"b.example.net\"\r\n\"a.example.net\"\r\n")
                               << QStringList{"a.example.net", "b.example.net"};
    QTest::newRow("empty field stops") << QByteArray("c.example.net\r\n\r\na.example.net\r\n")
                                       << QStringList{"", "c.example.net"};
    QTest::newRow("commas quotes blanks") << QByteArray("  One.example.org, \"two,x.example.org\" ,three.example.org")
                                          << QStringList{"One.example.org", "three.example.org", "two,x.example.org"};
    QTest::newRow("lone line feeds") << QByteArray("b.example.net\na.example.net") << QStringList{"a.example.net", "b.example.net"};
    QTest::newRow("empty file") << QByteArray("") << QStringList{};
    QTest::newRow("missing file") << QByteArray() << QStringList{""};
}

void SetupTest::serverListFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, servers);
    TestEnv env;
    env.writeConnection(6667);
    if (!content.isNull()) env.writeFile(QStringLiteral("afternet.msg"), content);
    env.start();
    frmSetup d;
    d.Form_Load();
    d.Networks->setCurrentRow(0);
    QCOMPARE(Entries(d.Servers), servers);
}

void SetupTest::doubleClickOnServerSavesAndCloses()
{
    ClientSession t;
    QString chosen;
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        Select(d.Networks, QStringLiteral("Oznet"));
        QCOMPARE(d.Servers->count(), 5);
        chosen = d.Servers->item(2)->text();
        Select(d.Servers, chosen);
        QCOMPARE(d.txtServer->text(), chosen);
        Select(d.Servers, d.Servers->item(0)->text());
        Open(d.Servers, chosen);
    }));
    QCOMPARE(chosen, QStringLiteral("outback.oznet.example.net"));
    QVERIFY(!frmSetup::Current());
    QCOMPARE(FileBytes(QStringLiteral("server.msg")), chosen.toUtf8() + "\r\n");
    QCOMPARE(session().ServerName(), chosen);
    QCOMPARE(FileBytes(QStringLiteral("nick.msg")), QByteArray("abc\r\n"));
}

void SetupTest::tabbingIntoTheListsChoosesNothing()
{
    ClientSession t;
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        TabInto(d.Networks);
        QCOMPARE(d.Networks->currentRow(), 0);  // marked, not chosen
        QCOMPARE(d.Servers->count(), 0);
        Select(d.Networks, QStringLiteral("Oznet"));
        TabInto(d.Servers);
        QCOMPARE(d.Servers->currentRow(), 0);
        QCOMPARE(d.txtServer->text(), QStringLiteral("127.0.0.1"));
        d.cmdOK->click();
    }));
    QCOMPARE(FileBytes(QStringLiteral("server.msg")), QByteArray("127.0.0.1\r\n"));
    // The arrow keys do choose.
    QVERIFY(DriveModal<frmSetup>([] { frmSetup::ShowModal(); }, [&](frmSetup &d) {
        Select(d.Networks, QStringLiteral("Oznet"));
        TabInto(d.Servers);
        QTest::keyClick(d.Servers, Qt::Key_Down);
        QCOMPARE(d.txtServer->text(), d.Servers->item(1)->text());
    }));
}

void SetupTest::hoverColours_data()
{
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QString>("under");
    QTest::addColumn<QStringList>("black");
    const QStringList ten = {"txtPort", "txtRN", "txtNick", "txtAlternativeNickname", "txtEmail",
                             "txtLocalHost", "txtLocalIp", "Servers", "Networks", "txtServer"};
    auto without = [&](const QString &w, bool local) {
        QStringList l = ten;
        l.removeAll(w);
        if (!local) {
            l.removeAll("txtLocalHost");
            l.removeAll("txtLocalIp");
        }
        return l;
    };
    QTest::newRow("Form") << "Form" << "" << ten;
    QTest::newRow("Frame1") << "Frame1" << ""
                            << QStringList{"txtPort", "txtRN", "txtNick", "txtAlternativeNickname", "txtEmail"};
    for (const char *n : {"Networks", "Servers", "txtEmail", "txtLocalHost", "txtLocalIp", "txtServer"})
        QTest::newRow(n) << n << n << without(n, true);
    for (const char *n : {"txtAlternativeNickname", "txtNick", "txtPort", "txtRN"})
        QTest::newRow(n) << n << n << without(n, false);
}

void SetupTest::hoverColours()
{
    QFETCH(QString, procedure);
    QFETCH(QString, under);
    QFETCH(QStringList, black);
    TestEnv env;
    env.writeConnection(6667);
    env.start();
    frmSetup d;
    d.Form_Load();
    d.show();
    const QMap<QString, QWidget *> controls = {
        {"txtPort", d.txtPort},   {"txtRN", d.txtRN},       {"txtNick", d.txtNick},
        {"txtAlternativeNickname", d.txtAlternativeNickname}, {"txtEmail", d.txtEmail},
        {"txtLocalHost", d.txtLocalHost}, {"txtLocalIp", d.txtLocalIp}, {"Servers", d.Servers},
        {"Networks", d.Networks}, {"txtServer", d.txtServer}};
    for (QWidget *w : controls) {
        QPalette p = w->palette();
        p.setColor(QPalette::Text, PaletteColour(4));
        w->setPalette(p);
    }
    // The mouse really moves over the control (or the form, or the frame).
    QWidget *target = procedure == QLatin1String("Form") ? static_cast<QWidget *>(&d)
                      : procedure == QLatin1String("Frame1") ? static_cast<QWidget *>(d.Frame1)
                      : controls[procedure];
    if (auto *list = qobject_cast<QListWidget *>(target)) target = list->viewport();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const int expected = it.key() == under ? 1 : black.contains(it.key()) ? 0 : 4;
        QVERIFY2(it.value()->palette().color(QPalette::Text) == PaletteColour(expected), qPrintable(it.key()));
    }
}

void SetupTest::pictureChooser()
{
    ClientSession t;
    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(QStringLiteral("b.bmp")) && img.save(QStringLiteral("sub/d.bmp")));
    t.env.writeFile(QStringLiteral("a.gif"), "not a picture");
    t.env.writeFile(QStringLiteral("Z.GIF"), "");
    t.env.writeFile(QStringLiteral("c.txt"), "");
    const QString here = QDir::currentPath();

    // A file that is no picture is refused: the setting and the panel keep what they had.
    t.env.writeSetting(QStringLiteral("backpic.msg"), QStringLiteral("kept.jpg"));
    QVERIFY(DriveModal<frmDashboard>([] { frmDashboard::ShowModal(); }, [&](frmDashboard &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("OrvelIRC"));
        QCOMPARE(d.Frame1->title(), QStringLiteral("Choose a background"));
        QCOMPARE(d.Combo1->currentText(), QStringLiteral("*.gif"));
        QCOMPARE(d.Drive1->itemText(0), QStringLiteral("/"));
        QCOMPARE(d.Drive1->Drive(), d.Drive1->DriveFor(here));
        QCOMPARE(d.Dir1->Path(), here);
        QCOMPARE(Entries(d.File1), (QStringList{"a.gif", "Z.GIF"}));
        QVERIFY(!d.Command2->isEnabled());
        Select(d.File1, QStringLiteral("a.gif"));
        QVERIFY(d.Command2->isEnabled());
        d.Command2->click();
        QVERIFY(d.isVisible());
    }));
    QCOMPARE(*settings::Read(QStringLiteral("backpic.msg")), QStringLiteral("kept.jpg"));
    QVERIFY(!t.m->DashboardPictureLoaded());
    QCOMPARE(t.env.dialogs.messages, QStringList(QStringLiteral("The file ") + here + QStringLiteral("/a.gif is not a picture "
                                                 "that can be shown. The dashboard picture was not changed.")));
    QCOMPARE(t.env.dialogs.icons, QList<MsgIcon>{MsgIcon::Exclamation});

    QVERIFY(DriveModal<frmDashboard>([] { frmDashboard::ShowModal(); }, [&](frmDashboard &d) {
        Select(d.File1, QStringLiteral("Z.GIF"));
        d.Combo1->setEditText(QStringLiteral("*.bmp"));
        QCOMPARE(Entries(d.File1), QStringList{"b.bmp"});
        QVERIFY(!d.Command2->isEnabled());  // a new pattern selects nothing
        Select(d.File1, QStringLiteral("b.bmp"));
        Open(d.Dir1, QStringLiteral("sub"));
        QCOMPARE(d.Dir1->Path(), here + QStringLiteral("/sub"));
        QCOMPARE(Entries(d.File1), QStringList{"d.bmp"});
        QVERIFY(!d.Command2->isEnabled());  // nor does a new folder
        Select(d.File1, QStringLiteral("d.bmp"));
        d.Command2->click();
    }));
    QCOMPARE(*settings::Read(QStringLiteral("backpic.msg")), here + QStringLiteral("/sub/d.bmp"));
    QVERIFY(t.m->DashboardPictureLoaded());
    QVERIFY(!frmDashboard::Current());

    // Cancel stores nothing.
    QVERIFY(DriveModal<frmDashboard>([] { frmDashboard::ShowModal(); }, [&](frmDashboard &d) {
        Select(d.File1, QStringLiteral("a.gif"));
        d.Command1->click();
    }));
    QCOMPARE(*settings::Read(QStringLiteral("backpic.msg")), here + QStringLiteral("/sub/d.bmp"));
}

void SetupTest::pictureChooserFeedsOpenOptionsDialog()
{
    ClientSession t;
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QVERIFY(img.save(QStringLiteral("b.bmp")));
    bool picked = false;
    QVERIFY(DriveModal<frmOptions>([] { frmOptions::ShowModal(); }, [&](frmOptions &o) {
        QVERIFY(o.Picture().isNull());
        picked = DriveModal<frmDashboard>([&] { o.Command4->click(); }, [&](frmDashboard &d) {
            d.Combo1->setEditText(QStringLiteral("*.*"));
            Select(d.File1, QStringLiteral("b.bmp"));
            d.Command2->click();
        });
        QCOMPARE(o.Picture().size(), QSize(8, 6));
        o.Command2->click();
    }));
    QVERIFY(picked);
    QVERIFY(t.m->DashboardPictureLoaded());
}

void SetupTest::soundChooserFromSoundBoard()
{
    ClientSession t;
    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    for (const char *f : {"x.wav", "y.bmp", "sub/z.wav"}) t.env.writeFile(QLatin1String(f), "RIFF");
    auto viaWav = [&] {
        t.m->Option2->setChecked(true);
        t.m->Command1->click();
    };
    QVERIFY(DriveModal<frmSoundOptions>(viaWav, [&](frmSoundOptions &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("OrvelIRC"));
        QCOMPARE(d.Frame1->title(), QStringLiteral("Path"));
        QCOMPARE(d.Combo1->currentText(), QStringLiteral("*.wav"));
        QCOMPARE(Entries(d.File1), QStringList{"x.wav"});
        QVERIFY(!d.Command2->isEnabled());
        d.Combo1->setEditText(QStringLiteral("*.bmp"));
        QCOMPARE(Entries(d.File1), QStringList{"y.bmp"});
        Select(d.File1, QStringLiteral("y.bmp"));
        d.Command2->click();
    }));
    QCOMPARE(Plays(QDir::currentPath() + QStringLiteral("/y.bmp")), 1);

    // A file in another folder is handed over with its folder.
    QVERIFY(DriveModal<frmSoundOptions>(viaWav, [&](frmSoundOptions &d) {
        Open(d.Dir1, QStringLiteral("sub"));
        QCOMPARE(Entries(d.File1), QStringList{"z.wav"});
        QVERIFY(!d.Command2->isEnabled());
        Select(d.File1, QStringLiteral("z.wav"));
        d.Command2->click();
    }));
    QCOMPARE(Plays(QDir::currentPath() + QStringLiteral("/sub/z.wav")), 1);

    const int entries = MultimediaLog().size();
    QVERIFY(DriveModal<frmSoundOptions>(viaWav, [&](frmSoundOptions &d) {
        Select(d.File1, QStringLiteral("x.wav"));
        d.Command1->click();
    }));
    QCOMPARE(MultimediaLog().size(), entries);
    QVERIFY(!frmSoundOptions::Current());
}

QTEST_MAIN(SetupTest)
#include "test_setup.moc"
