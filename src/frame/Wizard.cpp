// The first-run setup wizard: one question per setting, then the options dialog and a
// restart, so that everything is loaded afresh from the files just written.
#include "dialogs/frmOptions.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "settings/ConnectionSettings.h"
#include "settings/Defaults.h"
#include "settings/SettingsFile.h"
#include <QCoreApplication>

namespace {
using Item = settings::ConnectionSettings::Item;

// Each answer goes into a connection setting's file or into the named file.
struct Question
{
    const char *prompt;
    Item setting;
    const char *file = nullptr;
};
const Question Questions[] = {
    {"Please enter your prefered Nickname", Item::Nick},
    {"Please enter an alternative Nickname", Item::AlternativeNick},
    {"Please enter your real name", Item::RealName},
    {"Please enter your prefered e-mail address", Item::Email},
    {nullptr, Item::Server},  // names the default host: see Prompt()
    {"Please enter the port number of this IRC server (Note: Usually 6667)", Item::Port},
    {"Enter your prefered away message (Note: When you set yourself away, this message will be seen by everyone)",
     {}, "away.msg"},
    {"Enter your prefered back message (Note: When you set yourself back from being away, this message will be "
     "displayed to everyone in your current channel)",
     {}, "back.msg"},
    {"Enter your prefered quit message (Note: When you quit from IRC, people will see this message)", {}, "discon.msg"},
};

QString Prompt(const Question &q)
{
    if (q.prompt) return QString::fromUtf8(q.prompt);
    return QStringLiteral("Please enter your prefered server (Note: If you do not know any servers by heart, enter ") +
           settings::DefaultHost + QLatin1Char(')');
}
} // namespace

void frmOrvelMain::mnuSetupWizard_Click()
{
    emit setupWizardRequested();
    hide();
    for (const Question &q : Questions) {
        const QString answer = platform::dialogs().InputBox(Prompt(q), AppTitle, QString());
        if (answer.isEmpty()) {
            show();
            return;
        }
        // Written as typed; a file that cannot be written keeps its old value. The settings
        // held stay as they were: the restart loads the answers.
        if (q.file) settings::Write(QLatin1String(q.file), answer);
        else settings::ConnectionSettings::WriteFile(q.setting, answer);
    }
    settings::Write(QStringLiteral("backpic.msg"), QStringLiteral("bubbles.jpg"));
    frmOptions::ShowModal();
    platform::dialogs().MsgBox(QStringLiteral("OrvelIRC setup is now complete. OrvelIRC will now be restarted"), AppTitle,
                               MsgIcon::Information);
    // The program ends whether or not the new copy could start.
    platform::launcher().StartProgram(QCoreApplication::applicationFilePath(), {});
    platform::endProgram(0);
}
