#pragma once
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <functional>
class DirListBox;
class DriveListBox;
class FileListBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// What the picture and sound choosers share: drive, folder and file lists under a titled
// frame, an editable pattern box, four option boxes, OK and Cancel. The lists start in the
// working folder and keep in step as they change; OK is enabled only while a file is
// selected. Each chooser supplies its captions and patterns, its load and its OK.
class FileChooser : public QDialog
{
    Q_OBJECT
public:
    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command2 = nullptr;  // OK
    QPushButton *Command1 = nullptr;  // Cancel
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr;

    virtual void Command2_Click() = 0;
    virtual void Command1_Click();
    virtual void Combo1_Change();
    void Drive1_Change();
    void Dir1_Change();

protected:
    // checks: the four option captions, in order. rootWhenNoFolder: a new drive also moves
    // the folder list to its root while that list names no folder.
    FileChooser(QWidget *parent, const QString &frameTitle, const QStringList &patterns, const QStringList &checks,
                bool rootWhenNoFolder);

    void updateOk();

    // Builds a fresh D over the frame, prepares it when asked, loads it and runs it
    // modally; openOne<D>() holds it meanwhile (one holder for each kind of chooser).
    template <class D> static void runModal(const std::function<void(D &)> &prepare = {})
    {
        D d(frameWindow());
        openOne<D>() = &d;
        if (prepare) prepare(d);
        d.Form_Load();
        d.exec();
    }
    template <class D> static QPointer<D> &openOne()
    {
        static QPointer<D> open;
        return open;
    }

private:
    static QWidget *frameWindow();
    bool m_rootWhenNoFolder;
};
