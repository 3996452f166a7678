#pragma once
#include "platform/Forms.h"
#include "platform/CommandLine.h"
#include "platform/RichPane.h"
#include "platform/Timer.h"
class QFrame;
class QLabel;
class QLineEdit;

// The private chat window: the conversation with one partner.
class frmOrvelChat : public FormBase
{
    Q_OBJECT
public:
    frmOrvelChat();

    RichPane *txtIncoming = nullptr;
    CommandLine *txtOutgoing = nullptr;
    QLineEdit *txtUser = nullptr;  // the partner's nick
    QFrame *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    VbTimer *Timer1 = nullptr;     // keeps the caption equal to the partner

    ListEntry WindowListEntry() const override { return {QStringLiteral("Query Window"), 3}; }
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Timer1_Timer();
    void txtIncoming_Change();
    void txtIncoming_DblClick();
    void txtIncoming_GotFocus();
    void txtOutgoing_KeyPress(int &KeyAscii);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
};
