#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/TcpSocket.h"
#include "platform/Timer.h"
#include "settings/SettingsFile.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <ctime>

QString RecordingDialogs::InputBox(const QString &prompt, const QString &title, const QString &)
{
    prompts.append(prompt);
    titles.append(title);
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

void RecordingDialogs::MsgBox(const QString &text, const QString &title, MsgIcon icon)
{
    messages.append(text);
    icons.append(icon);
    titles.append(title);
}

bool RecordingDialogs::AskYesNo(const QString &text, const QString &title)
{
    questions.append(text);
    titles.append(title);
    return yesNoAnswer;
}

bool RecordingLauncher::StartProgram(const QString &program, const QStringList &args)
{
    started.append({program, args});
    return true;
}

QString MemorySettingsStore::GetSetting(const QString &app, const QString &section, const QString &key, const QString &def)
{
    return values.value(app + QLatin1Char('/') + section + QLatin1Char('/') + key, def);
}

void MemorySettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value)
{
    values.insert(app + QLatin1Char('/') + section + QLatin1Char('/') + key, value);
}

QStringList &MultimediaLog()
{
    static QStringList log;
    return log;
}

namespace {
class RecordingMMControl : public MMControl
{
public:
    explicit RecordingMMControl(QString name) : m_name(std::move(name)) {}
    void SetDeviceType(const QString &t) override { m_type = t; }
    void SetFileName(const QString &f) override { m_file = f; }
    void SetSwitches(bool, bool, bool) override {}
    void Command(const QString &cmd) override
    {
        MultimediaLog().append(m_name + QLatin1Char(':') + cmd + QLatin1Char(':') + m_type + QLatin1Char(':') + m_file);
    }
    void SetVisible(bool on) override
    {
        MMControl::SetVisible(on);
        MultimediaLog().append(m_name + QStringLiteral(":Visible:") + (on ? QLatin1Char('1') : QLatin1Char('0')));
    }
private:
    QString m_name, m_type, m_file;
};

void recordEnd(int) { ++TestEnv::endCalls; }

// Tests never reach beyond this machine, not even by a name lookup.
bool loopbackOnly(const QString &host)
{
    if (host == QLatin1String("localhost")) return true;
    const QHostAddress a(host);
    return !a.isNull() && a.isLoopback();
}
} // namespace

int TestEnv::endCalls = 0;

TestEnv::TestEnv()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    platform::setDialogs(&dialogs);
    platform::setLauncher(&launcher);
    platform::setClipboard(&clipboard);
    platform::setSettingsStore(&store);
    platform::setEndProgram(&recordEnd);
    SetMMControlFactory([](const QString &name) { return std::make_unique<RecordingMMControl>(name); });
    VbTimer::setRealTicks(false);
    TcpSocket::SetHostFilter(&loopbackOnly);
    MultimediaLog().clear();
    endCalls = 0;
}

TestEnv::~TestEnv()
{
    stop();
    QDir::setCurrent(m_oldCwd);
    platform::setDialogs(nullptr);
    platform::setLauncher(nullptr);
    platform::setClipboard(nullptr);
    platform::setSettingsStore(nullptr);
    platform::setEndProgram(nullptr);
    SetMMControlFactory(nullptr);
}

void TestEnv::writeSetting(const QString &name, const QString &value) { settings::Write(name, value); }

void TestEnv::writeConnection(int port, const QString &nick, const QString &server, const QString &altnick,
                              const QString &email, const QString &realname)
{
    writeSetting(QStringLiteral("nick.msg"), nick);
    writeSetting(QStringLiteral("altnick.msg"), altnick);
    writeSetting(QStringLiteral("server.msg"), server);
    writeSetting(QStringLiteral("port.msg"), QString::number(port));
    writeSetting(QStringLiteral("email.msg"), email);
    writeSetting(QStringLiteral("realname.msg"), realname);
}

void TestEnv::writeFile(const QString &name, const QByteArray &content)
{
    QFile f(QDir::current().filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(content);
}

frmOrvelMain &TestEnv::start() { return Main(); }

void TestEnv::stop()
{
    frmOrvelMain *m = frmOrvelMain::Instance();
    if (!m) return;
    // A frame deleted while shown would still get the MDI area's activation signal.
    m->hide();
    // Unload the children as the frame's close would, without running the frame's shut-down.
    for (QMdiSubWindow *w : m->MdiArea()->subWindowList()) w->close();
    Pump();
    delete m;
    Pump();
}

LoopbackServer::LoopbackServer() : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = m_server->nextPendingConnection()) {
            if (m_client) m_client->deleteLater();
            m_client = s;
            m_disconnected = false;
            connect(s, &QTcpSocket::readyRead, this, [this, s] { m_received += s->readAll(); });
            connect(s, &QTcpSocket::disconnected, this, [this, s] {
                if (s == m_client) m_disconnected = true;
            });
        }
    });
}

LoopbackServer::~LoopbackServer()
{
    if (m_client) m_client->abort();
}

int LoopbackServer::port() const { return m_server->serverPort(); }
bool LoopbackServer::hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }
bool LoopbackServer::waitForClient(int ms) { return WaitUntil([this] { return hasClient(); }, ms); }

void LoopbackServer::send(const QByteArray &bytes)
{
    if (!m_client) return;
    m_client->write(bytes);
    m_client->flush();
}

QList<QByteArray> LoopbackServer::lines() const
{
    QList<QByteArray> out;
    QByteArray rest = m_received;
    for (qsizetype at = rest.indexOf("\r\n"); at >= 0; at = rest.indexOf("\r\n")) {
        out.append(rest.left(at));
        rest = rest.mid(at + 2);
    }
    return out;
}

bool LoopbackServer::waitForLine(const QByteArray &exact, int ms)
{
    return WaitUntil([&] { return lines().contains(exact); }, ms);
}

bool LoopbackServer::waitForLineStarting(const QByteArray &prefix, int ms)
{
    return WaitUntil([&] {
        for (const QByteArray &l : lines())
            if (l.startsWith(prefix)) return true;
        return false;
    }, ms);
}

bool LoopbackServer::waitForBytes(int count, int ms)
{
    return WaitUntil([&] { return m_received.size() >= count; }, ms);
}

void LoopbackServer::closeClient()
{
    if (m_client) m_client->disconnectFromHost();
}

bool LoopbackServer::waitForDisconnect(int ms) { return WaitUntil([this] { return m_disconnected; }, ms); }

bool WaitUntil(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void Pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QString PaneText(const RichPane *pane) { return pane->Text(); }

QList<RichPane::Run> TextRuns(const RichPane *pane)
{
    QList<RichPane::Run> out;
    for (const RichPane::Run &r : pane->Runs()) {
        QString t = r.text;
        t.remove(QLatin1Char('\n'));
        if (!t.isEmpty()) out.append(r);
    }
    return out;
}

QList<QColor> RunColours(const RichPane *pane)
{
    QList<QColor> out;
    for (const RichPane::Run &r : TextRuns(pane)) out.append(r.colour);
    return out;
}

QString LastLine(const RichPane *pane) { return pane->Text().section(QLatin1Char('\n'), -1); }

QStringList LastLines(const RichPane *pane, int n)
{
    const QStringList all = pane->Text().split(QLatin1Char('\n'));
    return all.mid(std::max<qsizetype>(0, all.size() - n));
}

bool PaneHasLine(const RichPane *pane, const QString &line) { return pane->Text().split(QLatin1Char('\n')).contains(line); }

QColor LastColour(const RichPane *pane)
{
    const QList<RichPane::Run> runs = TextRuns(pane);
    return runs.isEmpty() ? QColor() : runs.last().colour;
}

QColor ColourOf(const RichPane *pane, const QString &line)
{
    const QList<RichPane::Run> runs = pane->Runs();
    for (qsizetype i = runs.size() - 1; i >= 0; --i)
        if (QString(runs[i].text).remove(QLatin1Char('\n')) == line) return runs[i].colour;
    return QColor();
}

int Plays(const QString &file)
{
    int n = 0;
    for (const QString &e : MultimediaLog())
        if (e.startsWith(QLatin1String("MMControl1:Play:")) && e.endsWith(QLatin1Char(':') + file)) ++n;
    return n;
}

void TypeLine(QLineEdit *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}
