// A scripted IRC server on loopback for the side-by-side benchmark. It registers one
// client, answers its JOIN of #bench with a names list of the chosen size, times that join,
// optionally measures the client's idle CPU and wake-ups, then writes a seeded mix of
// channel traffic as fast as the client reads it and times it up to the client's answer to
// the PING that follows. Results go to standard output as "key value" lines; "registered"
// is printed as soon as the client may be told to join.
//
// Usage: bench_flood_server --port P --pidfile F [--lines N] [--nicks K] [--idle S]
//                           [--checkpoint C]
// The pidfile names the client's process, for its CPU time and memory figures.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {
const QByteArray kServer = "bench.test";
const QByteArray kChannel = "#bench";

// xorshift64*: the same seed gives the same mix on every machine and compiler.
class Rng
{
public:
    explicit Rng(quint64 seed) : m_s(seed) {}
    quint64 next()
    {
        m_s ^= m_s >> 12;
        m_s ^= m_s << 25;
        m_s ^= m_s >> 27;
        return m_s * 2685821657736338717ULL;
    }
    int below(int n) { return int(next() % quint64(n)); }
private:
    quint64 m_s;
};

const char *const kWords[] = {"the", "server", "is", "lagging", "again", "anyone", "seen", "my", "patch", "for",
                              "build", "fails", "on", "arm64", "works", "here", "try", "a", "clean", "checkout",
                              "coffee", "time", "release", "notes", "tomorrow", "meeting", "moved", "to", "friday",
                              "thanks", "lol", "ok", "sure", "maybe", "later", "bug", "fixed", "in", "master", "now"};
constexpr int kWordCount = int(sizeof kWords / sizeof *kWords);

// The seeded channel mix: plain, coloured and action messages, joins, parts, quits, nick
// and mode changes, private messages and notices. The member list it acts on starts as
// the names list the join handed out, so every part, quit and change names a member.
class Mix
{
public:
    Mix(const QByteArray &me, int nicks) : m_me(me), m_rng(0x5eed0ff100dULL)
    {
        for (int i = 0; i < nicks; ++i) m_members.append(memberName(i));
        m_nextNick = nicks;
    }
    static QByteArray memberName(int i) { return "user" + QByteArray::number(i); }
    const QList<QByteArray> &members() const { return m_members; }

    QByteArray line()
    {
        const int kind = m_rng.below(100);
        const int at = m_rng.below(int(m_members.size()));
        const QByteArray who = m_members[at];
        const QByteArray from = ":" + who + "!~" + who + "@host" + QByteArray::number(m_rng.below(50)) + ".example ";
        if (kind < 40) return from + "PRIVMSG " + kChannel + " :" + words() + "\r\n";
        if (kind < 50)
            return from + "PRIVMSG " + kChannel + " :\x03" + QByteArray::number(2 + m_rng.below(13)) + words() + "\r\n";
        if (kind < 58) return from + "PRIVMSG " + kChannel + " :\x01" "ACTION " + words() + "\x01\r\n";
        if (kind < 66) {
            const QByteArray n = memberName(m_nextNick++);
            m_members.append(n);
            return ":" + n + "!~" + n + "@host.example JOIN :" + kChannel + "\r\n";
        }
        if (kind < 72 && m_members.size() > 2) {
            remove(at);
            return from + "PART " + kChannel + "\r\n";
        }
        if (kind < 78 && m_members.size() > 2) {
            remove(at);
            return from + "QUIT :Quit: " + words() + "\r\n";
        }
        if (kind < 84) {
            const QByteArray n = memberName(m_nextNick++);
            m_members[at] = n;
            return from + "NICK :" + n + "\r\n";
        }
        if (kind < 90) {
            static const char *const modes[] = {"+o", "-o", "+v", "-v", "+b", "-b"};
            return from + "MODE " + kChannel + " " + modes[m_rng.below(6)] + " " + pick() + "\r\n";
        }
        if (kind < 95) {
            // From a few people, as private talk goes: every client keeps one window per partner.
            const QByteArray pal = "pal" + QByteArray::number(m_rng.below(3));
            return ":" + pal + "!~" + pal + "@friends.example PRIVMSG " + m_me + " :" + words() + "\r\n";
        }
        if (kind < 98) return from + "NOTICE " + kChannel + " :" + words() + "\r\n";
        return ":" + kServer + " NOTICE " + m_me + " :*** " + words() + "\r\n";
    }

private:
    QByteArray pick() { return m_members[m_rng.below(int(m_members.size()))]; }
    // The order of the members does not matter: the last takes the place of the one gone.
    void remove(int at)
    {
        m_members[at] = m_members.last();
        m_members.removeLast();
    }
    QByteArray words()
    {
        QByteArray t;
        const int n = 3 + m_rng.below(14);
        for (int i = 0; i < n; ++i) {
            if (i) t += ' ';
            t += kWords[m_rng.below(kWordCount)];
        }
        return t;
    }
    QByteArray m_me;
    Rng m_rng;
    QList<QByteArray> m_members;
    int m_nextNick = 0;
};

// The client's process figures, read from /proc.
struct Proc
{
    QString pidFile;
    QByteArray pid() const
    {
        QFile f(pidFile);
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
    }
    // Clock ticks of user and system time.
    qint64 cpuTicks() const
    {
        QFile f("/proc/" + pid() + "/stat");
        if (!f.open(QIODevice::ReadOnly)) return -1;
        const QByteArray s = f.readAll();
        const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
    }
    // Each thread's count of times it went to sleep or was put off the processor: about as
    // often as it wakes.
    QHash<QString, qint64> contextSwitches() const
    {
        QHash<QString, qint64> counts;
        const QString tasks = "/proc/" + QString::fromLatin1(pid()) + "/task";
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile f(tasks + "/" + task + "/status");
            if (!f.open(QIODevice::ReadOnly)) continue;
            for (const QByteArray &l : f.readAll().split('\n'))
                if (l.startsWith("voluntary_ctxt_switches:") || l.startsWith("nonvoluntary_ctxt_switches:"))
                    counts[task] += l.mid(l.indexOf(':') + 1).trimmed().toLongLong();
        }
        return counts;
    }
    // The switches since the counts given, of the threads alive now: a thread that ended
    // meanwhile (an idle pool thread does) takes its count with it.
    qint64 contextSwitchesSince(const QHash<QString, qint64> &before) const
    {
        qint64 sum = 0;
        const QHash<QString, qint64> now = contextSwitches();
        for (auto it = now.cbegin(); it != now.cend(); ++it) sum += it.value() - before.value(it.key(), 0);
        return sum;
    }
    // A field of /proc/PID/status in KiB (VmRSS, VmHWM).
    qint64 statusKiB(const QByteArray &key) const
    {
        QFile f("/proc/" + pid() + "/status");
        if (!f.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray &l : f.readAll().split('\n'))
            if (l.startsWith(key + ':')) return l.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
        return -1;
    }
};

class Bench : public QObject
{
public:
    int port = 0, lines = 100000, nicks = 1000, idleSeconds = 0, checkpoint = 0;
    Proc proc;

    bool listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Bench::accept);
        if (!m_server.listen(QHostAddress::LocalHost, quint16(port))) return false;
        out("listening " + QByteArray::number(m_server.serverPort()));
        return true;
    }

private:
    enum class Phase { Registering, Joining, Idle, Flooding, Done };

    static void out(const QByteArray &text)
    {
        std::fputs(text.constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    void send(const QByteArray &bytes) { m_client->write(bytes); }
    void ping(const QByteArray &token) { send("PING :" + token + "\r\n"); }

    void accept()
    {
        if (m_client) return;
        m_client = m_server.nextPendingConnection();
        connect(m_client, &QTcpSocket::readyRead, this, &Bench::read);
        connect(m_client, &QTcpSocket::bytesWritten, this, &Bench::fill);
        connect(m_client, &QTcpSocket::disconnected, this, [this] {
            if (m_phase != Phase::Done) out("error client closed the connection");
            QCoreApplication::exit(m_phase == Phase::Done ? 0 : 1);
        });
    }

    void read()
    {
        while (m_client->canReadLine()) {
            QByteArray l = m_client->readLine();
            while (l.endsWith('\n') || l.endsWith('\r')) l.chop(1);
            handle(l);
        }
    }

    void handle(const QByteArray &l)
    {
        const QList<QByteArray> w = l.split(' ');
        const QByteArray cmd = w.value(0).toUpper();
        if (cmd == "CAP" && w.value(1).toUpper() == "LS") send(":" + kServer + " CAP * LS :\r\n");
        else if (cmd == "NICK") m_nick = w.value(1).startsWith(':') ? w.value(1).mid(1) : w.value(1);
        else if (cmd == "USER") welcome();
        else if (cmd == "PING") send(":" + kServer + " PONG " + kServer + " :" + w.value(1) + "\r\n");
        else if (cmd == "JOIN" && m_phase == Phase::Registering) join(w.value(1));
        else if (cmd == "MODE" && w.size() == 2) send(":" + kServer + " 324 " + m_nick + " " + kChannel + " +nt\r\n");
        else if (cmd == "WHO") send(":" + kServer + " 315 " + m_nick + " " + w.value(1) + " :End of /WHO list.\r\n");
        else if (cmd == "PONG") pong(l);
    }

    void welcome()
    {
        const QByteArray to = " " + m_nick + " ";
        send(":" + kServer + " 001" + to + ":Welcome to the benchmark network " + m_nick + "\r\n" + ":" + kServer +
             " 002" + to + ":Your host is " + kServer + "\r\n" + ":" + kServer + " 003" + to + ":Created today\r\n" +
             ":" + kServer + " 004" + to + kServer + " bench iow ntbovk\r\n" + ":" + kServer + " 005" + to +
             "CHANTYPES=# PREFIX=(ov)@+ CHANMODES=b,k,,nt NICKLEN=30 :are supported\r\n" + ":" + kServer + " 376" + to +
             ":End of /MOTD command.\r\n");
        out("registered");
    }

    void join(QByteArray channel)
    {
        if (channel.startsWith(':')) channel = channel.mid(1);
        if (channel != kChannel) return;
        m_phase = Phase::Joining;
        m_mix = std::make_unique<Mix>(m_nick, nicks);
        const QByteArray from = ":" + kServer;
        send(":" + m_nick + "!~" + m_nick + "@localhost JOIN :" + kChannel + "\r\n" + from + " 332 " + m_nick + " " +
             kChannel + " :Benchmark channel\r\n");
        m_clock.start();
        // Names replies as a server sends them: whole names, lines under 512 bytes.
        const QByteArray head = from + " 353 " + m_nick + " = " + kChannel + " :";
        QByteArray names = m_nick;
        for (const QByteArray &n : m_mix->members()) {
            if (head.size() + names.size() + n.size() + 4 > 510) {
                send(head + names + "\r\n");
                names.clear();
            } else if (!names.isEmpty()) {
                names += ' ';
            }
            names += (n.endsWith('7') ? "@" : "") + n;
        }
        send(head + names + "\r\n" + from + " 366 " + m_nick + " " + kChannel + " :End of /NAMES list.\r\n");
        ping("joined");
    }

    // Each measured step ends with two PINGs: the second is read only after the client has
    // finished with the block that held the first, whatever it leaves for the end of a block.
    void pong(const QByteArray &l)
    {
        if (l.endsWith("joined")) ping("joinsettled");
        else if (l.endsWith("joinsettled")) {
            out("join_ms " + QByteArray::number(m_clock.nsecsElapsed() / 1e6, 'f', 1));
            startIdle();
        } else if (l.contains(":cp")) {
            out("rss_kib_at " + l.mid(l.indexOf(":cp") + 3) + " " + QByteArray::number(proc.statusKiB("VmRSS")));
        } else if (l.endsWith("flooddone")) {
            m_floodPong = m_clock.nsecsElapsed();
            ping("floodsettled");
        } else if (l.endsWith("floodsettled")) {
            finish();
        }
    }

    void startIdle()
    {
        m_phase = Phase::Idle;
        if (idleSeconds <= 0) return startFlood();
        // Let the join's own after-effects (a window being shown) settle first.
        QTimer::singleShot(1000, this, [this] {
            const qint64 before = proc.cpuTicks();
            const QHash<QString, qint64> switches = proc.contextSwitches();
            QElapsedTimer t;
            t.start();
            QTimer::singleShot(idleSeconds * 1000, this, [this, before, switches, t] {
                const double ticks = double(proc.cpuTicks() - before);
                const double secs = t.nsecsElapsed() / 1e9;
                const double pct = 100.0 * ticks / double(sysconf(_SC_CLK_TCK)) / secs;
                out("idle_cpu_percent " + QByteArray::number(pct, 'f', 2));
                out("idle_wakeups_per_second " + QByteArray::number(proc.contextSwitchesSince(switches) / secs, 'f', 1));
                startFlood();
            });
        });
    }

    // The whole flood is made before the clock starts: the writer never holds the client up.
    void startFlood()
    {
        m_phase = Phase::Flooding;
        if (lines <= 0) return finish();
        m_flood.reserve(qsizetype(lines) * 90);
        for (int i = 1; i <= lines; ++i) {
            m_flood += m_mix->line();
            if (checkpoint > 0 && i % checkpoint == 0) m_flood += "PING :cp" + QByteArray::number(i) + "\r\n";
        }
        m_flood += "PING :flooddone\r\n";
        m_clock.start();
        fill();
    }

    // Keeps a few hundred KiB queued: the client reads as fast as it can, never waits.
    void fill()
    {
        if (m_phase != Phase::Flooding || m_written >= m_flood.size()) return;
        const qsizetype room = 256 * 1024 - m_client->bytesToWrite();
        if (room <= 0) return;
        const qsizetype n = std::min(room, m_flood.size() - m_written);
        send(m_flood.mid(m_written, n));
        m_written += n;
    }

    void finish()
    {
        m_phase = Phase::Done;
        if (lines > 0) {
            const double secs = m_clock.nsecsElapsed() / 1e9;
            out("flood_lines " + QByteArray::number(lines));
            out("flood_seconds " + QByteArray::number(secs, 'f', 3));
            out("flood_seconds_to_first_pong " + QByteArray::number(m_floodPong / 1e9, 'f', 3));
            out("lines_per_second " + QByteArray::number(lines / secs, 'f', 0));
        }
        out("peak_rss_kib " + QByteArray::number(proc.statusKiB("VmHWM")));
        out("rss_kib " + QByteArray::number(proc.statusKiB("VmRSS")));
        out("done");
        QCoreApplication::exit(0);
    }

    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_nick = "benchme";
    Phase m_phase = Phase::Registering;
    std::unique_ptr<Mix> m_mix;
    QElapsedTimer m_clock;
    qint64 m_floodPong = 0;
    QByteArray m_flood;
    qsizetype m_written = 0;
};
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Bench b;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString k = args[i], v = args[i + 1];
        if (k == "--port") b.port = v.toInt();
        else if (k == "--lines") b.lines = v.toInt();
        else if (k == "--nicks") b.nicks = v.toInt();
        else if (k == "--idle") b.idleSeconds = v.toInt();
        else if (k == "--checkpoint") b.checkpoint = v.toInt();
        else if (k == "--pidfile") b.proc.pidFile = v;
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(k));
            return 2;
        }
    }
    if (!b.listen()) {
        std::fprintf(stderr, "cannot listen on port %d\n", b.port);
        return 1;
    }
    return app.exec();
}
