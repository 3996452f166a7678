#include "Ngircd.h"
#include "Harness.h"
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <csignal>
#include <sys/prctl.h>

bool Ngircd::start()
{
    stop();
    const QString bin = findProgram(QStringLiteral("ngircd"));
    if (bin.isEmpty()) return false;
    // The port may be taken between the probe and the server's bind: try a few.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = freePort();
        const QString conf = m_dir.filePath(QStringLiteral("ngircd.conf"));
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_error = QStringLiteral("cannot write ") + conf;
            return false;
        }
        const QString text = QStringLiteral(
                                 "[Global]\n"
                                 "Name = %1\n"
                                 "Info = OrvelIRC test server\n"
                                 "AdminInfo1 = test\nAdminInfo2 = test\nAdminEMail = test@%1\n"
                                 "Listen = 127.0.0.1\n"
                                 "Ports = %2\n"
                                 "MotdPhrase = %3\n"
                                 "[Limits]\n"
                                 "MaxConnectionsIP = 0\n"
                                 "MaxPenaltyTime = 0\n"
                                 "PingTimeout = %4\n"
                                 "PongTimeout = %5\n"
                                 "[Options]\n"
                                 "Ident = no\n"
                                 "DNS = no\n"
                                 "PAM = no\n")
                                 .arg(name)
                                 .arg(m_port)
                                 .arg(motd)
                                 .arg(pingTimeout)
                                 .arg(pongTimeout);
        f.write(text.toUtf8());
        f.close();

        // Should the test die before it can stop the server, the server goes too (while
        // it keeps the test's user: a server started by root drops to "nobody" and
        // loses this).
        if (!launch(bin, {QStringLiteral("-n"), QStringLiteral("-f"), conf}, [] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }))
            return false;
        const bool ready = WaitUntil([this] {
            m_log += m_proc->readAll();
            return m_log.contains("ready.") || m_proc->state() == QProcess::NotRunning;
        }, 10000);
        if (ready && m_proc->state() == QProcess::Running) {
            m_error.clear();
            return true;
        }
        m_error = QStringLiteral("ngircd did not get ready: ") + QString::fromUtf8(m_log);
        stop();
    }
    return false;
}

Peer::Peer() : m_socket(new QTcpSocket(this))
{
    QObject::connect(m_socket, &QTcpSocket::readyRead, this, [this] {
        m_buffer += m_socket->readAll();
        for (qsizetype at = m_buffer.indexOf('\n'); at >= 0; at = m_buffer.indexOf('\n')) {
            QByteArray line = m_buffer.left(at);
            if (line.endsWith('\r')) line.chop(1);
            // Stay connected however long the test runs.
            if (line.startsWith("PING ")) send("PONG " + line.mid(5));
            m_lines.append(line);
            m_buffer.remove(0, at + 1);
        }
    });
}

Peer::~Peer() { m_socket->abort(); }

bool Peer::connect(int port)
{
    m_socket->connectToHost(QHostAddress::LocalHost, quint16(port));
    return WaitUntil([this] { return m_socket->state() == QAbstractSocket::ConnectedState; });
}

bool Peer::registerUser(const QString &nick, const QString &user, const QString &realName)
{
    send("NICK " + nick.toUtf8());
    send("USER " + user.toUtf8() + " 0 * :" + realName.toUtf8());
    const QByteArray welcome = " 001 " + nick.toUtf8() + " ";
    return waitForLine(welcome);
}

void Peer::send(const QByteArray &line)
{
    m_socket->write(line + "\r\n");
    m_socket->flush();
}

bool Peer::waitFor(const std::function<bool(const QByteArray &)> &match, int ms)
{
    return WaitUntil([&] {
        for (const QByteArray &l : m_lines)
            if (match(l)) return true;
        return false;
    }, ms);
}

bool Peer::waitForLine(const QByteArray &text, int ms, bool exact)
{
    return waitFor([&](const QByteArray &l) { return exact ? l == text : l.contains(text); }, ms);
}

QByteArray Peer::lineContaining(const QByteArray &text) const
{
    for (const QByteArray &l : m_lines)
        if (l.contains(text)) return l;
    return {};
}

bool Peer::connected() const { return m_socket->state() == QAbstractSocket::ConnectedState; }

void Peer::close()
{
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_socket->disconnectFromHost();
        if (m_socket->state() != QAbstractSocket::UnconnectedState) m_socket->waitForDisconnected(2000);
    }
}

bool Peer::joinChannel(const QByteArray &channel)
{
    send("JOIN " + channel);
    return waitFor([&](const QByteArray &line) { return line.contains(" 366 ") && line.contains(" " + channel + " "); });
}

QList<QPair<QString, QString>> OrvelSettings()
{
    return {{QStringLiteral("nick.msg"), QStringLiteral("orvel")},
            {QStringLiteral("altnick.msg"), QStringLiteral("orvel_")},
            {QStringLiteral("email.msg"), QStringLiteral("orvel")}};
}
