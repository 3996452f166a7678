#include "ClientSession.h"
#include "dialogs/frmSplash.h"
#include "platform/TextCut.h"
#include "settings/SettingsFile.h"
#include "settings/WorkingFolder.h"
#include "windows/frmInData.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QRegularExpression>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QScrollArea>
#include <QTimer>
#include <QCheckBox>

class FoundationTest : public QObject
{
    Q_OBJECT
private slots:
    void cutsFailInsteadOfReturningWholeText();
    void settingsFilesAndFlags();
    void settingsWriteIsAtomicAndCaseBlind();
    void workingFolderGetsOnlyMissingShippedFiles();
    void outputProceduresColoursAndLineEnds();
    void fontHoldersApplyToNewRunsOnly();
    void paneShowsMarkupLiterally();
    void sendDataSendsExactlyOneLine();
    void sendDataWhileDisconnectedStillEchoes();
    void startupPositionDefaultsSavedAndRestored();
    void positionNotSavedWhenMinimised();
    void startupTextItems();
    void wizardHookForMissingConnectionSettings();
    void holdersCopiedIntoProgramVariables();
    void socketEventsAndLocalClose();
    void incomingDecodingUtf8AndLegacyBytes();
    void windowListAndRawViews();
    void outputLandsAtTheEndWhateverTheUserSelected();
    void shutDownLeavesTheChannelBeforeTheSocketCloses();
    void lineSentJustBeforeACloseStillLeaves();
    void storedPositionValuesAreSeparateSteps();
    void splashAfterConnectAtStartSavesItsBox();
};

void FoundationTest::cutsFailInsteadOfReturningWholeText()
{
    QCOMPARE(cut::InStr(QStringLiteral("abc!d"), QStringLiteral("!")), 4);
    QCOMPARE(cut::InStr(QStringLiteral("abc"), QStringLiteral("!")), 0);
    QCOMPARE(*cut::Mid(QStringLiteral("hello"), 2, 3), QStringLiteral("ell"));
    QVERIFY(!cut::Mid(QStringLiteral("hello"), 0, 3));        // position 0 is not there
    QVERIFY(!cut::Mid(QStringLiteral("hello"), 2, -1));       // negative length
    QVERIFY(!cut::Left(QStringLiteral("hello"), -1));
    QCOMPARE(*cut::Mid(QStringLiteral("hello"), 9), QString());
    QString target = QStringLiteral("kept");
    QVERIFY(!cut::Set(target, cut::Left(QStringLiteral("x"), cut::InStr(QStringLiteral("x"), QStringLiteral("!")) - 1)));
    QCOMPARE(target, QStringLiteral("kept"));
}

void FoundationTest::settingsFilesAndFlags()
{
    TestEnv env;
    env.writeFile(QStringLiteral("auto.msg"), "yes\r\n");
    env.writeFile(QStringLiteral("cos.msg"), "YES\r\n");
    env.writeFile(QStringLiteral("splash.msg"), "yes \r\n");
    env.writeFile(QStringLiteral("away.msg"), "\r\n");
    env.writeFile(QStringLiteral("back.msg"), "first\r\nsecond\r\n");
    Holder h;
    QVERIFY(h.Load(QStringLiteral("auto.msg")));
    QVERIFY(h == QStringLiteral("yes"));
    QVERIFY(h.Load(QStringLiteral("cos.msg")));
    QVERIFY(!(h == QStringLiteral("yes")));
    QVERIFY(h.Load(QStringLiteral("splash.msg")));
    QCOMPARE(h.Text, QStringLiteral("yes "));
    QVERIFY(h.Load(QStringLiteral("away.msg")));
    QCOMPARE(h.Text, QString());
    QVERIFY(h.Load(QStringLiteral("back.msg")));
    QCOMPARE(h.Text, QStringLiteral("first"));  // first line only
    h.Text = QStringLiteral("before");
    QVERIFY(!h.Load(QStringLiteral("missing.msg")));
    QCOMPARE(h.Text, QStringLiteral("before"));

    // Flags applied at start-up: "YES" and "yes " count as off, the dashboard shows when empty.
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("splash.msg"), QStringLiteral("YES"));
    frmOrvelMain &m = env.start();
    QCOMPARE(m.Settings().txtAutoArrange.Text, QStringLiteral("yes"));
    QVERIFY(!m.Picture1->isHidden());
    QVERIFY(m.mnuDashboard->isChecked());
    QVERIFY(!m.WindowBarOnTop());
    QVERIFY(!loaded<frmInData>());
    QVERIFY(m.cmdConnect->isEnabled());
}

void FoundationTest::settingsWriteIsAtomicAndCaseBlind()
{
    TestEnv env;
    QVERIFY(settings::Write(QStringLiteral("Fontname.msg"), QStringLiteral("Courier")));
    QVERIFY(QFile::exists(QStringLiteral("fontname.msg")));
    QCOMPARE(QFile(QStringLiteral("fontname.msg")).size(), qint64(9));  // value and CR LF
    QCOMPARE(*settings::Read(QStringLiteral("fontname.msg")), QStringLiteral("Courier"));
    QCOMPARE(*settings::Read(QStringLiteral("FONTNAME.MSG")), QStringLiteral("Courier"));
    // A file written in other letter case by someone else is the same setting, and a
    // rewrite leaves one file behind, with no temporary file.
    env.writeFile(QStringLiteral("FontSize.msg"), "12\r\n");
    QCOMPARE(*settings::Read(QStringLiteral("fontsize.msg")), QStringLiteral("12"));
    QVERIFY(settings::Write(QStringLiteral("FontSize.msg"), QStringLiteral("14")));
    QStringList files = QDir::current().entryList(QDir::Files);
    QCOMPARE(files, QStringList({QStringLiteral("fontname.msg"), QStringLiteral("fontsize.msg")}));
    QCOMPARE(*settings::Read(QStringLiteral("FontSize.msg")), QStringLiteral("14"));

    // A write that cannot land keeps the old value.
    env.writeFile(QStringLiteral("Nick.msg"), "old\r\n");
    QVERIFY(QDir::current().mkdir(QStringLiteral("nick.msg")));
    QVERIFY(!settings::Write(QStringLiteral("nick.msg"), QStringLiteral("new")));
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("old"));
    files = QDir::current().entryList(QDir::Files);
    QCOMPARE(files.size(), 3);  // no temporary file left behind
}

void FoundationTest::workingFolderGetsOnlyMissingShippedFiles()
{
    TestEnv env;
    qputenv("XDG_DATA_HOME", env.dir.filePath(QStringLiteral("xdg")).toUtf8());
    qunsetenv("ORVELIRC_HOME");
    QCOMPARE(settings::WorkingFolderPath(), env.dir.filePath(QStringLiteral("xdg/orvelirc")));
    qputenv("ORVELIRC_HOME", env.dir.filePath(QStringLiteral("own")).toUtf8());
    QCOMPARE(settings::WorkingFolderPath(), env.dir.filePath(QStringLiteral("own")));
    qunsetenv("ORVELIRC_HOME");

    QVERIFY(QDir(env.dir.path()).mkpath(QStringLiteral("shipped/sub")));
    env.writeFile(QStringLiteral("shipped/startup.txt"), "Welcome\r\n");
    env.writeFile(QStringLiteral("shipped/afternet.msg"), "irc.afternet.org\r\n");
    env.writeFile(QStringLiteral("shipped/error.wav"), "RIFF");
    const QString folder = env.dir.filePath(QStringLiteral("home/orvelirc"));
    QVERIFY(QDir(env.dir.path()).mkpath(QStringLiteral("home/orvelirc")));
    env.writeFile(QStringLiteral("home/orvelirc/AfterNet.msg"), "my.server\r\n");

    QCOMPARE(settings::EnterWorkingFolder(folder, env.dir.filePath(QStringLiteral("shipped"))), QString());
    QCOMPARE(QDir::currentPath(), folder);
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("AfterNet.msg"), QStringLiteral("error.wav"), QStringLiteral("startup.txt")}));
    QCOMPARE(*settings::Read(QStringLiteral("afternet.msg")), QStringLiteral("my.server"));
    QCOMPARE(*settings::Read(QStringLiteral("startup.txt")), QStringLiteral("Welcome"));

    // A folder that cannot be made is reported, not worked around.
    QFile blocked(env.dir.filePath(QStringLiteral("blocked")));
    QVERIFY(blocked.open(QIODevice::WriteOnly));
    QVERIFY(!settings::EnterWorkingFolder(env.dir.filePath(QStringLiteral("blocked/orvelirc")), QString()).isEmpty());
    QCOMPARE(QDir::currentPath(), folder);
    qunsetenv("XDG_DATA_HOME");
}

void FoundationTest::outputProceduresColoursAndLineEnds()
{
    ClientSession t;
    t.s->Incoming->Clear();
    t.s->Addtext(QStringLiteral("a"));
    t.s->Addtext2(QStringLiteral("b"));
    t.s->Addtext5(QStringLiteral("c"));
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\na\nbc\n"));
    QCOMPARE(RunColours(t.s->Incoming), QList<QColor>({PaletteColour(0), PaletteColour(1), PaletteColour(12)}));
    QVERIFY(TextRuns(t.s->Incoming)[2].text.endsWith(QLatin1Char('\n')));

    t.s->Incoming->Clear();
    t.s->AddtextX(QStringLiteral("x"));
    t.s->Addtext3(QStringLiteral("y"));
    t.s->Addtext4(QStringLiteral("z"));
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("x\n\ny\nz"));
    QCOMPARE(RunColours(t.s->Incoming), QList<QColor>({PaletteColour(0), PaletteColour(3), PaletteColour(4)}));
}

void FoundationTest::fontHoldersApplyToNewRunsOnly()
{
    ClientSession t;
    t.s->Incoming->Clear();
    t.s->Addtext(QStringLiteral("before"));
    const QFont lineFont = t.s->Outgoing->font();
    t.m->Settings().txtFontName.Text = QStringLiteral("Serif");
    t.m->Settings().txtFontSize.Text = QStringLiteral("14");
    t.s->Addtext2(QStringLiteral("blue"));
    QCOMPARE(t.s->Outgoing->font().family(), lineFont.family());  // Addtext2 leaves the command line alone
    t.s->Addtext(QStringLiteral("black"));
    QCOMPARE(t.s->Outgoing->font().family(), QStringLiteral("Serif"));
    const QList<RichPane::Run> runs = TextRuns(t.s->Incoming);
    QCOMPARE(runs.size(), 3);
    QVERIFY(runs[0].family != QStringLiteral("Serif"));
    QCOMPARE(runs[1].family, QStringLiteral("Serif"));
    QCOMPARE(runs[1].size, 14.0);
    QCOMPARE(runs[2].size, 14.0);
    // A size that is not a number is ignored; the line still shows.
    t.m->Settings().txtFontSize.Text = QStringLiteral("big");
    t.s->Addtext(QStringLiteral("still shown"));
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\nstill shown")));
}

void FoundationTest::paneShowsMarkupLiterally()
{
    ClientSession t;
    t.s->Incoming->Clear();
    const QString evil = QStringLiteral("<b>bold</b> <img src=x> &amp;");
    t.s->Addtext3(evil);
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\n") + evil);
}

void FoundationTest::sendDataSendsExactlyOneLine()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    t.s->SendData(QStringLiteral("PRIVMSG #a :hi"));
    t.s->SendData(QStringLiteral("PRIVMSG #a :one\r\nQUIT :smuggled"));
    t.s->SendData(QStringLiteral("PRIVMSG #a :two\nJOIN #x"));
    t.s->SendData(QString::fromUtf8("PRIVMSG #a :caf\xc3\xa9") + QChar(0) + QStringLiteral("MODE x"));
    t.s->SendData(QStringLiteral("PING :x\r"));
    QVERIFY(t.srv.waitForBytes(75));
    QCOMPARE(t.srv.received(), QByteArray("PRIVMSG #a :hi\r\nPRIVMSG #a :one\r\nPRIVMSG #a :two\r\n"
                                           "PRIVMSG #a :caf\xc3\xa9\r\nPING :x\r\n"));
}

void FoundationTest::sendDataWhileDisconnectedStillEchoes()
{
    ClientSession t;
    t.s->SendData(QStringLiteral("NOT SHOWN"));
    QVERIFY(!loaded<frmOutData>());
    // The server pop-up's item shows the view and marks itself; choosing it again hides
    // the view, which keeps its text while nothing more is appended.
    t.m->mnuOutDataWindow->trigger();
    QVERIFY(t.m->mnuOutDataWindow->isChecked());
    QVERIFY(loaded<frmOutData>() && loaded<frmOutData>()->SubWindow()->isVisible());
    t.s->SendData(QStringLiteral("LINE ONE"));
    t.s->SendData(QStringLiteral("LINE TWO\r\nHIDDEN"));
    QCOMPARE(loaded<frmOutData>()->Text(), QStringLiteral("\nLINE ONE\nLINE TWO"));
    t.m->mnuOutDataWindow->trigger();
    QVERIFY(!t.m->mnuOutDataWindow->isChecked());
    QVERIFY(!loaded<frmOutData>()->SubWindow()->isVisible());
    t.s->SendData(QStringLiteral("LINE THREE"));
    QCOMPARE(loaded<frmOutData>()->Text(), QStringLiteral("\nLINE ONE\nLINE TWO"));
    t.m->mnuIndataWindow->trigger();
    QVERIFY(t.m->mnuIndataWindow->isChecked());
    QVERIFY(loaded<frmInData>() && loaded<frmInData>()->SubWindow()->isVisible());
}

void FoundationTest::startupPositionDefaultsSavedAndRestored()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    // No stored size: the frame, on the screen, shows the server window at its own size,
    // command line included.
    Pump();
    QVERIFY(m.screen()->availableGeometry().contains(m.frameGeometry()));
    const QMdiSubWindow *server = loaded<frmOrvelIRC>()->SubWindow();
    QVERIFY(m.MdiArea()->viewport()->rect().contains(server->geometry()));
    QCOMPARE(server->size(), FormBase::SubWindowSizeFor(frmOrvelIRC::DesignedSize));
    // So narrow a frame cuts the dashboard's top row: it scrolls, and its far end (the
    // clock) can be brought into view above the scroll bar.
    m.resize(platform::TwipsToPixelsX(6500), platform::TwipsToPixelsY(6500));
    Pump();
    m.PanelScroller->ensureWidgetVisible(m.Label22);
    const QRect clock(m.Label22->mapTo(m.PanelScroller->viewport(), QPoint()), m.Label22->size());
    QVERIFY(m.PanelScroller->viewport()->rect().contains(clock));
    QCOMPARE(m.PanelScroller->viewport()->height(), m.Picture1->height());
    // Twips become whole pixels: allow one pixel's worth.
    auto near = [](int twips, int expected) { return qAbs(twips - expected) < 16; };
    m.move(platform::TwipsToPixelsX(2880), platform::TwipsToPixelsY(1440));
    m.resize(platform::TwipsToPixelsX(9000), platform::TwipsToPixelsY(7200));
    m.MDIForm_Unload();
    QCOMPARE(TestEnv::endCalls, 1);
    QCOMPARE(env.store.values.value(QStringLiteral("OrvelIRC/Settings/MainLeft")), QStringLiteral("2880"));
    QCOMPARE(env.store.values.value(QStringLiteral("OrvelIRC/Settings/MainTop")), QStringLiteral("1440"));
    QCOMPARE(env.store.values.value(QStringLiteral("OrvelIRC/Settings/MainWidth")), QStringLiteral("9000"));
    QCOMPARE(env.store.values.value(QStringLiteral("OrvelIRC/Settings/MainHeight")), QStringLiteral("7200"));
    env.stop();
    frmOrvelMain &again = env.start();
    QVERIFY(near(platform::PixelsToTwipsX(again.pos().x()), 2880));
    QVERIFY(near(platform::PixelsToTwipsY(again.height()), 7200));
    // Shut-down closes the wave device before it ends the program.
    MultimediaLog().clear();
    again.close();
    QCOMPARE(MultimediaLog().value(0), QStringLiteral("MMControl1:Close:WaveAudio:"));
    QCOMPARE(TestEnv::endCalls, 2);
}

void FoundationTest::positionNotSavedWhenMinimised()
{
    ClientSession t(0, {{QStringLiteral("cdexit.msg"), QStringLiteral("yes")}});
    t.m->showMinimized();
    QVERIFY(t.m->isMinimized());
    MultimediaLog().clear();
    t.m->MDIForm_Unload();
    QVERIFY(t.env.store.values.isEmpty());
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("MMControl1:Close:WaveAudio:"),
                                           QStringLiteral("CDControl:Stop::"), QStringLiteral("CDControl:Close::")}));
    QCOMPARE(TestEnv::endCalls, 1);
}

void FoundationTest::startupTextItems()
{
    {
        TestEnv env;
        env.writeConnection(6667);
        env.writeFile(QStringLiteral("startup.txt"),
                      "Hello there,\"quoted, item\"\r\n  \" in blanks \"  ,say \"hi\"\r\n\r\nnever shown\r\n");
        env.start();
        QCOMPARE(form<frmOrvelIRC>().Incoming->Text(),
                 QStringLiteral("Hello there\nquoted, item\n in blanks \nsay \"hi\"\n"));
    }
    {
        TestEnv env;  // no startup.txt: nothing shown, the load goes on
        env.writeConnection(6667);
        env.start();
        QCOMPARE(form<frmOrvelIRC>().Incoming->Text(), QString());
        QCOMPARE(session().Settings().Nick(), QStringLiteral("abc"));
    }
}

void FoundationTest::wizardHookForMissingConnectionSettings()
{
    const QStringList required = {QStringLiteral("server.msg"), QStringLiteral("nick.msg"), QStringLiteral("port.msg"),
                                  QStringLiteral("altnick.msg"), QStringLiteral("email.msg")};
    for (const QString &missing : required) {
        TestEnv env;
        env.writeConnection(6667);
        QFile::remove(missing);
        frmOrvelMain &m = env.start();
        Q_UNUSED(m);
        // The frame's load already loaded the server window: count by re-running it.
        env.stop();
        env.writeConnection(6667);
        QFile::remove(missing);
        frmOrvelMain *frame = new frmOrvelMain();
        QSignalSpy spy(frame, &frmOrvelMain::setupWizardRequested);
        frame->MDIForm_Load();
        QVERIFY2(spy.count() == 1, qPrintable(missing));
    }
    TestEnv env;
    env.writeConnection(6667);
    QFile::remove(QStringLiteral("realname.msg"));
    frmOrvelMain *frame = new frmOrvelMain();
    QSignalSpy spy(frame, &frmOrvelMain::setupWizardRequested);
    frame->MDIForm_Load();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(session().RealName(), QString());
}

void FoundationTest::holdersCopiedIntoProgramVariables()
{
    TestEnv env;
    env.writeConnection(7000, QStringLiteral("nick1"), QStringLiteral("irc.example.org"), QStringLiteral("alt1"),
                        QStringLiteral("u@example.org"), QStringLiteral("Some One"));
    frmOrvelMain &m = env.start();
    QCOMPARE(session().ServerName(), QStringLiteral("irc.example.org"));
    QCOMPARE(session().ServerPort(), QStringLiteral("7000"));
    QCOMPARE(session().Nick(), QStringLiteral("nick1"));
    QCOMPARE(session().Settings().AlternativeNick(), QStringLiteral("alt1"));
    QCOMPARE(session().EmailAddress(), QStringLiteral("u@example.org"));
    QCOMPARE(session().RealName(), QStringLiteral("Some One"));
    frmOrvelIRC &s = form<frmOrvelIRC>();
    QVERIFY(!s.txtIpAddress.Text.isEmpty());
    QVERIFY(!s.txtIpAddress.Text.contains(QLatin1Char(':')));  // the IPv4 address
    QVERIFY(s.Caption().isEmpty());
    QVERIFY(m.Command2->isEnabled());
    QVERIFY(!m.mnuShowServerWindow->isEnabled());
    QCOMPARE(m.mnuWindowOne->text(), QStringLiteral("&1 Server Connection"));
    // The channel mirror follows the current channel at once, and survives an unload.
    session().SetCurrentChannel(QStringLiteral("#lobby"));
    QCOMPARE(s.ChanCentral(), QStringLiteral("#lobby"));
    s.Unload();
    Pump();
    QVERIFY(!loaded<frmOrvelIRC>());
    QVERIFY(m.mnuShowServerWindow->isEnabled());
    QVERIFY(!m.Command2->isEnabled());
    QVERIFY(!m.mnuWindowOne->isVisible());
    m.mnuShowServerWindow->trigger();
    QVERIFY(loaded<frmOrvelIRC>());
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#lobby"));
    QCOMPARE(loaded<frmOrvelIRC>()->ChanCentral(), QStringLiteral("#lobby"));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
}

void FoundationTest::socketEventsAndLocalClose()
{
    TestEnv env;
    LoopbackServer server;
    TcpSocket sock;
    QSignalSpy connected(&sock, &TcpSocket::Connected);
    QSignalSpy closed(&sock, &TcpSocket::Closed);
    QSignalSpy arrived(&sock, &TcpSocket::DataArrival);
    sock.Close();  // closing a never-opened socket is harmless
    QVERIFY(!sock.Send(QStringLiteral("LOST\r\n")));
    sock.RemoteHost = QStringLiteral("127.0.0.1");
    sock.RemotePort = server.port();
    sock.Connect();
    QVERIFY(WaitUntil([&] { return connected.count() == 1; }));
    QVERIFY(server.waitForClient());
    server.send("hello\r\n");
    QVERIFY(WaitUntil([&] { return arrived.count() >= 1; }));
    QCOMPARE(sock.GetData(), QStringLiteral("hello\r\n"));
    // A local close raises no Closed event.
    sock.Close();
    Pump();
    QVERIFY(server.waitForDisconnect());
    QCOMPARE(closed.count(), 0);
    sock.Close();
    // The peer closing does.
    sock.Connect();
    QVERIFY(WaitUntil([&] { return connected.count() == 2; }));
    QVERIFY(server.waitForClient());
    server.closeClient();
    QVERIFY(WaitUntil([&] { return closed.count() == 1; }));
}

void FoundationTest::incomingDecodingUtf8AndLegacyBytes()
{
    QByteArray carry;
    QCOMPARE(DecodeIncoming(carry, QByteArray("\x87WAKEUP\x87")), QString(QChar(0x2021)) + QStringLiteral("WAKEUP") + QChar(0x2021));
    QCOMPARE(DecodeIncoming(carry, QByteArray("\xe2\x80\xa1")), QString(QChar(0x2021)));
    // A sequence split over two reads is completed, not mangled.
    QCOMPARE(DecodeIncoming(carry, QByteArray("caf\xc3")), QStringLiteral("caf"));
    QCOMPARE(DecodeIncoming(carry, QByteArray("\xa9!")), QString::fromUtf8("caf\xc3\xa9!").mid(3));
    QVERIFY(carry.isEmpty());
    QCOMPARE(DecodeIncoming(carry, QByteArray("\xe9t\xe9\r\n")), QString::fromLatin1("\xe9t\xe9\r\n"));
    // A lead byte at the end of a read waits for the next one, then reads as a legacy byte.
    QCOMPARE(DecodeIncoming(carry, QByteArray("\xe9")), QString());
    QCOMPARE(DecodeIncoming(carry, QByteArray("x")), QString::fromLatin1("\xe9x"));
    QCOMPARE(DecodeIncoming(carry, QByteArray("\x80")), QString(QChar(0x20AC)));
    // An overlong form is not UTF-8: E0 80 8D never reads as a CR that would end a line.
    QCOMPARE(DecodeIncoming(carry, QByteArray("a\xe0\x80\x8d" "b")),
             QStringLiteral("a") + QChar(0xE0) + QChar(0x20AC) + QChar(0x8D) + QStringLiteral("b"));
}

void FoundationTest::windowListAndRawViews()
{
    ClientSession t(0, {{QStringLiteral("indata.msg"), QStringLiteral("yes")}, {QStringLiteral("auto.msg"), QStringLiteral("yes")}});
    // The received-data view loads before the server window and takes entry 1.
    QCOMPARE(t.m->mnuWindowOne->text(), QStringLiteral("&1 InData Window"));
    QCOMPARE(t.m->mnuWindowTwo->text(), QStringLiteral("&2 Server Connection"));
    QVERIFY(t.m->mnuIndataWindow->isChecked());
    // Activation moves the check mark between the entries.
    QVERIFY(t.m->mnuWindowTwo->isChecked());
    QVERIFY(!t.m->mnuWindowOne->isChecked());
    QMdiSubWindow *view = loaded<frmInData>()->SubWindow();
    view->setGeometry(10, 10, 300, 200);
    t.m->MdiArea()->setActiveSubWindow(view);
    QVERIFY(t.m->mnuWindowOne->isChecked());
    QVERIFY(!t.m->mnuWindowTwo->isChecked());
    // Auto-arrange tiles the windows as one comes to the front.
    const QSize area = t.m->MdiArea()->viewport()->size();
    QCOMPARE(view->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    t.m->MdiArea()->setActiveSubWindow(t.s->SubWindow());
    t.m->Timer1->fire();  // writes the clock
    QVERIFY(t.m->mnuCloseAll->isEnabled());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d \\S+$")).match(t.m->Label22->text()).hasMatch());
    // Ticking for real, a polling timer such as the housekeeping one wakes once a second,
    // not at its designed millisecond: whatever it keeps in step is set where it changes.
    // Each tick falls in a second of its own, however late a busy machine runs it.
    VbTimer::setRealTicks(true);
    VbTimer polling(1, true);
    QList<qint64> seconds;
    connect(&polling, &VbTimer::Timer, [&] { seconds << QDateTime::currentSecsSinceEpoch(); });
    QVERIFY(WaitUntil([&] { return seconds.size() >= 3; }));
    for (qsizetype i = 1; i < seconds.size(); ++i)
        QVERIFY2(seconds[i] > seconds[i - 1], qPrintable(QStringLiteral("two ticks in second %1").arg(seconds[i])));
    polling.setEnabled(false);
    VbTimer::setRealTicks(false);
    t.s->Incoming->Clear();
    loaded<frmInData>()->Unload();
    Pump();
    QVERIFY(!t.m->mnuIndataWindow->isChecked());
    QVERIFY(!t.m->mnuWindowOne->isVisible());
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\n\x01 InData Window Closed"));
    QVERIFY(!t.m->mnuCloseAll->isEnabled());  // entry 1 is free: close items follow it alone, at once
    QVERIFY(!t.m->mnuWindowSeparator->isVisible());
    t.m->mnuOutDataWindow->setChecked(true);
    form<frmOutData>();
    QVERIFY(!t.m->mnuWindowOne->isVisible());  // the sent-data view takes no entry
    loaded<frmOutData>()->Unload();
    Pump();
    QVERIFY(!t.m->mnuOutDataWindow->isChecked());
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\n\x01 OutData Window Closed")));

    // A closing note never loads the server window again: not for a view closed after it,
    // not in Close All.
    t.m->mnuIndataWindow->trigger();
    t.s->Unload();
    Pump();
    loaded<frmInData>()->Unload();
    Pump();
    QVERIFY(!loaded<frmOrvelIRC>());
    t.m->mnuIndataWindow->trigger();
    t.m->mnuOutDataWindow->trigger();
    t.m->mnuShowServerWindow->trigger();
    t.m->mnuCloseAll->trigger();
    Pump();
    QVERIFY(t.m->MdiArea()->subWindowList().isEmpty());
}

void FoundationTest::outputLandsAtTheEndWhateverTheUserSelected()
{
    ClientSession t;
    t.s->Incoming->Clear();
    t.s->Addtext(QStringLiteral("first line"));
    t.s->Addtext(QStringLiteral("second line"));
    // The user selects "first" with the mouse; a line arriving then neither replaces the
    // selection nor lands in the middle of the history.
    QTextCursor cur = t.s->Incoming->textCursor();
    cur.setPosition(1);
    cur.setPosition(6, QTextCursor::KeepAnchor);
    t.s->Incoming->setTextCursor(cur);
    t.s->Incoming_Click();
    QCOMPARE(t.env.clipboard.text, QStringLiteral("first"));
    t.s->Addtext2(QStringLiteral("third line"));
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\nfirst line\nsecond line\nthird line"));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("third line")), PaletteColour(1));
    QCOMPARE(t.s->Incoming->SelStart(), t.s->Incoming->TextLength());
    // A caret put in the middle by a click is no better place.
    t.s->Incoming->SetSelStart(3);
    t.s->AddtextX(QStringLiteral("fourth"));
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\nfirst line\nsecond line\nthird linefourth\n"));
}

void FoundationTest::shutDownLeavesTheChannelBeforeTheSocketCloses()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    // The sent-data view is loaded after the server window: its closing note must not load
    // the server window again.
    t.m->mnuOutDataWindow->setChecked(true);
    t.s->SendData(QStringLiteral("LUSERS"));
    QVERIFY(loaded<frmOutData>());
    QVERIFY(t.srv.waitForLine("LUSERS"));
    t.srv.clear();
    t.m->close();
    QVERIFY(t.srv.waitForLine("PART #c"));
    QVERIFY(t.srv.waitForDisconnect());
    QCOMPARE(t.srv.lines(), Lines({"PART #c"}));
    QVERIFY(!loaded<frmOrvelIRC>());
    QVERIFY(!loaded<frmChan>());
    QVERIFY(!loaded<frmOutData>());
    QCOMPARE(TestEnv::endCalls, 1);
}

void FoundationTest::lineSentJustBeforeACloseStillLeaves()
{
    ClientSession t;
    QVERIFY(t.connectByButton());
    t.s->SendData(QStringLiteral("QUIT :gone"));
    t.s->Tcp1().Close();
    QVERIFY(t.srv.waitForDisconnect());
    QCOMPARE(t.srv.received(), QByteArray("QUIT :gone\r\n"));
    // A port past 65535 never wraps round onto another port.
    t.s->Tcp1().RemotePort = 65536 + t.srv.port();
    t.s->Tcp1().Connect();
    QVERIFY(!WaitUntil([&] { return t.srv.hasClient(); }, 300));
}

void FoundationTest::storedPositionValuesAreSeparateSteps()
{
    TestEnv env;
    env.writeConnection(6667);
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainTop"), QStringLiteral("2880"));
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainWidth"), QStringLiteral("wide"));
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainHeight"), QStringLiteral("8000"));
    frmOrvelMain &m = env.start();
    auto near = [](int twips, int expected) { return qAbs(twips - expected) < 16; };
    // The width that is not a number is skipped; the values around it still apply.
    QVERIFY(near(platform::PixelsToTwipsX(m.pos().x()), 1000));
    QVERIFY(near(platform::PixelsToTwipsY(m.pos().y()), 2880));
    QVERIFY(near(platform::PixelsToTwipsY(m.height()), 8000));
    QVERIFY(!near(platform::PixelsToTwipsX(m.width()), 6500));

    // Stored on a bigger screen than this one: the frame is fitted to the screen; a width
    // that fits is kept.
    env.stop();
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainLeft"), QStringLiteral("60000"));
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainWidth"), QStringLiteral("9000"));
    env.store.values.insert(QStringLiteral("OrvelIRC/Settings/MainHeight"), QStringLiteral("30000"));
    frmOrvelMain &again = env.start();
    QVERIFY(again.screen()->availableGeometry().contains(again.frameGeometry()));
    QVERIFY(near(platform::PixelsToTwipsX(again.width()), 9000));
}

void FoundationTest::splashAfterConnectAtStartSavesItsBox()
{
    QString paneAtSplash;
    QStringList soundsAtSplash;
    bool sawSplash = false, frameShown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        frmSplash *sp = frmSplash::Current();
        if (!sp || !sp->isVisible()) return;
        poll.stop();
        sawSplash = true;
        paneAtSplash = loaded<frmOrvelIRC>() ? loaded<frmOrvelIRC>()->Incoming->Text() : QString();
        frameShown = frmOrvelMain::Instance()->isVisible() && loaded<frmOrvelIRC>()->isVisible();
        soundsAtSplash = MultimediaLog();
        QVERIFY(sp->Check1->isChecked());
        sp->Check1->setChecked(false);
        sp->close();  // the close box, not OK
    });
    poll.start();
    ClientSession t(0, {{QStringLiteral("splash.msg"), QStringLiteral("yes")}, {QStringLiteral("cos.msg"), QStringLiteral("yes")}});
    QVERIFY(sawSplash);
    // The connection attempt is under way, and can be seen, before the splash shows.
    QVERIFY(frameShown);
    QVERIFY(paneAtSplash.contains(QStringLiteral("\x01 Attempting to connect to 127.0.0.1...")));
    QVERIFY(soundsAtSplash.endsWith(QStringLiteral("MMControl1:Play:WaveAudio:start.wav")));
    QVERIFY(soundsAtSplash.contains(QStringLiteral("MMControl1:Open:WaveAudio:start.wav")));
    QCOMPARE(MultimediaLog().value(soundsAtSplash.size()), QStringLiteral("MMControl1:Close:WaveAudio:start.wav"));
    QCOMPARE(*settings::Read(QStringLiteral("splash.msg")), QStringLiteral("no"));
    QVERIFY(!frmSplash::Current());
    QVERIFY(t.srv.waitForLineStarting("USER "));
}

QTEST_MAIN(FoundationTest)
#include "test_foundation.moc"
