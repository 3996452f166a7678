#pragma once
// The six connection settings: nick, alternative nick, real name, e-mail address, server
// and port, each in a settings file of its own. The object holds the values as last
// loaded or set; the files are written through it.
#include <QString>
#include <array>

namespace settings {

class ConnectionSettings
{
public:
    enum class Item { Nick, AlternativeNick, RealName, Email, Server, Port };
    static constexpr int Count = 6;

    // The item's settings file.
    static QString FileName(Item item);
    // Writes the value into the item's file only: what is held stays as it was.
    static bool WriteFile(Item item, const QString &value);

    const QString &Value(Item item) const { return m_values[size_t(item)]; }
    const QString &Nick() const { return Value(Item::Nick); }
    const QString &AlternativeNick() const { return Value(Item::AlternativeNick); }
    const QString &RealName() const { return Value(Item::RealName); }
    const QString &Email() const { return Value(Item::Email); }
    const QString &Server() const { return Value(Item::Server); }
    const QString &Port() const { return Value(Item::Port); }

    // Holds the value; its file is left alone.
    void Set(Item item, const QString &value) { m_values[size_t(item)] = value; }
    // Takes the value from the item's file; a missing or unreadable file leaves it as it was.
    bool Load(Item item);
    // Loads all six.
    void Load();
    // The user's choice: written into the file and held.
    void Save(Item item, const QString &value);
    // True when a setting no connection can go without is empty: the server, the nick,
    // the port, the alternative nick or the e-mail address (a missing real name has a
    // stand-in).
    bool Incomplete() const;
    // Holds nothing, as before the first load.
    void Clear() { m_values = {}; }

private:
    std::array<QString, Count> m_values;
};

} // namespace settings
