#pragma once
// A running program joined to a channel on the harness's loopback server, for the channel
// event, private chat, teletrivia and pop-up tests.
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include <QTest>

class EventsSession
{
public:
    TestEnv env;
    LoopbackServer srv;
    frmOrvelMain *m = nullptr;
    QPointer<frmOrvelIRC> s;

    explicit EventsSession(const QString &nick = QStringLiteral("abc"))
    {
        env.writeConnection(srv.port(), nick);
        m = &env.start();
        s = &form<frmOrvelIRC>();
    }

    static void type(CommandLine *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // /SERVER to the loopback server; the welcome names the server "irc.test".
    bool connect()
    {
        type(s->Outgoing, QStringLiteral("/SERVER 127.0.0.1"));
        if (!srv.waitForClient() || !srv.waitForLineStarting("USER ")) return false;
        srv.clear();
        srv.send(":irc.test 001 " + IrcData::CurrentNick.toUtf8() + " :Welcome\r\n");
        return WaitUntil([] { return IrcData::ServerName == QLatin1String("irc.test"); });
    }

    // /JOIN typed in the server window, answered with the server's join replies.
    bool join(const QString &channel, const QByteArray &names)
    {
        type(s->Outgoing, QStringLiteral("/JOIN ") + channel);
        s->Timer1->fire();
        const QByteArray c = channel.toUtf8(), n = IrcData::CurrentNick.toUtf8();
        srv.send(":" + n + "!u@h JOIN :" + c + "\r\n:irc.test 332 " + n + " " + c + " :The topic\r\n"
                 ":irc.test 353 " + n + " = " + c + " :" + names + "\r\n:irc.test 366 " + n + " " + c +
                 " :End of /NAMES list.\r\n");
        if (!WaitUntil([this] { return s->ChannelState == 2; })) return false;
        sent();
        return true;
    }

    bool connectAndJoin(const QByteArray &names = "@op +vo carl abc")
    {
        return connect() && join(QStringLiteral("#c"), names);
    }

    // Sends the lines as one block and waits until they have been handled.
    bool feed(const QByteArray &lines)
    {
        srv.send(lines);
        return sync();
    }

    // A marker line from the server that no rule answers but the server text display:
    // once it shows in the server pane, everything sent before it has been handled.
    bool sync()
    {
        const QString marker = QStringLiteral("sync-%1").arg(++m_sync);
        srv.send(":irc.test NOTICE " + IrcData::CurrentNick.toUtf8() + " :" + marker.toUtf8() + "\r\n");
        return WaitUntil([&] { return s && s->Incoming->Text().endsWith(marker); });
    }

    // Everything the client sent since the last call.
    QList<QByteArray> sent()
    {
        if (!s) return {QByteArrayLiteral("<no server window>")};
        s->SendData(QStringLiteral("MARK"));
        if (!srv.waitForLine("MARK")) return {QByteArrayLiteral("<marker never arrived>")};
        QList<QByteArray> out = srv.lines();
        out.removeLast();
        srv.clear();
        return out;
    }

    static int plays(const QString &file)
    {
        int n = 0;
        for (const QString &e : MultimediaLog())
            if (e.startsWith(QLatin1String("MMControl1:Play:")) && e.endsWith(QLatin1Char(':') + file)) ++n;
        return n;
    }

private:
    int m_sync = 0;
};

// The pane's lines, the last n of them.
inline QStringList LastLines(const RichPane *pane, int n)
{
    const QStringList all = pane->Text().split(QLatin1Char('\n'));
    return all.mid(std::max<qsizetype>(0, all.size() - n));
}

inline QString LastLineOf(const RichPane *pane) { return pane->Text().section(QLatin1Char('\n'), -1); }

// The colour of the last run whose text, line breaks aside, is exactly the given line.
inline QColor ColourOf(const RichPane *pane, const QString &line)
{
    const QList<RichPane::Run> runs = pane->Runs();
    for (qsizetype i = runs.size() - 1; i >= 0; --i) {
        QString t = runs[i].text;
        t.remove(QLatin1Char('\n'));
        if (t == line) return runs[i].colour;
    }
    return QColor();
}
