// libFuzzer target: arbitrary bytes, cut into arbitrary blocks, reach the running client
// through its own socket (a loopback server writes them), with the real windows loaded
// offscreen. Beyond crashes and sanitizer reports it checks, for every input:
//  - every byte the client sends is part of one line ended by CR LF, with no other CR,
//    LF or NUL in it;
//  - held received text stays within its bound, and nothing is held while the rest of an
//    overlong line is being dropped;
//  - after a line end and a PING the client answers, holding nothing back.
//
// Input: byte 0 picks the situation (channel state 0, 1 or 2 with the nick list filled;
// private chat open or not; received-data view on or off), byte 1 how often the rest is
// sent (mostly once; up to 256 times and 128 KiB, to pass the held-text bound with a short
// input), byte 2 seeds the block sizes; the rest are the bytes the server sends.
#include "ClientSession.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <sys/ioctl.h>
#include <vector>

namespace {

ClientSession *g_client = nullptr;
QStringList g_joinedNames;  // the nick list right after a join
QPointer<TcpSocket> g_counted;
int g_arrivals = 0;  // data-arrival events the client has handled
quint64 g_syncs = 0;

QByteArray shown(QByteArrayView b)
{
    QByteArray out;
    for (qsizetype i = 0; i < b.size() && out.size() < 300; ++i) {
        const unsigned char c = uchar(b[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') out += char(c);
        else out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    }
    return out;
}

[[noreturn]] void fault(const char *what, QByteArrayView detail = {})
{
    std::fprintf(stderr, "\nFAULT: %s %s\n", what, shown(detail).constData());
    std::fflush(stderr);
    std::abort();
}

// Runs the event loop until the condition holds. A client that makes no progress for
// 20 seconds has hung: that is a finding, not a slow input.
void waitFor(const char *what, const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 20000) fault(what);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

frmOrvelIRC &server() { return *g_client->s; }

bool connected() { return g_client->s && g_client->srv.hasClient() && server().Tcp1().IsConnected(); }

QTcpSocket *clientSocket() { return server().Tcp1().findChildren<QTcpSocket *>().value(0); }

// Sends one block and waits until the client has taken it off its socket and handled it.
void sendBlock(QByteArrayView block)
{
    const int before = g_arrivals;
    g_client->srv.send(block.toByteArray());
    waitFor("the client stopped reading", [&] {
        if (!connected()) return true;
        QTcpSocket *c = clientSocket();
        int queued = 0;
        ioctl(int(c->socketDescriptor()), FIONREAD, &queued);
        return g_arrivals > before && queued == 0 && c->bytesAvailable() == 0;
    });
}

void checkHeld()
{
    if (!g_client->s) return;
    if (session().Framing().Held().size() > core::ReceivedLines::MaxHeld)
        fault("held text over its bound", session().Framing().Held().left(200).toUtf8());
    if (session().Framing().Dropping() && !session().Framing().Held().isEmpty())
        fault("text held while an overlong line is dropped", session().Framing().Held().left(200).toUtf8());
}

// Every byte sent so far must form whole lines: CR LF at the end and nowhere else.
void checkSent()
{
    const QByteArray raw = g_client->srv.received();
    g_client->srv.clear();
    if (!raw.isEmpty() && !raw.endsWith("\r\n")) fault("bytes sent without a line end", raw.right(200));
    qsizetype from = 0;
    while (from < raw.size()) {
        const qsizetype end = raw.indexOf("\r\n", from);
        const QByteArrayView line = QByteArrayView(raw).sliced(from, end - from);
        if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
            fault("a line sent with CR, LF or NUL inside", line);
        from = end + 2;
    }
}

// A line end and a PING: the answer proves every byte before it was handled.
void pingThrough()
{
    const QByteArray token = "fuzz-sync-" + QByteArray::number(++g_syncs);
    g_client->srv.send("\r\nPING :" + token + "\r\n");
    const QByteArray tail = " :" + token + "\r\n";
    waitFor("no answer to a PING", [&] {
        if (!connected()) return true;
        const QByteArray raw = g_client->srv.received();
        const qsizetype at = raw.indexOf(tail);
        if (at < 0) return false;
        // In a channel the PING also asks for the names.
        return session().ChannelState() != core::ChannelState::Joined || raw.indexOf("\r\n", at + tail.size()) >= 0;
    });
    if (!connected()) return;
    if (!session().Framing().Held().isEmpty()) fault("text held after a line end", session().Framing().Held().left(200).toUtf8());
    if (session().Framing().Dropping()) fault("still dropping after a line end");
}

struct Situation
{
    int state;
    bool chatOpen;
    bool view;
};

// Once per connection: counts the client's arrivals, and lets small writes go out at once
// both ways (no Nagle delay waiting for an ACK): only the pace changes, not the bytes.
void watchConnection()
{
    for (QTcpSocket *s : g_client->srv.findChildren<QTcpSocket *>()) s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    clientSocket()->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (g_counted == &server().Tcp1()) return;
    g_counted = &server().Tcp1();
    QObject::connect(g_counted, &TcpSocket::DataArrival, [] { ++g_arrivals; });
}

void trim(QPlainTextEdit *pane)
{
    // The fuzzer runs for hours: what the panes show is cleared now and then.
    if (pane && (pane->document()->blockCount() > 2000 || pane->document()->characterCount() > 1000000)) pane->clear();
}

// Puts the client into the situation by the ways a user and a server would: /SERVER,
// the welcome, /NICK, /JOIN with the server's join replies, the link closing, the menus.
void enter(const Situation &want)
{
    ClientSession &c = *g_client;
    const int arrivals = g_arrivals;
    if (!connected()) {
        c.s = &form<frmOrvelIRC>();
        if (!c.connect()) fault("could not connect");
        watchConnection();
    }
    frmOrvelIRC &s = server();
    const bool renamed = session().ServerName() != QLatin1String("irc.test");
    if ((renamed || want.state == 0) && session().ChannelState() != core::ChannelState::None) {
        c.srv.send("ERROR :Closing Link: fuzz (back to no channel)\r\n");
        waitFor("the link closing never took", [&] { return session().ChannelState() == core::ChannelState::None; });
    }
    if (renamed) {
        c.srv.send(":irc.test 001 " + session().Nick().toUtf8() + " :Welcome\r\n");
        waitFor("the welcome never took", [] { return session().ServerName() == QLatin1String("irc.test"); });
    }
    if (session().Nick() != QLatin1String("abc")) {
        c.typeServer(QStringLiteral("/NICK abc"));
        // Registered, the nick is ours once the server echoes the change.
        if (session().Nick() != QLatin1String("abc")) {
            c.srv.send(":" + session().Nick().toUtf8() + "!u@h NICK :abc\r\n");
            waitFor("the nick change never took", [] { return session().Nick() == QLatin1String("abc"); });
        }
    }
    if (want.state == 1) {
        if (session().ChannelState() != core::ChannelState::JoinSent || session().CurrentChannel() != QLatin1String("#c")) {
            // A join of the channel we are in waits for nothing: the state is taken back first.
            if (session().ChannelState() == core::ChannelState::Joined) session().SetChannelState(core::ChannelState::None);
            c.typeServer(QStringLiteral("/JOIN #c"));
        }
        // Names that earlier inputs sent while the join was pending go, as for a new join.
        if (frmChan *chan = loaded<frmChan>()) chan->Namelist->Members().Clear();
    }
    if (want.state == 2) {
        frmChan *chan = loaded<frmChan>();
        const bool joined = session().ChannelState() == core::ChannelState::Joined && session().CurrentChannel() == QLatin1String("#c") && chan &&
                            chan->SubWindow()->isVisible() && chan->Namelist->Members().Items() == g_joinedNames;
        if (!joined) {
            if (chan) chan->Namelist->Members().Clear();
            session().SetChannelState(core::ChannelState::None);
            c.typeServer(QStringLiteral("/JOIN #c"));
            c.srv.send(":abc!u@h JOIN :#c\r\n:irc.test 332 abc #c :The topic\r\n"
                       ":irc.test 353 abc = #c :@op +vo carl abc bob\r\n:irc.test 366 abc #c :End of /NAMES list.\r\n");
            waitFor("the join never ended", [&] { return session().ChannelState() == core::ChannelState::Joined; });
            if (g_joinedNames.isEmpty()) g_joinedNames = form<frmChan>().Namelist->Members().Items();
        }
    }
    if (want.chatOpen != (loaded<frmOrvelChat>() != nullptr)) {
        if (want.chatOpen) c.m->mnuShowQueryWindow->trigger();
        else loaded<frmOrvelChat>()->Unload();
    }
    if (want.view != c.m->mnuIndataWindow->isChecked()) c.m->mnuIndataWindow->trigger();

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    trim(s.Incoming);
    if (frmChan *chan = loaded<frmChan>()) trim(chan->Incoming);
    if (frmOrvelChat *chat = loaded<frmOrvelChat>()) trim(chat->txtIncoming);
    if (frmInData *view = loaded<frmInData>()) trim(view->txtInData);
    MultimediaLog().clear();
    c.env.dialogs = RecordingDialogs();
    if (session().ChannelState() != core::ChannelState(want.state)) fault("could not enter the channel state");
    // What a change of situation made the client send is checked like the rest.
    if (g_arrivals != arrivals || !c.srv.received().isEmpty()) {
        pingThrough();
        checkSent();
    }
}

// Block sizes from a small generator seeded by the input: mostly short, sometimes a
// single byte (a CR LF or a UTF-8 sequence cut in two), now and then up to 4 KiB.
class BlockSizes
{
public:
    explicit BlockSizes(quint8 seed) : m_state(0x9E3779B9u ^ (quint32(seed) * 0x01000193u)) {}
    qsizetype next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        const quint32 r = m_state >> 2;
        switch (m_state & 3) {
        case 0: return 1 + r % 3;
        case 3: return 1 + r % 4096;
        default: return 1 + r % 64;
        }
    }
private:
    quint32 m_state;
};

// The client works in a temporary folder of its own, so names that libFuzzer takes
// relative to where it was started (corpus folders, inputs, where findings go) are made
// absolute first; findings go to the starting folder unless told otherwise.
void absolutePaths(int *argc, char ***argv)
{
    static std::vector<QByteArray> texts;
    static std::vector<char *> args;
    const QDir start = QDir::current();
    bool prefixGiven = false;
    texts.reserve(*argc + 1);
    for (int i = 0; i < *argc; ++i) {
        QByteArray a = (*argv)[i];
        const qsizetype eq = a.indexOf('=');
        if (i > 0 && !a.startsWith('-')) {
            a = QFile::encodeName(start.absoluteFilePath(QFile::decodeName(a)));
        } else if (eq > 0 && (a.startsWith("-artifact_prefix=") || a.startsWith("-exact_artifact_path=") ||
                              a.startsWith("-dict="))) {
            const QString path = QFile::decodeName(a.mid(eq + 1));
            a = a.left(eq + 1) + QFile::encodeName(start.absoluteFilePath(path));
            if (a.startsWith("-artifact_prefix=") && path.endsWith(QLatin1Char('/'))) a += '/';
        }
        prefixGiven = prefixGiven || a.startsWith("-artifact_prefix=");
        texts.push_back(a);
    }
    if (!prefixGiven) texts.push_back("-artifact_prefix=" + QFile::encodeName(start.absolutePath()) + "/");
    for (QByteArray &t : texts) args.push_back(t.data());
    args.push_back(nullptr);
    *argc = int(texts.size());
    *argv = args.data();
}

} // namespace

// fontconfig keeps the patterns it hands out until FcFini, which Qt runs only when the
// application object is destroyed; the fuzzer's lives until the process ends, so the leak
// checks that libFuzzer runs after inputs and at exit would report them.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    absolutePaths(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt must not see libFuzzer's options.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    new QApplication(qtArgc, qtArgv);
    // Wakes the event loop now and then, so that a wait can notice its deadline.
    auto *tick = new QTimer(qApp);
    tick->start(100);
    g_client = new ClientSession();
    // libFuzzer ends the process with exit(): the session is never destroyed, so its
    // working folder is removed here.
    static const QString folder = g_client->env.dir.path();
    std::atexit([] { QDir(folder).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto byte = [&](size_t i) { return i < size ? data[i] : uint8_t(0); };
    const Situation want{byte(0) % 3, (byte(0) / 3) % 2 == 1, (byte(0) / 6) % 2 == 1};
    const size_t head = std::min<size_t>(size, 3);
    QByteArray bytes(reinterpret_cast<const char *>(data) + head, qsizetype(size - head));
    if (byte(1) >= 0xF8 && !bytes.isEmpty()) {
        // At most 128 KiB in all: enough to pass the bound on held text twice.
        const qsizetype times = std::min<qsizetype>(2 << (byte(1) - 0xF8), 128 * 1024 / bytes.size());
        bytes = bytes.repeated(std::max<qsizetype>(times, 1));
    }
    BlockSizes sizes(byte(2));

    enter(want);
    for (qsizetype at = 0; at < bytes.size() && connected();) {
        const qsizetype n = std::min(sizes.next(), bytes.size() - at);
        sendBlock(QByteArrayView(bytes).sliced(at, n));
        checkHeld();
        at += n;
    }
    if (connected()) {
        pingThrough();
        checkSent();
    }
    return 0;
}
