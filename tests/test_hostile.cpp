// The client against a hostile or broken server: degenerate, malformed, oversized and
// pseudo-random lines, in every channel state. Whatever arrives, the program must keep
// running and answering, send nothing but whole lines it has a reason to send, show
// received text as text, and hold back no more than its bound.
#include "ClientSession.h"
#include "core/Teletrivia.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTcpSocket>
#include <QTextLayout>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <thread>

namespace {

// ---- watchdog ----
// A client stuck in a loop blocks this thread as well: another thread ends the run with
// the case that hung instead of leaving it to the runner's time-out.
class Watchdog
{
public:
    void start()
    {
        m_stop = false;
        m_thread = std::thread([this] {
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                const qint64 deadline = m_deadline.load();
                if (deadline == 0 || nowMs() < deadline) continue;
                std::lock_guard<std::mutex> g(m_mutex);
                std::fprintf(stderr, "FAIL: the client hung (no progress for %d s) in: %s\n", m_seconds, m_label.c_str());
                std::fflush(stderr);
                std::_Exit(3);
            }
        });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    void arm(const QByteArray &label, int seconds = Patience / 1000 + 5)
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_label = label.toStdString();
        m_seconds = seconds;
        m_deadline = nowMs() + seconds * 1000;
    }
    void disarm() { m_deadline = 0; }

private:
    static qint64 nowMs()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_deadline{0};
    std::mutex m_mutex;
    std::string m_label;
    int m_seconds = 0;
};
Watchdog g_watchdog;

// Bytes as a readable one-line text: controls and high bytes escaped, long runs cut.
QByteArray shown(const QByteArray &b, int max = 120)
{
    QByteArray out;
    for (qsizetype i = 0; i < b.size() && out.size() < max; ++i) {
        const unsigned char c = uchar(b[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') out += char(c);
        else out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    }
    if (out.size() >= max) out += "...(" + QByteArray::number(b.size()) + " bytes)";
    return out;
}

// A byte string with a NUL between two texts.
QByteArray nul(const char *before, const char *after) { return QByteArray(before) + '\0' + QByteArray(after); }

// ---- the wire ----

struct Reply
{
    bool answered = false;  // the sync PING got its PONG
    Lines lines;            // what the client sent, the sync's PONG and NAMES taken off
    QStringList faults;     // bytes that are not whole, clean lines
};

// Sends the bytes, then a line end and a PING of our own, and waits until the client has
// answered that PING (in a channel also with its NAMES), so every byte before it has been
// handled. Every byte the client sent meanwhile is checked for form: UTF-8 lines, each
// ended by one CR LF, with no other CR, LF or NUL.
Reply exchange(ClientSession &c, const QByteArray &bytes, int ms = Patience)
{
    static int count = 0;
    const QByteArray token = "hostile-sync-" + QByteArray::number(++count);
    const QByteArray pongTail = " :" + token + "\r\n";
    g_watchdog.arm("handling " + shown(bytes), ms / 1000 + 5);
    c.srv.send(bytes + "\r\nPING :" + token + "\r\n");
    Reply r;
    r.answered = WaitUntil([&] {
        const QByteArray raw = c.srv.received();
        const qsizetype at = raw.indexOf(pongTail);
        if (at < 0) return false;
        // The PING was the block's last line: the state now is the state it was answered in.
        if (!c.s || session().ChannelState() != core::ChannelState::Joined) return true;
        return raw.indexOf("\r\n", at + pongTail.size()) >= 0;
    }, ms);
    g_watchdog.disarm();
    const QByteArray raw = c.srv.received();
    c.srv.clear();
    if (!raw.isEmpty() && !raw.endsWith("\r\n"))
        r.faults << QStringLiteral("unterminated bytes: ") + QString::fromLatin1(shown(raw.right(60)));
    Lines all = raw.split('\n');
    all.removeLast();  // after the last LF
    for (QByteArray l : all) {
        if (!l.endsWith('\r')) {
            r.faults << QStringLiteral("LF without CR after: ") + QString::fromLatin1(shown(l));
            continue;
        }
        l.chop(1);
        if (l.contains('\r') || l.contains('\0'))
            r.faults << QStringLiteral("CR or NUL inside: ") + QString::fromLatin1(shown(l));
        if (QString::fromUtf8(l).toUtf8() != l) r.faults << QStringLiteral("not UTF-8: ") + QString::fromLatin1(shown(l));
        r.lines.append(l);
    }
    for (qsizetype i = 0; i < r.lines.size(); ++i) {
        if (!(r.lines[i].startsWith("PONG ") && r.lines[i].endsWith(" :" + token))) continue;
        r.lines.removeAt(i);
        if (c.s && session().ChannelState() == core::ChannelState::Joined) {
            if (i < r.lines.size() && r.lines[i] == "NAMES " + session().CurrentChannel().toUtf8()) r.lines.removeAt(i);
            else r.faults << QStringLiteral("no NAMES after the PING in the channel");
        }
        break;
    }
    return r;
}

// The lines a client may send with nobody at the keyboard: the replies it documents.
bool automatic(const QByteArray &l)
{
    const QByteArray chan = session().CurrentChannel().toUtf8();
    if (l.startsWith("PONG")) return true;  // PING, and the ping code of a 513 reply
    if (l == "NAMES " + chan) return true;  // a PING in the channel
    if (l == "NICK abc_") return true;      // the nick taken: the alternative
    if (l == "PART " + chan) return true;   // kicked: the channel window closes and leaves
    static const QRegularExpression notice(QStringLiteral(
        "^NOTICE .* :(I am using \\[Client Version\\]: OrvelIRC 1\\.02 By \\|Pimlo\\| & Wrenna|"
        "OrvelIRC CTCP Time Reply: \\d\\d:\\d\\d:\\d\\d|OrvelIRC is not a DCC compatible IRC client\\.)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString text = QString::fromUtf8(l);
    if (notice.match(text).hasMatch()) return true;
    // Teletrivia's "!stop" answer, naming whoever stopped it.
    if (l.startsWith("NOTICE " + chan + " :\x03" "12<<\x03" "10 ") && l.endsWith("MOMA'S BOY\x03" "10?\x03" "12>>"))
        return true;
    // The clock and teletrivia's lines, all framed the same way.
    if (l.startsWith("PRIVMSG " + chan + " :\x03" "12<<") &&
        (l.endsWith("\x03" "12>>") || l.endsWith("\x03" "12>> --== OrvelIRC 1.02 ==--")))
        return true;
    return false;
}

Lines notAutomatic(const Lines &lines)
{
    Lines out;
    for (const QByteArray &l : lines)
        if (!automatic(l)) out.append(l);
    return out;
}

// Small writes go out at once both ways (no Nagle delay waiting for an ACK): only the
// test's pace changes, not what either side sends.
bool quick(ClientSession &c)
{
    const auto sockets = c.s->Tcp1().findChildren<QTcpSocket *>() + c.srv.findChildren<QTcpSocket *>();
    for (QTcpSocket *s : sockets) s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return sockets.size() >= 2;
}

// ---- the situations ----

struct Situation
{
    int state = 0;          // channel state to be in before every piece of input
    bool chatOpen = false;  // the private chat window open (else closed)
    bool view = false;      // the received-data view on
    bool trivia = false;    // a teletrivia game running
};

double g_draw = 0.37;
double fixedDraw() { return g_draw; }

// Puts the client back into the situation after input that moved it: a rename of the
// server (state 0 only), another nick, a lost channel, a stopped game, the chat window.
bool restore(ClientSession &c, const Situation &want)
{
    if (!c.s) return false;
    if (session().ServerName() != QLatin1String("irc.test")) {
        if (session().ChannelState() != core::ChannelState::None) return false;  // only state 0 takes a new server name
        const Reply r = exchange(c, ":irc.test 001 " + session().Nick().toUtf8() + " :Welcome");
        if (!r.answered || session().ServerName() != QLatin1String("irc.test")) return false;
    }
    if (session().Nick() != QLatin1String("abc")) {
        c.typeServer(QStringLiteral("/NICK abc"));
        c.drain();
        // Registered, the nick is ours once the server echoes the change.
        const Reply r = exchange(c, ":" + session().Nick().toUtf8() + "!u@h NICK :abc");
        if (!r.answered || session().Nick() != QLatin1String("abc")) return false;
    }
    if (want.state == 1 && session().ChannelState() != core::ChannelState::JoinSent) {
        // A join of the channel we are in waits for nothing: the state is taken back first.
        if (session().ChannelState() == core::ChannelState::Joined) session().SetChannelState(core::ChannelState::None);
        c.typeServer(QStringLiteral("/JOIN #c"));
        c.drain();
    }
    if (want.state == 2 && session().ChannelState() != core::ChannelState::Joined && !c.join(QStringLiteral("#c"), "@op +vo carl abc bob")) return false;
    if (want.state == 2 && !form<frmChan>().SubWindow()->isVisible()) form<frmChan>().ShowForm();
    if (want.chatOpen && !loaded<frmOrvelChat>()) c.m->mnuShowQueryWindow->trigger();
    if (!want.chatOpen) {
        if (frmOrvelChat *w = loaded<frmOrvelChat>()) w->Unload();
        Pump();
    }
    if (want.view && !c.m->mnuIndataWindow->isChecked()) c.m->mnuIndataWindow->trigger();
    if (want.trivia && !session().Game().Timer().Enabled()) {
        c.m->mnuStartTeleTrivia_Click();
        c.drain();
    }
    return session().ChannelState() == core::ChannelState(want.state) && (loaded<frmOrvelChat>() != nullptr) == want.chatOpen &&
           c.m->mnuIndataWindow->isChecked() == want.view && session().Game().Timer().Enabled() == want.trivia;
}

void addSituations()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("chatOpen");
    QTest::addColumn<bool>("view");
    QTest::addColumn<bool>("trivia");
    QTest::newRow("no channel, chat closed") << 0 << false << false << false;
    QTest::newRow("no channel, chat open, view on") << 0 << true << true << false;
    QTest::newRow("join pending, chat closed") << 1 << false << false << false;
    QTest::newRow("join pending, chat open, view on") << 1 << true << true << false;
    QTest::newRow("joined, chat closed") << 2 << false << false << false;
    QTest::newRow("joined, chat open, view on") << 2 << true << true << false;
    QTest::newRow("joined, teletrivia, chat closed, view on") << 2 << false << true << true;
}

Situation fetchSituation()
{
    QFETCH(int, state);
    QFETCH(bool, chatOpen);
    QFETCH(bool, view);
    QFETCH(bool, trivia);
    return {state, chatOpen, view, trivia};
}

// After every piece of input: still there, still answering, in a state it knows, with
// only a bounded remainder held and only documented lines sent.
#define CHECK_AFTER(c, r, input)                                                                         \
    do {                                                                                                 \
        QVERIFY2((c).s, "the server window is gone");                                                    \
        QVERIFY2((r).answered, QByteArray("no answer to the PING (server name now \"" +                  \
                                          shown(session().ServerName().toUtf8()) + "\") after: " +          \
                                          shown(input, 4000)).constData());                              \
        QVERIFY2((r).faults.isEmpty(), qPrintable((r).faults.join(QLatin1String("; ")) +                 \
                                                  QStringLiteral(" after: ") +                           \
                                                  QString::fromLatin1(shown(input))));                   \
        const Lines odd_ = notAutomatic((r).lines);                                                      \
        QVERIFY2(odd_.isEmpty(),                                                                         \
                 QByteArray("sent unprompted: " + shown(odd_.value(0)) + " after: " + shown(input)).constData()); \
        QVERIFY(session().Framing().Held().size() <= core::ReceivedLines::MaxHeld);                         \
    } while (false)

// ---- hand-written input ----

const QList<QByteArray> kDegenerate = {
    // Nothing but separators and control characters.
    "", " ", "   ", ":", "::", ":::::::::::::", "!", "!!!!!!!!", "\x01", "\x01\x01\x01\x01", "\x03", "\x03\x03\x03\x03\x03",
    ": : :", "! ! !", ":!", ":! ", ":!:!:!", "\x01 \x01 \x01", "\x03 \x03", ":\x01!\x03 \x03 :\x01", "\x01\x03:!", " :",
    " !", ":\x03" "12", "\t", "\x7f\x7f",
    // Prefixes without "!", and empty nicks.
    ":bob PRIVMSG #c :hi", ":bob PRIVMSG abc :hi", ":bob PRIVMSG #c :\x01" "ACTION waves\x01", ":bob PRIVMSG #c :\x03" "4red",
    ":!u@h PRIVMSG #c :hi", ":!u@h PRIVMSG abc :hi", ":!u@h PRIVMSG abc :\x01VERSION\x01", ":!u@h PRIVMSG abc :\x01TIME\x01",
    ":!u@h PRIVMSG abc :\x01PAGE\x01", ":!u@h PRIVMSG abc :\x01" "DCC SEND f 1 2 3\x01", ":!u@h PRIVMSG abc :\x01" "DCC CHAT c 1 2\x01",
    ":! PRIVMSG", ": PRIVMSG", "PRIVMSG", " PRIVMSG", "x PRIVMSG ", "x PRIVMSG abc", "x PRIVMSG abc :", ":abc!u@h PRIVMSG abc :\x01VERSION\x01",
    ":abc PRIVMSG #c :mine", ":abcd!u@h PRIVMSG #c :longer nick",
    // 0x01 in odd places.
    ":x!u PRIVMSG abc :\x01", ":x!u PRIVMSG #c :\x01", ":x!u PRIVMSG #c :\x01\x01", ":x!u PRIVMSG #c :\x01" "ACTION\x01",
    ":x!u PRIVMSG #c :\x01" "ACTION", ":x!u PRIVMSG #c ::\x01", ":x!u PRIVMSG #c :a\x01VERSION\x01" "b", ":x!u PRIVMSG abc :\x01VERSION",
    ":x!u PRIVMSG abc :VERSION\x01", ":x!u PRIVMSG abc :\x01\x01VERSION\x01\x01", ":x!u PRIVMSG abc :\x01VERSION\x01\x01TIME\x01",
    ":x!u PRIVMSG abc :\x01PAGE\x01\x01PAGE\x01", ":x\x01!u PRIVMSG abc :\x01TIME\x01", ":\x01!\x01 PRIVMSG \x01 :\x01",
    ":x!u PRIVMSG abc :\xe2\x80\xa1WAKEUP\xe2\x80\xa1", ":x!u PRIVMSG abc :\x87WAKEUP\x87",
    // CR and LF inside CTCP requests (kept inside the line when a CR LF follows).
    ":x!u PRIVMSG abc :\x01VER\rSION\x01", ":x!u PRIVMSG abc :\x01VERSION\x01\rQUIT :x", ":x!u PRIVMSG abc :\x01TIME\nJOIN #y\x01",
    ":x!u PRIVMSG #c :\x01" "ACTION a\rb\x01", ":x!u PRIVMSG abc :\x01" "DCC SEND a\nb 1 2 3\x01", ":x!u PRIVMSG abc :\x01PAGE\x01\n",
    ":x\r!u PRIVMSG abc :\x01VERSION\x01", ":x\n!u PRIVMSG abc :\x01" "DCC CHAT c 1 2\x01",
    // Colour codes alone.
    ":x!u PRIVMSG #c :\x03", ":x!u PRIVMSG #c :\x03\x03\x03", ":x!u PRIVMSG #c :\x03" "1", ":x!u PRIVMSG #c :\x03" "99,99",
    ":x!u PRIVMSG #c :\x03" "13", ":x\x03" "4!u PRIVMSG #c :text", ":x PRIVMSG #c :\x03" "10",
    // Commands with parts missing.
    "KICK", "KICK ", "KICK #c", "KICK #c ", "KICK #c abc", ":op!o@h KICK", ":op!o@h KICK #c", ":op!o@h KICK #c ",
    ":op!o@h KICK #c :", ":op!o@h KICK #c bob", ":op!o@h KICK  abc :x", ":op!o@h KICK #c :abc",
    "MODE", "MODE #c", "MODE #c +o", "MODE #c -o", "MODE #c +v", "MODE #c -v", "MODE #c +b", "MODE #c -b", ":op!o@h MODE #c +o",
    ":op!o@h MODE #c +o ", ":op!o@h MODE #c -o ", ":op!o@h MODE #c +v  ", ":op!o@h MODE #c -b x", ":abc MODE abc", ":abc MODE",
    ":abc", ":abc ", ":abc MODE abc :", ":abc!u@h MODE #c +o",
    "NICK :", "NICK", ":x!u NICK :", ":x!u NICK", ":!u NICK :", ":x!u NICK :x",
    "QUIT :", "QUIT", ":x!u QUIT :", ":x!u QUIT", ":!u QUIT :",
    "PART ", "PART", "PART #c", "PART #c :", ":x!u PART #c", ":x!u PART", ":!u PART #c :bye",
    "JOIN", "JOIN :", "JOIN :#c", ":x!u JOIN", ":x!u JOIN :", ":x!u JOIN :#c", ":!u JOIN :#c",
    "TOPIC", "TOPIC #c :", ":x!u TOPIC #c :", ":x!u TOPIC #c",
    // Numerics with fields missing.
    ":irc.test 001", ":irc.test 001 ", ": 001", " 001", ":irc.test 311", ":irc.test 311 abc", ":irc.test 311 abc bob",
    ":irc.test 318", ":irc.test 318 abc :", ":irc.test 319", ":irc.test 319 abc bob :", ":irc.test 312", ":irc.test 312 abc",
    ":irc.test 332", ":irc.test 332 abc", ":irc.test 332 abc #c", ":irc.test 332 abc #c :", ":irc.test 353", ":irc.test 353 abc",
    ":irc.test 353 abc = #c", ":irc.test 353 abc = #c :", ":irc.test 353 abc = #c : ", ":irc.test 353 abc = #c :  @ + ",
    ":irc.test 366", ":irc.test 366 abc", ":irc.test 433", ":irc.test 433 *", ":irc.test 433 * ", ":irc.test 433 * abc",
    ":irc.test 513", ":irc.test 513 abc", ":irc.test 513 abc :PONG", ":irc.test 513 abc :/QUOTE PONG :123",
    // PING without a token, or barely one.
    "PING :", "PING", "PING ", "PING ::", "PING :\x01", "PING : ",
    // ERROR lines.
    "ERROR", "ERROR :", "ERROR (", "ERROR )(", "ERROR :Closing Link:", "ERROR :Closing Link: (", "ERROR :Closing Link: )",
    "ERROR :Closing Link: abc (", "ERROR :Closing Link: abc )x(", "ERROR :Closing Link: abc[host] (Quit: bye)",
    // NUL bytes and bytes that are not UTF-8.
    nul(":x!u PRIVMSG #c :a", "b"), nul(":x", "y!u PRIVMSG abc :\x01VERSION\x01"), nul("", ""), nul("PING :", ""),
    nul(":irc.test 353 abc = #c :a", "b c"), ":x!u PRIVMSG #c :\xff\xfe\xfd",
    ":x!u PRIVMSG #c :\xc3", ":x!u PRIVMSG #c :\xe2\x82", ":x!u PRIVMSG #c :\xed\xa0\x80", ":x!u PRIVMSG #c :\xf4\x90\x80\x80",
    ":\xc3\xa9!u PRIVMSG abc :\x01TIME\x01", ":\xff!u PRIVMSG abc :\x01VERSION\x01", ":x!u PRIVMSG #c :\xef\xb7\x90\xef\xb7\x91",
};

} // namespace

class HostileTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        g_watchdog.start();
        trivia::Draw = &fixedDraw;
    }
    void cleanupTestCase()
    {
        trivia::Draw = &trivia::TimeSeededDraw;
        g_watchdog.stop();
    }

    void degenerateLines_data() { addSituations(); }
    void degenerateLines();
    void randomLines_data() { addSituations(); }
    void randomLines();
    void pingAndPingCodesWithPartsMissing();
    void paneTextIsLiteral();
    void lineEndsInsideRepliesNeverReachTheWire();
    void forgedNickInUseAndTheNickLoop();
    void closingLinkVariants_data() { addSituations(); }
    void closingLinkVariants();
    void hugeLinesAndTheHeldRemainder();
    void receivedViewGrowsWithTheDataOnly();
    void bigNamesListAndAFlood();
};

// Every degenerate line, alone, in every situation.
void HostileTest::degenerateLines()
{
    const Situation want = fetchSituation();
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    QVERIFY(restore(c, want));
    for (const QByteArray &line : kDegenerate) {
        for (const QByteArray &end : {QByteArray("\r\n"), QByteArray("\n")}) {
            const QByteArray input = line + end;
            const Reply r = exchange(c, input);
            CHECK_AFTER(c, r, input);
            QVERIFY2(restore(c, want), QByteArray("could not return to the situation after: " + shown(input)).constData());
        }
    }
}

namespace {
// A deterministic stream of IRC-ish lines: fragments of real lines and their missing
// parts, glued at random, with a few raw bytes and odd line ends.
class LineMaker
{
public:
    explicit LineMaker(quint32 seed) : m_gen(seed) {}

    QByteArray line()
    {
        // One draw per statement: the order of the draws must not depend on the compiler.
        if (pick(12) == 0) return whole();
        QByteArray l = one(kPrefixes);
        l += one(kCommands);
        const int parts = pick(4);
        for (int i = 0; i < parts; ++i) {
            l += one(kGlue);
            l += param();
        }
        return l;
    }
    QByteArray end()
    {
        const int r = pick(20);
        return r < 14 ? QByteArray("\r\n") : r < 17 ? QByteArray("\n") : r < 19 ? QByteArray("\r") : QByteArray("\r\n\r\n");
    }

private:
    int pick(int n) { return int(m_gen() % quint32(n)); }
    QByteArray one(const QList<QByteArray> &from) { return from[pick(int(from.size()))]; }
    QByteArray param()
    {
        switch (pick(10)) {
        case 0: return raw(1 + pick(12));
        case 1: {
            const int n = 1 + pick(300);
            return QByteArray(n, "x:! \x01\x03"[pick(6)]);
        }
        case 2: return ":" + session().Game().Answer().toUtf8();
        default: return one(kParams);
        }
    }
    // Any bytes, now and then a line end among them.
    QByteArray raw(int n)
    {
        QByteArray b;
        for (int i = 0; i < n; ++i) b += char(pick(256));
        return b;
    }
    QByteArray whole() { return one(kWhole); }

    std::mt19937 m_gen;
    const QList<QByteArray> kPrefixes = {"", ":", ":bob!u@h ", ":irc.test ", ":abc!me@h ", ":abc ", ":!u@h ", ":bob ", ":bob!",
                                         "::", ":\x01!\x03 ", ":evil!e@h ", ":127.0.0.1 ", ":op!o@h ", ":carl!c@h ", ":vo!v@h ",
                                         ":x y!u ", ":irc.test", ":abc_!u@h "};
    const QList<QByteArray> kCommands = {"PRIVMSG", "PRIVMSG", "PRIVMSG", "NOTICE", "JOIN", "PART", "QUIT", "KICK", "MODE", "NICK",
                                         "TOPIC", "PING", "ERROR", "001", "311", "312", "318", "319", "332", "353", "366", "433",
                                         "513", "", "PRIVMSG\x01", "privmsg", " PRIVMSG"};
    const QList<QByteArray> kGlue = {" ", " ", " ", "", "  "};
    const QList<QByteArray> kParams = {
        "#c", "abc", "ABC", "#other", "*", "", "abc_", "=", "* abc", "abc = #c", "#c abc", "#c +o", "#c -o", "#c +v bob", "#c -v",
        "#c +b", "#c -b *!*@*", "#c +o carl ", ":", ":hi", ":\x01VERSION\x01", ":\x01version\x01", ":\x01TIME\x01", ":\x01PAGE\x01",
        ":\xe2\x80\xa1WAKEUP\xe2\x80\xa1", ":\x87WAKEUP\x87", ":\x01" "DCC SEND f 1 2 3\x01", ":\x01" "DCC CHAT chat 1 2\x01",
        ":\x01" "ACTION waves\x01", ":\x01", ":\x01\x01", ":\x03", ":\x03" "04,8x", ":\x03" "13pink", ":\x03" "12", ":!time",
        ":!stop", ":!directions", ":!STOP", ":Closing Link: abc (bye)", ":Nickname is already in use.", ":@op +vo carl",
        ": ", "(", ")", "QUIT :", "NICK :", "NICK :newnick", "JOIN :#c", "PART #c", "KICK #c abc :", "KICK #c carl :out",
        "MODE #c +o ", "TOPIC #c :new topic", "<b>bold</b>", "&amp;", "\xff\xfe", "\xc3", "\xe2\x80\xa9", "\xef\xb7\x90",
        QByteArray("a\0b", 3), "PRIVMSG abc :\x01VERSION\x01", "!", "!!", "::", ":abc", "abc!u@h", "\t"};
    const QList<QByteArray> kWhole = {
        "", " ", "PING :", "PING :x", "PING", "ERROR :Closing Link:", "ERROR :Closing Link: abc (x)", "ERROR (",
        "* abc :Nickname is already in use.", ":irc.test 433 * abc :Nickname is already in use.", ":irc.test 433 * abc_ :x",
        ":::::", "!!!!", "\x01\x01", "\x03\x03\x03", ":irc.test 513 abc :To connect type /QUOTE PONG 123",
        ":irc.test 353 abc = #c :a b  c ", ":irc.test 366 abc #c :End", ":irc.test 332 abc #c :topic: with colons",
        ":irc.test 311 abc bob u h * :Real", ":irc.test 318 abc bob :End", ":op!o@h KICK #c abc :bye", "KICK #c abc"};
};
} // namespace

// Pseudo-random lines from a fixed seed, in batches, in every situation.
void HostileTest::randomLines()
{
    const Situation want = fetchSituation();
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    QVERIFY(restore(c, want));
    LineMaker make(20240601u + quint32(want.state * 7 + want.chatOpen * 3 + want.view * 5 + want.trivia * 11));
    constexpr int kLines = 500, kBatch = 25;
    for (int done = 0; done < kLines; done += kBatch) {
        QByteArray batch;
        for (int i = 0; i < kBatch; ++i) {
            batch += make.line();
            batch += make.end();
        }
        const Reply r = exchange(c, batch);
        CHECK_AFTER(c, r, batch);
        if (want.trivia && session().Game().Timer().Enabled()) {
            // A tick of the game between batches: questions, reveals and answers mix in.
            g_draw = double((done / kBatch) % 100) / 100.0 + 0.001;
            session().Game().Timer().fire();
            const Reply t = exchange(c, QByteArray());
            CHECK_AFTER(c, t, QByteArray("(teletrivia tick)"));
        }
        QVERIFY2(restore(c, want), QByteArray("could not return to the situation after: " + shown(batch)).constData());
    }
}

// PING and the 513 ping code with parts missing: the replies, byte for byte.
void HostileTest::pingAndPingCodesWithPartsMissing()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    // The token goes back alone, with or without its ":"; without one, the server's name.
    QCOMPARE(exchange(c, "PING :").lines, Lines({"PONG irc.test"}));
    QCOMPARE(exchange(c, "PING ::").lines, Lines({"PONG ::"}));
    QCOMPARE(exchange(c, "PING").lines, Lines({"PONG irc.test"}));
    QCOMPARE(exchange(c, "PING x").lines, Lines({"PONG :x"}));
    QCOMPARE(exchange(c, ":irc.test PING :x").lines, Lines({"PONG :x"}));
    QCOMPARE(exchange(c, ":bob!u@h PING :x").lines, Lines());
    QCOMPARE(exchange(c, ":irc.test 513").lines, Lines());
    QCOMPARE(exchange(c, ":irc.test 513 abc :PONG").lines, Lines({"PONG"}));
    QCOMPARE(exchange(c, ":irc.test 513 abc :To connect type /QUOTE PONG 123").lines, Lines({"PONG 123"}));
    QCOMPARE(exchange(c, ":elsewhere 513 abc :/QUOTE PONG 9").lines, Lines());
    // Quoted by someone, the ping code is just text.
    QCOMPARE(exchange(c, ":evil!e@h NOTICE abc ::irc.test 513 abc :PONG :x QUIT :x").lines, Lines());
    QVERIFY(c.join(QStringLiteral("#c"), "@op abc"));
    QCOMPARE(exchange(c, "PING :").lines, Lines({"PONG irc.test", "NAMES #c"}));
    QCOMPARE(exchange(c, ":irc.test 513 abc :PONG 1").lines, Lines());
}

// Markup, entities and characters that a text view could take as structure are shown as
// the characters received, in every pane and caption they reach.
void HostileTest::paneTextIsLiteral()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    c.m->mnuIndataWindow->trigger();
    const QByteArray markup = "<b>bold</b> &amp; <a href=\"x\">link</a> <img src=x> {\\rtf1 \\b x} [*] %1";
    const QString markupText = QString::fromUtf8(markup);

    // Server text in state 0.
    QVERIFY(exchange(c, ":irc.test NOTICE abc :" + markup).answered);
    QVERIFY(PaneHasLine(c.s->Incoming, markupText));
    QVERIFY(form<frmInData>().Text().contains(QStringLiteral(":irc.test NOTICE abc :") + markupText));

    // Topic, names and channel text while joining and joined.
    QVERIFY(c.join(QStringLiteral("#c"), "@op <i>n</i> &lt;x&gt; abc"));
    frmChan &ch = form<frmChan>();
    QVERIFY(ch.Namelist->Members().Items().contains(QStringLiteral("<i>n</i>")));
    QVERIFY(ch.Namelist->Members().Items().contains(QStringLiteral("&lt;x&gt;")));
    QVERIFY(exchange(c, ":op!o@h TOPIC #c :" + markup).answered);
    QCOMPARE(ch.Caption(), QStringLiteral("#c: ") + markupText);

    QVERIFY(exchange(c, ":bob!u@h PRIVMSG #c :" + markup).answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> ") + markupText);
    QCOMPARE(LastColour(ch.Incoming), PaletteColour(0));
    QVERIFY(exchange(c, ":bob!u@h PRIVMSG #c :\x01" "ACTION " + markup + "\x01").answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("* bob ") + markupText);
    QVERIFY(exchange(c, ":bob!u@h PRIVMSG #c :\x03" "4" + markup).answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> ") + markupText);
    QCOMPARE(LastColour(ch.Incoming), PaletteColour(12));
    QVERIFY(exchange(c, ":<b>x</b>!u@h JOIN :#c").answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("\x01 <b>x</b> has joined #c"));

    // A private message: the pane, the label and the partner box.
    QVERIFY(exchange(c, ":<b>pal</b>!u@h PRIVMSG abc :" + markup).answered);
    frmOrvelChat *chat = loaded<frmOrvelChat>();
    QVERIFY(chat);
    QCOMPARE(LastLine(chat->txtIncoming), QStringLiteral("<<b>pal</b>> ") + markupText);
    QCOMPARE(chat->Label1->text(), QStringLiteral("Private Chat with <b>pal</b>"));
    QCOMPARE(chat->Label1->textFormat(), Qt::PlainText);
    QCOMPARE(chat->txtUser->text(), QStringLiteral("<b>pal</b>"));

    // Bytes that are not UTF-8 show as the single bytes they are; NUL stays a character.
    QVERIFY(exchange(c, ":bob!u@h PRIVMSG #c :\xe9t\xe9 caf\xc3\xa9 \xff\xfe \xc3( \x80").answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> été café ÿþ Ã( €"));
    QVERIFY(exchange(c, nul(":bob!u@h PRIVMSG #c :a", "b")).answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> a") + QChar(0) + QStringLiteral("b"));

    // Characters that a text document takes as a paragraph or line break never split a
    // received line: one line in, one line shown, the character replaced.
    struct Breaker { const char *utf8; const char *name; };
    const Breaker breakers[] = {{"\xe2\x80\xa8", "U+2028"}, {"\xe2\x80\xa9", "U+2029"}, {"\xef\xb7\x90", "U+FDD0"},
                                {"\xef\xb7\x91", "U+FDD1"}};
    for (const Breaker &b : breakers) {
        const QByteArray fake = QByteArray("one") + b.utf8 + "\x01 carl has joined #c";
        for (RichPane *pane : {ch.Incoming, chat->txtIncoming}) {
            const int blocks = pane->document()->blockCount();
            const QByteArray target = pane == ch.Incoming ? "#c" : "abc";
            QVERIFY(exchange(c, ":bob!u@h PRIVMSG " + target + " :" + fake).answered);
            QVERIFY2(pane->document()->blockCount() == blocks + 1, b.name);
            const QTextBlock last = pane->document()->lastBlock();
            pane->document()->documentLayout()->blockBoundingRect(last);  // lays the block out
            QVERIFY2(last.layout()->lineCount() == 1, b.name);
            QCOMPARE(last.text(), QStringLiteral("<bob> one") + QChar(0xFFFD) + QStringLiteral("\x01 carl has joined #c"));
        }
        QVERIFY2(form<frmInData>().Text().contains(QStringLiteral("one") + QChar(0xFFFD) + QStringLiteral("\x01 carl")), b.name);
    }
    QVERIFY(c.sent().isEmpty());
}

// CR, LF and NUL that a hostile server puts inside a line (the splitter keeps a lone CR
// or LF that stands before the block's first CR LF) never reach the wire as line ends:
// an automatic reply that would be cut short is not sent at all.
void HostileTest::lineEndsInsideRepliesNeverReachTheWire()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    const QByteArray version = " :I am using [Client Version]: OrvelIRC 1.02 By |Pimlo| & Wrenna";
    const QByteArray dcc = " :OrvelIRC is not a DCC compatible IRC client.";

    // The reference: ordinary senders get their reply.
    Reply r = exchange(c, ":x!u PRIVMSG abc :\x01VERSION\x01\r\n:y!u PRIVMSG abc :\x01TIME\x01");
    QVERIFY(r.answered && r.faults.isEmpty());
    QCOMPARE(r.lines.size(), 2);
    QCOMPARE(r.lines[0], "NOTICE x" + version);
    QVERIFY(r.lines[1].startsWith("NOTICE y :OrvelIRC CTCP Time Reply: "));

    // Senders holding a CR, an LF or a NUL.
    const QList<QByteArray> senders = {"x\rQUIT :pwned", "x\nJOIN #evil", nul("x", "PRIVMSG #c :spam")};
    for (const QByteArray &who : senders) {
        for (const QByteArray &request : {QByteArray("\x01VERSION\x01"), QByteArray("\x01TIME\x01")}) {
            const QByteArray input = ":" + who + "!u@h PRIVMSG abc :" + request;
            r = exchange(c, input);
            QVERIFY2(r.answered && r.faults.isEmpty(), shown(input).constData());
            QVERIFY2(r.lines.isEmpty(), QByteArray("sent " + shown(r.lines.value(0)) + " for " + shown(input)).constData());
        }
    }

    // Joined: DCC refusals, and the teletrivia lines that name the player.
    QVERIFY(c.join(QStringLiteral("#c"), "@op abc bob"));
    for (const QByteArray &who : senders) {
        for (const QByteArray &offer : {QByteArray("\x01" "DCC SEND f 1 2 3\x01"), QByteArray("\x01" "DCC CHAT c 1 2\x01")}) {
            const QByteArray input = ":" + who + "!u@h PRIVMSG abc :" + offer;
            r = exchange(c, input);
            QVERIFY2(r.answered && r.faults.isEmpty(), shown(input).constData());
            QVERIFY2(r.lines.isEmpty(), QByteArray("sent " + shown(r.lines.value(0)) + " for " + shown(input)).constData());
        }
    }
    r = exchange(c, ":bob!u@h PRIVMSG abc :\x01" "DCC SEND f 1 2 3\x01");
    QCOMPARE(r.lines, Lines({"NOTICE bob" + dcc}));

    c.m->mnuStartTeleTrivia_Click();
    c.drain();
    g_draw = 0.0;
    session().Game().Timer().fire();  // asks: the answer is now set
    c.drain();
    const QByteArray answer = session().Game().Answer().toUtf8();
    QVERIFY(!answer.isEmpty());
    // A winner whose nick holds a line end: the round is won, nothing cut is sent.
    const QByteArray crookedWinner = ":bo\rPRIVMSG\x01#c\x01:b!u@h PRIVMSG #c :" + answer;
    r = exchange(c, crookedWinner);
    QVERIFY(r.answered && r.faults.isEmpty());
    QVERIFY2(r.lines.isEmpty(), QByteArray("sent " + shown(r.lines.value(0))).constData());
    QCOMPARE(session().Game().Answer(), trivia::AnsweredMarker);
    // "!stop" from such a nick stops the game; the cut notice is not sent.
    r = exchange(c, ":bo\nNOTICE\x01#c\x01:b!u@h PRIVMSG #c :!stop");
    QVERIFY(r.answered && r.faults.isEmpty());
    QVERIFY2(r.lines.isEmpty(), QByteArray("sent " + shown(r.lines.value(0))).constData());
    QVERIFY(!session().Game().Timer().Enabled());
    // An ordinary player still gets the whole notice.
    c.m->mnuStartTeleTrivia_Click();
    c.drain();
    r = exchange(c, ":bob!u@h PRIVMSG #c :!stop");
    QCOMPARE(r.lines.size(), 1);
    QVERIFY(r.lines[0].startsWith("NOTICE #c :\x03" "12<<\x03" "10 bob, you stoped teletrivia."));
}

// A nick-in-use reply is the server's 433: text quoting it in a message changes nothing.
// A server that refuses every nick gets one alternative, not a loop.
void HostileTest::forgedNickInUseAndTheNickLoop()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    QVERIFY(c.join(QStringLiteral("#c"), "@op abc evil"));
    const QList<QByteArray> forged = {
        ":evil!e@h PRIVMSG #c :* abc :Nickname is already in use.",
        ":evil!e@h NOTICE abc :* abc :Nickname is already in use.",
        ":evil!e@h PRIVMSG abc :* abc :Nickname is already in use.",
        ":evil!e@h QUIT :* abc :Nickname is already in use.",
        ":evil!e@h PART #c :* abc :Nickname is already in use.",
    };
    const QString caption = c.s->Caption();
    for (const QByteArray &line : forged) {
        const Reply r = exchange(c, line);
        QVERIFY(r.answered && r.faults.isEmpty());
        QVERIFY2(r.lines.isEmpty(), QByteArray("sent " + shown(r.lines.value(0)) + " for " + shown(line)).constData());
        QCOMPARE(session().Nick(), QStringLiteral("abc"));
    }
    QCOMPARE(c.s->Caption(), caption);

    // The server's own reply, in its literal wording, switches once; the same reply for
    // every later nick, a thousand times in one block, sends nothing more.
    Reply r = exchange(c, ":irc.test 433 * abc :Nickname is already in use.");
    QCOMPARE(r.lines, Lines({"NICK abc_"}));
    QCOMPARE(session().Nick(), QStringLiteral("abc_"));
    QByteArray loop;
    for (int i = 0; i < 1000; ++i)
        loop += ":irc.test 433 * abc_ :Nickname is already in use.\r\n:irc.test 433 * abc :Nickname is already in use.\r\n";
    r = exchange(c, loop);
    QVERIFY(r.answered && r.faults.isEmpty());
    QCOMPARE(r.lines, Lines());
    QCOMPARE(session().Nick(), QStringLiteral("abc_"));
}

// "ERROR :Closing Link:" however it is worded leaves no channel, shows its reason and
// sends nothing; the client goes on answering.
void HostileTest::closingLinkVariants()
{
    const Situation want = fetchSituation();
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    const QList<QPair<QByteArray, QString>> variants = {
        {"ERROR :Closing Link:", QString()},
        {"ERROR :Closing Link: abc[host] (Quit: bye)", QStringLiteral("Quit: bye")},
        {"ERROR :Closing Link: abc (", QString()},
        {"ERROR :Closing Link: abc )(", QString()},
        {"ERROR :Closing Link: abc (a (b) c)", QStringLiteral("a (b) c")},
        {"ERROR :Closing Link: abc[host] Killed", QStringLiteral("abc[host] Killed")},
        {"ERROR :Closing Link: (<b>x</b>)", QStringLiteral("<b>x</b>")},
        {"ERROR :Closing Link:\x01\x03:!", QStringLiteral("\x01:!")},
    };
    for (const auto &[line, reason] : variants) {
        QVERIFY(restore(c, want));
        c.mark();
        const Reply r = exchange(c, line);
        CHECK_AFTER(c, r, line);
        QCOMPARE(r.lines, Lines());
        QCOMPARE(session().ChannelState(), core::ChannelState::None);
        QVERIFY2(c.paneSinceMark().contains(QStringLiteral("\n\x01 Quit IRC (") + reason + QLatin1Char(')')),
                 line.constData());
        if (want.state == 2) QVERIFY(!form<frmChan>().SubWindow()->isVisible());
    }
}

// A 100 KB line, a remainder that never ends, and the rest of a line that was dropped.
void HostileTest::hugeLinesAndTheHeldRemainder()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    QVERIFY(c.join(QStringLiteral("#c"), "@op abc bob"));
    frmChan &ch = form<frmChan>();

    // A complete 100 KB message is handled whole or dropped whole, never in pieces.
    const QByteArray big(100 * 1024, 'z');
    c.mark();
    const int blocks = ch.Incoming->document()->blockCount();
    Reply r = exchange(c, ":bob!u@h PRIVMSG #c :" + big + "END");
    CHECK_AFTER(c, r, QByteArray("(100 KB message)"));
    const QString dropped = QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped");
    if (c.paneSinceMark().contains(dropped)) {
        QCOMPARE(ch.Incoming->document()->blockCount(), blocks);
    } else {
        QCOMPARE(ch.Incoming->document()->blockCount(), blocks + 1);
        // Shown cut at the line limit, marked as cut.
        const QString shown = QStringLiteral("<bob> ") + QString::fromLatin1(big);
        QCOMPARE(LastLine(ch.Incoming), shown.left(PaneWriter::MaxLineLength) + PaneWriter::CutMark);
    }

    // What follows an overlong line up to its line end is still that line: not a PING.
    c.mark();
    g_watchdog.arm("an overlong line and its rest");
    c.srv.send(QByteArray(60000, 'q'));
    QVERIFY(WaitUntil([&] { return session().Framing().Held().size() == 60000; }));
    c.srv.send(QByteArray(10000, 'q'));
    QVERIFY(WaitUntil([&] { return c.paneSinceMark().contains(dropped) && session().Framing().Held().isEmpty(); }));
    g_watchdog.disarm();
    // Its line end comes split, the CR ending one block and the LF heading the next: one
    // line end, and the next line is whole again.
    c.srv.send("PING :tail\r");
    QVERIFY(WaitUntil([&] { return !session().Framing().Dropping(); }));
    r = exchange(c, "\nPING :after");
    CHECK_AFTER(c, r, QByteArray("(rest of an overlong line)"));
    QCOMPARE(r.lines, Lines({"PONG :after", "NAMES #c"}));

    // 200 KB without a line end in one write, then more in pieces: the held text stays
    // within its bound all along, and the next line end starts afresh.
    g_watchdog.arm("200 KB without a line end");
    c.srv.send(QByteArray(200 * 1024, 'q'));
    for (int i = 0; i < 20; ++i) {
        c.srv.send(QByteArray(8 * 1024, 'w'));
        Pump();
        QVERIFY(session().Framing().Held().size() <= core::ReceivedLines::MaxHeld);
    }
    g_watchdog.disarm();
    r = exchange(c, "\r\nPING :fresh");
    CHECK_AFTER(c, r, QByteArray("(after 360 KB without a line end)"));
    QCOMPARE(r.lines, Lines({"PONG :fresh", "NAMES #c"}));

    // Complete lines before an overlong rest are handled; the rest is dropped only up to
    // its own line end.
    c.srv.send("PING :a\r\n" + QByteArray(70 * 1024, 'v'));
    QVERIFY(c.srv.waitForLine("NAMES #c"));
    c.srv.clear();
    r = exchange(c, "vvv\r\nPING :next");
    QCOMPARE(r.lines, Lines({"PONG :next", "NAMES #c"}));
    QCOMPARE(session().Framing().Held(), QString());
}

// With the received-data view on, data that arrives in many small pieces without a line
// end adds to the view about what it brings, not the whole held text again each time.
void HostileTest::receivedViewGrowsWithTheDataOnly()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    c.m->mnuIndataWindow->trigger();
    frmInData &view = form<frmInData>();
    const qsizetype before = view.Text().size();
    qsizetype bytes = 0;
    int arrivals = 0;
    g_watchdog.arm("dribbled data with the view on");
    const QByteArray head(60000, 'd');
    c.srv.send(head);
    bytes += head.size();
    ++arrivals;
    QVERIFY(WaitUntil([&] { return session().Framing().Held().size() == head.size(); }));
    for (int i = 0; i < 60; ++i) {
        c.srv.send("e");
        ++bytes;
        ++arrivals;
        QVERIFY(WaitUntil([&] { return session().Framing().Held().size() == head.size() + i + 1; }));
    }
    g_watchdog.disarm();
    const Reply r = exchange(c, QByteArray());
    QVERIFY(r.answered);
    const qsizetype grown = view.Text().size() - before;
    // Every byte at most twice (as it came, and again at the head of the text that ends
    // it), plus a line break per arrival and the sync.
    QVERIFY2(grown <= 2 * bytes + 2 * arrivals + 64,
             qPrintable(QStringLiteral("view grew by %1 for %2 bytes").arg(grown).arg(bytes)));
    // The remainder is still shown again where it ends, cut at the line limit like the first
    // piece: two cut lines.
    QCOMPARE(view.Text().count(QString(PaneWriter::MaxLineLength, QLatin1Char('d')) + PaneWriter::CutMark + QLatin1Char('\n')), 2);
}

// A names reply of ten thousand names, then 20000 mixed lines in one write, with the
// game running, the chat window open and the view on.
void HostileTest::bigNamesListAndAFlood()
{
    ClientSession c;
    QVERIFY(c.connect());
    QVERIFY(quick(c));
    QVERIFY(restore(c, {1, true, true, false}));
    // Two names lines of 5000 each: one line of them all would pass the 64 KiB bound.
    QByteArray names1 = "@op abc", names2 = "+vo";
    for (int i = 0; i < 5000; ++i) names1 += " n" + QByteArray::number(i);
    for (int i = 5000; i < 10000; ++i) names2 += " n" + QByteArray::number(i);
    const QByteArray names = ":irc.test 353 abc = #c :" + names1 + "\r\n:irc.test 353 abc = #c :" + names2;
    Reply r = exchange(c, names + "\r\n:irc.test 366 abc #c :End");
    CHECK_AFTER(c, r, QByteArray("(10000 names while joining)"));
    QCOMPARE(session().ChannelState(), core::ChannelState::Joined);
    frmChan &ch = form<frmChan>();
    QCOMPARE(ch.Namelist->Members().Count(), 10003);
    // The refill after a PING empties the list first.
    r = exchange(c, names);
    CHECK_AFTER(c, r, QByteArray("(10000 names refill)"));
    QCOMPARE(ch.Namelist->Members().Count(), 10003);
    QVERIFY(restore(c, {2, true, true, true}));
    g_draw = 0.5;
    session().Game().Timer().fire();  // a question: one line of the flood answers it
    c.drain();
    QVERIFY(!session().Game().Answer().isEmpty());

    const QList<QByteArray> shapes = {
        ":bob!u@h PRIVMSG #c :hello %1",  ":carl!u@h PRIVMSG #c :\x03" "4,8coloured %1", ":j%1!u@h JOIN :#c",
        ":n%1!u@h PART #c",              ":irc.test NOTICE abc :notice %1",            ":bob!u@h PRIVMSG #c :\x01" "ACTION %1\x01",
        ":n%1!u@h QUIT :gone",           ":j%1!u@h NICK :k%1",                           ":op!o@h MODE #c +v n%1",
        ":pal!p@h PRIVMSG abc :private %1", ":x!u PRIVMSG abc :\x01VERSION\x01",        "PING :flood%1",
        ":irc.test 311 abc bob u h * :Bob", ":irc.test 318 abc bob :End",               "",
        ":bob!u@h PRIVMSG #c :" + session().Game().Answer().toUtf8(),
    };
    QByteArray flood;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray &shape = shapes[i % shapes.size()];
        flood += (shape.contains("%1") ? QString::fromUtf8(shape).arg(i).toUtf8() : shape) + "\r\n";
    }
    flood += ":bob!u@h PRIVMSG #c :the last line";
    const qint64 bigStart = threadCpuNs();
    QElapsedTimer took;
    took.start();
    r = exchange(c, flood, 2 * Patience);
    const qint64 bigCost = threadCpuNs() - bigStart;
    // The reply budget is counted in windows of time: a slow machine sees more of them.
    const qint64 windows = 1 + took.elapsed() / core::ReplyBudget::Window;
    CHECK_AFTER(c, r, QByteArray("(20000 mixed lines)"));
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> the last line"));
    int pongs = 0, versions = 0;
    for (const QByteArray &l : r.lines) {
        if (l.startsWith("PONG :flood")) ++pongs;
        if (l.startsWith("NOTICE x :I am using")) ++versions;
    }
    QCOMPARE(pongs, 20000 / int(shapes.size()));
    // The flood's requests get a few answers a window of the reply budget, no more.
    QVERIFY2(versions >= 1 && versions <= core::ReplyBudget::Size * windows, qPrintable(QString::number(versions)));
    QVERIFY(session().Framing().Held().isEmpty());

    // Handling stays about linear in the list size: the same flood over a handful of
    // members takes about as much processor time. A lookup or relayout per member for each
    // part, quit or mode line made the big list's flood many times the small one's.
    r = exchange(c, ":irc.test 353 abc = #c :@op abc bob");
    QCOMPARE(ch.Namelist->Members().Count(), 3);
    const qint64 smallStart = threadCpuNs();
    r = exchange(c, flood, 2 * Patience);
    const qint64 smallCost = threadCpuNs() - smallStart;
    QVERIFY(r.answered);
    QCOMPARE(LastLine(ch.Incoming), QStringLiteral("<bob> the last line"));
    qInfo("flood over 10003 members: %lld ms of processor time; over 3: %lld ms", bigCost / 1000000, smallCost / 1000000);
    QVERIFY2(bigCost < kListCostFactor * smallCost, "the flood's cost grows with the size of the member list");
}

QTEST_MAIN(HostileTest)
#include "test_hostile.moc"
