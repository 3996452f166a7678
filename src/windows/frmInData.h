#pragma once
#include "platform/Forms.h"
#include <memory>
class PaneWriter;
class QPlainTextEdit;

// The received-data view: every received block as it came.
class frmInData : public FormBase
{
    Q_OBJECT
public:
    frmInData();
    ~frmInData() override;
    QPlainTextEdit *txtInData = nullptr;
    // Adds the text at the end (CR LF, CR and LF start new lines) and keeps the end in view.
    void Append(const QString &text);
    // Finishes an open display batch first.
    QString Text() const;
    ListEntry WindowListEntry() const override { return {QStringLiteral("InData Window"), 3}; }
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;
protected:
    bool eventFilter(QObject *o, QEvent *e) override;
private:
    std::unique_ptr<PaneWriter> m_writer;
};
