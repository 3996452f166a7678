#pragma once
#include <QDialog>
class QLabel;
class QPushButton;

// The about box, shown modally from the Help menu.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;  // the program and its version
    QLabel *Label2 = nullptr;  // the credits
    QLabel *Image1 = nullptr;  // the program's picture
    QPushButton *Command1 = nullptr;
    void Form_Load();
    void Command1_Click();
    static void ShowModal();
    // The about box while it is open (tests drive it through this).
    static frmAbout *Current();
};
