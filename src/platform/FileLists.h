#pragma once
// The drive, folder and file lists of the choosers. A "drive" is a file-system root: "/"
// and the mounted removable media.
#include <QComboBox>
#include <QListWidget>
#include <QStringList>

class DriveListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);
    // The chosen root.
    QString Drive() const;
    // Chooses the root that holds the path (the longest one that is a prefix of it).
    void SetDriveFor(const QString &path);
    // The listed root that holds the path.
    QString DriveFor(const QString &path) const;
    // "/" first, then the mounted media.
    static QStringList Roots();
signals:
    // The user or the program chose another root.
    void Change();
};

// The folder list: the chain of folders down to the current one, then its sub-folders.
// Opening an entry (double click or Enter) makes it the current folder.
class DirListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget *parent = nullptr);
    QString Path() const { return m_path; }
    // False (and nothing changes) when the folder does not exist.
    bool SetPath(const QString &path);
    // Rebuilds the entries from the file system.
    void Refresh();
signals:
    void Change();
private:
    QString m_path;
};

// The file list: the files of one folder that match the pattern ("*.gif", several joined
// by ";"; "*.*" means every file), letter case aside, in alphabetical order.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);
    QString Path() const { return m_path; }
    QString Pattern() const { return m_pattern; }
    // Changing the folder or the pattern lists the files afresh, with none selected.
    void SetPath(const QString &path);
    void SetPattern(const QString &pattern);
    // The selected file's name without its folder; "" when none is selected.
    QString FileName() const;
    void Refresh();
private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};
