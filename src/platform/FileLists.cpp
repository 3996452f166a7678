#include "platform/FileLists.h"
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace {
bool caseBlindLess(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; }
} // namespace

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent)
{
    addItems(Roots());
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::Change);
}

QStringList DriveListBox::Roots()
{
    QStringList roots{QStringLiteral("/")};
    QStringList media;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (!v.isValid() || !v.isReady()) continue;
        if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/mnt/")) ||
            root.startsWith(QLatin1String("/run/media/")))
            media.append(root);
    }
    std::sort(media.begin(), media.end(), caseBlindLess);
    media.removeDuplicates();
    return roots + media;
}

QString DriveListBox::Drive() const { return currentText(); }

QString DriveListBox::DriveFor(const QString &path) const
{
    int best = 0;
    for (int i = 1; i < count(); ++i) {
        const QString root = itemText(i);
        if ((path == root || path.startsWith(root + u'/')) && root.size() > itemText(best).size()) best = i;
    }
    return itemText(best);
}

void DriveListBox::SetDriveFor(const QString &path) { setCurrentIndex(findText(DriveFor(path))); }

DirListBox::DirListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { SetPath(item->data(Qt::UserRole).toString()); });
}

bool DirListBox::SetPath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == m_path) return true;
    m_path = clean;
    Refresh();
    emit Change();
    return true;
}

void DirListBox::Refresh()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList chain{QStringLiteral("/")};
    for (const QString &part : m_path.split(u'/', Qt::SkipEmptyParts))
        chain.append(chain.last() == QLatin1String("/") ? chain.last() + part : chain.last() + u'/' + part);
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = p == QLatin1String("/") ? p : QFileInfo(p).fileName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, u' ') + name, this);
        item->setData(Qt::UserRole, p);
        ++depth;
    }
    setCurrentRow(count() - 1);
    QStringList subs = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(subs.begin(), subs.end(), caseBlindLess);
    for (const QString &s : subs) {
        auto *item = new QListWidgetItem(closed, QString(depth * 2, u' ') + s, this);
        item->setData(Qt::UserRole, m_path == QLatin1String("/") ? m_path + s : m_path + u'/' + s);
    }
}

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileListBox::SetPath(const QString &path)
{
    if (path == m_path) return;
    m_path = path;
    Refresh();
}

void FileListBox::SetPattern(const QString &pattern)
{
    if (pattern == m_pattern) return;
    m_pattern = pattern;
    Refresh();
}

QString FileListBox::FileName() const
{
    const QList<QListWidgetItem *> sel = selectedItems();
    return sel.isEmpty() ? QString() : sel.first()->text();
}

void FileListBox::Refresh()
{
    clear();
    if (m_path.isEmpty()) return;
    QStringList filters;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        // "*.*" takes names without a dot as well.
        filters.append(p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    }
    if (filters.isEmpty()) return;
    QDir dir(m_path);
    dir.setNameFilters(filters);
    dir.setFilter(QDir::Files);  // name filters then match letter case aside
    QStringList names = dir.entryList();
    std::sort(names.begin(), names.end(), caseBlindLess);
    addItems(names);
    setCurrentRow(-1);
    clearSelection();
}
