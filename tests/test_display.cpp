// How received blocks are shown: a block is shown once at its end, exactly as its lines
// would be one by one; anything that reads or waits for the user sees the finished block;
// long lines are cut for display and panes keep a bounded number of lines and of text.
#include "ClientSession.h"
#include "platform/DisplayBatch.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QDialog>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// Channel traffic of every kind the display handles, lines numbered so no two are alike.
QList<QByteArray> mixedFlood()
{
    QList<QByteArray> lines;
    const QByteArray names[] = {"bob", "carl", "dan", "erin"};
    for (int i = 0; i < 12; ++i) {
        const QByteArray n = QByteArray::number(i), who = names[i % 4], from = ":" + who + "!u@h ";
        lines << from + "PRIVMSG #c :plain " + n << from + "PRIVMSG #c :\x03" "4red \x03" "12then " + n
              << from + "PRIVMSG #c :\x01" "ACTION waves " + n + "\x01" << ":j" + n + "!u@h JOIN :#c"
              << ":op!u@h MODE #c +v j" + n + " " << from + "NICK :" + who + "_" << ":" + who + "_!u@h NICK :" + who
              << ":x" + n + "!u@h PRIVMSG abc :private " + n << ":irc.test NOTICE abc :server notice " + n;
        if (i % 3 == 2) lines << ":j" + QByteArray::number(i - 1) + "!u@h PART #c" << ":j" + n + "!u@h QUIT :gone";
        if (i == 7) lines << from + "PRIVMSG #c :" + QByteArray(3 * PaneWriter::MaxLineLength, 'L');
    }
    return lines;
}

// Everything a pane shows: each run's colour, font and text.
QStringList shown(const RichPane *pane)
{
    QStringList out;
    for (const RichPane::Run &r : pane->Runs())
        out << r.colour.name() + QLatin1Char('|') + r.family + QLatin1Char('|') + QString::number(r.size) +
                   QLatin1Char('|') + r.text;
    return out;
}

struct Outcome
{
    QStringList channel, chat, names;
    QString server, selected;
};

// The flood fed to a fresh session in one write, or each line on its own.
Outcome feedFlood(bool lineByLine)
{
    ClientSession t;
    if (!t.connectAndJoin("@op +vo carl abc bob dan erin")) return {};
    core::ChannelMembers *list = &form<frmChan>().Namelist->Members();
    list->Pick(QStringLiteral("erin"));
    const QList<QByteArray> lines = mixedFlood();
    if (lineByLine) {
        for (const QByteArray &l : lines)
            if (!t.feed(l + "\r\n")) return {};
    } else if (!t.feed(lines.join("\r\n") + "\r\n")) {
        return {};
    }
    return {shown(form<frmChan>().Incoming), shown(form<frmOrvelChat>().txtIncoming), list->Items(), t.paneSinceMark(),
            list->Picked()};
}

// Changes a pane and the nick list inside an open batch.
void changeBoth(frmChan &c, const QString &entry)
{
    c.Namelist->Members().Add(entry);
    c.Addtext(entry);
}
} // namespace

class DisplayTest : public QObject
{
    Q_OBJECT
private slots:
    void aBlockShowsWhatItsLinesWouldOneByOne();
    void readsAndWindowsSeeTheFinishedBlock();
    void aResizedPaneKeepsShowingItsNewestLines();
    void longLinesAreCutAndAnsweredQuickly();
    void panesKeepTheirLastLines();
};

void DisplayTest::aBlockShowsWhatItsLinesWouldOneByOne()
{
    const Outcome block = feedFlood(false);
    const Outcome single = feedFlood(true);
    QVERIFY(!block.channel.isEmpty() && !block.names.isEmpty());
    QCOMPARE(block.channel, single.channel);
    QCOMPARE(block.chat, single.chat);
    QCOMPARE(block.server, single.server);
    QCOMPARE(block.names, single.names);
    QCOMPARE(block.selected, single.selected);
    const QString longLine = QStringLiteral("<erin> ") + QString(3 * PaneWriter::MaxLineLength, QLatin1Char('L'));
    QVERIFY(block.channel.join(QString()).contains(longLine.left(PaneWriter::MaxLineLength) + PaneWriter::CutMark +
                                                   QLatin1Char('\n')));
}

void DisplayTest::readsAndWindowsSeeTheFinishedBlock()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    frmChan &c = form<frmChan>();
    int changes = 0;
    QObject::connect(c.Incoming, &RichPane::Change, [&] { ++changes; });
    const int shownRows = c.Namelist->model()->rowCount();
    {
        display::DisplayBatch batch;
        changeBoth(c, QStringLiteral("one"));
        changeBoth(c, QStringLiteral("two"));
        // Held back: the data is current, the view not yet told.
        QCOMPARE(c.Namelist->Members().Count(), shownRows + 2);
        QCOMPARE(c.Namelist->model()->rowCount(), shownRows);
        QCOMPARE(changes, 0);
        // Reading the pane finishes the block: one change for both lines.
        QCOMPARE(LastLine(c.Incoming), QStringLiteral("two"));
        QCOMPARE(changes, 1);
        QCOMPARE(c.Namelist->model()->rowCount(), shownRows + 2);

        // A box asked for, or any window shown, sees everything before it.
        changeBoth(c, QStringLiteral("three"));
        platform::dialogs().MsgBox(QStringLiteral("hello"), AppTitle);
        QCOMPARE(c.Namelist->model()->rowCount(), shownRows + 3);
        QCOMPARE(changes, 2);
        changeBoth(c, QStringLiteral("four"));
        QDialog d;
        d.show();
        QCOMPARE(c.Namelist->model()->rowCount(), shownRows + 4);
        QCOMPARE(changes, 3);
        changeBoth(c, QStringLiteral("five"));
    }
    QCOMPARE(c.Namelist->model()->rowCount(), shownRows + 5);
    QCOMPARE(changes, 4);
    QCOMPARE(c.Incoming->textCursor().position(), c.Incoming->TextLength());
}

void DisplayTest::aResizedPaneKeepsShowingItsNewestLines()
{
    RichPane pane;
    pane.resize(400, 300);
    pane.show();
    for (int i = 0; i < 200; ++i) pane.SetSelTextOnNewLine(QStringLiteral("line ") + QString::number(i));
    QScrollBar *bar = pane.verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());
    pane.resize(400, 120);
    Pump();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    // Scrolled back by the user: the place is kept.
    bar->setValue(10);
    pane.resize(400, 200);
    Pump();
    QCOMPARE(bar->value(), 10);
}

// Four lines of a MiB each in one write, with the received-data view open: the program
// lays out no line longer than the limit, so it answers the PING that follows at once.
void DisplayTest::longLinesAreCutAndAnsweredQuickly()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    t.m->mnuIndataWindow->trigger();
    QByteArray block;
    for (int i = 0; i < 4; ++i) block += ":bob!u@h PRIVMSG #c :" + QByteArray(1 << 20, char('a' + i)) + "\r\n";
    t.srv.send(block + "PING :after\r\n");
    QVERIFY(t.srv.waitForLine("PONG :after", 20000));
    QVERIFY(t.feed(QByteArray()));
    for (const RichPane *pane : {form<frmChan>().Incoming, t.s->Incoming}) {
        for (const QString &line : pane->Text().split(QLatin1Char('\n')))
            QVERIFY(line.size() <= PaneWriter::MaxLineLength + PaneWriter::CutMark.size());
    }
    const QStringList raw = form<frmInData>().Text().split(QLatin1Char('\n'));
    for (const QString &line : raw) QVERIFY(line.size() <= PaneWriter::MaxLineLength + PaneWriter::CutMark.size());
    QVERIFY(raw.contains(QStringLiteral(":bob!u@h PRIVMSG #c :") +
                         QString(PaneWriter::MaxLineLength - 21, QLatin1Char('a')) + PaneWriter::CutMark));
}

void DisplayTest::panesKeepTheirLastLines()
{
    ClientSession t;
    QVERIFY(t.connectAndJoin());
    t.m->mnuIndataWindow->trigger();
    const int total = PaneWriter::MaxLines + PaneWriter::TrimLines / 2;
    QByteArray flood;
    for (int i = 1; i <= total; ++i) flood += ":bob!u@h PRIVMSG #c :n" + QByteArray::number(i) + "\r\n";
    t.srv.send(flood + "PING :end\r\n");
    QVERIFY(t.srv.waitForLine("PONG :end", 60000));
    for (QTextDocument *doc : {form<frmChan>().Incoming->document(), form<frmInData>().txtInData->document()}) {
        QVERIFY(doc->blockCount() <= PaneWriter::MaxLines);
        // Trimmed in one large piece, not line by line at the limit.
        QVERIFY(doc->blockCount() < PaneWriter::MaxLines - PaneWriter::TrimLines / 4);
    }
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("<bob> n") + QString::number(total));
    QVERIFY(form<frmInData>().Text().contains(QStringLiteral(":bob!u@h PRIVMSG #c :n%1\n").arg(total)));

    // Long lines: far fewer of them fill a window's text bound.
    flood.clear();
    const QByteArray text(PaneWriter::MaxLineLength - 100, 'w');
    for (int i = 0; i <= PaneWriter::MaxText / text.size(); ++i) flood += ":bob!u@h PRIVMSG #c :" + text + "\r\n";
    t.srv.send(flood + "PING :long\r\n");
    QVERIFY(t.srv.waitForLine("PONG :long", 60000));
    for (QTextDocument *doc : {form<frmChan>().Incoming->document(), form<frmInData>().txtInData->document()}) {
        QVERIFY(doc->characterCount() <= PaneWriter::MaxText);
        QVERIFY(doc->characterCount() < PaneWriter::MaxText - PaneWriter::TrimText / 4);
    }
    QCOMPARE(LastLine(form<frmChan>().Incoming), QStringLiteral("<bob> ") + QString::fromLatin1(text));
}

QTEST_MAIN(DisplayTest)
#include "test_display.moc"
