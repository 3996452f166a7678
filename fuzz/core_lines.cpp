// libFuzzer target for the session core alone: arbitrary bytes, cut into arbitrary blocks,
// become text by the socket's own decoding (a UTF-8 sequence cut between blocks carried
// over) and go into Session::Feed, as an arrival from the socket does. No window, no
// socket, no event loop: what the session shows goes to the recording screen. It links the
// core and the recording screen only, so a widget used in the core fails its build.
//
// Beyond crashes and sanitizer reports it checks, for every input:
//  - every line the session sends is one line: no CR, LF or NUL inside;
//  - held received text stays within its bound, and nothing is held while the rest of an
//    overlong line is being dropped;
//  - after a line end and a PING the session answers it (and asks for the names when in
//    the channel), holding nothing back;
//  - every block opens and closes its display work;
//  - the channel's members stay sorted letter case aside, the pick on one of them or none;
//  - our nick stays a plain nick, and the server's name fits in a line.
//
// Input as fuzz/FuzzInput.h reads it; byte 0 picks channel state 0, 1 or 2 (2 with the
// members filled and one picked) and three switches: option 1 turns the sent-data view on,
// option 2 the received-data view, option 4 starts the quiz with a question asked.
#include "FuzzInput.h"
#include "RecordingScreen.h"
#include "core/LineView.h"
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include "platform/Timer.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>

namespace {

using core::ChannelState;
using fuzz::Fault;

bool oneLine(const QString &line)
{
    for (const QChar c : line)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0)) return false;
    return true;
}

// One connection's session, registered as "abc" with irc.test, in the situation the input
// picks.
class Run
{
public:
    explicit Run(const fuzz::Input &in)
    {
        // As the windows do: the channel window's close leaves the channel and empties
        // the list.
        m_screen.onChannelClosed = [this] {
            m_session.SendData(QStringLiteral("PART ") + m_session.CurrentChannel());
            m_session.Members().Clear();
        };
        QObject::connect(&m_session, &core::Session::Sent, [this](const QString &line) {
            if (!oneLine(line)) Fault("a line sent with CR, LF or NUL inside", line.left(200).toUtf8());
            m_sent << line;
        });
        using Item = settings::ConnectionSettings::Item;
        settings::ConnectionSettings &stored = m_session.Settings();
        stored.Set(Item::Nick, QStringLiteral("abc"));
        stored.Set(Item::AlternativeNick, QStringLiteral("abc_"));
        stored.Set(Item::Server, QStringLiteral("irc.test"));
        m_session.SetNick(QStringLiteral("abc"));
        m_session.SetServerName(QStringLiteral("irc.test"));
        m_session.SetConnectedCaption(core::Session::ConnectedAs(QStringLiteral("abc"), QStringLiteral("irc.test")));
        feed(":irc.test 001 abc :Welcome\r\n");
        if (in.state >= 1) {
            // What /JOIN #c does.
            m_session.SetCurrentChannel(QStringLiteral("#c"));
            m_session.SetChannelState(ChannelState::JoinSent);
        }
        if (in.state == 2) {
            feed(":abc!u@h JOIN :#c\r\n:irc.test 332 abc #c :The topic\r\n"
                 ":irc.test 353 abc = #c :@op +vo carl abc bob\r\n:irc.test 366 abc #c :End of /NAMES list.\r\n");
            if (m_session.ChannelState() != ChannelState::Joined || m_session.Members().Count() != 5)
                Fault("could not enter the channel");
            m_session.Members().Pick(QStringLiteral("carl"));
        }
        m_session.SetShowSent((in.options & 1) != 0);
        m_session.SetShowReceived((in.options & 2) != 0);
        if (in.options & 4) {
            m_session.Game().Timer().setEnabled(true);
            m_session.Game().Tick();
        }
        m_screen.calls.clear();
        m_sent.clear();
    }

    // One block of bytes as the socket hands it on.
    void feed(QByteArrayView bytes)
    {
        m_session.Feed(DecodeIncoming(m_carry, bytes.toByteArray()));
        // What it showed is not kept: long inputs would pile it up.
        m_screen.calls.clear();
        checkAfterBlock();
    }

    // A line end and a PING: its answer proves every byte before it was handled.
    void pingThrough()
    {
        m_sent.clear();
        static quint64 syncs = 0;
        const QString token = QStringLiteral("fuzz-sync-") + QString::number(++syncs);
        feed("\r\nPING :" + token.toLatin1() + "\r\n");
        const qsizetype at = m_sent.indexOf(QStringLiteral("PONG :") + token);
        if (at < 0) Fault("no answer to a PING", m_sent.join(QLatin1Char('|')).left(200).toUtf8());
        // In the channel the PING also asks for the names.
        if (m_session.ChannelState() == ChannelState::Joined &&
            m_sent.value(at + 1) != QStringLiteral("NAMES ") + m_session.CurrentChannel())
            Fault("no names asked for after a PING in the channel", m_sent.join(QLatin1Char('|')).left(200).toUtf8());
        const core::ReceivedLines &framing = m_session.Framing();
        if (!framing.Held().isEmpty()) Fault("text held after a line end", framing.Held().left(200).toUtf8());
        if (framing.Dropping()) Fault("still dropping after a line end");
    }

private:
    void checkAfterBlock()
    {
        const core::ReceivedLines &framing = m_session.Framing();
        if (framing.Held().size() > core::ReceivedLines::MaxHeld)
            Fault("held text over its bound", framing.Held().left(200).toUtf8());
        if (framing.Dropping() && !framing.Held().isEmpty())
            Fault("text held while an overlong line is dropped", framing.Held().left(200).toUtf8());
        if (m_screen.blocksOpen != 0) Fault("a block's display work left open or closed twice");
        const core::ChannelMembers &members = m_session.Members();
        const QStringList &items = members.Items();
        const auto before = [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; };
        if (!std::is_sorted(items.cbegin(), items.cend(), before))
            Fault("members out of order", items.join(QLatin1Char(' ')).left(200).toUtf8());
        if (members.PickedIndex() < -1 || members.PickedIndex() >= members.Count()) Fault("the pick outside the members");
        // Both go into lines the session sends.
        if (!IsPlainNick(m_session.Nick())) Fault("our nick is no plain nick", m_session.Nick().toUtf8());
        if (!oneLine(m_session.ServerName())) Fault("a server name that no line can hold", m_session.ServerName().toUtf8());
        if (m_sent.size() > 10000) m_sent.clear();
    }

    RecordingScreen m_screen;
    core::Session m_session{m_screen};
    QByteArray m_carry;
    QStringList m_sent;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::AbsolutePaths(argc, argv);
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    new QCoreApplication(qtArgc, qtArgv);
    // The alternative nick is written to the settings: into a folder of the target's own.
    static QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) Fault("no working folder");
    // Nothing ticks by itself, and the quiz draws the same question every time, so that
    // an input replays alike.
    VbTimer::setRealTicks(false);
    trivia::Draw = [] { return 0.5; };
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::Input in = fuzz::ReadInput(data, size);
    fuzz::BlockSizes sizes(in.sizesSeed);
    Run run(in);
    const QByteArray &bytes = in.bytes;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype n = std::min(sizes.next(), bytes.size() - at);
        run.feed(QByteArrayView(bytes).sliced(at, n));
        at += n;
    }
    run.pingThrough();
    return 0;
}
