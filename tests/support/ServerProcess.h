#pragma once
// A real IRC server for tests: a child process on a free loopback port, run with a
// configuration the test writes into its own folder and stopped when the test is done.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class QProcess;

class ServerProcess
{
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;
    ~ServerProcess();  // stops the server
    int port() const { return m_port; }
    void stop();
    bool running() const;
    QString error() const { return m_error; }
    // What the server has written so far (for failure messages).
    QString log() const;

protected:
    // The program by name, on the path or in the system folders; "" (with error()) when
    // it is not installed.
    QString findProgram(const QString &name);
    // A port that nobody listens on right now.
    static int freePort();
    // Starts the program; inChild runs in the child just before the program does. False
    // (with error()) when it cannot start.
    bool launch(const QString &program, const QStringList &args, const std::function<void()> &inChild);

    QTemporaryDir m_dir;
    QProcess *m_proc = nullptr;
    int m_port = 0;
    QString m_error;
    mutable QByteArray m_log;
};
