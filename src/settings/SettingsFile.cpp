#include "settings/SettingsFile.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace settings {

namespace {
// A folder that turned read-only (or a full disk) fails every write after the first: the
// user hears of it once, and again only after a write has worked in between.
bool g_failureShown = false;

void logOnly(const QString &text) { qWarning("%s", qUtf8Printable(text)); }

// Where a failure is told; the windows put their message box here.
std::function<void(const QString &)> &failureNotice()
{
    static std::function<void(const QString &)> notice = logOnly;
    return notice;
}

void reportFailure(const QString &reason)
{
    if (g_failureShown) return;
    g_failureShown = true;
    const QString text = QStringLiteral("Your settings could not be saved in ") +
                         QDir::toNativeSeparators(QDir::currentPath()) + QStringLiteral(" (") + reason +
                         QStringLiteral("). The settings saved before stay as they were.");
    // Shown once the event at hand is done: a writer may be in the middle of received
    // data, which must not wait on a dialog.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [text] { failureNotice()(text); }, Qt::QueuedConnection);
    else
        failureNotice()(text);
}
} // namespace

void SetWriteFailureNotice(std::function<void(const QString &)> notice)
{
    failureNotice() = notice ? std::move(notice) : logOnly;
}

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
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) {
        f.write(value.toUtf8());
        f.write("\r\n", 2);
        ok = f.commit();
    }
    if (!ok) {
        reportFailure(f.errorString());
        return false;
    }
    g_failureShown = false;
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
        QFile f(p);
        if (!f.remove()) {
            reportFailure(f.errorString());
            break;
        }
        any = true;
    }
    return any;
}

// Fields separated by commas or line ends; a field in double quotes may hold commas, and
// text after its closing quote is dropped; blanks before a field are skipped. The list
// ends at the end of the text or with the first empty field, which is included.
QStringList ReadFields(const QByteArray &content)
{
    const QString text = QString::fromUtf8(content);
    const qsizetype n = text.size();
    qsizetype pos = 0;
    auto atLineEnd = [&](qsizetype p) { return text[p] == u'\r' || text[p] == u'\n'; };
    auto takeDelimiter = [&] {
        if (pos >= n) return;
        if (text[pos] == u',') {
            ++pos;
        } else if (text[pos] == u'\r') {
            ++pos;
            if (pos < n && text[pos] == u'\n') ++pos;
        } else if (text[pos] == u'\n') {
            ++pos;
        }
    };
    QStringList fields;
    while (pos < n) {
        while (pos < n && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
        QString field;
        if (pos < n && text[pos] == u'"') {
            const qsizetype close = text.indexOf(u'"', pos + 1);
            const qsizetype end = close < 0 ? n : close;
            field = text.mid(pos + 1, end - pos - 1);
            pos = close < 0 ? n : close + 1;
            // Anything between the closing quote and the delimiter is not part of the field.
            while (pos < n && text[pos] != u',' && !atLineEnd(pos)) ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != u',' && !atLineEnd(pos)) ++pos;
            field = text.mid(start, pos - start);
            while (field.endsWith(u' ') || field.endsWith(u'\t')) field.chop(1);
        }
        takeDelimiter();
        fields.append(field);
        if (field.isEmpty()) break;
    }
    return fields;
}

} // namespace settings
