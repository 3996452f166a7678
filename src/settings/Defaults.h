#pragma once
#include <QString>

// The server and e-mail address used when the user has none: /SERVER falls back on them
// and the setup dialog's Defaults button offers them.
namespace settings {
inline const QString DefaultHost = QStringLiteral("irc.libera.chat");
inline const QString DefaultEmail = QStringLiteral("orvel@example.com");
} // namespace settings
