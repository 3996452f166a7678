#pragma once
// The desktop services the program calls, each behind one small interface. The Qt/Linux
// implementations are installed by default; tests install recording doubles.
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

inline const QString AppTitle = QStringLiteral("OrvelIRC");

// The picture beside a message box's text.
enum class MsgIcon { None, Information, Exclamation };

class InputDialogs
{
public:
    virtual ~InputDialogs() = default;
    // Returns the typed text, or "" on Cancel.
    virtual QString InputBox(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // An OK box; the icon tells what kind of message it is.
    virtual void MsgBox(const QString &text, const QString &title, MsgIcon icon = MsgIcon::None) = 0;
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString &text, const QString &title) = 0;
    virtual std::optional<QFont> ChooseFont(const QFont &initial) = 0;
    // A file to open; "" when cancelled.
    virtual QString ChooseFile(const QString &title, const QString &filter) = 0;
};

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts a program with its arguments, without a shell; false when it could not start.
    virtual bool StartProgram(const QString &program, const QStringList &args) = 0;
    virtual bool OpenUrl(const QString &url) = 0;
    virtual bool ProgramExists(const QString &program) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString &text) = 0;
    virtual QString GetText() = 0;
    // Puts a picture of the whole screen on the clipboard.
    virtual bool CaptureScreen() = 0;
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def) = 0;
    virtual void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value) = 0;
};

namespace platform {
InputDialogs &dialogs();
Launcher &launcher();
Clipboard &clipboard();
SettingsStore &settingsStore();
// Replace a service (ownership stays with the caller); nullptr restores the default.
void setDialogs(InputDialogs *d);
void setLauncher(Launcher *l);
void setClipboard(Clipboard *c);
void setSettingsStore(SettingsStore *s);
// Ends the program at once (tests replace it so the process survives).
void endProgram(int code = 0);
void setEndProgram(void (*fn)(int));

// Screen positions are kept in twips.
int PixelsToTwipsX(int px);
int PixelsToTwipsY(int px);
int TwipsToPixelsX(int tw);
int TwipsToPixelsY(int tw);
} // namespace platform
