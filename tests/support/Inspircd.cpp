#include "Inspircd.h"
#include "Harness.h"
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

bool Inspircd::start()
{
    stop();
    const QString bin = findProgram(QStringLiteral("inspircd"));
    if (bin.isEmpty()) return false;
    QFile tmpl(QStringLiteral(ORVEL_TEST_SUPPORT_DIR "/inspircd.conf.tmpl"));
    if (!tmpl.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read ") + tmpl.fileName();
        return false;
    }
    const QString config = QString::fromUtf8(tmpl.readAll());
    // The user is looked up here: the child may only make plain system calls.
    const bool asIrc = ::geteuid() == 0;
    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
    if (asIrc) {
        const passwd *pw = ::getpwnam("irc");
        if (!pw) {
            m_error = QStringLiteral("there is no irc user to run inspircd as");
            return false;
        }
        uid = pw->pw_uid;
        gid = pw->pw_gid;
    }
    auto write = [&](const QString &name, const QString &text) {
        QFile f(m_dir.filePath(name));
        const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
        f.close();
        return ok && (!asIrc || ::chown(QFile::encodeName(f.fileName()).constData(), uid, gid) == 0);
    };
    if ((asIrc && ::chown(QFile::encodeName(m_dir.path()).constData(), uid, gid) != 0) ||
        !write(QStringLiteral("motd.txt"), QStringLiteral("Welcome to the OrvelIRC test server\n"))) {
        m_error = QStringLiteral("cannot prepare ") + m_dir.path();
        return false;
    }
    // The port may be taken between the probe and the server's bind: try a few.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = freePort();
        const QString conf = m_dir.filePath(QStringLiteral("inspircd.conf"));
        QString text = config;
        text.replace(QStringLiteral("@PORT@"), QString::number(m_port))
            .replace(QStringLiteral("@DIR@"), m_dir.path())
            .replace(QStringLiteral("@PINGFREQ@"), QStringLiteral("120"));  // no PING within a test
        if (!write(QStringLiteral("inspircd.conf"), text)) {
            m_error = QStringLiteral("cannot write ") + conf;
            return false;
        }
        // Should the test die before it can stop the server, the server goes too: set
        // after the change of user, which would clear it.
        const bool started = launch(bin, {QStringLiteral("--config"), conf, QStringLiteral("--nofork"), QStringLiteral("--nopid")},
                                    [asIrc, uid, gid] {
                                        if (asIrc && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                                            ::_exit(127);
                                        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
                                    });
        if (!started) return false;
        const bool listening = WaitUntil([this] {
            if (m_proc->state() == QProcess::NotRunning) return true;
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
            const bool up = probe.waitForConnected(200);
            probe.abort();
            return up;
        }, 10000);
        if (listening && m_proc->state() == QProcess::Running) {
            m_error.clear();
            return true;
        }
        m_error = QStringLiteral("inspircd did not listen: ") + log();
        stop();
    }
    return false;
}
