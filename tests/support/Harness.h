#pragma once
// Shared test harness: a fresh working directory per test, recording doubles for the
// desktop services, and a loopback IRC server that records what the client sends.
#include "platform/Multimedia.h"
#include "platform/Platform.h"
#include "platform/RichPane.h"
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class frmOrvelMain;
class QLineEdit;
class QTcpServer;
class QTcpSocket;

class RecordingDialogs : public InputDialogs
{
public:
    QStringList answers;        // InputBox answers, taken in order ("" when none left)
    QStringList prompts;        // every InputBox prompt
    QStringList messages;       // every MsgBox text
    QStringList questions;      // every AskYesNo text
    bool yesNoAnswer = false;
    std::optional<QFont> fontAnswer;
    QString fileAnswer;
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override;
    QList<MsgIcon> icons;       // the icon of every MsgBox
    void MsgBox(const QString &text, const QString &title, MsgIcon icon) override;
    bool AskYesNo(const QString &text, const QString &title) override;
    std::optional<QFont> ChooseFont(const QFont &) override { return fontAnswer; }
    QString ChooseFile(const QString &, const QString &) override { return fileAnswer; }
    QStringList titles;         // title of every box shown
};

class RecordingLauncher : public Launcher
{
public:
    QList<QPair<QString, QStringList>> started;
    QStringList urls;
    QStringList existing;       // programs that ProgramExists reports
    bool StartProgram(const QString &program, const QStringList &args) override;
    bool OpenUrl(const QString &url) override { urls.append(url); return true; }
    bool ProgramExists(const QString &program) override { return existing.contains(program); }
};

class RecordingClipboard : public Clipboard
{
public:
    QString text;
    int clears = 0;
    int captures = 0;
    bool captureWorks = true;
    void Clear() override { ++clears; text.clear(); }
    void SetText(const QString &t) override { text = t; }
    QString GetText() override { return text; }
    bool CaptureScreen() override { ++captures; return captureWorks; }
};

class MemorySettingsStore : public SettingsStore
{
public:
    QMap<QString, QString> values;  // "app/section/key" -> value
    QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def) override;
    void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value) override;
};

// Every command sent to a multimedia control, as "Control:Command:DeviceType:FileName"
// for commands and "Control:Visible:1/0" for visibility changes.
QStringList &MultimediaLog();

class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    RecordingClipboard clipboard;
    MemorySettingsStore store;
    static int endCalls;  // platform::endProgram calls

    void writeSetting(const QString &name, const QString &value);
    // Writes the six connection settings.
    void writeConnection(int port, const QString &nick = QStringLiteral("abc"),
                         const QString &server = QStringLiteral("127.0.0.1"),
                         const QString &altnick = QStringLiteral("abc_"),
                         const QString &email = QStringLiteral("me@example.org"),
                         const QString &realname = QStringLiteral("Real Name"));
    void writeFile(const QString &name, const QByteArray &content);
    // Builds the frame and runs its start-up.
    frmOrvelMain &start();
    // Closes every window and deletes the frame without ending the process.
    void stop();
private:
    QString m_oldCwd;
};

// How long a test waits for what must happen. Waits end as soon as it does, so only a
// failing test waits this long; a sanitizer build on a busy machine needs the room.
constexpr int Patience = 30000;

class LoopbackServer : public QObject
{
public:
    LoopbackServer();
    ~LoopbackServer() override;
    int port() const;
    bool waitForClient(int ms = Patience);
    bool hasClient() const;
    void send(const QByteArray &bytes);
    // Bytes received since the start (or since clear()).
    QByteArray received() const { return m_received; }
    // Complete lines received, without their CR LF.
    QList<QByteArray> lines() const;
    bool waitForLine(const QByteArray &exact, int ms = Patience);
    bool waitForLineStarting(const QByteArray &prefix, int ms = Patience);
    bool waitForBytes(int count, int ms = Patience);
    void clear() { m_received.clear(); }
    // Closes the client's connection from the server side.
    void closeClient();
    bool waitForDisconnect(int ms = Patience);
private:
    QTcpServer *m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_received;
    bool m_disconnected = false;
};

// Processor time used by this thread, which runs the client: unlike the wall clock, it
// does not stretch when the machine is busy.
qint64 threadCpuNs();
// How much dearer handling a long list may be than a short one, measured in one run. Under
// AddressSanitizer memory moves go byte by byte, so each insert into or removal from a long
// list costs many times more there; only a grosser fault shows in that build.
#ifdef __SANITIZE_ADDRESS__
constexpr int kListCostFactor = 6;
#else
constexpr int kListCostFactor = 3;
#endif

// Spins the event loop until the condition holds or the time runs out (waits for I/O only).
bool WaitUntil(const std::function<bool()> &cond, int ms = Patience);
// Lets queued events (deliveries, deferred deletes) run.
void Pump(int rounds = 3);

QString PaneText(const RichPane *pane);
// The runs of a pane whose text is not only line breaks, in order.
QList<RichPane::Run> TextRuns(const RichPane *pane);
// The colours of those runs, in order.
QList<QColor> RunColours(const RichPane *pane);
// The pane's last line, and its last n lines.
QString LastLine(const RichPane *pane);
QStringList LastLines(const RichPane *pane, int n);
bool PaneHasLine(const RichPane *pane, const QString &line);
// The colour of the pane's last run (invalid when the pane is empty).
QColor LastColour(const RichPane *pane);
// The colour of the latest run whose text, line breaks aside, is exactly this line
// (invalid when there is none).
QColor ColourOf(const RichPane *pane, const QString &line);

// How often a sound file was played on the wave control since the log was last cleared.
int Plays(const QString &file);

// Types the text into a line box key by key and presses Enter.
void TypeLine(QLineEdit *box, const QString &text);
