// Received data: framing into lines, the order of the line table and the automatic
// replies, checked byte for byte on the loopback server.
#include "ClientSession.h"
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "settings/IrcData.h"
#include "settings/SettingsFile.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTest>
#include <QTime>

using Lines = QList<QByteArray>;

class DispatchTest : public QObject
{
    Q_OBJECT
private slots:
    void heldBlockIsShownTwiceAndHandledOnce();
    void lineEndsAndSplitting();
    void heldRemainderIsBounded();
    void welcomeSetsServerNameAndIsShown();
    void stateZeroShowsOnlyServerText();
    void pingCodeReply();
    void stateOneDropsOtherServerLines();
    void stateTwoServerLinesReachServerText();
    void ownPrefixNeedsWholeNick();
    void closingLinkOnlyAtLineStart();
    void senderWithoutBangIsEmpty();
    void cutTextNeverCarriesLineEndsOntoTheWire();
    void pingReplies();
    void clockReply();
    void ownModeNotice();
    void nickInUse();
    void closingLink();
    void versionPageAndTime();
    void wakeup();
    void errorNotice();
};

void DispatchTest::heldBlockIsShownTwiceAndHandledOnce()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.main->mnuIndataWindow->setChecked(true);
    frmInData &view = form<frmInData>();
    const QString before = view.Text();

    c.server.send("PING :abc");
    QVERIFY(WaitUntil([&] { return view.Text() == before + QStringLiteral("PING :abc\n"); }));
    Pump();
    QCOMPARE(c.server.received(), QByteArray());  // held: nothing handled yet
    QCOMPARE(frmOrvelIRC::PartialLine, QStringLiteral("PING :abc"));

    c.server.send("\r\n");
    QVERIFY(c.server.waitForLine("PONG 127.0.0.1 :abc"));
    QCOMPARE(view.Text(), before + QStringLiteral("PING :abc\nPING :abc\n\n"));
    QCOMPARE(frmOrvelIRC::PartialLine, QString());
    QCOMPARE(c.server.lines(), Lines({"PONG 127.0.0.1 :abc"}));

    // Complete lines inside a held block wait for the block's end as well.
    c.server.clear();
    c.server.send("PING :h1\r\nPING :h2");
    QVERIFY(WaitUntil([&] { return frmOrvelIRC::PartialLine == QStringLiteral("PING :h1\r\nPING :h2"); }));
    Pump();
    QCOMPARE(c.server.received(), QByteArray());
    QCOMPARE(c.feed("\r\n"), Lines({"PONG 127.0.0.1 :h1", "PONG 127.0.0.1 :h2"}));
}

void DispatchTest::lineEndsAndSplitting()
{
    ClientSession c;
    QVERIFY(c.ok);
    // CR LF is searched first: a lone LF before it stays inside the one line.
    QCOMPARE(c.feed("PING :a\nPING :b\r\n"), Lines({"PONG 127.0.0.1 :a"}));
    // Without CR LF, lone CRs split; without CR, lone LFs do.
    // (Each block is answered before the next goes out, so blocks never run together.)
    c.server.send("PING :c\rPING :d\r");
    QVERIFY(c.server.waitForLine("PONG 127.0.0.1 :d"));
    QCOMPARE(c.server.lines(), Lines({"PONG 127.0.0.1 :c", "PONG 127.0.0.1 :d"}));
    c.server.clear();
    c.server.send("PING :e\nPING :f\n");
    QVERIFY(c.server.waitForLine("PONG 127.0.0.1 :f"));
    QCOMPARE(c.server.lines(), Lines({"PONG 127.0.0.1 :e", "PONG 127.0.0.1 :f"}));
    c.server.clear();
    // A CR LF split across two arrivals: the LF then heads the next line.
    c.server.send("PING :x\r");
    QVERIFY(c.server.waitForLine("PONG 127.0.0.1 :x"));
    c.server.clear();
    QCOMPARE(c.feed("\nPING :y\r\n"), Lines());
    // Empty lines match nothing; every line of a block is handled, in order.
    QCOMPARE(c.feed("\r\n\r\nPING :1\r\nERROR :Closing Link: abc (gone)\r\nPING :2\r\n\r\nPING :3\r\n"),
             Lines({"PONG 127.0.0.1 :1", "PONG 127.0.0.1 :2", "PONG 127.0.0.1 :3"}));
}

void DispatchTest::heldRemainderIsBounded()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.server.send(QByteArray(frmOrvelIRC::MaxPartialLine + 4096, 'x'));
    const QString dropped = QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped");
    QVERIFY(WaitUntil([&] { return c.paneSinceMark().contains(dropped); }));
    QVERIFY(frmOrvelIRC::PartialLine.size() <= frmOrvelIRC::MaxPartialLine);
    QCOMPARE(c.colourOf(dropped), PaletteColour(0));
    // Whatever was still held ends with the next line end; later lines are whole again.
    c.server.send("\r\n");
    QCOMPARE(c.feed("PING :after\r\n"), Lines({"PONG 127.0.0.1 :after"}));
    QCOMPARE(frmOrvelIRC::PartialLine, QString());
}

void DispatchTest::welcomeSetsServerNameAndIsShown()
{
    ClientSession c;
    QVERIFY(c.ok);
    QCOMPARE(IrcData::ServerName, QStringLiteral("127.0.0.1"));
    // Before the welcome, lines from a differently named server are not shown.
    QCOMPARE(c.feed(":irc.example NOTICE * :*** Looking up your hostname\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());

    QCOMPARE(c.feed(":irc.example 001 abc :Welcome to the Example net abc\r\n"
                    ":irc.example 375 abc :- irc.example message of the day\r\n"),
             Lines());
    QCOMPARE(IrcData::ServerName, QStringLiteral("irc.example"));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\nWelcome to the Example net abc\n- irc.example message of the day"));
    QCOMPARE(c.colourOf(QStringLiteral("Welcome to the Example net abc")), PaletteColour(3));
    QCOMPARE(c.feed("PING :after\r\n"), Lines({"PONG irc.example :after"}));
}

void DispatchTest::stateZeroShowsOnlyServerText()
{
    ClientSession c;
    QVERIFY(c.ok);
    // Server text: after the first colon from the second character on; the whole line
    // when there is none.
    QCOMPARE(c.feed(":127.0.0.1 NOTICE abc :*** Hello\r\n:127.0.0.1 NOCOLON\r\n:other NOTICE abc :hidden\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n*** Hello\n:127.0.0.1 NOCOLON"));
}

void DispatchTest::pingCodeReply()
{
    ClientSession c;
    QVERIFY(c.ok);
    QCOMPARE(c.feed(":127.0.0.1 513 abc :To connect, type /QUOTE PONG 1687626375\r\n"), Lines({"PONG 1687626375"}));
    // Without a PONG in it nothing goes back, and the line still ends there.
    QCOMPARE(c.feed(":127.0.0.1 513 abc :Please wait\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());
}

void DispatchTest::stateOneDropsOtherServerLines()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.irc->ChannelState = 1;
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    QCOMPARE(c.feed(":127.0.0.1 376 abc :End of MOTD command\r\n:127.0.0.1 333 abc #c bob 1\r\n"
                    ":127.0.0.1 NOTICE abc :note\r\n:bob!u@h NOTICE abc :hi\r\n:abc!u@h MODE abc :+i\r\n"),
             Lines());
    // Only rows 1 to 11 still speak: the own mode was reported, the rest dropped.
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Your mode is now +i"));
    QCOMPARE(c.irc->ChannelState, 1);
}

void DispatchTest::stateTwoServerLinesReachServerText()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.irc->ChannelState = 2;
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    QCOMPARE(c.feed(":127.0.0.1 372 abc :- the message of the day\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n- the message of the day"));
    QCOMPARE(c.colourOf(QStringLiteral("- the message of the day")), PaletteColour(3));
}

void DispatchTest::ownPrefixNeedsWholeNick()
{
    ClientSession c;
    QVERIFY(c.ok);
    // "abcd" merely begins with our "abc": not our prefix, nothing is cut or reported.
    QCOMPARE(c.feed(":abcd MODE abcd :+i\r\n:abcd!u@h MODE abcd :+w\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());
    QCOMPARE(c.feed(":abc MODE abc :+i\r\n:abc!u@h MODE abc +w\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Your mode is now +i\n\x01 Your mode is now MODE abc +w"));
}

void DispatchTest::closingLinkOnlyAtLineStart()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.irc->ChannelState = 2;
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    // Somebody saying the words does not close our link.
    c.feed(":bob!u@h PRIVMSG #c :ERROR :Closing Link: abc (bye)\r\n"
           ":bob!u@h NOTICE abc :ERROR :Closing Link: abc (bye)\r\n");
    QCOMPARE(c.irc->ChannelState, 2);
    QVERIFY(!c.paneSinceMark().contains(QStringLiteral("Quit IRC")));
    QVERIFY(!c.soundsSinceMark().join(QLatin1Char(' ')).contains(QStringLiteral("quit.wav")));
}

void DispatchTest::senderWithoutBangIsEmpty()
{
    ClientSession c;
    QVERIFY(c.ok);
    const QByteArray reply = " :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    QCOMPARE(c.feed(":bob!u@h PRIVMSG abc :\x01VERSION\x01\r\n:srv PRIVMSG abc :\x01VERSION\x01\r\n"),
             Lines({"NOTICE bob" + reply, "NOTICE " + reply}));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 -> [bob] VERSION\n\x01 -> [] VERSION"));
}

void DispatchTest::cutTextNeverCarriesLineEndsOntoTheWire()
{
    ClientSession c;
    QVERIFY(c.ok);
    // A lone CR or LF stays inside a line when the block holds a CR LF; texts cut from
    // such lines are sent back, but only up to the line end.
    QCOMPARE(c.feed(":x\rQUIT!u PRIVMSG abc :\x01TIME\x01\r\n"), Lines({"NOTICE x"}));
    QCOMPARE(c.feed(":x\nJOIN #evil!u PRIVMSG abc :\x01version\x01\r\n"), Lines({"NOTICE x"}));
    QCOMPARE(c.feed(":127.0.0.1 513 abc :/QUOTE PONG 1\nQUIT\r\n"), Lines({"PONG 1"}));
    c.server.send(":srv\nQUIT 001 abc :hi\r\n");
    QVERIFY(WaitUntil([] { return IrcData::ServerName == QStringLiteral("srv\nQUIT"); }));
    // The PONG names that server: only its first line reaches the wire.
    c.server.send("PING :t\r\n:z!u PRIVMSG abc :\x01VERSION\x01\r\n");
    QVERIFY(c.server.waitForLineStarting("NOTICE z :"));
    QCOMPARE(c.server.lines().mid(0, 1), Lines({"PONG srv"}));
    QCOMPARE(c.server.lines().size(), 2);
}

void DispatchTest::pingReplies()
{
    ClientSession c;
    QVERIFY(c.ok);
    const int mm = int(MultimediaLog().size());
    c.server.send("PING :12345\r\n");
    QVERIFY(c.server.waitForLine("PONG 127.0.0.1 :12345"));
    QVERIFY(c.irc->Incoming->Text().endsWith(QStringLiteral("\nPING? PONG!")));
    QCOMPARE(c.colourOf(QStringLiteral("PING? PONG!")), PaletteColour(1));
    QCOMPARE(MultimediaLog().mid(mm).size(), 3);
    QVERIFY(MultimediaLog()[mm].startsWith(QStringLiteral("MMControl1:Close:")));
    QCOMPARE(MultimediaLog().mid(mm + 1), QStringList({
                                                   QStringLiteral("MMControl1:Open:WaveAudio:ping.wav"),
                                                   QStringLiteral("MMControl1:Play:WaveAudio:ping.wav")}));
    Pump();
    QCOMPARE(c.server.lines(), Lines({"PONG 127.0.0.1 :12345"}));

    c.server.clear();
    c.irc->ChannelState = 2;
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    c.server.send("PING :777\r\n");
    QVERIFY(c.server.waitForLine("NAMES #c"));
    QCOMPARE(c.server.lines(), Lines({"PONG 127.0.0.1 :777", "NAMES #c"}));
}

void DispatchTest::clockReply()
{
    ClientSession c;
    QVERIFY(c.ok);
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    c.irc->Timer1->fire();  // publishes the channel
    c.main->Timer1->fire(); // writes the clock
    const QByteArray clock = c.main->Label22->text().toUtf8();
    QVERIFY(!clock.isEmpty());
    const QByteArray reply = "PRIVMSG #c :\x03" "12<<Current time: \x03" "10" + clock + "\x03" "12>> --== OrvelIRC 1.02 ==--";
    QCOMPARE(c.feed(":bob!u@h PRIVMSG #c :!time\r\n"), Lines({reply}));
    // In any channel state, and only for the published channel.
    c.irc->ChannelState = 2;
    QCOMPARE(c.feed(":bob!u@h PRIVMSG #c :!time please\r\n:bob!u@h PRIVMSG #other :!time\r\n"), Lines({reply}));
}

void DispatchTest::ownModeNotice()
{
    ClientSession c;
    QVERIFY(c.ok);
    QCOMPARE(c.feed(":abc MODE abc :+i\r\n:abc!~u@h JOIN :#c\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Your mode is now +i"));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 Your mode is now +i")), PaletteColour(0));
}

void DispatchTest::nickInUse()
{
    ClientSession c;
    QVERIFY(c.ok);
    // The numeric reply as ngircd words it.
    QCOMPARE(c.feed(":irc.example 433 * abc :Nickname already in use\r\n"), Lines({"NICK abc_"}));
    QCOMPARE(IrcData::CurrentNick, QStringLiteral("abc_"));
    QCOMPARE(c.irc->txtNick.Text, QStringLiteral("abc_"));
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc_"));
    QCOMPARE(c.irc->Caption(), QStringLiteral("abc_ on 127.0.0.1"));
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Attempting to change your nick..."));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 Attempting to change your nick...")), PaletteColour(0));

    // The alternative is taken too: it is not asked for again and again.
    c.mark();
    QCOMPARE(c.feed(":irc.example 433 * abc_ :Nickname is already in use.\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());

    // The literal wording, with another alternative at hand.
    c.irc->txtAlternativeNickname.Text = QStringLiteral("abc9");
    QCOMPARE(c.feed(":srv 433 * abc_ :Nickname is already in use.\r\n"), Lines({"NICK abc9"}));
    QCOMPARE(c.irc->Caption(), QStringLiteral("abc9 on 127.0.0.1"));
    // Another nick's reply, or a 433 that is not for registration, changes nothing.
    QCOMPARE(c.feed(":srv 433 * someone :Nickname already in use\r\n:srv 433 abc9 x :Nickname already in use\r\n"), Lines());
    QCOMPARE(IrcData::CurrentNick, QStringLiteral("abc9"));
}

void DispatchTest::closingLink()
{
    ClientSession c;
    QVERIFY(c.ok);
    c.irc->ChannelState = 2;
    frmOrvelIRC::CurrentChannel = QStringLiteral("#c");
    QPointer<frmChan> chan(&form<frmChan>());
    QVERIFY(!chan->SubWindow()->isHidden());
    // The channel window is hidden, not closed: no PART goes out.
    QCOMPARE(c.feed("ERROR :Closing Link: abc[host] (Quit: bye)\r\n"), Lines());
    QVERIFY(chan && loaded<frmChan>() == chan.data());
    QVERIFY(chan->SubWindow()->isHidden());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Quit IRC (Quit: bye)"));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 Quit IRC (Quit: bye)")), PaletteColour(1));
    QCOMPARE(c.irc->ChannelState, 0);
    QCOMPARE(c.soundsSinceMark(), QStringList({QStringLiteral("MMControl1:Close"),
                                               QStringLiteral("MMControl1:Open:WaveAudio:quit.wav"),
                                               QStringLiteral("MMControl1:Play:WaveAudio:quit.wav")}));
    // Without parentheses the reason is the text after "Closing Link:".
    c.mark();
    c.feed("ERROR :Closing Link: abc[host] Killed\r\n");
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 Quit IRC (abc[host] Killed)"));
}

void DispatchTest::versionPageAndTime()
{
    ClientSession c;
    QVERIFY(c.ok);
    const QByteArray version = "NOTICE x :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    QCOMPARE(c.feed(":x!u PRIVMSG abc :\x01VERSION\x01\r\n"), Lines({version}));
    QCOMPARE(c.feed(":x!u PRIVMSG abc :\x01version\x01\r\n"), Lines({version}));
    QCOMPARE(c.feed(":x!u PRIVMSG abc :\x01Version\x01\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 -> [x] VERSION\n\x01 -> [x] VERSION"));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 -> [x] VERSION")), PaletteColour(1));

    c.mark();
    QCOMPARE(c.feed(":pager!u@h PRIVMSG abc :\x01PAGE\x01\r\n"), Lines());
    QVERIFY(c.paneSinceMark().startsWith(QStringLiteral("\n\x01 You are being paged by: pager")));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 You are being paged by: pager")), PaletteColour(0));
    QVERIFY(c.soundsSinceMark().contains(QStringLiteral("MMControl1:Play:WaveAudio:page.wav")));

    c.mark();
    const Lines time = c.feed(":x!u PRIVMSG abc :\x01TIME\x01\r\n");
    QCOMPARE(time.size(), 1);
    const QByteArray prefix = "NOTICE x :OrvelIRC CTCP Time Reply: ";
    QVERIFY(time[0].startsWith(prefix));
    const QString clock = QString::fromLatin1(time[0].mid(prefix.size()));
    QVERIFY2(QRegularExpression(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$")).match(clock).hasMatch(),
             qPrintable(clock));
    const int diff = QTime::fromString(clock, QStringLiteral("HH:mm:ss")).secsTo(QTime::currentTime());
    QVERIFY2(diff >= 0 && diff < 5, qPrintable(clock));  // the 24-hour clock of now
    QCOMPARE(c.paneSinceMark(), QString());
}

void DispatchTest::wakeup()
{
    ClientSession c;
    QVERIFY(c.ok);
    const QStringList sound = {QStringLiteral("MMControl1:Close"), QStringLiteral("MMControl1:Open:WaveAudio:wakeup.wav"),
                               QStringLiteral("MMControl1:Play:WaveAudio:wakeup.wav")};
    QCOMPARE(c.feed(":x!u PRIVMSG abc :\xE2\x80\xA1WAKEUP\xE2\x80\xA1\r\n"), Lines());
    QCOMPARE(c.soundsSinceMark(), sound);
    c.mark();
    QCOMPARE(c.feed(":x!u PRIVMSG abc :\x87WAKEUP\x87\r\n"), Lines());
    QCOMPARE(c.soundsSinceMark(), sound);
    QCOMPARE(c.paneSinceMark(), QString());
}

void DispatchTest::errorNotice()
{
    ClientSession c;
    QVERIFY(c.ok);
    const QStringList sound = {QStringLiteral("MMControl1:Close"), QStringLiteral("MMControl1:Open:WaveAudio:error.wav"),
                               QStringLiteral("MMControl1:Play:WaveAudio:error.wav")};
    QCOMPARE(c.feed("ERROR :Your host is trying to (re)connect too fast\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QStringLiteral("\n\x01 ERROR (re)connect too fast"));
    QCOMPARE(c.colourOf(QStringLiteral("\x01 ERROR (re)connect too fast")), PaletteColour(1));
    QCOMPARE(c.soundsSinceMark(), sound);
    c.mark();
    QCOMPARE(c.feed("ERROR :Closing connection\r\n"), Lines());
    QCOMPARE(c.paneSinceMark(), QString());
    QCOMPARE(c.soundsSinceMark(), sound);
}

QTEST_MAIN(DispatchTest)
#include "test_dispatch.moc"
