#include "ServerProcess.h"
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>

ServerProcess::~ServerProcess() { stop(); }

QString ServerProcess::findProgram(const QString &name)
{
    QString p = QStandardPaths::findExecutable(name);
    if (p.isEmpty()) p = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    if (p.isEmpty()) m_error = name + QStringLiteral(" is not installed");
    return p;
}

int ServerProcess::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    const int port = probe.serverPort();
    probe.close();
    return port;
}

bool ServerProcess::launch(const QString &program, const QStringList &args, const std::function<void()> &inChild)
{
    m_log.clear();
    m_proc = new QProcess;
    m_proc->setProcessChannelMode(QProcess::MergedChannels);
    m_proc->setChildProcessModifier(inChild);
    m_proc->start(program, args);
    if (m_proc->waitForStarted(5000)) return true;
    m_error = program + QStringLiteral(" did not start: ") + m_proc->errorString();
    delete m_proc;
    m_proc = nullptr;
    return false;
}

bool ServerProcess::running() const { return m_proc && m_proc->state() == QProcess::Running; }

QString ServerProcess::log() const
{
    if (m_proc) m_log += m_proc->readAll();
    return QString::fromUtf8(m_log);
}

void ServerProcess::stop()
{
    if (!m_proc) return;
    if (m_proc->state() != QProcess::NotRunning) {
        m_proc->terminate();
        if (!m_proc->waitForFinished(5000)) {
            m_proc->kill();
            m_proc->waitForFinished(5000);
        }
    }
    m_log += m_proc->readAll();
    delete m_proc;
    m_proc = nullptr;
}
