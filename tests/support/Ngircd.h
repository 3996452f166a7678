#pragma once
// A real IRC server for tests: Debian's ngircd, started on a free loopback port with a
// generated configuration (no ident, no DNS, no PAM, no flood penalties) and stopped
// again when the test is done. Peer is a scripted raw client for the other side.
#include "Harness.h"
#include "ServerProcess.h"
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <functional>

class QTcpSocket;

class Ngircd : public ServerProcess
{
public:
    // Settings read by start().
    QString name = QStringLiteral("irc.test.local");
    QString motd = QStringLiteral("Welcome to the OrvelIRC test server");
    int pingTimeout = 120;  // seconds of silence before the server sends PING
    int pongTimeout = 20;

    // Starts the server and waits until it listens; false (with error()) when it cannot.
    bool start();
};

// A raw client that answers the server's PINGs by itself.
class Peer : public QObject
{
public:
    Peer();
    ~Peer() override;
    bool connect(int port);
    // Sends NICK and USER and waits for the welcome (001); false when it does not come.
    bool registerUser(const QString &nick, const QString &user = QStringLiteral("peer"),
                      const QString &realName = QStringLiteral("Scripted Peer"));
    bool connectAs(int port, const QString &nick) { return connect(port) && registerUser(nick); }
    // Sends JOIN and waits for the end of the channel's names.
    bool joinChannel(const QByteArray &channel);
    // Sends one line; CR LF is added.
    void send(const QByteArray &line);
    // Every complete line received so far, without its line end.
    QList<QByteArray> lines() const { return m_lines; }
    // Waits for a line that contains the text (the whole line when exact).
    bool waitForLine(const QByteArray &text, int ms = Patience, bool exact = false);
    bool waitFor(const std::function<bool(const QByteArray &line)> &match, int ms = Patience);
    // The first line received that contains the text; empty when none.
    QByteArray lineContaining(const QByteArray &text) const;
    void clear() { m_lines.clear(); }
    bool connected() const;
    void close();

private:
    QTcpSocket *m_socket;
    QByteArray m_buffer;
    QList<QByteArray> m_lines;
};

// The settings that make our client "orvel" (alternative "orvel_") on the test server.
QList<QPair<QString, QString>> OrvelSettings();
