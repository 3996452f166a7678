#include "connection/Commands.h"
#include "connection/frmOrvelIRC.h"
#include "frame/Forms.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "platform/TextCut.h"
#include "core/Session.h"
#include "platform/TcpSocket.h"
#include "settings/SettingsFile.h"
#include <QLineEdit>
#include <QProcess>

namespace commands {

QStringList TypedLines(const QString &typed)
{
    QString t = typed;
    t.replace(QChar(0), QLatin1Char(' '));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void EnterLines(FormBase &window, QLineEdit &box, int &KeyAscii, const std::function<void(const QString &)> &run)
{
    if (KeyAscii == 27) {
        KeyAscii = 0;
        window.Minimize();
        return;
    }
    const QString text = box.text();
    if (KeyAscii != 13 || text.isEmpty()) return;
    KeyAscii = 0;
    // A command may unload the window (a message box runs its own event loop).
    const QPointer<FormBase> alive(&window);
    for (const QString &line : TypedLines(text)) {
        run(line);
        if (!alive || window.IsUnloaded()) return;
    }
    box.clear();
}

Cut CutCommand(const QString &text)
{
    Cut c;
    const int blank = cut::InStr(text, QStringLiteral(" "));
    cut::Set(c.argument, cut::Mid(text, blank + 1));
    QString word;
    if (cut::Set(word, cut::Left(text, blank - 1))) c.word = word.toUpper();
    return c;
}

Cut TakeCommand(QLineEdit &box, const QString &line)
{
    const QString rest = line.mid(1);
    box.setText(rest);
    return CutCommand(rest);
}

std::optional<std::pair<QString, QString>> TargetAndText(const QString &argument)
{
    const int blank = cut::InStr(argument, QStringLiteral(" "));
    const auto target = cut::Left(argument, blank - 1);
    if (!target) return std::nullopt;
    return std::make_pair(*target, *cut::Mid(argument, blank + 1));
}

QString ActionLine(const QString &channel, const QString &text)
{
    return QStringLiteral("PRIVMSG ") + channel + QStringLiteral(" :\x01" "ACTION ") + text + QChar(1);
}

void Server(const QString &host)
{
    // The server window shows the attempt.
    form<frmOrvelIRC>();
    session().ConnectTo(host);
}

bool Join(const QString &argument)
{
    // The channel is the first word, up to a second channel after a comma; a key after it
    // goes out on the JOIN line and nowhere else.
    QString channel = argument.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (channel.isEmpty()) return false;
    const qsizetype comma = channel.indexOf(QLatin1Char(','));
    if (comma >= 0) channel.truncate(comma);
    form<frmOrvelIRC>().SendData(QStringLiteral("JOIN ") + argument);
    core::Session &ss = session();
    // Servers answer nothing to a join of the channel we are in: waiting for its replies
    // would stop following the channel for good.
    if (ss.ChannelState() == core::ChannelState::Joined && !ss.PartedCurrentChannel() && ss.IsCurrentChannel(channel))
        return true;
    ss.SetChannelState(core::ChannelState::JoinSent);
    ss.SetCurrentChannel(channel);
    return true;
}

bool Nick(const QString &argument)
{
    const QString nick = argument.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (nick.isEmpty()) return false;
    form<frmOrvelIRC>().SendData(QStringLiteral("NICK ") + nick);
    core::Session &ss = session();
    // Once registered the server decides: its echo of the change makes the nick ours, and
    // a refusal leaves ours as it is. Before that no echo comes, so the nick is taken now.
    if (ss.Socket().IsConnected() && ss.WelcomeSeen()) ss.SetRequestedNick(nick);
    else ss.ChangeNick(nick, true);
    return true;
}

void Dcc(const QString &argument)
{
    if (argument == QLatin1String("send") || argument == QLatin1String("chat"))
        platform::dialogs().MsgBox(QStringLiteral("Sorry, no dcc commands yet."), AppTitle);
}

void Run(const QString &commandLine)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty()) return;
    const QString program = parts.takeFirst();
    platform::launcher().StartProgram(program, parts);
}

} // namespace commands
