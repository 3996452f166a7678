#pragma once
#include "frame/Forms.h"
class QPlainTextEdit;

// The received-data view: every received block as it came.
class frmInData : public FormBase
{
    Q_OBJECT
public:
    frmInData();
    QPlainTextEdit *txtInData = nullptr;
    void Append(const QString &text);
    QString Text() const;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload() override;
protected:
    bool eventFilter(QObject *o, QEvent *e) override;
};
