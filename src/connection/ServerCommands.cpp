// The server window's command line: slash commands only; plain text is refused.
#include "connection/Commands.h"
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "core/ChannelMembers.h"
#include "core/Session.h"
#include "windows/frmChan.h"
#include <functional>

namespace {
struct Row
{
    const char *word;
    bool needsConnection;
    std::function<void(frmOrvelIRC &, const QString &)> run;
};

QString channel() { return session().CurrentChannel(); }

void action(frmOrvelIRC &s, const QString &a)
{
    if (form<frmChan>().Namelist->Members().Count() > 0) s.SendData(commands::ActionLine(channel(), a));
    s.Addtext2(QStringLiteral("* ") + session().Nick() + QLatin1Char(' ') + a);
}

void part(frmOrvelIRC &s, const QString &a)
{
    s.SendData(QStringLiteral("PART ") + a);
    s.Addtext(QStringLiteral("\x01 Parted Channel"));
}

const std::vector<Row> &table()
{
    static const std::vector<Row> rows = {
        {"NOTICE", false, [](frmOrvelIRC &s, const QString &a) {
             s.SendData(QStringLiteral("NOTICE ") + channel() + QStringLiteral(" :") + a);
             form<frmChan>().Addtext2(QStringLiteral("NOTICE: ") + a);
         }},
        {"SERVER", false, [](frmOrvelIRC &, const QString &a) { commands::Server(a); }},
        {"DCC", false, [](frmOrvelIRC &, const QString &a) { commands::Dcc(a); }},
        {"KICK", true, [](frmOrvelIRC &s, const QString &a) {
             s.SendData(QStringLiteral("KICK ") + channel() + QLatin1Char(' ') + a);
         }},
        {"TOPIC", false, [](frmOrvelIRC &, const QString &) {}},
        {"INVITE", true, [](frmOrvelIRC &s, const QString &a) { s.SendData(QStringLiteral("INVITE ") + a); }},
        {"RUN", false, [](frmOrvelIRC &, const QString &a) { commands::Run(a); }},
        {"SOUND", false, [](frmOrvelIRC &, const QString &a) { Main().PlaySnd(a); }},
        {"SHELL", false, [](frmOrvelIRC &, const QString &a) { commands::Run(a); }},
        {"ECHO", false, [](frmOrvelIRC &s, const QString &a) { s.Addtext4(a); }},
        {"BAN", true, [](frmOrvelIRC &s, const QString &a) {
             s.SendData(QStringLiteral("MODE ") + channel() + QStringLiteral(" +b ") + a);
         }},
        {"AWAY", true, [](frmOrvelIRC &s, const QString &a) {
             s.SendData(QStringLiteral("AWAY :") + a);
             s.Addtext(QStringLiteral("\x01 Set away"));
         }},
        {"RAW", true, [](frmOrvelIRC &s, const QString &a) { s.SendData(a); }},
        {"WHOIS", true, [](frmOrvelIRC &s, const QString &a) {
             s.SendData(QStringLiteral("WHOIS :") + a);
             s.Addtext(QStringLiteral("\x01 Attempting to get information on ") + a + QStringLiteral("..."));
         }},
        {"QUIT", true, [](frmOrvelIRC &s, const QString &a) { s.SendData(QStringLiteral("QUIT :") + a); }},
        {"MODE", true, [](frmOrvelIRC &s, const QString &a) { s.SendData(QStringLiteral("MODE ") + a); }},
        {"NICK", true, [](frmOrvelIRC &s, const QString &a) {
             if (commands::Nick(a)) s.Addtext(QStringLiteral("\x01 Attempting to change your nick..."));
         }},
        {"P", true, part},
        {"PART", true, part},
        {"JOIN", true, [](frmOrvelIRC &s, const QString &a) {
             if (commands::Join(a)) s.Addtext(QStringLiteral("\x01 Attempting to join ") + a + QStringLiteral("..."));
         }},
        {"ACTION", true, action},
        {"ME", true, action},
        {"MSG", true, [](frmOrvelIRC &s, const QString &a) {
             const auto msg = commands::TargetAndText(a);
             if (!msg) return;
             s.SendData(QStringLiteral("PRIVMSG ") + msg->first + QStringLiteral(" :") + msg->second);
             s.Addtext(QStringLiteral("=->") + msg->first + QStringLiteral("<-= ") + msg->second);
         }},
    };
    return rows;
}
} // namespace

void frmOrvelIRC::Outgoing_KeyPress(int &KeyAscii)
{
    commands::EnterLines(*this, *Outgoing, KeyAscii, [this](const QString &line) { RunTypedLine(line); });
}

void frmOrvelIRC::RunTypedLine(const QString &line)
{
    if (!line.startsWith(QLatin1Char('/'))) {
        // Typed text is never sent from the server window.
        Addtext(IsConnectedFlag() ? QStringLiteral("\x01 Error 4 (Not in a channel)")
                                  : QStringLiteral("\x01 Error 5 (Not connected)"));
        Main().PlaySnd(QStringLiteral("error.wav"));
        return;
    }
    const commands::Cut c = commands::TakeCommand(*Outgoing, line);
    if (const Row *row = commands::FindRow(table(), c.word)) {
        if (row->needsConnection && !IsConnectedFlag()) {
            Addtext(QStringLiteral("\x01 Error 5 (Not connected)"));
            Main().PlaySnd(QStringLiteral("error.wav"));
        } else {
            row->run(*this, c.argument);
        }
    }
}
