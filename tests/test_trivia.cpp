// Teletrivia: the question table, the game's ticks with a fixed draw, answers and channel
// commands from other users, the frame's Start and Stop items and the connection's close.
#include "ClientSession.h"
#include "core/Teletrivia.h"
#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include "windows/frmOutData.h"
#include <QSet>

namespace {
double g_draw = 0.0;
double fixedDraw() { return g_draw; }
// The draw that picks the table's key (the keys in order, 100 of them).
void drawKey(int key) { g_draw = (trivia::Keys().indexOf(key) + 0.5) / 100.0; }

const QByteArray C = "\x03";
const QByteArray kCommands = "PRIVMSG #c :" + C + "12<<Teletrivia:" + C +
                             "10 Commands: !scores, !stop, !directions. Next Question..." + C + "12>>";
const QString kCommandEcho = QStringLiteral("> <<Teletrivia: Commands: !scores, !stop, !directions. Next Question...>>");

// Joined to #c with bob and the game started from the frame's menu; what it sent is drained.
bool startGame(ClientSession &t)
{
    if (!t.connectAndJoin("abc bob")) return false;
    t.m->mnuStartTeleTrivia->trigger();
    t.drain();
    return true;
}

// startGame(), then the first tick asks the question of the table's key.
bool askQuestion(ClientSession &t, int key)
{
    if (!startGame(t)) return false;
    drawKey(key);
    session().Game().Timer().fire();
    t.drain();
    return true;
}
}

class TriviaTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { trivia::Draw = &fixedDraw; }
    void cleanup() { trivia::Draw = &trivia::TimeSeededDraw; }
    void questionTable();
    void drawCoversOnlyTheTable();
    void gameRound();
    void revealAndAnswerAfterReveal();
    void onlyPlainChannelTextIsChecked();
    void directionsAndStopFromAnyone();
    void startNeedsConnectionStopDoesNot();
    void closeStopsTheGameAndTheNextRevealHidesTheMarker();
};

void TriviaTest::questionTable()
{
    QList<int> expected;
    for (int k = 1; k <= 80; ++k) expected << k;
    for (int k = 90; k <= 109; ++k) expected << k;
    QCOMPARE(trivia::Keys(), expected);

    const QList<QList<QString>> given = {
        {"3", "How many strings are on most guitars?", "six"},
        {"16", "What country exports the most wool?", "australia"},
        {"22", "True or false? In a solar eclipse, the sun comes between the earth and the moon.", "false"},
        {"34", "Name the four planets closest to the sun. (starting with the closest)", "mercury, venus, earth, mars"},
        {"54", "What kind of animal is a flying fox?", "bat"},
        {"64", "What percentage of the earths surface is covered by water?", "70.9"},
        {"97", "Can fish close their eyes?", "no"},
    };
    for (const auto &row : given) {
        const auto e = trivia::Question(row[0].toInt());
        QVERIFY(e);
        QCOMPARE(e->question, row[1]);
        QCOMPARE(e->answer, row[2]);
    }
    for (int k = 81; k <= 89; ++k) QVERIFY(!trivia::Question(k));

    int quoted = 0, hinted = 0;
    QSet<QString> questions;
    for (int k : trivia::Keys()) {
        const auto e = trivia::Question(k);
        QVERIFY(e);
        QVERIFY2(!e->answer.isEmpty() && e->answer == e->answer.trimmed(), qPrintable(QString::number(k)));
        QVERIFY(!e->question.isEmpty());
        for (QChar ch : e->question + e->answer) QVERIFY2(ch.unicode() >= 32 && ch.unicode() < 127, qPrintable(e->question));
        if (e->question.contains(QLatin1Char('"'))) ++quoted;
        if (e->question.contains(QLatin1String("(Hint: "))) ++hinted;
        questions.insert(e->question);
    }
    QCOMPARE(quoted, 2);
    QVERIFY(hinted >= 3);
    QCOMPARE(questions.size(), 100);
    // The marker: 33 lower-case letters and digits, both kinds present.
    QCOMPARE(trivia::AnsweredMarker.size(), 33);
    QVERIFY(trivia::AnsweredMarker.contains(QRegularExpression(QStringLiteral("^(?=.*[a-z])(?=.*[0-9])[a-z0-9]+$"))));
}

void TriviaTest::drawCoversOnlyTheTable()
{
    g_draw = 0.0;
    QCOMPARE(trivia::DrawOneTo(100), 1);
    g_draw = 0.9999999;
    QCOMPARE(trivia::DrawOneTo(100), 100);
    QCOMPARE(trivia::DrawOneTo(11), 11);
    g_draw = 0.5;
    QCOMPARE(trivia::DrawOneTo(11), 6);
    for (int i = 0; i < 200; ++i) {
        const double r = trivia::TimeSeededDraw();
        QVERIFY(r >= 0.0 && r < 1.0);
    }

    // A draw three quarters of the way up lands on a real question, not in the gap 81-89.
    ClientSession t;
    QVERIFY(startGame(t));
    g_draw = 0.75;
    session().Game().Timer().fire();
    const QList<QByteArray> out = t.sent();
    QCOMPARE(out.size(), 1);
    QCOMPARE(out[0], "PRIVMSG #c :" + C + "12<<Teletrivia Question: " + C + "10" +
                         trivia::Question(76)->question.toUtf8() + C + "12>>");
    QCOMPARE(session().Game().Answer(), QStringLiteral("paris"));
}

void TriviaTest::gameRound()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin("abc bob"));
    frmChan &c = form<frmChan>();
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(!t.m->mnuStopTeletrivia->isEnabled());
    QVERIFY(!session().Game().Timer().Enabled());
    QCOMPARE(session().Game().Timer().Interval(), 30000);

    t.m->mnuStartTeleTrivia->trigger();
    QCOMPARE(t.sent(), QList<QByteArray>{"PRIVMSG #c :" + C + "12<<" + C + "10Tele trivia has begun!" + C + "12>>"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("> <<Tele trivia has begun!>>"));
    QVERIFY(session().Game().Timer().Enabled());
    QVERIFY(!t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(t.m->mnuStopTeletrivia->isEnabled());

    // No question yet: an empty message wins nothing.
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :\r\n"));
    QVERIFY(t.sent().isEmpty());

    // The first tick after program start asks.
    drawKey(3);
    session().Game().Timer().fire();
    QCOMPARE(t.sent(), QList<QByteArray>{"PRIVMSG #c :" + C + "12<<Teletrivia Question: " + C +
                                         "10How many strings are on most guitars?" + C + "12>>"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("> <<Teletrivia Question: How many strings are on most guitars?>>"));
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Reveal);

    // A trailing blank is a different answer; letter case is not.
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :six \r\n"));
    QVERIFY(t.sent().isEmpty());
    // Requests from others that use up the reply budget hold back none of the game's lines.
    const QByteArray version = ":x!u@h PRIVMSG abc :\x01VERSION\x01\r\n";
    QVERIFY(t.feed(version + version + version + version + ":bob!b@h PRIVMSG #c :SiX\r\n"));
    QCOMPARE(t.sent().mid(core::ReplyBudget::Size), QList<QByteArray>{"PRIVMSG #c :" + C + "12<<Teletrivia: " + C + "10bob " + C +
                                         "12got it! Answer: " + C + "10SiX" + C + "12>>"});
    QCOMPARE(LastLine(c.Incoming), QStringLiteral("<<Teletrivia: bob got it! Answer: SiX>>"));
    QCOMPARE(ColourOf(c.Incoming, QStringLiteral("<<Teletrivia: bob got it! Answer: SiX>>")), PaletteColour(0));
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Answered);
    QCOMPARE(session().Game().Answer(), trivia::AnsweredMarker);
    QVERIFY(t.feed(":carl!c@h PRIVMSG #c :six\r\n"));
    QVERIFY(t.sent().isEmpty());

    // The answered tick only repeats the command list here; the next one asks again.
    session().Game().Timer().fire();
    QVERIFY(t.sent().isEmpty());
    QCOMPARE(LastLine(c.Incoming), kCommandEcho);
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Ask);
    drawKey(16);
    session().Game().Timer().fire();
    QCOMPARE(t.sent().size(), 1);
    QCOMPARE(session().Game().Answer(), QStringLiteral("australia"));
}

void TriviaTest::revealAndAnswerAfterReveal()
{
    ClientSession t;
    QVERIFY(askQuestion(t, 34));
    frmChan &c = form<frmChan>();
    session().Game().Timer().fire();
    QCOMPARE(t.sent(), (QList<QByteArray>{"PRIVMSG #c :" + C + "12<<Teletrivia:" + C +
                                              "10 No-one got it :( Answer: mercury, venus, earth, mars" + C + "12>>",
                                          kCommands}));
    QCOMPARE(LastLine(c.Incoming), kCommandEcho);
    QVERIFY(!c.Incoming->Text().contains(QLatin1String("No-one")));
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Ask);

    // The revealed answer still counts until the next question; a part of it never does.
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :mercury, venus\r\n"));
    QVERIFY(t.sent().isEmpty());
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :Mercury, Venus, Earth, Mars\r\n"));
    QCOMPARE(t.sent().size(), 1);
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Answered);
    session().Game().Timer().fire();
    QVERIFY(t.sent().isEmpty());

    // The indicator's clicks set the phase by hand.
    QTest::mouseDClick(t.s->Picture1, Qt::LeftButton);
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Reveal);
    QTest::mouseClick(t.s->Picture1, Qt::LeftButton);
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Ask);
}

void TriviaTest::onlyPlainChannelTextIsChecked()
{
    ClientSession t;
    QVERIFY(askQuestion(t, 97));
    QVERIFY(t.feed(":bob!b@h PRIVMSG abc :no\r\n"                   // to us
                   ":bob!b@h PRIVMSG abc :!stop\r\n"
                   ":bob\x03" "4!b@h PRIVMSG #c :no\r\n"            // a colour code in the line
                   ":bob\x03" "4!b@h PRIVMSG #c :!directions\r\n"
                   ":bob!b@h PRIVMSG #c :\x01" "ACTION no\x01\r\n"));
    QVERIFY(t.sent().isEmpty());
    QVERIFY(session().Game().Timer().Enabled());
    QCOMPARE(session().Game().Answer(), QStringLiteral("no"));

    // Not running: nothing is checked.
    t.m->mnuStopTeletrivia->trigger();
    t.sent();
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :no\r\n:bob!b@h PRIVMSG #c :!directions\r\n"));
    QVERIFY(t.sent().isEmpty());
}

void TriviaTest::directionsAndStopFromAnyone()
{
    ClientSession t;
    QVERIFY(startGame(t));
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :!Directions\r\n"));
    QCOMPARE(t.sent(), QList<QByteArray>{"PRIVMSG #c :" + C + "12<<" + C +
                                         "10You are playing teletrivia on IRC. This means that abc asks the questions, "
                                         "and you " + C + "4TRY " + C + "10and answer them. Simple enough? (Thats what "
                                         "you think!)" + C + "12>>"});
    const QString echo = QStringLiteral("<<You are playing teletrivia on IRC. This means that abc asks the questions, and "
                                        "you TRY and answer them. Simple enough? (Thats what you think!)>>");
    QVERIFY(t.s->Incoming->Text().split(QLatin1Char('\n')).contains(echo));
    QCOMPARE(ColourOf(t.s->Incoming, echo), PaletteColour(0));

    // "!scores" is only channel text.
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :!scores\r\n"));
    QVERIFY(t.sent().isEmpty());

    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :!STOP\r\n"));
    QVERIFY(!session().Game().Timer().Enabled());
    QCOMPARE(t.sent(), QList<QByteArray>{"NOTICE #c :" + C + "12<<" + C + "10 bob, you stoped teletrivia. Why? Is it "
                                         "because it was too " + C + "4HARD " + C + "10for you? Too much of a " + C +
                                         "4MOMA'S BOY" + C + "10?" + C + "12>>"});
    QVERIFY(t.s->Incoming->Text().split(QLatin1Char('\n')).contains(QStringLiteral("\x01 Teletrivia haulted")));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Teletrivia haulted")), PaletteColour(1));
    // The menu stays as the game left it until the user chooses Stop.
    QVERIFY(!t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(t.m->mnuStopTeletrivia->isEnabled());
    t.m->mnuStopTeletrivia->trigger();
    QCOMPARE(t.sent(), QList<QByteArray>{"PRIVMSG #c :" + C + "12<<" + C + "10Teletrivia has ended!" + C + "12>>"});
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(!t.m->mnuStopTeletrivia->isEnabled());
}

void TriviaTest::startNeedsConnectionStopDoesNot()
{
    ClientSession t;
    QVERIFY(!t.m->mnuStartTeleTrivia->isEnabled());
    form<frmChan>();
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    const QString pane = form<frmChan>().Incoming->Text();
    t.m->mnuStartTeleTrivia->trigger();
    QCOMPARE(LastLine(t.s->Incoming), QStringLiteral("\x01 Error 5 (Not Connected)"));
    QCOMPARE(ColourOf(t.s->Incoming, QStringLiteral("\x01 Error 5 (Not Connected)")), PaletteColour(0));
    QCOMPARE(Plays(QStringLiteral("error.wav")), 1);
    QVERIFY(!session().Game().Timer().Enabled());
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    QCOMPARE(form<frmChan>().Incoming->Text(), pane);

    t.m->mnuOutDataWindow->setChecked(true);
    t.m->mnuStopTeletrivia_Click();
    QVERIFY(form<frmOutData>().Text().endsWith(QStringLiteral("PRIVMSG  :\x03" "12<<\x03" "10Teletrivia has ended!\x03" "12>>")));
    QVERIFY(t.m->mnuStartTeleTrivia->isEnabled());
    QVERIFY(!t.m->mnuStopTeletrivia->isEnabled());
    // Closing the channel window takes Start away again.
    form<frmChan>().Unload();
    Pump();
    QVERIFY(!t.m->mnuStartTeleTrivia->isEnabled());
}

void TriviaTest::closeStopsTheGameAndTheNextRevealHidesTheMarker()
{
    ClientSession t;
    QVERIFY(askQuestion(t, 54));
    QVERIFY(t.feed(":bob!b@h PRIVMSG #c :bat\r\n"));
    t.sent();
    t.srv.closeClient();
    QVERIFY(WaitUntil([&] { return !session().Game().Timer().Enabled(); }));
    QCOMPARE(session().Game().Phase(), core::TriviaPhase::Reveal);

    // Next game: its first tick reveals what is held, and a won question shows no answer.
    QVERIFY(t.connect());
    QVERIFY(t.join(QStringLiteral("#c"), "abc bob"));
    t.m->mnuStopTeletrivia->trigger();
    t.m->mnuStartTeleTrivia->trigger();
    t.sent();
    session().Game().Timer().fire();
    QCOMPARE(t.sent(), (QList<QByteArray>{"PRIVMSG #c :" + C + "12<<Teletrivia:" + C + "10 No-one got it :( Answer: " +
                                              C + "12>>",
                                          kCommands}));
}

QTEST_MAIN(TriviaTest)
#include "test_trivia.moc"
