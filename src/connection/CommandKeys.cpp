#include "connection/CommandKeys.h"
#include "connection/FrameHost.h"
#include "platform/Forms.h"
#include <QLineEdit>

namespace commands {

QStringList TypedLines(const QString &typed)
{
    QString t = typed;
    t.replace(QChar(0), QLatin1Char(' '));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void EnterLines(FormBase &window, QLineEdit &box, int &KeyAscii, core::InputLine where)
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
        if (line.startsWith(QLatin1Char('/'))) box.setText(line.mid(1));
        core::RunEntered(session(), where, line);
        if (!alive || window.IsUnloaded()) return;
    }
    box.clear();
}

} // namespace commands
