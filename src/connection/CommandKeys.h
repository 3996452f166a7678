#pragma once
// The keys of the command lines. What an entered line does is the session's command table.
#include "core/Commands.h"
#include <QString>
#include <QStringList>

class FormBase;
class QLineEdit;

namespace commands {

// The lines of what was entered: a paste may hold several, split at CR LF, CR or LF.
// Empty lines are left out and a NUL, which no line can carry, becomes a blank.
QStringList TypedLines(const QString &typed);

// Key rules of both command lines. Esc minimises the window and swallows the key. Enter
// on a non-empty line swallows the key and runs each of its lines as if it had been typed
// and entered alone (a command is shown in the box without its "/" while it runs), then
// empties the box (unless the window went away meanwhile). Every other key is left to the
// box.
void EnterLines(FormBase &window, QLineEdit &box, int &KeyAscii, core::InputLine where);

} // namespace commands
