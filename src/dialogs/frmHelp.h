#pragma once
#include "platform/Forms.h"
class QGroupBox;
class QLabel;
class QPushButton;
class RichPane;

// The help viewer: a window of its own beside the frame (not modal) that shows one of the
// shipped text files. Closing it unloads it; the next opening starts with an empty pane.
class frmHelp : public FormBase
{
    Q_OBJECT
public:
    frmHelp();
    bool IsMdiChild() const override { return false; }

    QLabel *Label1 = nullptr;     // the heading
    QGroupBox *Frame1 = nullptr;  // its caption names the text on show
    RichPane *RichTextBox1 = nullptr;
    QPushButton *cmdShowHelpOnOrvelIRC = nullptr, *cmdShowHelpOnIRC = nullptr, *cmdHelpOnCreditsAndAbout = nullptr;

    void Form_Load() override;
    void cmdShowHelpOnOrvelIRC_Click();
    void cmdShowHelpOnIRC_Click();
    void cmdHelpOnCreditsAndAbout_Click();
    // Loads a text file of the working folder into the pane; a file that cannot be read
    // leaves the pane as it was and gives false.
    bool LoadText(const QString &file);

    // Shows the one help viewer, loading it first when needed, and brings it to the front.
    static frmHelp &Open();
};
