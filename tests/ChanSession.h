#pragma once
// A running program connected to the harness's loopback server, for the command-line and
// channel tests: typing into the real command lines, feeding server lines and reading
// what went out on the wire.
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include <QTest>

class ChanSession
{
public:
    TestEnv env;
    LoopbackServer srv;
    frmOrvelMain *m = nullptr;
    frmOrvelIRC *s = nullptr;

    // Writes the settings and starts the program (not connected yet).
    explicit ChanSession(const QString &nick = QStringLiteral("abc"))
    {
        env.writeConnection(srv.port(), nick);
        m = &env.start();
        m->show();
        s = &form<frmOrvelIRC>();
    }

    // A frame deleted while shown would still get the MDI area's activation signal.
    ~ChanSession()
    {
        if (frmOrvelMain *f = frmOrvelMain::Instance()) f->hide();
    }

    // Types the text into a command line key by key and presses Enter.
    static void type(CommandLine *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void typeServer(const QString &text) { type(s->Outgoing, text); }
    void typeChannel(const QString &text) { type(form<frmChan>().Outgoing, text); }

    // /SERVER to the loopback server, then the welcome that names the server "irc.test".
    bool connect()
    {
        typeServer(QStringLiteral("/SERVER 127.0.0.1"));
        if (!srv.waitForClient() || !srv.waitForLineStarting("USER ")) return false;
        srv.clear();
        srv.send(":irc.test 001 " + IrcData::CurrentNick.toUtf8() + " :Welcome\r\n");
        return WaitUntil([] { return IrcData::ServerName == QLatin1String("irc.test"); });
    }

    // /JOIN typed in the server window, answered by the server's own join replies.
    bool join(const QString &channel, const QByteArray &names)
    {
        typeServer(QStringLiteral("/JOIN ") + channel);
        s->Timer1->fire();
        const QByteArray c = channel.toUtf8(), n = IrcData::CurrentNick.toUtf8();
        srv.send(":" + n + "!u@h JOIN :" + c + "\r\n:irc.test 332 " + n + " " + c + " :The topic\r\n"
                 ":irc.test 353 " + n + " = " + c + " :" + names + "\r\n:irc.test 366 " + n + " " + c +
                 " :End of /NAMES list.\r\n");
        return WaitUntil([this] { return s->ChannelState == 2; });
    }

    // Feeds server lines, then a PING, and waits for its answer: everything before it has
    // been handled when this returns.
    bool feed(const QByteArray &lines)
    {
        srv.send(lines);
        return sync();
    }
    bool sync()
    {
        srv.clear();
        srv.send("PING :sync\r\n");
        return srv.waitForLineStarting("PONG ");
    }

    // Waits until everything sent so far has arrived, and forgets it.
    void drain() { sent(); }
    // Everything the client sent since the last call, up to a marker it is made to send.
    QList<QByteArray> sent()
    {
        s->SendData(QStringLiteral("MARK"));
        if (!srv.waitForLine("MARK")) return {QByteArrayLiteral("<marker never arrived>")};
        QList<QByteArray> out = srv.lines();
        out.removeLast();
        srv.clear();
        return out;
    }

    static bool played(const QString &file)
    {
        for (const QString &e : MultimediaLog())
            if (e.startsWith(QLatin1String("MMControl1:Play:")) && e.endsWith(file)) return true;
        return false;
    }
};

inline QString LastLine(const RichPane *pane) { return pane->Text().section(QLatin1Char('\n'), -1); }
inline QColor LastColour(const RichPane *pane)
{
    const QList<RichPane::Run> runs = TextRuns(pane);
    return runs.isEmpty() ? QColor() : runs.last().colour;
}
