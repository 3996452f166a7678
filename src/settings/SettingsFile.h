#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One setting per "<key>.msg" file in the working directory. Names are stored in lower
// case and found whatever the letter case on disk; a file is replaced whole and
// atomically, so a crash never leaves half a value.
namespace settings {
// Writes the value and CR LF; false when the file could not be written (the old
// content then stays). A failure is reported to the user once, after the event at hand,
// and again only once a write has worked in between; Remove reports the same way.
bool Write(const QString &fileName, const QString &value);
// How a failed write is told: the windows show a message box; until one is set (or with
// nullptr) it is only logged.
void SetWriteFailureNotice(std::function<void(const QString &)> notice);
// The file's first line without its line end; nullopt when missing or unreadable.
std::optional<QString> Read(const QString &fileName);
// The path of an existing file of that name, letter case aside; "" when there is none.
QString Find(const QString &fileName);
bool Remove(const QString &fileName);
// The fields of a list file (start-up text, server lists), up to and with the first empty one.
QStringList ReadFields(const QByteArray &content);
} // namespace settings

// The live value of one setting.
struct Holder
{
    QString Text;
    // Replaces the text with the file's value; a missing file leaves it as it was.
    bool Load(const QString &fileName)
    {
        const auto v = settings::Read(fileName);
        if (!v) return false;
        Text = *v;
        return true;
    }
    bool operator==(const QString &s) const { return Text == s; }
};
