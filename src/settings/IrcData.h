#pragma once
#include <QString>

// The program-wide variables.
namespace IrcData {
inline QString BackMessage;
inline QString AwayMessage;
inline QString QuitMessage;
inline QString ServerName;
inline QString ServerPort;
inline QString CurrentNick;
inline QString AlternativeNick;
inline QString EmailAddress;
inline QString RealName;
inline QString TriviaAnswer;
inline QString SelectedNick;
} // namespace IrcData
