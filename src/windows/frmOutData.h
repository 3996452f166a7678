#pragma once
#include "platform/Forms.h"
#include <memory>
class PaneWriter;
class QPlainTextEdit;

// The sent-data view: every line the program sent.
class frmOutData : public FormBase
{
    Q_OBJECT
public:
    frmOutData();
    ~frmOutData() override;
    QPlainTextEdit *txtOutData = nullptr;
    // Adds the text at the end (CR LF, CR and LF start new lines) and keeps the end in view.
    void Append(const QString &text);
    // Finishes an open display batch first.
    QString Text() const;
    void Form_Resize() override;
    void Form_Unload() override;
protected:
    bool eventFilter(QObject *o, QEvent *e) override;
private:
    std::unique_ptr<PaneWriter> m_writer;
};
