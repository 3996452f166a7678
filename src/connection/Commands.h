#pragma once
// What the server and channel command lines share: the key rules, the cut of a typed
// command into its word and argument, and the commands that behave the same in both.
#include "settings/Defaults.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class FormBase;
class QLineEdit;

namespace commands {

// Used by /SERVER when no server, or no e-mail address, is stored.
using settings::DefaultHost;
using settings::DefaultEmail;

// The lines of what was entered: a paste may hold several, split at CR LF, CR or LF.
// Empty lines are left out and a NUL, which no line can carry, becomes a blank.
QStringList TypedLines(const QString &typed);

// Key rules of both command lines. Esc minimises the window and swallows the key. Enter
// on a non-empty line swallows the key and runs each of its lines as if it had been typed
// and entered alone, then empties the box (unless the window went away meanwhile). Every
// other key is left to the box.
void EnterLines(FormBase &window, QLineEdit &box, int &KeyAscii, const std::function<void(const QString &)> &run);

struct Cut
{
    QString word;      // upper case; empty when the text holds no blank
    QString argument;  // as typed; the whole text when it holds no blank
};
// Cuts a command line that has lost its "/".
Cut CutCommand(const QString &text);

// A typed "/" line: the box is left showing the line without its "/", which is then cut.
Cut TakeCommand(QLineEdit &box, const QString &line);

// The first row of a command table whose word is the cut word; nullptr when there is none.
template <class Row> const Row *FindRow(const std::vector<Row> &rows, const QString &word)
{
    for (const Row &row : rows)
        if (word == QLatin1String(row.word)) return &row;
    return nullptr;
}

// /MSG: the target (up to the first blank) and the text after it; nothing without a blank.
std::optional<std::pair<QString, QString>> TargetAndText(const QString &argument);

// The CTCP action line for a channel.
QString ActionLine(const QString &channel, const QString &text);

// /SERVER: both command lines run the same steps on the server window.
void Server(const QString &host);

// /JOIN: sends "JOIN " and the argument as typed, sets the channel state to "join sent" and
// makes the channel it names (without a key or a second channel) the current channel. With
// no channel word nothing is sent or changed and false is returned.
bool Join(const QString &argument);

// /NICK: sends the change. Registered with a server, the nick becomes ours when the server
// echoes the change; offline or still registering it is taken at once (holder, variable,
// nick.msg and, while a connection is shown, the caption). Only the first word counts;
// with no word at all nothing is sent or changed and false is returned.
bool Nick(const QString &argument);

// /DCC: only exactly "send" or "chat" gets the notice box.
void Dcc(const QString &argument);

// /RUN and /SHELL: the typed command line split into program and arguments, no shell.
void Run(const QString &commandLine);

} // namespace commands
