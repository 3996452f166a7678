#include "connection/frmOrvelIRC.h"
#include "platform/RichPane.h"
#include "windows/frmInData.h"
#include "windows/frmOutData.h"
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {
QPlainTextEdit *makeView(QWidget *parent, QObject *filterOwner)
{
    auto *v = new QPlainTextEdit(parent);
    v->setReadOnly(true);
    v->setUndoRedoEnabled(false);
    v->setFont(MapFont(QStringLiteral("Fixedsys"), 9));
    v->installEventFilter(filterOwner);
    return v;
}

const QTextCharFormat kPlain;

// The closing note goes to the server window only while it is loaded: closing a view
// after it (Close All, shut-down) must not bring it back.
void noteClosed(const QString &text)
{
    if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) s->Addtext2(text);
}

// Esc minimises the view; other keys get the box's own handling.
bool escMinimises(FormBase *form, QEvent *e)
{
    if (e->type() != QEvent::KeyPress) return false;
    if (static_cast<QKeyEvent *>(e)->key() != Qt::Key_Escape) return false;
    form->Minimize();
    return true;
}
} // namespace

frmInData::frmInData()
{
    setCaption(QStringLiteral("InData Window"));
    txtInData = makeView(this, this);
    m_writer = std::make_unique<PaneWriter>(txtInData);
    resize(500, 250);
}

frmInData::~frmInData() = default;
void frmInData::Append(const QString &text) { m_writer->Append(text, kPlain); }

QString frmInData::Text() const
{
    display::DisplayBatch::Finish();
    return txtInData->toPlainText();
}

void frmInData::Form_Activate() { m_writer->CaretToEnd(); }

void frmInData::Form_Resize() { txtInData->setGeometry(0, 0, width(), height()); }

void frmInData::Form_Unload() { noteClosed(QStringLiteral("\x01 InData Window Closed")); }

bool frmInData::eventFilter(QObject *o, QEvent *e) { return escMinimises(this, e) || FormBase::eventFilter(o, e); }

frmOutData::frmOutData()
{
    setCaption(QStringLiteral("OutData Window"));
    txtOutData = makeView(this, this);
    m_writer = std::make_unique<PaneWriter>(txtOutData);
    resize(500, 250);
}

frmOutData::~frmOutData() = default;
void frmOutData::Append(const QString &text) { m_writer->Append(text, kPlain); }

QString frmOutData::Text() const
{
    display::DisplayBatch::Finish();
    return txtOutData->toPlainText();
}


void frmOutData::Form_Resize() { txtOutData->setGeometry(0, 0, width(), height()); }

void frmOutData::Form_Unload() { noteClosed(QStringLiteral("\x01 OutData Window Closed")); }

bool frmOutData::eventFilter(QObject *o, QEvent *e) { return escMinimises(this, e) || FormBase::eventFilter(o, e); }
