#include "ClientSession.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCapture.h"
#include "dialogs/frmDashboard.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmLumora.h"
#include "dialogs/frmRawSend.h"
#include "dialogs/frmSplash.h"
#include "platform/CommandLine.h"
#include "settings/SettingsFile.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmSetup.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {
QStringList captions(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) out << a->text();
    return out;
}

// Runs the action, which is to open a modal window; while that window waits, `current`
// finds it and `onOpen` looks at it and closes it. False when the window never opened.
bool WhileOpen(const std::function<QDialog *()> &current, const std::function<void()> &action,
               const std::function<void(QDialog *)> &onOpen)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QDialog *d = current();
        if (!d || !d->isVisible() || !d->isModal()) return;
        opened = true;
        onOpen(d);
        if (current()) d->reject();
    });
    action();
    return opened && !current();
}

// Presses the mouse button on the widget and reports whether the picture menu popped up.
bool PopsPictureMenu(frmOrvelMain *m, QWidget *w, Qt::MouseButton button)
{
    bool popped = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *p = QApplication::activePopupWidget()) {
            popped = p == m->mnuFrmOrvelMainOptions;
            p->close();
        }
    });
    QTest::mousePress(w, button, {}, QPoint(3, 3));
    QTest::mouseRelease(w, button, {}, QPoint(3, 3));
    Pump();
    return popped;
}

void CopyShipped(const QString &name)
{
    QFile::copy(qEnvironmentVariable("ORVEL_DATA_DIR") + QLatin1Char('/') + name, name);
}
} // namespace

class DashboardTest : public QObject
{
    Q_OBJECT
private slots:
    void menusInTheirOrderAndWebLinks();
    void dashBoardAndPanelItems();
    void rawCommandBox_data();
    void rawCommandBox();
    void helpViewerLoadsTheShippedTexts();
    void rawSendDialog();
    void modalLaunchers();
    void pictureMenuOnRightButtonOnly();
    void captureNowAndShowCapture();
    void colourCodeGoesToTheActiveInputLine();
    void splashClosedByItsCloseBoxSavesItsBox();
};

void DashboardTest::menusInTheirOrderAndWebLinks()
{
    ClientSession t;
    frmOrvelMain *m = t.m;
    QCOMPARE(captions(m->mnuOrvelIRC),
             QStringList({"Setup Wizard...", "Capture", "Amp", "Pseudo Eggy", "Tele Trivia", "Plugins", "Dash Board", "Panel", "Color"}));
    QCOMPARE(captions(m->mnuCapture), QStringList({"Capture Now", "Show Capture"}));
    QCOMPARE(captions(m->mnuPseudoEggy), QStringList({"Start", "Stop"}));
    QCOMPARE(captions(m->mnuPlugins), QStringList({"<Empty>", "<Empty>", "<Empty>"}));
    for (QAction *a : m->mnuPlugins->actions()) QVERIFY(!a->isEnabled());
    QCOMPARE(captions(m->mnuFrmOrvelMainOptions), QStringList({"<CHOOSE PIC>"}));
    QCOMPARE(captions(m->mnuHelp).mid(2), QStringList({"OrvelIRC Help Topics", "Lumora", "About OrvelIRC"}));

    // Each link opens its own page in the desktop's browser; the last item does nothing.
    const QList<QAction *> links = m->mnuIRCOnTheWeb->actions();
    QCOMPARE(links.size(), 9);
    QCOMPARE(links[3]->text(), QStringLiteral("IRC Faq"));
    QVERIFY(links[2]->text().endsWith(QStringLiteral(" Homepage")));
    for (QAction *a : links) a->trigger();
    QCOMPARE(t.env.launcher.urls.size(), 8);
    QCOMPARE(QSet<QString>(t.env.launcher.urls.begin(), t.env.launcher.urls.end()).size(), 8);
    QVERIFY(t.env.launcher.urls[7].endsWith(QStringLiteral("rfc1459.txt")));
    QVERIFY(t.env.launcher.started.isEmpty());
}

void DashboardTest::dashBoardAndPanelItems()
{
    ClientSession t;
    frmOrvelMain *m = t.m;
    QVERIFY(m->Picture1->isVisible());
    QVERIFY(m->mnuDashboard->isChecked());
    m->mnuDashboard->trigger();
    QVERIFY(!m->Picture1->isVisible());
    QVERIFY(!m->mnuDashboard->isChecked());
    QCOMPARE(settings::Read(QStringLiteral("dash.msg")).value_or(QStringLiteral("?")), QStringLiteral("no"));
    m->mnuDashboard->trigger();
    QVERIFY(m->Picture1->isVisible());
    QVERIFY(m->mnuDashboard->isChecked());
    QCOMPARE(settings::Read(QStringLiteral("dash.msg")).value_or(QStringLiteral("?")), QStringLiteral("yes"));

    // Open at start with the raw command box on show; Panel closes it to the top row.
    QVERIFY(m->mnuPanel->isChecked());
    QCOMPARE(m->PanelHeight(), 3015);
    QCOMPARE(m->Picture1->height(), platform::TwipsToPixelsY(3015));
    QVERIFY(m->Text1->isVisible());
    m->mnuPanel->trigger();
    QVERIFY(!m->mnuPanel->isChecked());
    QCOMPARE(m->PanelHeight(), 1050);
    QCOMPARE(m->Picture1->height(), platform::TwipsToPixelsY(1050));
    QVERIFY(!m->Text1->isVisible());
    QVERIFY(m->cmdConnect->isVisible());
    // Whatever the height before, the item ends at its own height.
    m->SetPanelHeight(2000);
    m->mnuPanel->trigger();
    QCOMPARE(m->PanelHeight(), 3015);
    QVERIFY(m->Text1->isVisible());
    m->SetPanelHeight(2000);
    m->mnuPanel->trigger();
    QCOMPARE(m->PanelHeight(), 1050);

    // The CD player's buttons leave the top row as wide as it was: the clock stays in view.
    const int row = m->Picture1->minimumSizeHint().width();
    m->SetAmpOn(true);
    QCOMPARE(m->Picture1->minimumSizeHint().width(), row);
}

void DashboardTest::rawCommandBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QByteArray>("sent");      // the line on the wire, "" for none
    QTest::addColumn<QString>("paneLine");     // the error line, "" for none
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<bool>("message");
    const QString e69 = QStringLiteral("\x01 Error 69 (Nothing to do!)");
    const QString e5 = QStringLiteral("\x01 Error 5 (Not connected)");
    QTest::newRow("help, offline") << "help" << false << QByteArray() << QString() << "help" << true;
    QTest::newRow("help, online") << "help" << true << QByteArray() << QString() << "help" << true;
    QTest::newRow("Help is a line") << "Help" << true << QByteArray("Help") << QString() << "" << false;
    QTest::newRow("empty, offline") << "" << false << QByteArray() << e69 << "" << false;
    QTest::newRow("empty, online") << "" << true << QByteArray() << e69 << "" << false;
    QTest::newRow("line, offline") << "JOIN #x" << false << QByteArray() << e5 << "" << false;
    QTest::newRow("line, online") << "PRIVMSG #x :hi there" << true << QByteArray("PRIVMSG #x :hi there") << QString() << "" << false;
}

void DashboardTest::rawCommandBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, connected);
    QFETCH(QByteArray, sent);
    QFETCH(QString, paneLine);
    QFETCH(QString, boxAfter);
    QFETCH(bool, message);
    ClientSession t;
    if (connected) {
        QVERIFY(t.connectByButton());
        t.drain();
    }
    t.mark();
    bool enterReachedBox = false;
    QObject::connect(t.m->Text1, &QLineEdit::returnPressed, [&] { enterReachedBox = true; });
    TypeLine(t.m->Text1, typed);
    QVERIFY(!enterReachedBox);
    QCOMPARE(t.m->Text1->text(), boxAfter);
    if (connected) QCOMPARE(t.sent(), sent.isEmpty() ? Lines{} : Lines{sent});
    const QString pane = t.paneSinceMark();
    QCOMPARE(pane.trimmed(), paneLine);
    if (!paneLine.isEmpty()) QCOMPARE(ColourOf(t.s->Incoming, paneLine), PaletteColour(0));
    QCOMPARE(t.soundsSinceMark().contains(QStringLiteral("MMControl1:Play:WaveAudio:error.wav")), !paneLine.isEmpty());
    QCOMPARE(t.env.dialogs.messages.size(), message ? 1 : 0);
    if (message) {
        QVERIFY(t.env.dialogs.messages[0].startsWith(QStringLiteral("By typeing a command in this box and pressing enter")));
        QVERIFY(t.env.dialogs.messages[0].endsWith(QStringLiteral("certian servers may not like your commands.")));
        QCOMPARE(t.env.dialogs.icons, QList<MsgIcon>{MsgIcon::Information});
        QCOMPARE(t.env.dialogs.titles.last(), AppTitle);
    }
}

void DashboardTest::helpViewerLoadsTheShippedTexts()
{
    ClientSession t;
    CopyShipped(QStringLiteral("readme.txt"));
    CopyShipped(QStringLiteral("help.txt"));
    t.m->mnuOrvelIRCHelpTopics->trigger();
    QPointer<frmHelp> h = loaded<frmHelp>();
    QVERIFY(h);
    QVERIFY(h->isVisible());
    QVERIFY(!h->isModal());
    QVERIFY((h->frameGeometry().center() - t.m->frameGeometry().center()).manhattanLength() < 4);  // over the frame
    QCOMPARE(h->windowTitle(), AppTitle);
    QCOMPARE(h->Frame1->title(), QStringLiteral("(Waiting)"));
    QCOMPARE(PaneText(h->RichTextBox1), QString());

    QTest::mouseClick(h->cmdShowHelpOnOrvelIRC, Qt::LeftButton);
    QCOMPARE(h->Frame1->title(), QStringLiteral("OrvelIRC Help"));
    QVERIFY(PaneText(h->RichTextBox1).startsWith(QStringLiteral("OrvelIRC 1.02\n")));
    QTest::mouseClick(h->cmdShowHelpOnIRC, Qt::LeftButton);
    QCOMPARE(h->Frame1->title(), QStringLiteral("IRC Commands"));
    const QString commands = PaneText(h->RichTextBox1);
    QVERIFY(commands.startsWith(QStringLiteral("IRC Commands\n")));
    // No credits.txt here: the caption changes, the text stays.
    QTest::mouseClick(h->cmdHelpOnCreditsAndAbout, Qt::LeftButton);
    QCOMPARE(h->Frame1->title(), QStringLiteral("Credits"));
    QCOMPARE(PaneText(h->RichTextBox1), commands);

    // The one viewer comes to the front again; closed, it opens afresh.
    t.m->mnuOrvelIRCHelpTopics->trigger();
    QCOMPARE(loaded<frmHelp>(), h.data());
    h->close();
    Pump();
    QVERIFY(!h);
    t.m->mnuOrvelIRCHelpTopics->trigger();
    QVERIFY(loaded<frmHelp>());
    QCOMPARE(PaneText(loaded<frmHelp>()->RichTextBox1), QString());
    QCOMPARE(loaded<frmHelp>()->Frame1->title(), QStringLiteral("(Waiting)"));
}

void DashboardTest::rawSendDialog()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    t.drain();
    QTest::mouseDClick(t.m->Label9, Qt::LeftButton);
    QPointer<frmRawSend> r = loaded<frmRawSend>();
    QVERIFY(r);
    QVERIFY(r->isVisible());
    QVERIFY((r->frameGeometry().center() - t.m->frameGeometry().center()).manhattanLength() < 4);  // over the frame
    QCOMPARE(r->windowTitle(), AppTitle);
    QCOMPARE(r->Frame1->title(), QStringLiteral("Channel Control - Server"));

    // Stay keeps the dialog and its text, so Send repeats the line; Enter in the box sends too.
    r->Text1->setText(QStringLiteral("PRIVMSG #c :again"));
    r->Check1->setChecked(true);
    QTest::mouseClick(r->Command1, Qt::LeftButton);
    QTest::keyClick(r->Text1, Qt::Key_Return);
    QVERIFY(loaded<frmRawSend>());
    QCOMPARE(r->Text1->text(), QStringLiteral("PRIVMSG #c :again"));
    QCOMPARE(t.sent(), Lines({"PRIVMSG #c :again", "PRIVMSG #c :again"}));

    // Without Stay the dialog closes after sending, an empty line too.
    r->Check1->setChecked(false);
    r->Text1->clear();
    QTest::mouseClick(r->Command1, Qt::LeftButton);
    Pump();
    QVERIFY(!r);
    QCOMPARE(t.sent(), Lines({""}));

    t.m->Label9_DblClick();
    r = loaded<frmRawSend>();
    QVERIFY(r);
    QVERIFY(!r->Check1->isChecked());
    r->Text1->setText(QStringLiteral("QUIT"));
    QTest::mouseClick(r->Command2, Qt::LeftButton);
    Pump();
    QVERIFY(!r);
    QCOMPARE(t.sent(), Lines{});
}

void DashboardTest::modalLaunchers()
{
    ClientSession t;
    frmOrvelMain *m = t.m;
    QVERIFY(WhileOpen([] { return frmSetup::Current(); }, [m] { QTest::mouseClick(m->cmdSetup, Qt::LeftButton); }, [](QDialog *) {}));
    QVERIFY(WhileOpen([] { return frmSetup::Current(); }, [m] { m->mnuSetup->trigger(); }, [](QDialog *) {}));
    QVERIFY(WhileOpen([] { return frmOptions::Current(); }, [m] { m->mnuOptions->trigger(); }, [](QDialog *) {}));
    QVERIFY(WhileOpen([] { return frmDashboard::Current(); }, [m] { m->mnuChooseYourOwn->trigger(); }, [](QDialog *) {}));

    QString version, title;
    QVERIFY(WhileOpen([] { return frmAbout::Current(); }, [m] { m->mnuAboutOrvelIRC20->trigger(); }, [&](QDialog *d) {
        auto *a = static_cast<frmAbout *>(d);
        version = a->Label1->text();
        title = a->windowTitle();
        QTest::mouseClick(a->Command1, Qt::LeftButton);
    }));
    QCOMPARE(version, QStringLiteral("OrvelIRC 1.02"));
    QCOMPARE(title, AppTitle);

    // A click with any button anywhere on the edition picture closes it.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        bool hasPicture = false;
        QVERIFY(WhileOpen([] { return frmLumora::Current(); }, [m] { m->mnuLumora->trigger(); }, [&](QDialog *d) {
            hasPicture = !static_cast<frmLumora *>(d)->Picture().isNull();
            QTest::mouseClick(d, button, {}, QPoint(d->width() - 5, d->height() - 5));
            QVERIFY(!frmLumora::Current() || !d->isVisible());
        }));
        QVERIFY(hasPicture);
    }
}

void DashboardTest::pictureMenuOnRightButtonOnly()
{
    ClientSession t;
    QVERIFY(PopsPictureMenu(t.m, t.m->Picture1, Qt::RightButton));
    QVERIFY(PopsPictureMenu(t.m, t.m->Image3, Qt::RightButton));
    QVERIFY(!PopsPictureMenu(t.m, t.m->Picture1, Qt::LeftButton));
    QVERIFY(!PopsPictureMenu(t.m, t.m->Image1, Qt::MiddleButton));
}

void DashboardTest::captureNowAndShowCapture()
{
    ClientSession t;
    // The capture waits until the menu is gone, and says whether it worked.
    t.m->mnuCaptureNow->trigger();
    QCOMPARE(t.env.clipboard.captures, 0);
    QVERIFY(t.m->CaptureTimer->Enabled());
    t.m->CaptureTimer->fire();
    QCOMPARE(t.env.clipboard.captures, 1);
    QVERIFY(!t.m->CaptureTimer->Enabled());
    t.env.clipboard.captureWorks = false;
    t.m->mnuCaptureNow->trigger();
    t.m->CaptureTimer->fire();
    QCOMPARE(t.paneSinceMark(), QStringLiteral("\n\x01 Capture Taken\n\x01 Capture Failed"));

    QImage shot(300, 120, QImage::Format_RGB32);
    shot.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(shot);
    const QSize area(platform::TwipsToPixelsX(8775), platform::TwipsToPixelsY(4455));
    QSize picture, stretched, ownSize, again;
    QString title, frame;
    QVERIFY(WhileOpen([] { return frmCapture::Current(); }, [&] { t.m->mnuShowCapture->trigger(); }, [&](QDialog *d) {
        auto *c = static_cast<frmCapture *>(d);
        picture = c->Image1->pixmap().size();
        title = c->windowTitle();
        frame = c->Frame1->title();
        stretched = c->Image1->hasScaledContents() ? c->Image1->size() : QSize();
        QTest::mouseClick(c->Check1, Qt::LeftButton);
        ownSize = c->Image1->hasScaledContents() ? QSize() : c->Image1->size();
        c->Check1->setChecked(true);
        again = c->Image1->hasScaledContents() ? c->Image1->size() : QSize();
        QTest::mouseClick(c->Command1, Qt::LeftButton);
    }));
    QCOMPARE(picture, QSize(300, 120));
    QCOMPARE(title, AppTitle);
    QCOMPARE(frame, QStringLiteral("Clipboard Data"));
    QCOMPARE(stretched, area);
    QCOMPARE(ownSize, QSize(300, 120));
    QCOMPARE(again, area);
}

void DashboardTest::colourCodeGoesToTheActiveInputLine()
{
    ClientSession t;
    QMdiArea *mdi = t.m->MdiArea();
    t.s->Outgoing->setText(QStringLiteral("red "));
    mdi->setActiveSubWindow(t.s->SubWindow());
    t.m->mnuColor->trigger();
    QCOMPARE(t.s->Outgoing->text(), QStringLiteral("red \x03"));

    frmChan &c = form<frmChan>();
    mdi->setActiveSubWindow(c.SubWindow());
    t.m->mnuColor->trigger();
    t.m->mnuColor->trigger();
    QCOMPARE(c.Outgoing->text(), QStringLiteral("\x03\x03"));

    frmOrvelChat &q = form<frmOrvelChat>();
    mdi->setActiveSubWindow(q.SubWindow());
    t.m->mnuColor->trigger();
    QCOMPARE(q.txtOutgoing->text(), QStringLiteral("\x03"));

    // A raw view has no input line: nothing changes anywhere.
    frmInData &in = form<frmInData>();
    mdi->setActiveSubWindow(in.SubWindow());
    t.m->mnuColor->trigger();
    QCOMPARE(t.s->Outgoing->text(), QStringLiteral("red \x03"));
    QCOMPARE(c.Outgoing->text(), QStringLiteral("\x03\x03"));
    QCOMPARE(q.txtOutgoing->text(), QStringLiteral("\x03"));
}

void DashboardTest::splashClosedByItsCloseBoxSavesItsBox()
{
    TestEnv env;
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("splash.msg"), QStringLiteral("yes"));
    bool ticked = false, picture = false;
    QTimer::singleShot(0, [&] {
        frmSplash *sp = frmSplash::Current();
        if (!sp) return;
        ticked = sp->Check1->isChecked();
        picture = !sp->Image1->pixmap().isNull();
        sp->Check1->setChecked(false);
        sp->close();
    });
    env.start();
    QVERIFY(ticked);
    QVERIFY(picture);
    QVERIFY(!frmSplash::Current());
    QCOMPARE(settings::Read(QStringLiteral("splash.msg")).value_or(QString()), QStringLiteral("no"));
    QCOMPARE(MultimediaLog().last(), QStringLiteral("MMControl1:Close:WaveAudio:start.wav"));
}

QTEST_MAIN(DashboardTest)
#include "test_dashboard.moc"
