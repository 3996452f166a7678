// Channel events once joined: whois replies, joins, parts, quits, nick and mode changes,
// kicks and DCC refusals, driven through a real connection to the loopback server.
#include "ClientSession.h"
#include "settings/SettingsFile.h"
#include "windows/frmOrvelChat.h"
#include <QMdiSubWindow>

namespace {
const QString kSep = QStringLiteral("-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-");
QStringList nicks() { return form<frmChan>().Namelist->Members().Items(); }
}

class EventsTest : public QObject
{
    Q_OBJECT
private slots:
    void whoisInOneArrivalAndEndInALaterOne();
    void membersComeGoAndChange();
    void modeChangesKeepTheList();
    void nickChangeOnlyWhileTheWindowIsVisible();
    void kickOfTheUserLeavesTheChannel();
    void forgedEventTextDoesNothing();
    void kickOfAnotherMemberRemovesThem();
    void removalsKeepTheUsersPick();
    void ownNickChangedByTheServer();
    void ownPartEchoAndTopic();
    void dccOffersRefusedOnlyOnceJoined();
};

void EventsTest::whoisInOneArrivalAndEndInALaterOne()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    frmChan &c = form<frmChan>();
    // Shown without the formatting marks of the server's text.
    QVERIFY(t.feed(":irc.test 311 abc bob ~bob host.example * :\x02" "Bob\x02 Real\r\n"
                   ":irc.test 319 abc bob :\x1F@#c\x1F #other\r\n"
                   ":irc.test 312 abc bob irc.test :\x03" "04The test\x0F server\r\n"
                   ":irc.test 318 abc bob :End of WHOIS list\r\n"));
    QCOMPARE(LastLines(c.Incoming, 6),
             (QStringList{kSep, QStringLiteral("\x01 User: Bob Real"), QStringLiteral("\x01 Channels: @#c #other"),
                          QStringLiteral("\x01 Server: The test server"), QStringLiteral("\x01 End of Whois for Bob Real"),
                          kSep}));
    QCOMPARE(ColourOf(c.Incoming, kSep), PaletteColour(7));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("\x01 User: Bob Real")), PaletteColour(8));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("\x01 End of Whois for Bob Real")), PaletteColour(8));
    QCOMPARE(Plays(QStringLiteral("whois.wav")), 1);
    // Every reply also shows in the server pane.
    const QStringList server = LastLines(t.s->Incoming, 5);
    QCOMPARE(server.mid(0, 4), (QStringList{QStringLiteral("Bob Real"), QStringLiteral("@#c #other"),
                                            QStringLiteral("The test server"), QStringLiteral("End of WHOIS list")}));

    // The whois text lives for one arrival only.
    QVERIFY(t.feed(":irc.test 318 abc bob :End of WHOIS list\r\n"));
    QCOMPARE(LastLines(c.Incoming, 2), (QStringList{QStringLiteral("\x01 End of Whois for "), kSep}));
    QCOMPARE(Plays(QStringLiteral("whois.wav")), 1);
}

void EventsTest::membersComeGoAndChange()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    frmChan &c = form<frmChan>();
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl"}));

    // The server may spell the channel otherwise, and put a ":" before a last parameter or not.
    QVERIFY(t.feed(":dave!d@h JOIN #C\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl", "dave"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 dave has joined #c"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("\x01 dave has joined #c")), PaletteColour(1));
    // A nick that merely begins with ours joins as someone else.
    QVERIFY(t.feed(":abcd!d@h JOIN :#c\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 abcd has joined #c"));
    QVERIFY(t.feed(":abcd!d@h PART #c\r\n"));

    QVERIFY(t.feed(":dave!d@h PART :#c\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 dave has Left #c"));

    QVERIFY(t.feed(":carl!c@h QUIT :\x02Gone\x02 \x03" "4,1fishing\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 carl Has Quit IRC (Gone fishing)"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("\x01 carl Has Quit IRC (Gone fishing)")), PaletteColour(1));

    // A voiced member keeps the "+", an operator the "@".
    QVERIFY(t.feed(":vo!v@h NICK vee\r\n:op!o@h NICK :opal\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vee", "@opal", "abc"}));
    QCOMPARE(LastLines(c.Incoming, 2), (QStringList{QStringLiteral("\x01 vo is now known as vee"),
                                                    QStringLiteral("\x01 op is now known as opal")}));

    // A line with a part and a quit is a part only.
    QVERIFY(t.feed(":vee!v@h PART #c :QUIT :no\r\n"));
    QCOMPARE(nicks(), (QStringList{"@opal", "abc"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 vee has Left #c"));
    QVERIFY(t.sent().isEmpty());
}

void EventsTest::modeChangesKeepTheList()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("@op +vo carl abc"));
    frmChan &c = form<frmChan>();

    // +o on an operator: the member stays listed once, the line is written.
    QVERIFY(t.feed(":op!o@h MODE #c +o op\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: +o op"));

    // +v on an operator: the list stays, the line is written.
    QVERIFY(t.feed(":op!o@h MODE #c +v op\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: +v op"));

    QVERIFY(t.feed(":op!o@h MODE #c -o op\r\n"));
    QCOMPARE(nicks(), (QStringList{"+vo", "abc", "carl", "op"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: -o op"));

    QVERIFY(t.feed(":op!o@h MODE #c +v carl\r\n"));
    QCOMPARE(nicks(), (QStringList{"+carl", "+vo", "abc", "op"}));
    QVERIFY(t.feed(":op!o@h MODE #c -v vo\r\n"));
    QCOMPARE(nicks(), (QStringList{"+carl", "abc", "op", "vo"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: -v vo"));

    // A target at the very end of the line keeps its last letter; a trailing blank goes.
    QVERIFY(t.feed(":op!o@h MODE #c +o bob\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: +o bob"));
    QVERIFY(nicks().contains(QStringLiteral("@bob")));
    QVERIFY(t.feed(":op!o@h MODE #c +o carl \r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: +o carl"));
    QCOMPARE(nicks(), (QStringList{"@bob", "@carl", "abc", "op", "vo"}));

    const QStringList before = nicks();
    QVERIFY(t.feed(":op!o@h MODE #c +b *!*@bad.host\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: +b *!*@bad.host"));
    QVERIFY(t.feed(":op!o@h MODE #c -b *!*@bad.host\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 op sets mode: -b *!*@bad.host"));
    QCOMPARE(nicks(), before);

    // Our own mode change arrives without its prefix: we are the setter.
    QVERIFY(t.feed(":abc!u@h MODE #c -o bob\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 abc sets mode: -o bob"));
    QVERIFY(nicks().contains(QStringLiteral("bob")));

    // The mode letters are read after the channel, not where a setter's nick or host
    // happens to hold them first.
    QVERIFY(t.feed(":jean-valjean!j@dsl-bob.example MODE #c +v bob\r\n"));
    QVERIFY(t.feed(":jean-valjean!j@dsl-bob.example MODE #c -v bob\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 jean-valjean sets mode: -v bob"));
    QVERIFY(t.feed(":x-op!x@dsl-bob.example MODE #c -b *!*@bad.host\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 x-op sets mode: -b *!*@bad.host"));
    QVERIFY(t.feed(":x-op!x@h MODE #c -o carl\r\n"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 x-op sets mode: -o carl"));
    QCOMPARE(nicks(), (QStringList{"abc", "bob", "carl", "op", "vo"}));

    // Several people in one line: each letter goes with its own nick, in order.
    QVERIFY(t.feed(":op!o@h MODE #c +oo bob carl\r\n:op!o@h MODE #C +v-o+b vo carl :*!*@x\r\n:op!o@h MODE #c -v :vo\r\n"));
    QCOMPARE(nicks(), (QStringList{"@bob", "abc", "carl", "op", "vo"}));
    QCOMPARE(LastLines(c.Incoming, 6),
             (QStringList{QStringLiteral("\x01 op sets mode: +o bob"), QStringLiteral("\x01 op sets mode: +o carl"),
                          QStringLiteral("\x01 op sets mode: +v vo"), QStringLiteral("\x01 op sets mode: -o carl"),
                          QStringLiteral("\x01 op sets mode: +b *!*@x"), QStringLiteral("\x01 op sets mode: -v vo")}));
    // A limit or key taken away has no parameter; list modes, a key and a limit set have one.
    QVERIFY(t.feed(":op!o@h MODE #c -l+k-k+l+b-e+I+o key * 5 *!*@a *!*@b *!*@c carl\r\n"));
    QCOMPARE(nicks(), (QStringList{"@bob", "@carl", "abc", "op", "vo"}));
}

void EventsTest::nickChangeOnlyWhileTheWindowIsVisible()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("Carl abc"));
    // Find-and-remove selects letter case aside, then removes only an exact match.
    QVERIFY(t.feed(":carl!c@h NICK :karl\r\n"));
    QCOMPARE(nicks(), (QStringList{"abc", "Carl", "karl"}));

    form<frmChan>().HideForm();
    QVERIFY(t.feed(":Carl!c@h NICK :curt\r\n"));
    QCOMPARE(nicks(), (QStringList{"abc", "Carl", "karl"}));
    // Our own join echo shows the window again and writes nothing.
    const QString pane = form<frmChan>().Incoming->Text();
    QVERIFY(t.feed(":abc!u@h JOIN :#c\r\n"));
    QVERIFY(!form<frmChan>().SubWindow()->isHidden());
    QCOMPARE(form<frmChan>().Incoming->Text(), pane);
}

void EventsTest::kickOfTheUserLeavesTheChannel()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    // The 513 after the kick is handled in state 0: its PONG is sent.
    QCOMPARE(t.repliesTo(":op!o@h KICK #C abc :\x02Out\x02 you go\r\n"
                         ":irc.test 513 abc :To connect type /QUOTE PONG 4242\r\n"),
             Lines({"PART #c", "PONG 4242"}));
    QVERIFY(!loaded<frmChan>());
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    const QString kicked = QStringLiteral("\x01 You were kicked out of #c by op. Reason: Out you go");
    QVERIFY(t.s->Incoming->Text().split(QLatin1Char('\n')).contains(kicked));
    QCOMPARE(ColourOf(t.s->Incoming, kicked), PaletteColour(0));
}

void EventsTest::forgedEventTextDoesNothing()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("@op evil abc"));
    const QString pane = form<frmChan>().Incoming->Text();
    const QString caption = form<frmChan>().Caption();
    // An event counts only by the line's own command and channel, never by text it quotes.
    QVERIFY(t.feed(":evil!e@h NOTICE #c :KICK #c abc :fooled you\r\n:evil!e@h NOTICE #c :MODE #c -o op\r\n"
                   ":evil!e@h NOTICE #c :NICK :@x\r\n:evil!e@h NOTICE #c :PART #c\r\n:evil!e@h NOTICE #c :QUIT :x\r\n"
                   ":evil!e@h TOPIC #other :MODE #c +o evil\r\n:evil!e@h NOTICE abc :TOPIC #c :pwned\r\n"
                   ":cat!c@h JOIN :#cats\r\n:evil!e@h PART #cats\r\n:evil!e@h MODE #cats +o evil\r\n"
                   ":evil!e@h NOTICE #c :PRIVMSG abc :\x01TIME\x01\r\n:evil!e@h TOPIC #other :PRIVMSG abc :\x01" "DCC CHAT x 1 2\x01\r\n"));
    QCOMPARE(nicks(), (QStringList{"@op", "abc", "evil"}));
    QCOMPARE(form<frmChan>().Incoming->Text(), pane);
    QCOMPARE(form<frmChan>().Caption(), caption);
    QVERIFY(t.feed(":evil!e@h QUIT :KICK #c abc :bye\r\n"));
    QVERIFY(loaded<frmChan>());
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    QCOMPARE(nicks(), (QStringList{"@op", "abc"}));
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("\x01 evil Has Quit IRC (KICK #c abc :bye)"));
    // A channel message that quotes a request is a channel message.
    QVERIFY(t.feed(":op!o@h PRIVMSG #c :PRIVMSG abc :\x01VERSION\x01\r\n"));
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("<op> PRIVMSG abc :\x01VERSION\x01"));
    QVERIFY(t.sent().isEmpty());
}

void EventsTest::kickOfAnotherMemberRemovesThem()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    QVERIFY(t.feed(":op!o@h KICK #c carl :behave\r\n:op!o@h KICK #c vo :\x1D" "behave\x1D\r\n"));
    QCOMPARE(nicks(), (QStringList{"@op", "abc"}));
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("\x01 vo was kicked by op (behave)"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
}

void EventsTest::removalsKeepTheUsersPick()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("@op dave erin frank abc"));
    NickList *view = form<frmChan>().Namelist;
    core::ChannelMembers *list = &view->Members();
    list->Pick(QStringLiteral("dave"));
    QVERIFY(t.feed(":erin!e@h PART #c\r\n:op!o@h MODE #c +v frank\r\n:frank!f@h NICK :fred\r\n:op!o@h KICK #c fred :x\r\n"
                   ":amy!a@h JOIN :#c\r\n"));
    QCOMPARE(nicks(), (QStringList{"@op", "abc", "amy", "dave"}));
    QCOMPARE(list->Picked(), QStringLiteral("dave"));
    QCOMPARE(view->selectionModel()->selectedIndexes().value(0).data().toString(), QStringLiteral("dave"));
    // The picked member leaves: nobody else is picked in their place, in the view either.
    QVERIFY(t.feed(":dave!d@h QUIT :bye\r\n"));
    QCOMPARE(list->PickedIndex(), -1);
    QCOMPARE(list->Picked(), QString());
    QVERIFY(view->selectionModel()->selectedIndexes().isEmpty());
}

void EventsTest::ownNickChangedByTheServer()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("@op abc carl"));
    // Renamed without /NICK: by a raw command or by the server.
    QVERIFY(t.feed(":abc!u@h NICK :abcd\r\n"));
    QCOMPARE(session().Nick(), QStringLiteral("abcd"));
    QCOMPARE(t.s->Caption(), QStringLiteral("abcd on irc.test"));
    QCOMPARE(nicks(), (QStringList{"@op", "abcd", "carl"}));
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("\x01 abc is now known as abcd"));
    // The preferred nick stays what the user chose.
    QCOMPARE(settings::Read(QStringLiteral("nick.msg")).value_or(QString()), QStringLiteral("abc"));
    // What is sent to the new nick is for us.
    QCOMPARE(t.repliesTo(":x!u@h PRIVMSG abcd :\x01VERSION\x01\r\n"),
             Lines({"NOTICE x :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna"}));
    QVERIFY(t.feed(":carl!c@h PRIVMSG abcd :just us\r\n"));
    QVERIFY(loaded<frmOrvelChat>());
    QVERIFY(LastLine(loaded<frmOrvelChat>()->txtIncoming).endsWith(QStringLiteral("<carl> just us")));
}

void EventsTest::ownPartEchoAndTopic()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    frmChan &c = form<frmChan>();
    const QString pane = c.Incoming->Text();
    QVERIFY(t.feed(":abc!u@h PART :#c\r\n"));
    QVERIFY(t.s->Incoming->Text().split(QLatin1Char('\n')).contains(QStringLiteral("\x01 Parted #c")));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Parted #c")), PaletteColour(1));
    QCOMPARE(nicks(), (QStringList{"+vo", "@op", "abc", "carl"}));
    QCOMPARE(c.Incoming->Text(), pane);

    QVERIFY(t.feed(":op!o@h TOPIC #C :\x03" "04Fresh:\x0F and new\r\n"));
    QCOMPARE(c.Caption(), QStringLiteral("#c: Fresh: and new"));
    QCOMPARE(c.Incoming->Text(), pane);
}

void EventsTest::dccOffersRefusedOnlyOnceJoined()
{
    ClientSession t;
    QVERIFY(t.connect());
    // Not in a channel: the offer is just a private message.
    QVERIFY(t.feed(":x!u@h PRIVMSG abc :\x01" "DCC SEND file.txt 1 2 3\x01\r\n"));
    QVERIFY(t.sent().isEmpty());
    QVERIFY(loaded<frmOrvelChat>());
    QVERIFY(LastLine(loaded<frmOrvelChat>()->txtIncoming).startsWith(QStringLiteral("<x> \x01" "DCC SEND")));
    loaded<frmOrvelChat>()->Unload();

    QVERIFY(t.join(QStringLiteral("#c"), "abc"));
    QVERIFY(t.feed(":x!u@h PRIVMSG abc :\x01" "DCC SEND file.txt 1 2 3\x01\r\n"));
    QCOMPARE(t.sent(), (QList<QByteArray>{"NOTICE x :OrvelIRC is not a DCC compatible IRC client."}));
    QVERIFY(!loaded<frmOrvelChat>());
    QVERIFY(t.s->Incoming->Text().contains(QStringLiteral("\x01 DCC Send from x")));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 DCC Send from x")), PaletteColour(12));

    // A chat offer is refused and then shown as a private message.
    QVERIFY(t.feed(":y!u@h PRIVMSG abc :\x01" "DCC CHAT chat 1 2\x01\r\n"));
    QCOMPARE(t.sent(), (QList<QByteArray>{"NOTICE y :OrvelIRC is not a DCC compatible IRC client."}));
    QVERIFY(t.s->Incoming->Text().contains(QStringLiteral("\x01 DCC Chat from y")));
    QVERIFY(loaded<frmOrvelChat>());
    QCOMPARE(loaded<frmOrvelChat>()->txtUser->text(), QStringLiteral("y"));
}

QTEST_MAIN(EventsTest)
#include "test_events.moc"
