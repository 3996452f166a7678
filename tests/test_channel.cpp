// The channel window, joining a channel, the message display and the channel command line,
// driven through the real windows and the loopback server.
#include "ClientSession.h"
#include "settings/SettingsFile.h"
#include "windows/frmOrvelChat.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

namespace {
// Colour of the character at a position of the pane's text.
QColor colourAt(const RichPane *p, int pos)
{
    QTextCursor c(p->document());
    c.setPosition(pos + 1);
    return c.charFormat().foreground().color();
}
int lastLineStart(const RichPane *p) { return p->document()->lastBlock().position(); }
QColor lastChar(const RichPane *p) { return colourAt(p, p->TextLength() - 1); }

QPoint itemCentre(NickList *l, int row) { return l->visualRect(l->model()->index(row, 0)).center(); }
} // namespace

class ChannelTest : public QObject
{
    Q_OBJECT
private slots:
    void loadClaimsEntryAndUnloadParts();
    void frameButtonAndShowItem();
    void outputProceduresAndFonts();
    void layoutFollowsSize();
    void paneEvents();
    void nickListOrderAndSelection();
    void doubleClickSendsWhois();
    void rightClickKeepsSelection();
    void joinSequence();
    void refusedJoinEndsTheWait();
    void namesSplitting();
    void namesRefillKeepsWholeRun();
    void actionsAndRequests();
    void colourCodes();
    void plainAndUnlabelledMessages();
    void channelLinePlainText();
    void channelLineCommands();
    void channelLineJoinAndNick();
};

void ChannelTest::loadClaimsEntryAndUnloadParts()
{
    ClientSession t;
    QVERIFY(!t.m->Command3->isEnabled());
    QVERIFY(t.m->mnuShowChannelWindow->isEnabled());
    form<frmOrvelChat>();  // server window holds entry 1, the private chat entry 2
    frmChan &c = form<frmChan>();
    QCOMPARE(t.m->mnuWindowThree->text(), QStringLiteral("&3 Channel Window"));
    QVERIFY(t.m->mnuWindowThree->isVisible());
    QVERIFY(t.m->Command3->isEnabled());
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(!t.m->mnuShowChannelWindow->isEnabled());
    QCOMPARE(c.Caption(), QString());
    QVERIFY(!c.SubWindow()->isHidden());
    // The entry's mark follows the window in front.
    t.m->MdiArea()->setActiveSubWindow(t.s->SubWindow());
    QVERIFY(!t.m->mnuWindowThree->isChecked());
    t.m->MdiArea()->setActiveSubWindow(c.SubWindow());
    QVERIFY(t.m->mnuWindowThree->isChecked());
    t.m->MdiArea()->setActiveSubWindow(t.s->SubWindow());
    QVERIFY(!t.m->mnuWindowThree->isChecked());

    QVERIFY(t.connect());
    session().SetCurrentChannel(QStringLiteral("#lobby"));
    t.drain();
    c.Unload();
    Pump();
    QVERIFY(!loaded<frmChan>());
    QCOMPARE(t.sent(), QList<QByteArray>({"PART #lobby"}));
    QVERIFY(!t.m->mnuWindowThree->isVisible());
    QCOMPARE(t.m->mnuWindowThree->text(), QString());
    QVERIFY(!t.m->Command3->isEnabled());
    QVERIFY(!t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(t.m->mnuShowChannelWindow->isEnabled());
    // The state and the channel stay as they were.
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#lobby"));

    // With no channel published the line is "PART " alone.
    session().SetCurrentChannel(QString());
    form<frmChan>().Unload();
    Pump();
    QCOMPARE(t.sent(), QList<QByteArray>({"PART "}));
}

void ChannelTest::frameButtonAndShowItem()
{
    ClientSession t;
    t.m->Command3_Click();  // not loaded: nothing happens
    QVERIFY(!loaded<frmChan>());
    t.m->mnuShowChannelWindow->trigger();
    frmChan *c = loaded<frmChan>();
    QVERIFY(c);
    QCOMPARE(t.m->MdiArea()->activeSubWindow(), c->SubWindow());
    c->Minimize();
    QVERIFY(c->IsMinimized());
    t.m->MdiArea()->setActiveSubWindow(t.s->SubWindow());
    t.m->Command3->click();
    QVERIFY(!c->IsMinimized());
    QCOMPARE(t.m->MdiArea()->activeSubWindow(), c->SubWindow());
    // The window-list entry brings it back as well.
    c->Minimize();
    t.m->mnuWindowEntry_Click(2);
    QVERIFY(!c->IsMinimized());
}

void ChannelTest::outputProceduresAndFonts()
{
    ClientSession t;
    frmChan &c = form<frmChan>();
    const QFont before = c.Outgoing->font();
    c.Addtext(QStringLiteral("a"));
    c.Addtext2(QStringLiteral("b"));
    c.Addtext3(QStringLiteral("c"));
    c.Addtext4(QStringLiteral("<i>d</i>"));
    QCOMPARE(c.Incoming->Text(), QStringLiteral("\na\nb\nc\n<i>d</i>"));
    QCOMPARE(RunColours(c.Incoming), QList<QColor>({PaletteColour(0), PaletteColour(1), PaletteColour(7), PaletteColour(8)}));
    QCOMPARE(c.Outgoing->font().family(), before.family());

    // With a font name every one of the four also switches the command line's font.
    t.m->Settings().txtFontName.Text = QStringLiteral("Arial");
    t.m->Settings().txtFontSize.Text = QStringLiteral("14");
    using Out = void (frmChan::*)(const QString &);
    for (Out out : {&frmChan::Addtext, &frmChan::Addtext2, &frmChan::Addtext3, &frmChan::Addtext4}) {
        c.Outgoing->setFont(before);
        (c.*out)(QStringLiteral("x"));
        QCOMPARE(c.Outgoing->font().family(), QStringLiteral("Arial"));
        const RichPane::Run last = TextRuns(c.Incoming).last();
        QCOMPARE(last.family, QStringLiteral("Arial"));
        QCOMPARE(last.size, 14.0);
    }
    // Earlier text keeps its own font.
    QVERIFY(TextRuns(c.Incoming).first().family != QStringLiteral("Arial"));
}

void ChannelTest::layoutFollowsSize()
{
    ClientSession t;
    frmChan &c = form<frmChan>();
    c.resize(400, 300);
    QCOMPARE(c.Incoming->geometry(), QRect(0, 0, 280, 277));
    QCOMPARE(c.Namelist->geometry(), QRect(280, 0, 121, 280));
    QCOMPARE(c.Outgoing->geometry(), QRect(0, 277, 400, 19));
    QCOMPARE(c.Incoming->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void ChannelTest::paneEvents()
{
    ClientSession t;
    frmChan &c = form<frmChan>();
    c.Addtext(QStringLiteral("hello world"));
    // A click with nothing selected leaves the clipboard alone.
    t.env.clipboard.text = QStringLiteral("kept");
    c.Incoming_Click();
    QCOMPARE(t.env.clipboard.text, QStringLiteral("kept"));
    QCOMPARE(t.env.clipboard.clears, 0);
    // A selection is copied on a click.
    QTextCursor cur = c.Incoming->textCursor();
    cur.setPosition(1);
    cur.setPosition(6, QTextCursor::KeepAnchor);
    c.Incoming->setTextCursor(cur);
    c.Incoming_Click();
    QCOMPARE(t.env.clipboard.text, QStringLiteral("hello"));
    QVERIFY(t.env.clipboard.clears >= 1);
    // Deactivating puts the caret at the end.
    c.Incoming->SetSelStart(0);
    c.Form_Deactivate();
    QCOMPARE(c.Incoming->SelStart(), c.Incoming->TextLength());
    // Focus in the pane goes to the command line.
    t.m->show();
    QApplication::setActiveWindow(t.m);
    c.Incoming->setFocus();
    QVERIFY(WaitUntil([&] { return c.Outgoing->hasFocus(); }));
    // Esc in the command line minimises the window and keeps the line.
    c.Outgoing->setText(QStringLiteral("draft"));
    QTest::keyClick(c.Outgoing, Qt::Key_Escape);
    QVERIFY(c.IsMinimized());
    QCOMPARE(c.Outgoing->text(), QStringLiteral("draft"));
}

void ChannelTest::nickListOrderAndSelection()
{
    ClientSession t;
    core::ChannelMembers *l = &form<frmChan>().Namelist->Members();
    l->Add(QStringLiteral("carl"));
    l->Add(QStringLiteral("alice"));
    l->Add(QStringLiteral("Bob"));
    QCOMPARE(l->Items(), QStringList({"alice", "Bob", "carl"}));
    l->Add(QStringLiteral("@zed"));
    l->Add(QStringLiteral("+amy"));
    QCOMPARE(l->Items(), QStringList({"+amy", "@zed", "alice", "Bob", "carl"}));
    QCOMPARE(l->PickedIndex(), -1);
    QCOMPARE(l->Picked(), QString());
    QVERIFY(l->Pick(QStringLiteral("BOB")));
    QCOMPARE(l->Picked(), QStringLiteral("Bob"));
    QCOMPARE(l->PickedIndex(), 3);
    QVERIFY(!l->Pick(QStringLiteral("nobody")));
    QCOMPARE(l->Picked(), QStringLiteral("Bob"));
    l->RemoveAt(l->PickedIndex());
    QCOMPARE(l->Items(), QStringList({"+amy", "@zed", "alice", "carl"}));
    l->Clear();
    QCOMPARE(l->Count(), 0);
}

void ChannelTest::doubleClickSendsWhois()
{
    ClientSession t;
    QVERIFY(t.connect());
    frmChan &c = form<frmChan>();
    c.resize(400, 300);
    for (const char *n : {"@bob", "+amy", "carl"}) c.Namelist->Members().Add(QLatin1String(n));
    t.drain();
    // Empty selection: "WHOIS " alone.
    c.Namelist_DblClick();
    for (int row : {0, 1, 2}) QTest::mouseDClick(c.Namelist->viewport(), Qt::LeftButton, {}, itemCentre(c.Namelist, row));
    QCOMPARE(t.sent(), QList<QByteArray>({"WHOIS ", "WHOIS amy", "WHOIS bob", "WHOIS carl"}));
    QVERIFY(t.s->Incoming->Text().indexOf(QStringLiteral("WHOIS")) < 0);
}

void ChannelTest::rightClickKeepsSelection()
{
    ClientSession t;
    frmChan &c = form<frmChan>();
    c.resize(400, 300);
    c.Namelist->Members().Add(QStringLiteral("dave"));
    c.Namelist->Members().Add(QStringLiteral("erin"));
    QTest::mouseClick(c.Namelist->viewport(), Qt::LeftButton, {}, itemCentre(c.Namelist, 0));
    QCOMPARE(c.Namelist->Members().Picked(), QStringLiteral("dave"));
    bool popupSeen = false, listDisabled = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *p = QApplication::activePopupWidget()) {
            popupSeen = true;
            listDisabled = !c.Namelist->isEnabled();
            p->close();
        }
    });
    closer.start();
    QTest::mousePress(c.Namelist->viewport(), Qt::RightButton, {}, itemCentre(c.Namelist, 1));
    closer.stop();
    QVERIFY(popupSeen);
    QVERIFY(listDisabled);
    QVERIFY(c.Namelist->isEnabled());
    QCOMPARE(c.Namelist->Members().Picked(), QStringLiteral("dave"));
}

void ChannelTest::joinSequence()
{
    ClientSession t;
    QVERIFY(t.connect());
    form<frmChan>().Addtext(QStringLiteral("earlier"));
    t.typeServer(QStringLiteral("/JOIN #test"));
    QCOMPARE(session().ChannelState(), core::ChannelState::JoinSent);
    const QString serverPane = t.s->Incoming->Text();
    frmChan &c = form<frmChan>();
    c.HideForm();
    // While the join is pending the server's other replies show in the server pane, and
    // the lines of others nowhere.
    QVERIFY(t.feed(":irc.test NOTICE abc :hello\r\n:bob!u@h JOIN :#test\r\n:irc.test 376 abc :End\r\n\r\n"
                   ":bob!u@h MODE #test +o abc\r\n"));
    QCOMPARE(c.Incoming->Text(), QStringLiteral("\nearlier"));
    QCOMPARE(t.s->Incoming->Text(), serverPane + QStringLiteral("\nhello\nEnd\nPING? PONG!"));
    // Our own join echo shows the window and starts a line of its own.
    QVERIFY(t.feed(":abc!u@h JOIN :#test\r\n"));
    QVERIFY(!c.SubWindow()->isHidden());
    QCOMPARE(c.Incoming->Text(), QStringLiteral("\nearlier\n\x01 Now speaking in #test"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("\x01 Now speaking in #test")), PaletteColour(1));
    // The topic keeps its own ": ".
    QVERIFY(t.feed(":irc.test 332 abc #test :\x02Rules:\x02 be \x03" "3nice\r\n"));
    QCOMPARE(c.Caption(), QStringLiteral("#test: Rules: be nice"));
    // Names with their status characters; a double blank gives an empty entry.
    QVERIFY(t.feed(":irc.test 353 abc = #test :@abc +voice plain  bob \r\n"));
    QCOMPARE(c.Namelist->Members().Items(), QStringList({"", "+voice", "@abc", "bob", "plain"}));
    // Another channel's replies are not this join's: they are shown as server text.
    QVERIFY(t.feed(":irc.test 353 abc = #elsewhere :zoe\r\n:irc.test 366 abc #elsewhere :End of names\r\n"));
    QCOMPARE(c.Namelist->Members().Count(), 5);
    QCOMPARE(session().ChannelState(), core::ChannelState::JoinSent);
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\nzoe\nEnd of names\nPING? PONG!")));
    // The server may spell the channel its own way.
    QVERIFY(t.feed(":irc.test 366 abc #TeSt :End of /NAMES list.\r\n"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    QCOMPARE(c.Incoming->Text(), QStringLiteral("\nearlier\n\x01 Now speaking in #test"));

    // The next join starts with an empty list: only the new channel's names.
    t.typeServer(QStringLiteral("/JOIN #next"));
    QVERIFY(t.feed(":abc!u@h JOIN :#Next\r\n:irc.test 353 abc = #Next :abc bob\r\n:irc.test 366 abc #Next :End\r\n"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    QCOMPARE(c.Namelist->Members().Items(), QStringList({"abc", "bob"}));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Now speaking in #next"));

    // Two joins in quick succession: each echo names its own channel.
    t.typeServer(QStringLiteral("/JOIN #one"));
    t.typeServer(QStringLiteral("/JOIN #two"));
    QVERIFY(t.feed(":abc!u@h JOIN :#one\r\n:abc!u@h JOIN :#two\r\n"));
    QCOMPARE(LastLines(c.Incoming, 2), QStringList({"\x01 Now speaking in #one", "\x01 Now speaking in #two"}));
}

void ChannelTest::refusedJoinEndsTheWait()
{
    ClientSession t;
    QVERIFY(t.connect());
    // A nick refused meanwhile is no refusal of the join.
    t.typeServer(QStringLiteral("/JOIN #x"));
    QVERIFY(t.feed(":irc.test 437 abc bob :Nick/channel is temporarily unavailable\r\n"));
    QCOMPARE(session().ChannelState(), core::ChannelState::JoinSent);
    // Each refusal is shown and ends the wait: the server pane speaks again after it.
    for (const char *code : {"403", "405", "437", "471", "473", "474", "475", "476", "477"}) {
        t.typeServer(QStringLiteral("/JOIN #x"));
        t.mark();
        QVERIFY(t.feed(":irc.test " + QByteArray(code) + " abc #x :Cannot join channel\r\n:irc.test NOTICE abc :after\r\n"));
        QCOMPARE(session().ChannelState(), core::ChannelState::None);
        QCOMPARE(t.paneSinceMark(), QStringLiteral("\nCannot join channel\nafter"));
    }
    t.typeServer(QStringLiteral("/JOIN #x"));
    QVERIFY(t.feed(":irc.test 461 abc JOIN :Not enough parameters\r\n"));
    QCOMPARE(session().ChannelState(), core::ChannelState::None);
    QVERIFY(!loaded<frmChan>());
}

void ChannelTest::namesSplitting()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.typeServer(QStringLiteral("/JOIN #t"));
    // Without a ":" every word after the first blank becomes an entry.
    QVERIFY(t.feed(":irc.test 353 abc = #t one\r\n"));
    QCOMPARE(form<frmChan>().Namelist->Members().Items(), QStringList({"#t", "353", "=", "abc", "one"}));
    form<frmChan>().Namelist->Members().Clear();
    QVERIFY(t.feed(":irc.test 353 abc = #t : lead\r\n"));
    QCOMPARE(form<frmChan>().Namelist->Members().Items(), QStringList({"", "lead"}));

    // A huge names line (thousands of names, mixed letter case, in no order) is taken in
    // one pass: every name ends up in its sorted place without the list being rescanned
    // or the text recopied for each name. Ten times the names cost about ten times the
    // work, not a hundred.
    const auto takeNames = [&](int count) {
        form<frmChan>().Namelist->Members().Clear();
        QByteArray names;
        QStringList expected;
        for (int i = 0; i < count; ++i) {
            const int k = (i * 7919) % count;  // a scrambled order
            const QString nick = (k % 2 ? QStringLiteral("N") : QStringLiteral("n")) + QString::number(k).rightJustified(5, '0');
            names += nick.toLatin1() + ' ';
            expected.append(nick);
        }
        std::sort(expected.begin(), expected.end(),
                  [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
        const qint64 start = threadCpuNs();
        const bool fed = t.feed(":irc.test 353 abc = #t :" + names + "\r\n");
        const qint64 cost = threadCpuNs() - start;
        return fed && form<frmChan>().Namelist->Members().Items() == expected ? cost : qint64(-1);
    };
    const qint64 small = takeNames(800);
    const qint64 big = takeNames(8000);
    QVERIFY(small > 0 && big > 0);
    QVERIFY2(big < 10 * kListCostFactor * small, qPrintable(QStringLiteral("%1 ns for 800 names, %2 ns for 8000").arg(small).arg(big)));
}

void ChannelTest::namesRefillKeepsWholeRun()
{
    ClientSession t;
    QVERIFY(t.connect());
    QVERIFY(t.join(QStringLiteral("#test"), "@abc bob"));
    core::ChannelMembers *l = &form<frmChan>().Namelist->Members();
    // A PING in the channel asks for the names again.
    QCOMPARE(t.repliesTo("PING :refill\r\n"), Lines({"PONG :refill", "NAMES #test"}));
    // One reply over two lines, arriving apart: the list holds the names of both.
    QVERIFY(t.feed(":irc.test 353 abc = #test :@abc bob carl\r\n"));
    QCOMPARE(l->Items(), QStringList({"@abc", "bob", "carl"}));
    QVERIFY(t.feed(":irc.test 353 abc = #test :dave +erin\r\n:irc.test 366 abc #test :End of /NAMES list.\r\n"));
    QCOMPARE(l->Items(), QStringList({"+erin", "@abc", "bob", "carl", "dave"}));
    // The next reply replaces the list.
    QVERIFY(t.feed(":irc.test 353 abc = #test :@abc zoe\r\n:irc.test 366 abc #test :End of /NAMES list.\r\n"));
    QCOMPARE(l->Items(), QStringList({"@abc", "zoe"}));
    // Another channel marker, or another channel, leaves it alone.
    QVERIFY(t.feed(":irc.test 353 abc @ #test :secret\r\n:irc.test 353 abc = #other :x\r\n"));
    QCOMPARE(l->Items(), QStringList({"@abc", "zoe"}));
}

void ChannelTest::actionsAndRequests()
{
    ClientSession t;
    QVERIFY(t.connect());
    QVERIFY(t.feed(":x!u@h PRIVMSG #c :\x01" "ACTION waves\x01\r\n"));
    RichPane *p = form<frmChan>().Incoming;
    QCOMPARE(p->Text(), QStringLiteral("\n* x waves"));
    QCOMPARE(lastChar(p), PaletteColour(1));
    QVERIFY(t.feed(":x!u@h PRIVMSG #c :\x01PING 12345\x01\r\n"));
    QCOMPARE(LastLine(p), QStringLiteral("* x 345"));
    // Nothing left after the skip: nothing shown.
    QVERIFY(t.feed(":x!u@h PRIVMSG #c :\x01" "ACTION\x01\r\n:srv.example PRIVMSG #c :\x01" "ACTION hi\x01\r\n"));
    QCOMPARE(p->Text(), QStringLiteral("\n* x waves\n* x 345"));
}

void ChannelTest::colourCodes()
{
    ClientSession t;
    QVERIFY(t.connect());
    // plain: how many characters of the shown text come before the coloured part.
    struct Case { QByteArray message; QString shown; QColor colour; int plain = 0; };
    const QList<Case> cases = {
        {"\x03" "0t", "t", PaletteColour(15)},   {"\x03" "1t", "t", PaletteColour(0)},
        {"\x03" "2t", "t", PaletteColour(1)},    {"\x03" "3t", "t", PaletteColour(2)},
        {"\x03" "4red text", "red text", PaletteColour(12)},
        {"\x03" "5t", "t", PaletteColour(4)},    {"\x03" "6t", "t", PaletteColour(5)},
        {"\x03" "7t", "t", PaletteColour(6)},    {"\x03" "8t", "t", PaletteColour(14)},
        {"\x03" "9t", "t", PaletteColour(10)},   {"\x03" "10t", "t", PaletteColour(8)},
        {"\x03" "11t", "t", PaletteColour(6)},   {"\x03" "12t", "t", PaletteColour(9)},
        {"\x03" "13t", "t", QColor(192, 0, 192)}, {"\x03" "14t", "t", PaletteColour(2)},
        {"\x03" "15t", "t", PaletteColour(7)},
        // Two digits from 00 to 15 are one code; a background part goes with it.
        {"\x03" "00t", "t", PaletteColour(15)}, {"\x03" "04red", "red", PaletteColour(12)},
        {"\x03" "09t", "t", PaletteColour(10)}, {"\x03" "04,8text", "text", PaletteColour(12)},
        {"\x03" "4,12t", "t", PaletteColour(12)}, {"\x03" "4,t", ",t", PaletteColour(12)},
        {"\x03" "16abc", "6abc", PaletteColour(0)},
        {"\x03" "abc", "abc", PaletteColour(0)},
        // The text before the first code shows too; later codes and other marks go.
        {"hello \x03" "12blue \x03" "4x", "hello blue x", PaletteColour(9), 6},
        {"\x02" "a\x02 \x03" "12,04b\x03" "4,5c\x03\x0F \x16" "d\x1D\x1E\x1F\x01", "a bc d\x01", PaletteColour(9), 2},
    };
    RichPane *p = nullptr;
    for (const Case &c : cases) {
        QVERIFY(t.feed(":x!u@h PRIVMSG #c :" + c.message + "\r\n"));
        p = form<frmChan>().Incoming;
        QCOMPARE(LastLine(p), QStringLiteral("<x> ") + c.shown);
        QCOMPARE(colourAt(p, lastLineStart(p) + 3 + c.plain), PaletteColour(0));
        if (c.shown.size() > c.plain) QCOMPARE(colourAt(p, lastLineStart(p) + 4 + c.plain), c.colour);
        QCOMPARE(lastChar(p), c.colour);
    }
    // A line without a nick still shows its coloured text.
    QVERIFY(t.feed(":irc.test PRIVMSG #c :\x03" "4alert\r\n"));
    QCOMPARE(LastLine(p), QStringLiteral("<> alert"));
}

void ChannelTest::plainAndUnlabelledMessages()
{
    ClientSession t;
    QVERIFY(t.connect());
    session().SetCurrentChannel(QStringLiteral("#c"));
    QVERIFY(t.feed(":x!u@h PRIVMSG #c :<b>plain</b>\r\n"));
    RichPane *p = form<frmChan>().Incoming;
    QCOMPARE(p->Text(), QStringLiteral("\n<x> <b>plain</b>"));
    QCOMPARE(lastChar(p), PaletteColour(0));
    // Another channel's message lands in the same window; a nick that merely begins with
    // ours is someone else's.
    QVERIFY(t.feed(":abcd!u@h PRIVMSG #other :elsewhere\r\n"));
    QCOMPARE(LastLine(p), QStringLiteral("<abcd> elsewhere"));
    // A server-prefixed line has no nick: shown nowhere.
    const QString server = t.s->Incoming->Text();
    QVERIFY(t.feed(":irc.test PRIVMSG #c :from the server\r\n"));
    QCOMPARE(p->Text(), QStringLiteral("\n<x> <b>plain</b>\n<abcd> elsewhere"));
    QCOMPARE(t.s->Incoming->Text(), server + QStringLiteral("\nPING? PONG!"));
}

void ChannelTest::channelLinePlainText()
{
    ClientSession t;
    t.m->mnuOutDataWindow->setChecked(true);
    frmChan &c = form<frmChan>();
    // Not connected and no channel: still passed on and echoed.
    t.typeChannel(QStringLiteral("hi <b>all</b>"));
    QVERIFY(form<frmOutData>().Text().endsWith(QStringLiteral("\nPRIVMSG  :hi <b>all</b>")));
    QCOMPARE(c.Incoming->Text(), QStringLiteral("\n<abc> hi <b>all</b>"));
    QCOMPARE(lastChar(c.Incoming), PaletteColour(0));
    QCOMPARE(c.Outgoing->text(), QString());

    QVERIFY(t.connect());
    QVERIFY(t.join(QStringLiteral("#lobby"), "@abc bob"));
    t.typeChannel(QStringLiteral("hello"));
    // Pasted line breaks never become a second command.
    c.Outgoing->setText(QStringLiteral("one\r\nQUIT :x"));
    QTest::keyClick(c.Outgoing, Qt::Key_Return);
    // Each pasted line goes out as its own message, and only what went out is echoed.
    QCOMPARE(t.sent(), QList<QByteArray>({"PRIVMSG #lobby :hello", "PRIVMSG #lobby :one", "PRIVMSG #lobby :QUIT :x"}));
    QCOMPARE(LastLines(c.Incoming, 2), QStringList({"<abc> one", "<abc> QUIT :x"}));
}

void ChannelTest::channelLineCommands()
{
    ClientSession t;
    QVERIFY(t.connect());
    frmChan &c = form<frmChan>();
    session().SetCurrentChannel(QStringLiteral("#lobby"));
    t.drain();
    const QString serverPane = t.s->Incoming->Text();
    // Words of the server line only: nothing but an emptied line.
    for (const char *w : {"/KICK bob", "/BAN bob", "/ECHO hi", "/RUN xterm", "/TOPIC t", "/INVITE bob #x", "/quit"}) {
        t.typeChannel(QLatin1String(w));
        QCOMPARE(c.Outgoing->text(), QString());
    }
    QCOMPARE(t.sent(), QList<QByteArray>());
    QVERIFY(t.env.launcher.started.isEmpty());
    QCOMPARE(c.Incoming->Text(), QString());

    t.typeChannel(QStringLiteral("/NOTICE hi all"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("NOTICE > hi all"));
    QCOMPARE(lastChar(c.Incoming), PaletteColour(1));
    t.typeChannel(QStringLiteral("/AWAY gone"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Set away"));
    t.typeChannel(QStringLiteral("/WHOIS bob"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Attempting to get information on bob..."));
    t.typeChannel(QStringLiteral("/MSG bob hi you"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("=->bob<-= hi you"));
    t.typeChannel(QStringLiteral("/MSG bob"));
    t.typeChannel(QStringLiteral("/P #lobby"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Parted Channel"));
    t.typeChannel(QStringLiteral("/PART #lobby"));
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Parted Channel"));
    t.typeChannel(QStringLiteral("/RAW LUSERS"));
    t.typeChannel(QStringLiteral("/MODE abc +i"));
    // Empty list: the action is only echoed.
    t.typeChannel(QStringLiteral("/ME smiles"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("* abc smiles"));
    QCOMPARE(lastChar(c.Incoming), PaletteColour(1));
    c.Namelist->Members().Add(QStringLiteral("bob"));
    t.typeChannel(QStringLiteral("/ACTION nods"));
    t.typeChannel(QStringLiteral("/QUIT "));
    QCOMPARE(t.sent(), QList<QByteArray>({"NOTICE #lobby :hi all", "AWAY :gone", "WHOIS :bob", "PRIVMSG bob :hi you",
                                          "PART #lobby", "PART #lobby", "LUSERS", "MODE abc +i",
                                          "PRIVMSG #lobby :\x01" "ACTION nods\x01", "QUIT :"}));
    QCOMPARE(t.s->Incoming->Text(), serverPane + QStringLiteral("\n\x01 Parted Channel"));
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#lobby"));

    // DCC and SERVER behave as in the server window; SERVER writes there.
    t.typeChannel(QStringLiteral("/dcc chat"));
    QCOMPARE(t.env.dialogs.messages, QStringList({"Sorry, no dcc commands yet."}));
    QCOMPARE(t.env.dialogs.icons, QList<MsgIcon>{MsgIcon::None});
    t.typeChannel(QStringLiteral("/SERVER 127.0.0.1"));
    QVERIFY(t.s->Incoming->Text().endsWith(QStringLiteral("\x01 Disconnected\n\x01 Attempting to connect to 127.0.0.1...")));
    QVERIFY(t.srv.waitForLine("NICK abc"));
}

void ChannelTest::channelLineJoinAndNick()
{
    ClientSession t;
    frmChan &c = form<frmChan>();
    // Not connected: /NICK still goes to SendData and takes the nick, but never raises
    // the connected flag by writing a caption.
    t.typeChannel(QStringLiteral("/NICK bob"));
    QCOMPARE(session().Nick(), QStringLiteral("bob"));
    QCOMPARE(session().Settings().Nick(), QStringLiteral("bob"));
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("bob"));
    QCOMPARE(t.s->Caption(), QString());
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Attempting to change your nick..."));
    t.typeChannel(QStringLiteral("/NICK "));
    QCOMPARE(session().Nick(), QStringLiteral("bob"));
    QCOMPARE(*settings::Read(QStringLiteral("nick.msg")), QStringLiteral("bob"));

    QVERIFY(t.connect());
    t.typeChannel(QStringLiteral("/NICK carl x"));
    QCOMPARE(t.s->Caption(), QStringLiteral("bob on 127.0.0.1"));
    QVERIFY(t.feed(":bob!u@h NICK :carl\r\n"));
    QCOMPARE(t.s->Caption(), QStringLiteral("carl on irc.test"));
    t.drain();
    t.typeChannel(QStringLiteral("/JOIN #new"));
    QCOMPARE(session().ChannelState(), core::ChannelState::JoinSent);
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#new"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("\x01 Attempting to join #new..."));
    // The very next line goes to the new channel.
    t.typeChannel(QStringLiteral("hey"));
    // No channel word: nothing is sent or changed.
    t.typeChannel(QStringLiteral("/JOIN  "));
    QCOMPARE(t.sent(), QList<QByteArray>({"JOIN #new", "PRIVMSG #new :hey"}));
    QCOMPARE(session().CurrentChannel(), QStringLiteral("#new"));
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("<carl> hey"));
}

QTEST_MAIN(ChannelTest)
#include "test_channel.moc"
