// The server window's command line, typed through the real window against the loopback server.
#include "ClientSession.h"
#include "core/Commands.h"
#include "settings/Defaults.h"
#include "settings/SettingsFile.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QMdiSubWindow>

class CommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void keyRules();
    void plainTextIsRefused();
    void commandCutting();
    void connectionTestRefusesOffline();
    void noticeAndOfflineCommands();
    void rowsSendTheirLines();
    void joinSetsChannelAndState();
    void msgAndActionRows();
    void dccRunShellSoundEcho();
    void serverWithStoredSettings();
    void serverDefaultsAndCdPlayer();
    void serverOwnCloseRunsNoCloseHandler();
    void nickWaitsForTheServerAndTakesOnlyAWord();
    void pastedLinesAreEnteredOneByOne();
};

void CommandsTest::keyRules()
{
    ClientSession t;
    // Enter on an empty line leaves the key to the box; any other key goes to the box too.
    int key = 13;
    t.s->Outgoing_KeyPress(key);
    QCOMPARE(key, 13);
    t.s->Outgoing->setText(QStringLiteral("/JOIN #x"));
    key = 'a';
    t.s->Outgoing_KeyPress(key);
    QCOMPARE(key, int('a'));
    // Esc swallows the key, minimises the window and keeps the line.
    key = 27;
    t.s->Outgoing_KeyPress(key);
    QCOMPARE(key, 0);
    QVERIFY(t.s->IsMinimized());
    QCOMPARE(t.s->Outgoing->text(), QStringLiteral("/JOIN #x"));
    t.s->Restore();
    // Enter on a line swallows the key.
    key = 13;
    t.s->Outgoing_KeyPress(key);
    QCOMPARE(key, 0);
    QCOMPARE(t.s->Outgoing->text(), QString());
}

void CommandsTest::plainTextIsRefused()
{
    ClientSession t;
    t.typeServer(QStringLiteral("hello"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Error 5 (Not connected)"));
    QCOMPARE(LastColour(t.s->Incoming), PaletteColour(0));
    QCOMPARE(Plays(QStringLiteral("error.wav")), 1);
    QCOMPARE(t.s->Outgoing->text(), QString());

    QVERIFY(t.connect());
    QVERIFY(t.join(QStringLiteral("#lobby"), "abc"));
    MultimediaLog().clear();
    t.typeServer(QStringLiteral("hello"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Error 4 (Not in a channel)"));
    QCOMPARE(Plays(QStringLiteral("error.wav")), 1);
    QCOMPARE(t.s->Outgoing->text(), QString());
    QCOMPARE(t.sent(), QList<QByteArray>());
}

void CommandsTest::commandCutting()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.drain();
    // No blank after the word: nothing runs.
    t.typeServer(QStringLiteral("/quit"));
    QCOMPARE(t.s->Outgoing->text(), QString());
    // A leading blank gives an empty word, an unknown word matches nothing.
    t.typeServer(QStringLiteral("/ QUIT x"));
    t.typeServer(QStringLiteral("/FROB x"));
    QCOMPARE(t.sent(), QList<QByteArray>());
    const QString before = t.s->Incoming->Text();
    // Words match in any letter case, arguments keep theirs.
    t.typeServer(QStringLiteral("/Quit "));
    t.typeServer(QStringLiteral("/mOdE abc +I"));
    t.typeServer(QStringLiteral("/raw PRIVMSG Bob :Hi There"));
    QCOMPARE(t.sent(), QList<QByteArray>({"QUIT :", "MODE abc +I", "PRIVMSG Bob :Hi There"}));
    QCOMPARE(t.s->Incoming->Text(), before);

    const core::Cut c = core::CutCommand(QStringLiteral("join #a key"));
    QCOMPARE(c.word, QStringLiteral("JOIN"));
    QCOMPARE(c.argument, QStringLiteral("#a key"));
    const core::Cut none = core::CutCommand(QStringLiteral("join"));
    QCOMPARE(none.word, QString());
    QCOMPARE(none.argument, QStringLiteral("join"));
}

void CommandsTest::connectionTestRefusesOffline()
{
    ClientSession t;
    const QStringList words = {"KICK", "INVITE", "BAN", "AWAY", "RAW", "WHOIS", "QUIT", "MODE",
                               "NICK", "P", "PART", "JOIN", "ACTION", "ME", "MSG"};
    for (const QString &w : words) {
        MultimediaLog().clear();
        t.typeServer(QLatin1Char('/') + w + QStringLiteral(" x y"));
        QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Error 5 (Not connected)"));
        QVERIFY2(Plays(QStringLiteral("error.wav")) == 1, qPrintable(w));
        QCOMPARE(t.s->Outgoing->text(), QString());
    }
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QCOMPARE(session().CurrentChannel(), QString());
    QCOMPARE(session().Nick(), QStringLiteral("abc"));
    QVERIFY(!loaded<frmChan>());  // /ME never reached the nick list
}

void CommandsTest::noticeAndOfflineCommands()
{
    ClientSession t;
    t.m->mnuOutDataWindow->setChecked(true);
    session().SetCurrentChannel(QStringLiteral("#lobby"));
    // NOTICE has no connection test: the line reaches SendData and the channel window opens.
    QVERIFY(!loaded<frmChan>());
    t.typeServer(QStringLiteral("/NOTICE hello all"));
    QVERIFY(form<frmOutData>().Text().endsWith(QStringLiteral("NOTICE #lobby :hello all")));
    frmChan *c = loaded<frmChan>();
    QVERIFY(c);
    QCOMPARE(c->Incoming->Text(), QStringLiteral("\nNOTICE: hello all"));
    QCOMPARE(LastColour(c->Incoming), PaletteColour(1));
    // TOPIC does nothing at all.
    const QString pane = t.s->Incoming->Text();
    t.typeServer(QStringLiteral("/TOPIC new topic"));
    QCOMPARE(t.s->Incoming->Text(), pane);
    QVERIFY(form<frmOutData>().Text().endsWith(QStringLiteral("NOTICE #lobby :hello all")));
}

void CommandsTest::rowsSendTheirLines()
{
    ClientSession t;
    QVERIFY(t.connect());
    QVERIFY(t.join(QStringLiteral("#lobby"), "@abc"));
    t.typeServer(QStringLiteral("/KICK bob go away"));
    t.typeServer(QStringLiteral("/INVITE bob #lobby"));
    t.typeServer(QStringLiteral("/BAN *!*@host"));
    t.typeServer(QStringLiteral("/MODE #lobby +m"));
    QCOMPARE(t.sent(), QList<QByteArray>({"KICK #lobby bob go away", "INVITE bob #lobby", "MODE #lobby +b *!*@host",
                                          "MODE #lobby +m"}));
    t.typeServer(QStringLiteral("/AWAY out to lunch"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Set away"));
    t.typeServer(QStringLiteral("/WHOIS bob"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Attempting to get information on bob..."));
    t.typeServer(QStringLiteral("/P #other"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Parted Channel"));
    t.typeServer(QStringLiteral("/PART #lobby bye"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Parted Channel"));
    QCOMPARE(t.sent(), QList<QByteArray>({"AWAY :out to lunch", "WHOIS :bob", "PART #other", "PART #lobby bye"}));
    // Parting leaves the channel and the state alone.
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#lobby"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
}

void CommandsTest::joinSetsChannelAndState()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.drain();
    t.typeServer(QStringLiteral("/JOIN #a key"));
    QCOMPARE(t.sent(), QList<QByteArray>({"JOIN #a key"}));
    QCOMPARE(session().ChannelState(), core::ChannelState::JoinSent);
    // The key goes out on the JOIN line only: the channel is "#a".
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#a"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Attempting to join #a key..."));
    // Published at once: the replies of a server on the same machine come before any tick.
    QCOMPARE(t.s->ChanCentral(), QStringLiteral("#a"));

    // No channel word: nothing is sent and nothing changes.
    const QString pane = t.s->Incoming->Text();
    session().SetChannelState(core::ChannelState::Joined);
    t.typeServer(QStringLiteral("/JOIN "));
    t.typeServer(QStringLiteral("/JOIN    "));
    QCOMPARE(t.sent(), QList<QByteArray>());
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#a"));
    QCOMPARE(t.s->Incoming->Text(), pane);
}

void CommandsTest::msgAndActionRows()
{
    ClientSession t;
    QVERIFY(t.connect());
    session().SetCurrentChannel(QStringLiteral("#lobby"));
    t.drain();
    t.typeServer(QStringLiteral("/MSG bob hello there you"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("=->bob<-= hello there you"));
    const QString pane = t.s->Incoming->Text();
    t.typeServer(QStringLiteral("/MSG bob"));
    QCOMPARE(t.s->Incoming->Text(), pane);
    QCOMPARE(t.sent(), QList<QByteArray>({"PRIVMSG bob :hello there you"}));

    // Empty nick list: only the echo.
    t.typeServer(QStringLiteral("/ME waves"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("* abc waves"));
    QCOMPARE(LastColour(t.s->Incoming), PaletteColour(1));
    QCOMPARE(t.sent(), QList<QByteArray>());
    // With names in the list the action goes to the current channel.
    form<frmChan>().Namelist->Members().Add(QStringLiteral("bob"));
    t.typeServer(QStringLiteral("/ME waves"));
    t.typeServer(QStringLiteral("/action bows"));
    QCOMPARE(t.sent(), QList<QByteArray>({"PRIVMSG #lobby :\x01" "ACTION waves\x01", "PRIVMSG #lobby :\x01" "ACTION bows\x01"}));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("* abc bows"));
}

void CommandsTest::dccRunShellSoundEcho()
{
    ClientSession t;
    t.typeServer(QStringLiteral("/DCC send"));
    t.typeServer(QStringLiteral("/DCC chat"));
    t.typeServer(QStringLiteral("/DCC Send"));
    t.typeServer(QStringLiteral("/DCC send bob"));
    QCOMPARE(t.env.dialogs.messages, QStringList({"Sorry, no dcc commands yet.", "Sorry, no dcc commands yet."}));
    QCOMPARE(t.env.dialogs.titles, QStringList({"OrvelIRC", "OrvelIRC"}));

    // Programs start without a shell: program and arguments as split from the typed line.
    t.typeServer(QStringLiteral("/RUN xterm -e \"top -d 2\""));
    t.typeServer(QStringLiteral("/SHELL gedit; rm"));
    t.typeServer(QStringLiteral("/RUN "));
    QCOMPARE(t.env.launcher.started.size(), 2);
    QCOMPARE(t.env.launcher.started[0].first, QStringLiteral("xterm"));
    QCOMPARE(t.env.launcher.started[0].second, QStringList({"-e", "top -d 2"}));
    QCOMPARE(t.env.launcher.started[1].first, QStringLiteral("gedit;"));
    QCOMPARE(t.env.launcher.started[1].second, QStringList({"rm"}));

    MultimediaLog().clear();
    t.typeServer(QStringLiteral("/SOUND tada.wav"));
    QCOMPARE(Plays(QStringLiteral("tada.wav")), 1);
    t.typeServer(QStringLiteral("/ECHO <b>said</b>"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("<b>said</b>"));
    QCOMPARE(LastColour(t.s->Incoming), PaletteColour(4));
}

void CommandsTest::serverWithStoredSettings()
{
    ClientSession t;
    t.s->Incoming->Clear();
    // The whole argument is the host, the port is the stored one.
    QVERIFY(!t.s->IsConnectedFlag());
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    // Counted as connected before the socket has connected.
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    QCOMPARE(t.s->Incoming->MousePointer(), 13);
    QCOMPARE(t.s->Incoming->Text(), QStringLiteral("\n\x01 Disconnected\n\x01 Attempting to connect to 127.0.0.1..."));
    const QList<RichPane::Run> runs = TextRuns(t.s->Incoming);
    QCOMPARE(runs[0].colour, PaletteColour(4));
    QCOMPARE(runs[1].colour, PaletteColour(1));
    QCOMPARE(t.s->Tcp1().RemotePort, t.srv.port());
    QCOMPARE(session().ServerPort(), QString::number(t.srv.port()));
    QVERIFY(t.srv.waitForClient());
    QVERIFY(t.srv.waitForLine("NICK abc"));

    // A host with a blank and a port is one host name; the stored port still counts.
    t.typeServer(QStringLiteral("/SERVER localhost 7000"));
    QCOMPARE(t.s->Tcp1().RemoteHost, QStringLiteral("localhost 7000"));
    QCOMPARE(t.s->Tcp1().RemotePort, t.srv.port());
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on localhost 7000"));
    // A stored port that is not a number leaves the socket's port alone.
    session().Settings().Set(Setting::Port, QStringLiteral("66x"));
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QCOMPARE(t.s->Tcp1().RemotePort, t.srv.port());
    QCOMPARE(session().ServerPort(), QStringLiteral("66x"));
    // /SERVER touches neither the channel nor the count-down.
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QVERIFY(!session().Countdown().Running());
}

void CommandsTest::serverDefaultsAndCdPlayer()
{
    ClientSession t;
    session().Settings().Set(Setting::Server, QString());
    session().Settings().Set(Setting::Port, QString());
    session().Settings().Set(Setting::RealName, QString());
    session().Settings().Set(Setting::Nick, QString());
    session().Settings().Set(Setting::Email, QString());
    t.m->Settings().txtPcdos.Text = QStringLiteral("yes");
    MultimediaLog().clear();
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    // Without a stored server the built-in host replaces the typed one.
    QCOMPARE(session().ServerName(), settings::DefaultHost);
    QCOMPARE(t.s->Tcp1().RemoteHost, settings::DefaultHost);
    QCOMPARE(session().ServerPort(), QStringLiteral("6667"));
    QCOMPARE(t.s->Tcp1().RemotePort, 6667);
    QCOMPARE(session().RealName(), QStringLiteral("Unlisted"));
    QCOMPARE(session().Nick(), QStringLiteral("OrvelIRC05"));
    QCOMPARE(session().EmailAddress(), settings::DefaultEmail);
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Attempting to connect to ") + settings::DefaultHost + QStringLiteral("..."));
    QCOMPARE(t.s->Caption(), QStringLiteral(" on ") + settings::DefaultHost);
    const QStringList cd = MultimediaLog().filter(QStringLiteral("CDControl:"));
    QCOMPARE(cd, QStringList({"CDControl:Open:CDAudio:", "CDControl:Play:CDAudio:", "CDControl:Visible:1"}));
    t.s->Tcp1().Close();
}

void CommandsTest::serverOwnCloseRunsNoCloseHandler()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.s->Incoming->Clear();
    t.typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(t.srv.waitForLine("NICK abc"));
    Pump();
    // Only the command's own line: the close of the old connection ran no close handler.
    QCOMPARE(t.s->Incoming->Text().count(QStringLiteral("Disconnected")), 1);
    QCOMPARE(TextRuns(t.s->Incoming)[0].colour, PaletteColour(4));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
}

void CommandsTest::nickWaitsForTheServerAndTakesOnlyAWord()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.drain();
    // Registered: only the request goes out; the nick is ours when the server says so.
    t.typeServer(QStringLiteral("/NICK bob"));
    QCOMPARE(t.sent(), QList<QByteArray>({"NICK bob"}));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Attempting to change your nick..."));
    QCOMPARE(session().Nick(), QStringLiteral("abc"));
    QCOMPARE(t.s->Caption(), QStringLiteral("abc on 127.0.0.1"));
    QVERIFY(t.feed(":abc!u@h NICK :bob\r\n"));
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("bob"));
    QCOMPARE(session().Settings().Nick(), QStringLiteral("bob"));
    QCOMPARE(session().Nick(), QStringLiteral("bob"));
    QCOMPARE(t.s->Caption(), QStringLiteral("bob on irc.test"));

    // No nick at all: nothing is sent and nothing changes here.
    const QString pane = t.s->Incoming->Text();
    t.typeServer(QStringLiteral("/NICK "));
    t.typeServer(QStringLiteral("/NICK    "));
    QCOMPARE(t.sent(), QList<QByteArray>());
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("bob"));
    QCOMPARE(session().Settings().Nick(), QStringLiteral("bob"));
    QCOMPARE(session().Nick(), QStringLiteral("bob"));
    QCOMPARE(t.s->Caption(), QStringLiteral("bob on irc.test"));
    QCOMPARE(t.s->Incoming->Text(), pane);

    // Several words: only the first is the nick.
    t.typeServer(QStringLiteral("/NICK carl the great"));
    QCOMPARE(t.sent(), QList<QByteArray>({"NICK carl"}));
    QVERIFY(t.feed(":bob!u@h NICK :carl\r\n"));
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("carl"));
    QCOMPARE(t.s->Caption(), QStringLiteral("carl on irc.test"));
}

void CommandsTest::pastedLinesAreEnteredOneByOne()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.drain();
    // Each pasted line is handled as if typed alone: plain text is refused here as ever.
    t.s->Outgoing->setText(QStringLiteral("/RAW PRIVMSG #a :one\ntwo\r\n\r\nQUIT :bye"));
    QTest::keyClick(t.s->Outgoing, Qt::Key_Return);
    t.s->Outgoing->setText(QStringLiteral("/MSG bob hi\rJOIN #evil"));
    QTest::keyClick(t.s->Outgoing, Qt::Key_Return);
    QCOMPARE(t.sent(), QList<QByteArray>({"PRIVMSG #a :one", "PRIVMSG bob :hi"}));
    const QString refused = QStringLiteral("\x01 Error 4 (Not in a channel)");
    QCOMPARE(LastLines(t.s->Incoming, 4), QStringList({refused, refused, QStringLiteral("=->bob<-= hi"), refused}));
    QCOMPARE(t.s->Outgoing->text(), QString());
}

QTEST_MAIN(CommandsTest)
#include "test_commands.moc"
