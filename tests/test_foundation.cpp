#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "platform/TextCut.h"
#include "settings/IrcData.h"
#include "settings/SettingsFile.h"
#include "windows/frmInData.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class FoundationTest : public QObject
{
    Q_OBJECT
private slots:
    void cutsFailInsteadOfReturningWholeText();
    void settingsFilesAndFlags();
    void settingsWriteIsAtomicAndCaseBlind();
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
    QCOMPARE(m.txtAutoArrange.Text, QStringLiteral("yes"));
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

void FoundationTest::outputProceduresColoursAndLineEnds()
{
    TestEnv env;
    env.writeConnection(6667);
    env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Incoming->Clear();
    s.Addtext(QStringLiteral("a"));
    s.Addtext2(QStringLiteral("b"));
    s.Addtext5(QStringLiteral("c"));
    QCOMPARE(s.Incoming->Text(), QStringLiteral("\na\nbc\n"));
    const QList<RichPane::Run> runs = TextRuns(s.Incoming);
    QCOMPARE(runs.size(), 3);
    QCOMPARE(runs[0].colour, PaletteColour(0));
    QCOMPARE(runs[1].colour, PaletteColour(1));
    QCOMPARE(runs[2].colour, PaletteColour(12));
    QVERIFY(runs[2].text.endsWith(QLatin1Char('\n')));

    s.Incoming->Clear();
    s.AddtextX(QStringLiteral("x"));
    s.Addtext3(QStringLiteral("y"));
    s.Addtext4(QStringLiteral("z"));
    QCOMPARE(s.Incoming->Text(), QStringLiteral("x\n\ny\nz"));
    const QList<RichPane::Run> r2 = TextRuns(s.Incoming);
    QCOMPARE(r2[0].colour, PaletteColour(0));
    QCOMPARE(r2[1].colour, PaletteColour(3));
    QCOMPARE(r2[2].colour, PaletteColour(4));
}

void FoundationTest::fontHoldersApplyToNewRunsOnly()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Incoming->Clear();
    s.Addtext(QStringLiteral("before"));
    const QFont lineFont = s.Outgoing->font();
    m.txtFontName.Text = QStringLiteral("Serif");
    m.txtFontSize.Text = QStringLiteral("14");
    s.Addtext2(QStringLiteral("blue"));
    QCOMPARE(s.Outgoing->font().family(), lineFont.family());  // Addtext2 leaves the command line alone
    s.Addtext(QStringLiteral("black"));
    QCOMPARE(s.Outgoing->font().family(), QStringLiteral("Serif"));
    const QList<RichPane::Run> runs = TextRuns(s.Incoming);
    QCOMPARE(runs.size(), 3);
    QVERIFY(runs[0].family != QStringLiteral("Serif"));
    QCOMPARE(runs[1].family, QStringLiteral("Serif"));
    QCOMPARE(runs[1].size, 14.0);
    QCOMPARE(runs[2].size, 14.0);
    // A size that is not a number is ignored; the line still shows.
    m.txtFontSize.Text = QStringLiteral("big");
    s.Addtext(QStringLiteral("still shown"));
    QVERIFY(s.Incoming->Text().endsWith(QStringLiteral("\nstill shown")));
}

void FoundationTest::paneShowsMarkupLiterally()
{
    TestEnv env;
    env.writeConnection(6667);
    env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Incoming->Clear();
    const QString evil = QStringLiteral("<b>bold</b> <img src=x> &amp;");
    s.Addtext3(evil);
    QCOMPARE(s.Incoming->Text(), QStringLiteral("\n") + evil);
}

void FoundationTest::sendDataSendsExactlyOneLine()
{
    TestEnv env;
    LoopbackServer server;
    env.writeConnection(server.port());
    env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Tcp1->RemoteHost = QStringLiteral("127.0.0.1");
    s.Tcp1->RemotePort = server.port();
    s.Tcp1->Connect();
    QVERIFY(server.waitForClient());
    QVERIFY(WaitUntil([&] { return s.Tcp1->IsConnected(); }));
    QVERIFY(server.waitForLineStarting("USER "));  // registration goes out first
    server.clear();
    s.SendData(QStringLiteral("PRIVMSG #a :hi"));
    s.SendData(QStringLiteral("PRIVMSG #a :one\r\nQUIT :smuggled"));
    s.SendData(QStringLiteral("PRIVMSG #a :two\nJOIN #x"));
    s.SendData(QString::fromUtf8("PRIVMSG #a :caf\xc3\xa9") + QChar(0) + QStringLiteral("MODE x"));
    s.SendData(QStringLiteral("PING :x\r"));
    QVERIFY(server.waitForBytes(75));
    QCOMPARE(server.received(), QByteArray("PRIVMSG #a :hi\r\nPRIVMSG #a :one\r\nPRIVMSG #a :two\r\n"
                                           "PRIVMSG #a :caf\xc3\xa9\r\nPING :x\r\n"));
}

void FoundationTest::sendDataWhileDisconnectedStillEchoes()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.SendData(QStringLiteral("NOT SHOWN"));
    QVERIFY(!loaded<frmOutData>());
    m.mnuOutDataWindow->setChecked(true);
    s.SendData(QStringLiteral("LINE ONE"));
    s.SendData(QStringLiteral("LINE TWO\r\nHIDDEN"));
    QVERIFY(loaded<frmOutData>());
    QCOMPARE(loaded<frmOutData>()->Text(), QStringLiteral("\nLINE ONE\nLINE TWO"));
}

void FoundationTest::startupPositionDefaultsSavedAndRestored()
{
    TestEnv env;
    env.writeConnection(6667);
    frmOrvelMain &m = env.start();
    // Twips become whole pixels: allow one pixel's worth.
    auto near = [](int twips, int expected) { return qAbs(twips - expected) < 16; };
    QVERIFY(near(platform::PixelsToTwipsX(m.pos().x()), 1000));
    QVERIFY(near(platform::PixelsToTwipsY(m.pos().y()), 1000));
    QVERIFY(near(platform::PixelsToTwipsX(m.width()), 6500));
    QVERIFY(near(platform::PixelsToTwipsY(m.height()), 6500));
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
    TestEnv env;
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("cdexit.msg"), QStringLiteral("yes"));
    frmOrvelMain &m = env.start();
    m.show();
    m.showMinimized();
    QVERIFY(m.isMinimized());
    MultimediaLog().clear();
    m.MDIForm_Unload();
    QVERIFY(env.store.values.isEmpty());
    QCOMPARE(MultimediaLog(), QStringList({QStringLiteral("MMControl1:Close:WaveAudio:"),
                                           QStringLiteral("CDControl:Stop::"), QStringLiteral("CDControl:Close::")}));
    QCOMPARE(TestEnv::endCalls, 1);
}

void FoundationTest::startupTextItems()
{
    {
        TestEnv env;
        env.writeConnection(6667);
        env.writeFile(QStringLiteral("startup.txt"), "Hello there,\"quoted, item\"\r\n\r\nnever shown\r\n");
        env.start();
        QCOMPARE(form<frmOrvelIRC>().Incoming->Text(), QStringLiteral("Hello there\nquoted, item\n"));
    }
    {
        TestEnv env;  // no startup.txt: nothing shown, the load goes on
        env.writeConnection(6667);
        env.start();
        QCOMPARE(form<frmOrvelIRC>().Incoming->Text(), QString());
        QCOMPARE(form<frmOrvelIRC>().txtNick.Text, QStringLiteral("abc"));
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
    QCOMPARE(IrcData::RealName, QString());
}

void FoundationTest::holdersCopiedIntoProgramVariables()
{
    TestEnv env;
    env.writeConnection(7000, QStringLiteral("nick1"), QStringLiteral("irc.example.org"), QStringLiteral("alt1"),
                        QStringLiteral("u@example.org"), QStringLiteral("Some One"));
    frmOrvelMain &m = env.start();
    QCOMPARE(IrcData::ServerName, QStringLiteral("irc.example.org"));
    QCOMPARE(IrcData::ServerPort, QStringLiteral("7000"));
    QCOMPARE(IrcData::CurrentNick, QStringLiteral("nick1"));
    QCOMPARE(IrcData::AlternativeNick, QStringLiteral("alt1"));
    QCOMPARE(IrcData::EmailAddress, QStringLiteral("u@example.org"));
    QCOMPARE(IrcData::RealName, QStringLiteral("Some One"));
    frmOrvelIRC &s = form<frmOrvelIRC>();
    QVERIFY(!s.txtIpAddress.Text.isEmpty());
    QVERIFY(!s.txtIpAddress.Text.contains(QLatin1Char(':')));  // the IPv4 address
    QVERIFY(s.Caption().isEmpty());
    QVERIFY(m.Command2->isEnabled());
    QVERIFY(!m.mnuShowServerWindow->isEnabled());
    QCOMPARE(m.mnuWindowOne->text(), QStringLiteral("&1 Server Connection"));
    // The channel mirror follows the current channel at the next tick, and survives an unload.
    frmOrvelIRC::CurrentChannel = QStringLiteral("#lobby");
    QCOMPARE(s.ChanCentral.Text, QString());
    s.Timer1->fire();
    QCOMPARE(s.ChanCentral.Text, QStringLiteral("#lobby"));
    s.Unload();
    Pump();
    QVERIFY(!loaded<frmOrvelIRC>());
    QVERIFY(m.mnuShowServerWindow->isEnabled());
    QVERIFY(!m.Command2->isEnabled());
    QVERIFY(!m.mnuWindowOne->isVisible());
    m.mnuShowServerWindow->trigger();
    QVERIFY(loaded<frmOrvelIRC>());
    QCOMPARE(frmOrvelIRC::CurrentChannel, QStringLiteral("#lobby"));
    QCOMPARE(loaded<frmOrvelIRC>()->ChannelState, 0);
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
}

void FoundationTest::windowListAndRawViews()
{
    TestEnv env;
    env.writeConnection(6667);
    env.writeSetting(QStringLiteral("indata.msg"), QStringLiteral("yes"));
    frmOrvelMain &m = env.start();
    // The received-data view loads before the server window and takes entry 1.
    QCOMPARE(m.mnuWindowOne->text(), QStringLiteral("&1 InData Window"));
    QCOMPARE(m.mnuWindowTwo->text(), QStringLiteral("&2 Server Connection"));
    QVERIFY(m.mnuIndataWindow->isChecked());
    // Activation moves the check mark between the entries.
    QVERIFY(m.mnuWindowTwo->isChecked());
    QVERIFY(!m.mnuWindowOne->isChecked());
    m.MdiArea()->setActiveSubWindow(loaded<frmInData>()->SubWindow());
    QVERIFY(m.mnuWindowOne->isChecked());
    QVERIFY(!m.mnuWindowTwo->isChecked());
    m.MdiArea()->setActiveSubWindow(form<frmOrvelIRC>().SubWindow());
    m.Timer1->fire();
    QVERIFY(m.mnuCloseAll->isEnabled());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d \\S+$")).match(m.Label22->text()).hasMatch());
    frmOrvelIRC &s = form<frmOrvelIRC>();
    s.Incoming->Clear();
    loaded<frmInData>()->Unload();
    Pump();
    QVERIFY(!m.mnuIndataWindow->isChecked());
    QVERIFY(!m.mnuWindowOne->isVisible());
    QCOMPARE(s.Incoming->Text(), QStringLiteral("\n\x01 InData Window Closed"));
    m.Timer1->fire();
    QVERIFY(!m.mnuCloseAll->isEnabled());  // entry 1 is free: close items follow it alone
    QVERIFY(!m.mnuWindowSeparator->isVisible());
    m.mnuOutDataWindow->setChecked(true);
    form<frmOutData>();
    QVERIFY(!m.mnuWindowOne->isVisible());  // the sent-data view takes no entry
    loaded<frmOutData>()->Unload();
    Pump();
    QVERIFY(!m.mnuOutDataWindow->isChecked());
    QVERIFY(s.Incoming->Text().endsWith(QStringLiteral("\n\x01 OutData Window Closed")));
}

QTEST_MAIN(FoundationTest)
#include "test_foundation.moc"
