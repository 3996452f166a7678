#include "ClientSession.h"
#include "platform/Timer.h"

ClientSession::ClientSession(int port, const Settings &settings, Ticks ticks) : m_loopback(port == 0)
{
    env.writeConnection(m_loopback ? srv.port() : port);
    for (const auto &[name, value] : settings) env.writeSetting(name, value);
    VbTimer::setRealTicks(ticks == Ticks::Real);
    m = &env.start();
    m->show();
    s = &form<frmOrvelIRC>();
    mark();
}

bool ClientSession::connectByButton()
{
    m->cmdConnect_Click();
    bool ok = srv.waitForClient() && srv.waitForLineStarting("USER ");
    // A server answers registration at once; its first words end the count-down.
    srv.send(":127.0.0.1 NOTICE * :*** Checking your registration\r\n");
    ok = ok && WaitUntil([this] { return !m->Timer2->Enabled(); });
    srv.clear();
    mark();
    return ok;
}

bool ClientSession::connect(const QString &serverName)
{
    typeServer(QStringLiteral("/SERVER 127.0.0.1"));
    if (m_loopback) {
        if (!srv.waitForClient() || !srv.waitForLineStarting("USER ")) return false;
        srv.clear();
        srv.send(":" + serverName.toUtf8() + " 001 " + session().Nick().toUtf8() + " :Welcome\r\n");
    }
    const bool ok = WaitUntil([&] { return session().ServerName() == serverName; });
    mark();
    return ok;
}

bool ClientSession::join(const QString &channel, const QByteArray &names)
{
    typeServer(QStringLiteral("/JOIN ") + channel);
    if (m_loopback) {
        const QByteArray c = channel.toUtf8(), n = session().Nick().toUtf8(), from = ":" + session().ServerName().toUtf8();
        srv.send(":" + n + "!u@h JOIN :" + c + "\r\n" + from + " 332 " + n + " " + c + " :The topic\r\n" + from + " 353 " +
                 n + " = " + c + " :" + names + "\r\n" + from + " 366 " + n + " " + c + " :End of /NAMES list.\r\n");
    }
    if (!WaitUntil([this] { return s && session().ChannelState() == core::ChannelState::Joined; })) return false;
    if (m_loopback) drain();
    return true;
}

bool ClientSession::feed(const QByteArray &bytes)
{
    const QByteArray token = "sync" + QByteArray::number(++m_sync);
    srv.send(bytes + "PING :" + token + "\r\n");
    Lines before;
    const bool seen = WaitUntil([&] {
        const Lines all = srv.lines();
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all[i].startsWith("PONG ") && all[i].endsWith(" :" + token)) {
                // In a channel the PING also asks for the names: wait for that line too.
                if (s && session().ChannelState() == core::ChannelState::Joined && i + 1 >= all.size()) return false;
                before = all.mid(0, i);
                return true;
            }
        }
        return false;
    });
    srv.clear();
    m_kept += before;
    return seen;
}

Lines ClientSession::repliesTo(const QByteArray &bytes)
{
    const bool seen = feed(bytes);
    Lines out;
    out.swap(m_kept);
    if (!seen) out.append("<no PONG for sync" + QByteArray::number(m_sync) + ">");
    return out;
}

Lines ClientSession::sent()
{
    Lines out;
    out.swap(m_kept);
    if (!s) return out << QByteArrayLiteral("<no server window>");
    s->SendData(QStringLiteral("MARK"));
    if (!srv.waitForLine("MARK")) return out << QByteArrayLiteral("<marker never arrived>");
    Lines rest = srv.lines();
    rest.removeLast();
    srv.clear();
    return out + rest;
}

void ClientSession::mark()
{
    m_paneMark = s ? int(s->Incoming->Text().size()) : 0;
    m_mmMark = int(MultimediaLog().size());
}

QString ClientSession::paneSinceMark() const
{
    if (!s) return QString();
    QString t = s->Incoming->Text().mid(m_paneMark);
    t.remove(QStringLiteral("\nPING? PONG!"));
    return t;
}

QStringList ClientSession::soundsSinceMark() const
{
    QStringList out;
    const QStringList &log = MultimediaLog();
    for (int i = m_mmMark; i < log.size(); ++i) {
        // A Close names whatever file was open before: it belongs to the sound after it.
        const bool isClose = log[i].contains(QLatin1String(":Close:"));
        const bool pingSound = isClose ? (i + 1 < log.size() && log[i + 1].endsWith(QLatin1String(":Open:WaveAudio:ping.wav")))
                                       : log[i].endsWith(QLatin1String(":ping.wav"));
        if (pingSound) continue;
        out.append(isClose ? log[i].section(QLatin1Char(':'), 0, 1) : log[i]);
    }
    return out;
}
