#include "settings/SettingsFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace settings {

QString Find(const QString &fileName)
{
    const QDir dir = QDir::current();
    const QString lower = fileName.toLower();
    if (QFileInfo(dir.filePath(lower)).isFile()) return dir.filePath(lower);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(e);
    return QString();
}

bool Write(const QString &fileName, const QString &value)
{
    const QDir dir = QDir::current();
    const QString target = dir.filePath(fileName.toLower());
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(value.toUtf8());
    f.write("\r\n", 2);
    if (!f.commit()) return false;
    // Other spellings of the same name would shadow nothing but confuse: one file per name.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e != fileName.toLower() && e.compare(fileName, Qt::CaseInsensitive) == 0) QFile::remove(dir.filePath(e));
    return true;
}

std::optional<QString> Read(const QString &fileName)
{
    const QString path = Find(fileName);
    if (path.isEmpty()) return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString all = QString::fromUtf8(f.readAll());
    qsizetype end = all.size();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (all[i] == QLatin1Char('\r') || all[i] == QLatin1Char('\n')) { end = i; break; }
    return all.left(end);
}

bool Remove(const QString &fileName)
{
    bool any = false;
    for (QString p = Find(fileName); !p.isEmpty(); p = Find(fileName)) {
        if (!QFile::remove(p)) break;
        any = true;
    }
    return any;
}

} // namespace settings
