#pragma once
// The program started with its frame shown, against the harness's loopback server (or a
// port of the test's choosing), and what the tests do with it: connect through the Connect
// button or /SERVER, join a channel, type into the command lines, feed it server lines and
// collect what it sent, and read its server pane and sounds since a mark.
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include "settings/ConnectionSettings.h"
#include "windows/frmChan.h"
#include <QPair>
#include <QPointer>
#include <QTest>

using Lines = QList<QByteArray>;
using Setting = settings::ConnectionSettings::Item;

class ClientSession
{
public:
    using Settings = QList<QPair<QString, QString>>;
    // Manual: timers tick only when a test fires them (the count-down, stepped by hand).
    // Real: every timer runs on its own, as in the program (against a real server, where
    // what a slow timer would only catch up on later shows).
    enum class Ticks { Manual, Real };
    // Writes the connection settings for the port (0: the session's loopback server), then
    // the given settings over them, and starts the program. Not connected yet.
    explicit ClientSession(int port = 0, const Settings &settings = {}, Ticks ticks = Ticks::Manual);

    TestEnv env;
    LoopbackServer srv;
    frmOrvelMain *m = nullptr;  // the frame
    QPointer<frmOrvelIRC> s;    // the server window

    // The Connect button; true once the loopback server has NICK and USER and its first
    // notice has ended the count-down. There is no welcome: the server keeps the name it
    // was given, "127.0.0.1".
    bool connectByButton();
    // /SERVER typed in the server window, then the welcome that names the server: the
    // session sends it on the loopback, another server sends its own.
    bool connect(const QString &serverName = QStringLiteral("irc.test"));
    // /JOIN typed in the server window; on the loopback answered with the server's join
    // replies (topic "The topic" and these names) and what the join sent drained. True
    // once joined.
    bool join(const QString &channel, const QByteArray &names = {});
    bool connectAndJoin(const QByteArray &names = "@op +vo carl abc")
    {
        return connect() && join(QStringLiteral("#c"), names);
    }

    void typeServer(const QString &text) { TypeLine(s->Outgoing, text); }
    void typeChannel(const QString &text) { TypeLine(form<frmChan>().Outgoing, text); }

    // Sends the bytes and then a PING, and waits for its PONG: when it returns true every
    // line fed has been handled. The PONG (and in a channel the NAMES it asks for) are taken
    // off again; what the client sent before them is kept for sent(). The PING's own pane
    // line and sound stay.
    bool feed(const QByteArray &bytes);
    // feed(), then everything the client sent since the last collection: after a drain,
    // its replies to these lines.
    Lines repliesTo(const QByteArray &bytes);
    // Everything the client sent since the last collection, up to a marker line it is made
    // to send (loopback only).
    Lines sent();
    void drain() { sent(); }

    // The server pane's text since the last mark() (lines separated by "\n"), without the
    // lines of feed()'s PINGs.
    QString paneSinceMark() const;
    // Multimedia commands recorded since the last mark(), without those of feed()'s PINGs;
    // a "Close" is given as "Control:Close".
    QStringList soundsSinceMark() const;
    void mark();

private:
    bool m_loopback = true;
    Lines m_kept;
    int m_paneMark = 0;
    int m_mmMark = 0;
    int m_sync = 0;
};
