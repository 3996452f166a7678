#include "settings/WorkingFolder.h"
#include "settings/SettingsFile.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace settings {

QString WorkingFolderPath()
{
    const QString own = qEnvironmentVariable("ORVELIRC_HOME");
    if (!own.isEmpty()) return QDir(own).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orvelirc");
}

QString ShippedDataFolder()
{
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/orvelirc"));
    return shipped.exists() ? shipped.canonicalPath() : QString();
}

QString EnterWorkingFolder(const QString &folder, const QString &shipped)
{
    if (!QDir().mkpath(folder)) return QStringLiteral("cannot create ") + folder;
    if (!QDir::setCurrent(folder)) return QStringLiteral("cannot enter ") + folder;
    if (shipped.isEmpty()) return QString();
    const QFileInfoList files = QDir(shipped).entryInfoList(QDir::Files);
    for (const QFileInfo &f : files)
        if (Find(f.fileName()).isEmpty()) QFile::copy(f.filePath(), f.fileName());
    return QString();
}

} // namespace settings
