#pragma once
#include <QString>

// The server and e-mail address used when the user has none: /SERVER falls back on them
// and the setup dialog's Defaults button offers them. Registration falls back on the
// e-mail address and the real name, so the USER line never has an empty field.
namespace settings {
inline const QString DefaultHost = QStringLiteral("irc.libera.chat");
inline const QString DefaultEmail = QStringLiteral("orvel@example.com");
inline const QString DefaultRealName = QStringLiteral("Unlisted");
inline const QString DefaultNick = QStringLiteral("OrvelIRC05");
} // namespace settings
