#pragma once
#include <QDialog>
class DirListBox;
class DriveListBox;
class FileListBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// The sound chooser: picks a wave file and plays it once; it stores nothing. The sound is
// played by its bare name, so only a file of that name in the working folder sounds.
// ShowModal() loads a fresh one and runs it modally; tests may build one, run Form_Load
// and call the handlers, or drive the open one through Current().
class frmSoundOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmSoundOptions(QWidget *parent = nullptr);
    static void ShowModal();
    static frmSoundOptions *Current();

    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command2 = nullptr;  // OK
    QPushButton *Command1 = nullptr;  // Cancel
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr;

    void Form_Load();
    void Command2_Click();
    void Command1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Change();
    // One pass of keeping the lists in step (load and pattern changes).
    void SyncLists();

private:
    void updateOk();
    void focusActiveChild();
};
