#pragma once
// The slash commands of both command lines, the server window's and the channel window's,
// in one table. A row says which lines know it, whether the server line refuses it while
// not connected and where each line's echo of it goes; what it sends and changes is the
// same in both. A line that is not a command is plain text: the server line refuses it,
// the channel line sends it to the current channel.
#include <QString>

namespace core {

class Session;

// The line a text was entered in.
enum class InputLine { Server, Channel };

struct Cut
{
    QString word;      // upper case; empty when the text holds no blank
    QString argument;  // as typed; the whole text when it holds no blank
};
// Cuts a command that has lost its "/" into its word and its argument.
Cut CutCommand(const QString &text);

// Runs one entered line (one line of a paste, as if it had been typed alone): a line that
// starts with "/" runs the first row whose word it names, in any letter case; a word no
// row of that line has does nothing.
void RunEntered(Session &session, InputLine where, const QString &line);

} // namespace core
