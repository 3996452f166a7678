#pragma once
#include "frame/Forms.h"
class QPlainTextEdit;

// The sent-data view: every line the program sent.
class frmOutData : public FormBase
{
    Q_OBJECT
public:
    frmOutData();
    QPlainTextEdit *txtOutData = nullptr;
    void Append(const QString &text);
    QString Text() const;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;
protected:
    bool eventFilter(QObject *o, QEvent *e) override;
};
