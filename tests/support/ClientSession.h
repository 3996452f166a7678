#pragma once
// A started program connected through its Connect button to the harness's loopback
// server, registered (NICK and USER received) and with the server's side cleared, ready
// for a test to feed it received lines.
#include "Harness.h"
#include <QColor>
#include <QPointer>

class frmOrvelIRC;
class frmOrvelMain;

class ClientSession
{
public:
    explicit ClientSession(const QString &nick = QStringLiteral("abc"), const QString &altnick = QStringLiteral("abc_"));
    TestEnv env;
    LoopbackServer server;
    frmOrvelMain *main = nullptr;
    QPointer<frmOrvelIRC> irc;
    bool ok = false;  // connected and registered

    // Sends bytes to the client and then a PING with a fresh token; waits for its PONG and
    // returns the lines the client sent before it (all that the fed lines made it send).
    // The PING's own pane line and sound are taken off again.
    QList<QByteArray> feed(const QByteArray &bytes);
    // The pane's text written since the last mark() (lines separated by "\n").
    QString paneSinceMark() const;
    void mark();
    // Multimedia commands recorded since the last mark(), without those of the PING of
    // feed(); a "Close" is given as "Control:Close".
    QStringList soundsSinceMark() const;
    // The colour of the latest pane line holding exactly this text (invalid when there is none).
    QColor colourOf(const QString &text) const;

private:
    int m_paneMark = 0;
    int m_mmMark = 0;
    int m_sync = 0;
};
