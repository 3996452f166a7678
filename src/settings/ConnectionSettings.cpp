#include "settings/ConnectionSettings.h"
#include "settings/SettingsFile.h"

namespace settings {

QString ConnectionSettings::FileName(Item item)
{
    switch (item) {
    case Item::Nick: return QStringLiteral("nick.msg");
    case Item::AlternativeNick: return QStringLiteral("altnick.msg");
    case Item::RealName: return QStringLiteral("realname.msg");
    case Item::Email: return QStringLiteral("email.msg");
    case Item::Server: return QStringLiteral("server.msg");
    case Item::Port: return QStringLiteral("port.msg");
    }
    return QString();
}

bool ConnectionSettings::WriteFile(Item item, const QString &value) { return Write(FileName(item), value); }

bool ConnectionSettings::Load(Item item)
{
    const auto v = Read(FileName(item));
    if (!v) return false;
    Set(item, *v);
    return true;
}

void ConnectionSettings::Load()
{
    for (Item item : {Item::AlternativeNick, Item::Nick, Item::Server, Item::Port, Item::RealName, Item::Email})
        Load(item);
}

void ConnectionSettings::Save(Item item, const QString &value)
{
    Set(item, value);
    WriteFile(item, value);
}

bool ConnectionSettings::Incomplete() const
{
    return Server().isEmpty() || Nick().isEmpty() || Port().isEmpty() || AlternativeNick().isEmpty() || Email().isEmpty();
}

} // namespace settings
