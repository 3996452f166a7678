#pragma once
#include <QDialog>
class DirListBox;
class DriveListBox;
class FileListBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// The picture chooser: picks the dashboard's background picture and stores its full path
// in backpic.msg. ShowModal() loads a fresh one and runs it modally; tests may build one,
// run Form_Load and call the handlers, or drive the open one through Current().
//
// The lists keep in step as they change: a new drive moves the folder list to it, a new
// folder or pattern lists the files afresh, and OK is enabled only while a file is selected.
class frmDashboard : public QDialog
{
    Q_OBJECT
public:
    explicit frmDashboard(QWidget *parent = nullptr);
    static void ShowModal();
    static frmDashboard *Current();

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

private:
    void updateOk();
};
