// The private chat window: opened by a private message or the frame, talking to the
// partner, the partner prompt, and its place in the frame's window list and bar.
#include "ClientSession.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
// Connected, and the private chat window opened by a message from x.
frmOrvelChat *chatWithX(ClientSession &t)
{
    return t.connect() && t.feed(":x!u@h PRIVMSG abc :hi\r\n") ? loaded<frmOrvelChat>() : nullptr;
}
} // namespace

class ChatTest : public QObject
{
    Q_OBJECT
private slots:
    void privateMessagesOpenAndFollowTheSender();
    void typingSendsToThePartner();
    void enterWithoutTextOrPartner();
    void escMinimisesAndBarRestores();
    void doubleClickAsksForAPartner();
    void frameMenuWindowListAndUnload();
    void noEntryLeftAmongTheFirstThree();
};

void ChatTest::privateMessagesOpenAndFollowTheSender()
{
    ClientSession t;
    QVERIFY(t.connect());
    QVERIFY(!loaded<frmOrvelChat>());
    QVERIFY(t.feed(":x!u@h PRIVMSG ABC :hi there\r\n"));
    frmOrvelChat *c = loaded<frmOrvelChat>();
    QVERIFY(c);
    QVERIFY(!c->SubWindow()->isHidden());
    QVERIFY(t.m->Command4->isEnabled());
    QCOMPARE(Plays(QStringLiteral("chat.wav")), 1);
    QCOMPARE(c->txtIncoming->Text(), QStringLiteral("\x01 Now chatting with x\n<x> hi there"));
    QCOMPARE(RunColours(c->txtIncoming), QList<QColor>({PaletteColour(1), PaletteColour(1)}));
    QCOMPARE(c->txtUser->text(), QStringLiteral("x"));
    QCOMPARE(c->Label1->text(), QStringLiteral("Private Chat with x"));
    QCOMPARE(c->Caption(), QStringLiteral("x"));  // at once, not at the next tick

    // Another sender takes over the window without a second announcement; markup shows as sent.
    QVERIFY(t.feed(":y!u@h PRIVMSG abc :<b>yo</b>\r\n"));
    QCOMPARE(loaded<frmOrvelChat>(), c);
    QCOMPARE(c->txtIncoming->Text(), QStringLiteral("\x01 Now chatting with x\n<x> hi there\n<y> <b>yo</b>"));
    QCOMPARE(c->txtUser->text(), QStringLiteral("y"));
    QCOMPARE(c->Label1->text(), QStringLiteral("Private Chat with y"));
    QCOMPARE(c->Caption(), QStringLiteral("y"));
    QCOMPARE(Plays(QStringLiteral("chat.wav")), 1);
    // An action reads as the channel shows one, in the colour of the chat.
    QVERIFY(t.feed(":y!u@h PRIVMSG abc :\x01" "ACTION waves\x01\r\n"));
    QCOMPARE(LastLine(c->txtIncoming), QStringLiteral("* y waves"));
    QCOMPARE(ColourOf(c->txtIncoming, QStringLiteral("* y waves")), PaletteColour(1));
    QVERIFY(!loaded<frmChan>());
}

void ChatTest::typingSendsToThePartner()
{
    ClientSession t;
    frmOrvelChat *c = chatWithX(t);
    QVERIFY(c);
    t.sent();
    TypeLine(c->txtOutgoing, QStringLiteral("hello <b>you</b>"));
    QCOMPARE(t.sent(), (QList<QByteArray>{"PRIVMSG x :hello <b>you</b>"}));
    QCOMPARE(LastLine(c->txtIncoming), QStringLiteral("> hello <b>you</b>"));
    QCOMPARE(ColourOf(c->txtIncoming, QStringLiteral("> hello <b>you</b>")), PaletteColour(0));
    QCOMPARE(c->txtOutgoing->text(), QString());
    // A pasted text goes out line by line, each line echoed as it was sent.
    c->txtOutgoing->setText(QStringLiteral("one\r\ntwo\nQUIT :x"));
    QTest::keyClick(c->txtOutgoing, Qt::Key_Return);
    QCOMPARE(t.sent(), (QList<QByteArray>{"PRIVMSG x :one", "PRIVMSG x :two", "PRIVMSG x :QUIT :x"}));
    QCOMPARE(LastLines(c->txtIncoming, 3), QStringList({"> one", "> two", "> QUIT :x"}));

    // The reply comes back into the same window.
    QVERIFY(t.feed(":x!u@h PRIVMSG abc :got it\r\n"));
    QCOMPARE(LastLine(c->txtIncoming), QStringLiteral("<x> got it"));
}

void ChatTest::enterWithoutTextOrPartner()
{
    ClientSession t;
    QVERIFY(t.connect());
    t.m->mnuShowQueryWindow_Click();
    frmOrvelChat *c = loaded<frmOrvelChat>();
    QVERIFY(c);
    QCOMPARE(c->txtUser->text(), QString());

    QTest::keyClick(c->txtOutgoing, Qt::Key_Return);
    QVERIFY(t.env.dialogs.messages.isEmpty());

    TypeLine(c->txtOutgoing, QStringLiteral("anyone?"));
    QCOMPARE(t.env.dialogs.messages, QStringList{QStringLiteral("Please enter a username of who you are chatting with!")});
    QCOMPARE(t.env.dialogs.icons, QList<MsgIcon>{MsgIcon::Exclamation});
    QCOMPARE(t.env.dialogs.titles.last(), QStringLiteral("OrvelIRC"));
    QCOMPARE(c->txtOutgoing->text(), QStringLiteral("anyone?"));
    QCOMPARE(c->txtIncoming->Text(), QString());
    QVERIFY(t.sent().isEmpty());
}

void ChatTest::escMinimisesAndBarRestores()
{
    ClientSession t;
    frmOrvelChat *c = chatWithX(t);
    QVERIFY(c);
    c->txtOutgoing->setText(QStringLiteral("half typed"));
    QTest::keyClick(c->txtOutgoing, Qt::Key_Escape);
    QVERIFY(c->IsMinimized());
    QCOMPARE(c->txtOutgoing->text(), QStringLiteral("half typed"));
    QVERIFY(t.sent().isEmpty());

    QVERIFY(t.m->Command4->isEnabled());
    t.m->Command4_Click();
    QVERIFY(!c->IsMinimized());
    QCOMPARE(t.m->MdiArea()->activeSubWindow(), c->SubWindow());
}

void ChatTest::doubleClickAsksForAPartner()
{
    ClientSession t;
    frmOrvelChat *c = chatWithX(t);
    QVERIFY(c);

    // Cancel changes nothing.
    QTest::mouseDClick(c->txtIncoming->viewport(), Qt::LeftButton);
    QCOMPARE(t.env.dialogs.prompts, QStringList{QStringLiteral("Enter the person you wish to chat with")});
    QCOMPARE(c->txtUser->text(), QStringLiteral("x"));
    QVERIFY(!c->txtIncoming->Text().isEmpty());

    t.env.dialogs.answers << QStringLiteral("y");
    QTest::mouseDClick(c->txtIncoming->viewport(), Qt::LeftButton);
    QCOMPARE(c->txtUser->text(), QStringLiteral("y"));
    QCOMPARE(c->txtIncoming->Text(), QString());
    QCOMPARE(c->Caption(), QStringLiteral("y"));
    TypeLine(c->txtOutgoing, QStringLiteral("hey"));
    QCOMPARE(t.sent(), (QList<QByteArray>{"PRIVMSG y :hey"}));
}

void ChatTest::frameMenuWindowListAndUnload()
{
    ClientSession t;
    QVERIFY(!t.m->Command4->isEnabled());
    QVERIFY(t.m->mnuShowQueryWindow->isEnabled());
    t.m->mnuShowQueryWindow->trigger();
    frmOrvelChat *c = loaded<frmOrvelChat>();
    QVERIFY(c);
    // The caption keeps its own text until a partner is named.
    c->Timer1->fire();
    QCOMPARE(c->Caption(), QStringLiteral("Private Chat"));
    QVERIFY(t.m->Command4->isEnabled());
    QVERIFY(!t.m->mnuShowQueryWindow->isEnabled());
    QCOMPARE(t.m->mnuWindowTwo->text(), QStringLiteral("&2 Query Window"));
    QVERIFY(t.m->mnuWindowTwo->isVisible());

    // The entry restores and focuses the window; activation checks it.
    c->Minimize();
    t.m->mnuWindowEntry_Click(2);
    QVERIFY(!c->IsMinimized());
    QCOMPARE(t.m->MdiArea()->activeSubWindow(), c->SubWindow());
    QVERIFY(t.m->mnuWindowTwo->isChecked());
    t.m->MdiArea()->setActiveSubWindow(t.s->SubWindow());
    QVERIFY(!t.m->mnuWindowTwo->isChecked());

    c->Unload();
    Pump();
    QVERIFY(!loaded<frmOrvelChat>());
    QVERIFY(!t.m->Command4->isEnabled());
    QVERIFY(t.m->mnuShowQueryWindow->isEnabled());
    QVERIFY(!t.m->mnuWindowTwo->isVisible());
    QCOMPARE(t.m->mnuWindowTwo->text(), QString());
}

void ChatTest::noEntryLeftAmongTheFirstThree()
{
    ClientSession t;
    form<frmInData>();
    form<frmChan>();
    QCOMPARE(t.m->mnuWindowThree->text(), QStringLiteral("&3 Channel Window"));
    t.m->mnuShowQueryWindow_Click();
    QVERIFY(loaded<frmOrvelChat>());
    for (QAction *a : t.m->mnuWindowEntry) QVERIFY(!a->text().contains(QLatin1String("Query")));
}

QTEST_MAIN(ChatTest)
#include "test_chat.moc"
