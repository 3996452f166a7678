// Floods the client with a mixed stream of channel traffic over a real loopback socket
// and reports how many lines a second the received-data path handles.
// Usage: bench_flood [lines] (default 100000); runs offscreen.
#include "Harness.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include <QTextDocument>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int total = argc > 1 ? atoi(argv[1]) : 100000;
    TestEnv env;
    LoopbackServer server;
    env.writeConnection(server.port(), QStringLiteral("abc"));
    frmOrvelMain &m = env.start();
    m.show();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    m.cmdConnect_Click();
    if (!server.waitForClient() || !server.waitForLineStarting("USER ")) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }
    server.send(":irc.test 001 abc :Welcome\r\n");
    WaitUntil([] { return IrcData::ServerName == QLatin1String("irc.test"); });
    s.Outgoing->setText(QStringLiteral("/JOIN #flood"));
    s.Outgoing->PressKey(13);
    s.Timer1->fire();
    server.send(":abc!u@h JOIN :#flood\r\n:irc.test 353 abc = #flood :@abc bob carl\r\n:irc.test 366 abc #flood :End\r\n");
    if (!WaitUntil([&] { return s.ChannelState == 2; })) {
        std::fprintf(stderr, "no join\n");
        return 1;
    }
    server.clear();

    QByteArray block;
    const char *shapes[] = {
        ":bob!u@h PRIVMSG #flood :hello there, how is everyone doing today?\r\n",
        ":carl!u@h PRIVMSG #flood :\x03" "04,8coloured text in the channel\r\n",
        ":dan!u@h JOIN :#flood\r\n",
        ":dan!u@h PART #flood\r\n",
        ":irc.test NOTICE abc :*** a notice from the server\r\n",
        ":bob!u@h PRIVMSG #flood :\x01" "ACTION waves\x01\r\n",
        ":erin!u@h QUIT :Client exited\r\n",
        ":carl!u@h NICK :carl2\r\n",
        ":carl2!u@h NICK :carl\r\n",
    };
    const int kinds = int(sizeof shapes / sizeof *shapes);
    for (int i = 0; i < total; ++i) block += shapes[i % kinds];
    block += "PING :end\r\n";

    QElapsedTimer t;
    t.start();
    // Sent in socket-sized pieces, as a flooding server's data arrives.
    for (qsizetype at = 0; at < block.size(); at += 16384) server.send(block.mid(at, 16384));
    if (!server.waitForLineStarting("PONG ", 600000)) {
        std::fprintf(stderr, "no PONG\n");
        return 1;
    }
    const double secs = t.elapsed() / 1000.0;
    const int shown = form<frmChan>().Incoming->document()->blockCount();
    const int dropped = s.Incoming->Text().count(QStringLiteral("64 KiB"));
    if (dropped) std::printf("dropped blocks: %d\n", dropped);
    std::printf("%d lines in %.2f s: %.0f lines/s (%d lines in the channel pane)\n", total, secs, total / secs, shown);
    return 0;
}
