#pragma once
#include "platform/Forms.h"
#include "platform/CommandLine.h"
#include "platform/RichPane.h"
#include "windows/NickList.h"

// The channel window: the channel's text pane, its nick list and the channel command line.
class frmChan : public FormBase
{
    Q_OBJECT
public:
    frmChan();

    RichPane *Incoming = nullptr;
    NickList *Namelist = nullptr;
    CommandLine *Outgoing = nullptr;

    // Output procedures: a line break, then the text, in a fixed colour.
    void Addtext(const QString &text);   // black
    void Addtext2(const QString &text);  // dark blue
    void Addtext3(const QString &text);  // light grey
    void Addtext4(const QString &text);  // dark grey

    ListEntry WindowListEntry() const override { return {QStringLiteral("Channel Window"), 6}; }
    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void Incoming_Change();
    void Incoming_Click();
    void Incoming_GotFocus();
    void Incoming_MouseDown(int button);
    void Namelist_DblClick();
    void Namelist_MouseDown(int button);
    void Outgoing_KeyPress(int &KeyAscii);

signals:
    // A right click in the pane: the pop-up menu is the frame's.
    void PaneMenuRequested();

private:
    void output(const QString &text, int colour);
};

// Opens the nick-list pop-up menu at the pointer and returns when it has closed and the
// chosen command has run.
void ShowNamelistPopup();
