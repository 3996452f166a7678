#pragma once
#include <QString>

// The program-wide variables that the session does not keep.
namespace IrcData {
inline QString BackMessage;
inline QString AwayMessage;
inline QString QuitMessage;
inline QString SelectedNick;
} // namespace IrcData
