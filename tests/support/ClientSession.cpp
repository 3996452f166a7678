#include "ClientSession.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"

ClientSession::ClientSession(const QString &nick, const QString &altnick)
{
    env.writeConnection(server.port(), nick, QStringLiteral("127.0.0.1"), altnick);
    main = &env.start();
    main->cmdConnect_Click();
    irc = loaded<frmOrvelIRC>();
    ok = irc && server.waitForClient() && server.waitForLineStarting("USER ");
    server.clear();
    mark();
}

QList<QByteArray> ClientSession::feed(const QByteArray &bytes)
{
    const QByteArray token = "sync" + QByteArray::number(++m_sync);
    server.send(bytes + "PING :" + token + "\r\n");
    QList<QByteArray> before;
    const bool seen = WaitUntil([&] {
        const QList<QByteArray> all = server.lines();
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all[i].startsWith("PONG ") && all[i].endsWith(" :" + token)) {
                // In a channel the PING also asks for the names: wait for that line too.
                if (irc && irc->ChannelState == 2 && i + 1 >= all.size()) return false;
                before = all.mid(0, i);
                return true;
            }
        }
        return false;
    });
    server.clear();
    if (!seen) before.append("<no PONG for " + token + ">");
    return before;
}

void ClientSession::mark()
{
    m_paneMark = irc ? int(irc->Incoming->Text().size()) : 0;
    m_mmMark = int(MultimediaLog().size());
}

QString ClientSession::paneSinceMark() const
{
    if (!irc) return QString();
    QString t = irc->Incoming->Text().mid(m_paneMark);
    t.remove(QStringLiteral("\nPING? PONG!"));
    return t;
}

QStringList ClientSession::soundsSinceMark() const
{
    QStringList out;
    const QStringList &log = MultimediaLog();
    for (int i = m_mmMark; i < log.size(); ++i) {
        // A Close names the file that was open before; it belongs to the sound after it.
        const bool isClose = log[i].contains(QLatin1String(":Close:"));
        const bool pingSound = isClose ? (i + 1 < log.size() && log[i + 1].endsWith(QLatin1String(":Open:WaveAudio:ping.wav")))
                                       : log[i].endsWith(QLatin1String(":ping.wav"));
        if (pingSound) continue;
        // Closing names whatever file was open before: keep only the control and command.
        out.append(log[i].contains(QLatin1String(":Close:")) ? log[i].section(QLatin1Char(':'), 0, 1) : log[i]);
    }
    return out;
}

QColor ClientSession::colourOf(const QString &text) const
{
    QColor found;
    if (!irc) return found;
    for (const RichPane::Run &r : TextRuns(irc->Incoming)) {
        QString t = r.text;
        t.remove(QLatin1Char('\n'));
        if (t == text) found = r.colour;  // the latest such line
    }
    return found;
}
