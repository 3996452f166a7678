// libFuzzer target: arbitrary bytes, cut into arbitrary blocks, reach the running client
// through its own socket (a loopback server writes them), with the real windows loaded
// offscreen. Beyond crashes and sanitizer reports it checks, for every input:
//  - every byte the client sends is part of one line ended by CR LF, with no other CR,
//    LF or NUL in it;
//  - held received text stays within its bound, and nothing is held while the rest of an
//    overlong line is being dropped;
//  - after a line end and a PING the client answers, holding nothing back.
//
// Input as fuzz/FuzzInput.h reads it; byte 0 picks channel state 0, 1 or 2 (the nick list
// filled) and two switches: option 1 opens the private chat, option 2 the received-data
// view.
#include "ClientSession.h"
#include "FuzzInput.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QTcpSocket>
#include <QTimer>
#include <cstdlib>
#include <sys/ioctl.h>

namespace {

ClientSession *g_client = nullptr;
QStringList g_joinedNames;  // the nick list right after a join
QPointer<TcpSocket> g_counted;
int g_arrivals = 0;  // data-arrival events the client has handled
quint64 g_syncs = 0;

using fuzz::Fault;

// Runs the event loop until the condition holds. A client that makes no progress for
// 20 seconds has hung: that is a finding, not a slow input.
void waitFor(const char *what, const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 20000) Fault(what);
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
        Fault("held text over its bound", session().Framing().Held().left(200).toUtf8());
    if (session().Framing().Dropping() && !session().Framing().Held().isEmpty())
        Fault("text held while an overlong line is dropped", session().Framing().Held().left(200).toUtf8());
}

// Every byte sent so far must form whole lines: CR LF at the end and nowhere else.
void checkSent()
{
    const QByteArray raw = g_client->srv.received();
    g_client->srv.clear();
    if (!raw.isEmpty() && !raw.endsWith("\r\n")) Fault("bytes sent without a line end", raw.right(200));
    qsizetype from = 0;
    while (from < raw.size()) {
        const qsizetype end = raw.indexOf("\r\n", from);
        const QByteArrayView line = QByteArrayView(raw).sliced(from, end - from);
        if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
            Fault("a line sent with CR, LF or NUL inside", line);
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
    if (!session().Framing().Held().isEmpty()) Fault("text held after a line end", session().Framing().Held().left(200).toUtf8());
    if (session().Framing().Dropping()) Fault("still dropping after a line end");
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
        if (!c.connect()) Fault("could not connect");
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
    if (session().ChannelState() != core::ChannelState(want.state)) Fault("could not enter the channel state");
    // What a change of situation made the client send is checked like the rest.
    if (g_arrivals != arrivals || !c.srv.received().isEmpty()) {
        pingThrough();
        checkSent();
    }
}

} // namespace

// fontconfig keeps the patterns it hands out until FcFini, which Qt runs only when the
// application object is destroyed; the fuzzer's lives until the process ends, so the leak
// checks that libFuzzer runs after inputs and at exit would report them.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::AbsolutePaths(argc, argv);
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
    const fuzz::Input in = fuzz::ReadInput(data, size);
    const Situation want{in.state, (in.options & 1) != 0, (in.options & 2) != 0};
    const QByteArray &bytes = in.bytes;
    fuzz::BlockSizes sizes(in.sizesSeed);

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
