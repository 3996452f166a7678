// Faults of the disk and of a flood, with real files and a real socket: a settings folder
// that turns read-only, the program killed while it rewrites a setting, and the
// received-data view open during a flood.
#include "ClientSession.h"
#include "settings/SettingsFile.h"
#include "windows/frmInData.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Makes a folder read-only for this thread, the super-user included: its write bits go
// and, for root, the capability that overrides them leaves the thread's effective set,
// until the end of the scope.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path), m_mode(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                        QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
        setOverride(false);
    }
    ~ReadOnlyFolder()
    {
        setOverride(true);
        QFile::setPermissions(m_path, m_mode);
    }
    // True when a new file cannot be made there.
    bool holds() const
    {
        QFile probe(QDir(m_path).filePath(QStringLiteral("probe")));
        if (!probe.open(QIODevice::WriteOnly)) return true;
        probe.remove();
        return false;
    }
private:
    static void setOverride(bool on)
    {
        __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        if (syscall(SYS_capget, &head, caps) != 0) return;
        const quint32 bit = 1u << CAP_DAC_OVERRIDE;
        caps[0].effective = on ? caps[0].effective | (caps[0].permitted & bit) : caps[0].effective & ~bit;
        syscall(SYS_capset, &head, caps);
    }
    QString m_path;
    QFileDevice::Permissions m_mode;
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Two values of a megabyte each: rewriting one takes long enough for a kill to land inside.
QByteArray bigValue(int n) { return QByteArray(1 << 20, n % 2 ? 'a' : 'b'); }

const char kRewriteForever[] = "--rewrite-forever";

// The child of killedWhileRewritingASetting: rewrites nick.msg in the folder for ever,
// saying on its standard output when each write begins and ends.
int rewriteForever(const char *folder)
{
    QDir::setCurrent(QString::fromLocal8Bit(folder));
    for (int n = 1;; ++n) {
        std::printf("begin %d\n", n);
        std::fflush(stdout);
        settings::Write(QStringLiteral("nick.msg"), QString::fromLatin1(bigValue(n)));
        std::printf("end %d\n", n);
        std::fflush(stdout);
    }
}

// Peak and current resident memory of this process, in KiB.
qint64 statusKiB(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void readOnlySettingsFolder();
    void killedWhileRewritingASetting();
    void floodWithTheReceivedViewOpen();
};

// Writes fail, the old values stay, the user is told once, and the program goes on.
void FaultsTest::readOnlySettingsFolder()
{
    ClientSession c;
    QVERIFY(c.connect());
    const QString folder = c.env.dir.path();
    const QString nickFile = QDir(folder).filePath(QStringLiteral("nick.msg"));
    const QStringList files = QDir(folder).entryList(QDir::Files);
    const QString told = QStringLiteral("Your settings could not be saved in ") + folder + QStringLiteral(" (");
    {
        ReadOnlyFolder readOnly(folder);
        QVERIFY(readOnly.holds());
        // Each nick is written when the server's echo makes it ours.
        c.typeServer(QStringLiteral("/NICK first"));
        QVERIFY(c.feed(":abc!u@h NICK :first\r\n"));
        c.typeServer(QStringLiteral("/NICK second"));
        QVERIFY(c.feed(":first!u@h NICK :second\r\n"));
        Pump();
        QCOMPARE(c.sent(), Lines({"NICK first", "NICK second"}));
        QCOMPARE(session().Nick(), QStringLiteral("second"));
        QCOMPARE(c.s->Caption(), QStringLiteral("second on irc.test"));
        QCOMPARE(c.env.dialogs.messages.size(), 1);
        QVERIFY2(c.env.dialogs.messages[0].startsWith(told), qPrintable(c.env.dialogs.messages[0]));
        QVERIFY(c.env.dialogs.messages[0].endsWith(QStringLiteral("). The settings saved before stay as they were.")));
        QCOMPARE(c.env.dialogs.titles.last(), QStringLiteral("OrvelIRC"));
        QCOMPARE(c.env.dialogs.icons.last(), MsgIcon::Exclamation);
        QCOMPARE(fileBytes(nickFile), QByteArray("abc\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), files);
        QCOMPARE(c.repliesTo("PING :still here\r\n"), Lines({"PONG :still here"}));
    }
    // Writable again: the next write works, and a later failure is news again.
    c.typeServer(QStringLiteral("/NICK third"));
    QVERIFY(c.feed(":second!u@h NICK :third\r\n"));
    QCOMPARE(fileBytes(nickFile), QByteArray("third\r\n"));
    {
        ReadOnlyFolder readOnly(folder);
        c.typeServer(QStringLiteral("/NICK fourth"));
        QVERIFY(c.feed(":third!u@h NICK :fourth\r\n"));
        Pump();
    }
    QCOMPARE(c.env.dialogs.messages.size(), 2);
    QCOMPARE(fileBytes(nickFile), QByteArray("third\r\n"));
}

// A process killed with SIGKILL while it rewrites a setting leaves the file holding a whole
// value, never a cut one.
void FaultsTest::killedWhileRewritingASetting()
{
    QTemporaryDir folder;
    const QString nickFile = QDir(folder.path()).filePath(QStringLiteral("nick.msg"));
    int inside = 0;  // kills that landed between the start and the end of a write
    for (int round = 0; round < 10; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kRewriteForever), folder.path()});
        QVERIFY(child.waitForStarted());
        // The kill comes just as a later write begins, a little later each round.
        const QByteArray cue = "begin " + QByteArray::number(2 + round) + "\n";
        QByteArray said;
        QVERIFY(WaitUntil([&] {
            said += child.readAllStandardOutput();
            return said.contains(cue) || child.state() == QProcess::NotRunning;
        }, 20000));
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        said += child.readAllStandardOutput();
        if (said.trimmed().split('\n').last().startsWith("begin")) ++inside;
        const QByteArray content = fileBytes(nickFile);
        QVERIFY2(content == bigValue(1) + "\r\n" || content == bigValue(2) + "\r\n",
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(content.size())));
    }
    QVERIFY2(inside > 0, "no kill landed inside a write");
}

// The received-data view open during a 100,000-line flood: what the flood costs in memory
// is what the view and the pane show, not more.
void FaultsTest::floodWithTheReceivedViewOpen()
{
#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
    QSKIP("AddressSanitizer keeps freed memory in quarantine: the figures mean nothing");
#endif
    ClientSession c;
    QVERIFY(c.connect());
    c.m->mnuIndataWindow->trigger();
    frmInData &view = form<frmInData>();
    QByteArray flood;
    for (int i = 0; i < 100000; ++i)
        flood += ":irc.test NOTICE abc :flood line " + QByteArray::number(i) + " of one hundred thousand\r\n";
    QVERIFY(resetPeakMemory());
    const qint64 before = statusKiB("VmRSS:");
    c.srv.send(flood + "PING :flooded\r\n");
    QVERIFY(c.srv.waitForLine("PONG :flooded", 120000));
    const qint64 peak = statusKiB("VmHWM:");
    QVERIFY(before > 0 && peak > 0);
    QCOMPARE(LastLines(c.s->Incoming, 2),
             QStringList({QStringLiteral("flood line 99999 of one hundred thousand"), QStringLiteral("PING? PONG!")}));
    const QTextDocument *shownInView = view.txtInData->document(), *shownInPane = c.s->Incoming->document();
    QVERIFY(shownInView->toPlainText().contains("flood line 99999 of one hundred thousand\n"));
    // A shown line costs its text (two bytes a character) and the document's block and
    // layout around it (about 450 bytes here); the sending side holds the flood twice.
    const qint64 shownLines = shownInView->blockCount() + shownInPane->blockCount();
    const qint64 shownBytes = 2 * (shownInView->characterCount() + shownInPane->characterCount());
    const qint64 bound = (shownBytes + 640 * shownLines + 2 * flood.size()) / 1024 + 16 * 1024;
    qInfo("flood: %lld KiB more at the peak for %lld lines shown; bound %lld KiB", peak - before, shownLines, bound);
    QVERIFY2(peak - before <= bound,
             qPrintable(QStringLiteral("%1 KiB more at the peak, bound %2 KiB").arg(peak - before).arg(bound)));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], kRewriteForever) == 0) return rewriteForever(argv[2]);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    FaultsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_faults.moc"
