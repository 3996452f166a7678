#include "platform/Platform.h"
#include "platform/DisplayBatch.h"
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace {
class QtDialogs : public InputDialogs
{
public:
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        bool ok = false;
        const QString t = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, def, &ok);
        return ok ? t : QString();
    }
    void MsgBox(const QString &text, const QString &title, MsgIcon icon) override
    {
        const QMessageBox::Icon shown = icon == MsgIcon::Information   ? QMessageBox::Information
                                        : icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                                                       : QMessageBox::NoIcon;
        QMessageBox box(shown, title, text, QMessageBox::Ok, QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    bool AskYesNo(const QString &text, const QString &title) override
    {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        return box.exec() == QMessageBox::Yes;
    }
    std::optional<QFont> ChooseFont(const QFont &initial) override
    {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
        if (!ok) return std::nullopt;
        return f;
    }
    QString ChooseFile(const QString &title, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter);
    }
};

class QtLauncher : public Launcher
{
public:
    bool StartProgram(const QString &program, const QStringList &args) override
    {
        return QProcess::startDetached(program, args);
    }
    bool OpenUrl(const QString &url) override { return QDesktopServices::openUrl(QUrl(url)); }
    bool ProgramExists(const QString &program) override { return !QStandardPaths::findExecutable(program).isEmpty(); }
};

class QtClipboard : public Clipboard
{
public:
    void Clear() override { QGuiApplication::clipboard()->clear(); }
    void SetText(const QString &t) override { QGuiApplication::clipboard()->setText(t); }
    QString GetText() override { return QGuiApplication::clipboard()->text(); }
    bool CaptureScreen() override
    {
        QScreen *s = QGuiApplication::primaryScreen();
        if (!s) return false;
        const QPixmap shot = s->grabWindow(0);
        if (shot.isNull()) return false;
        QGuiApplication::clipboard()->setPixmap(shot);
        return true;
    }
};

class QtSettingsStore : public SettingsStore
{
public:
    QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def) override
    {
        QSettings s(app, app);
        return s.value(section + QLatin1Char('/') + key, def).toString();
    }
    void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value) override
    {
        QSettings s(app, app);
        s.setValue(section + QLatin1Char('/') + key, value);
    }
};

QtDialogs g_qtDialogs;
QtLauncher g_qtLauncher;
QtClipboard g_qtClipboard;
QtSettingsStore g_qtStore;
InputDialogs *g_dialogs = nullptr;
Launcher *g_launcher = nullptr;
Clipboard *g_clipboard = nullptr;
SettingsStore *g_store = nullptr;
void (*g_end)(int) = nullptr;

int dpiX()
{
    QScreen *s = QGuiApplication::primaryScreen();
    const int d = s ? int(s->logicalDotsPerInchX()) : 96;
    return d > 0 ? d : 96;
}
int dpiY()
{
    QScreen *s = QGuiApplication::primaryScreen();
    const int d = s ? int(s->logicalDotsPerInchY()) : 96;
    return d > 0 ? d : 96;
}
} // namespace

namespace platform {
InputDialogs &dialogs()
{
    // A box waits for the user, who must see every line that came before it.
    display::DisplayBatch::Finish();
    return g_dialogs ? *g_dialogs : g_qtDialogs;
}
Launcher &launcher() { return g_launcher ? *g_launcher : g_qtLauncher; }
Clipboard &clipboard() { return g_clipboard ? *g_clipboard : g_qtClipboard; }
SettingsStore &settingsStore() { return g_store ? *g_store : g_qtStore; }
void setDialogs(InputDialogs *d) { g_dialogs = d; }
void setLauncher(Launcher *l) { g_launcher = l; }
void setClipboard(Clipboard *c) { g_clipboard = c; }
void setSettingsStore(SettingsStore *s) { g_store = s; }
void endProgram(int code)
{
    if (g_end) { g_end(code); return; }
    fflush(nullptr);
    std::_Exit(code);
}
void setEndProgram(void (*fn)(int)) { g_end = fn; }
int PixelsToTwipsX(int px) { return px * 1440 / dpiX(); }
int PixelsToTwipsY(int px) { return px * 1440 / dpiY(); }
int TwipsToPixelsX(int tw) { return tw * dpiX() / 1440; }
int TwipsToPixelsY(int tw) { return tw * dpiY() / 1440; }
} // namespace platform
