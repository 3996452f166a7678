#pragma once
#include "platform/Forms.h"
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The raw send dialog (not modal): one line typed here goes to the server as it is.
class frmRawSend : public FormBase
{
    Q_OBJECT
public:
    frmRawSend();
    bool IsMdiChild() const override { return false; }

    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label2 = nullptr;   // "Command:"
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;  // Send
    QCheckBox *Check1 = nullptr;      // Stay
    QPushButton *Command2 = nullptr;  // Cancel

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

    // Shows the one raw send dialog, loading it first when needed.
    static frmRawSend &Open();
};
