#include "platform/RichPane.h"
#include "platform/Palette.h"
#include <QFile>
#include <QScrollBar>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QFont MapFont(const QString &name, double points)
{
    QFont f;
    if (name.compare(QLatin1String("Fixedsys"), Qt::CaseInsensitive) == 0)
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    else
        f.setFamily(name);
    if (points > 0) f.setPointSizeF(points);
    return f;
}

RichPane::RichPane(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    const QFont f = MapFont(QStringLiteral("Fixedsys"), 9);
    setFont(f);
    document()->setDefaultFont(f);
    m_format.setFont(f);
    m_format.setForeground(PaletteColour(0));
    connect(this, &QPlainTextEdit::textChanged, this, &RichPane::Change);
}

void RichPane::SetSelColor(int paletteIndex) { m_format.setForeground(PaletteColour(paletteIndex)); }
void RichPane::SetSelColorRgb(const QColor &c) { m_format.setForeground(c); }

void RichPane::SetSelFontName(const QString &name)
{
    const QFont f = MapFont(name);
    m_format.setFontFamilies(f.families());
}

void RichPane::SetSelFontSize(double points)
{
    if (points > 0) m_format.setFontPointSize(points);
}

void NeutraliseBreakCharacters(QString &text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1) c = QChar(0xFFFD);
    }
}

void RichPane::SetSelText(const QString &text)
{
    QString t = text;
    NeutraliseBreakCharacters(t);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Output always lands at the end: a click or a selection made by the user must not
    // send new lines into the middle of the history or overwrite the selected text.
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.insertText(t, m_format);
    setTextCursor(c);
}

QString RichPane::SelText() const { return textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n')); }

void RichPane::SetSelStart(int pos)
{
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, pos, TextLength()));
    setTextCursor(c);
}

int RichPane::SelStart() const { return textCursor().selectionStart(); }

void RichPane::CaretToEnd()
{
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
}

QString RichPane::Text() const { return toPlainText(); }
int RichPane::TextLength() const { return document()->characterCount() - 1; }
void RichPane::Clear() { clear(); }

bool RichPane::LoadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    Clear();
    SetSelText(QString::fromUtf8(f.readAll()));
    return true;
}

void RichPane::SetMousePointer(int value)
{
    m_pointer = value;
    viewport()->setCursor(value == 13 ? Qt::BusyCursor : Qt::IBeamCursor);
}

QList<RichPane::Run> RichPane::Runs() const
{
    QList<Run> runs;
    bool firstBlock = true;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (!firstBlock) {
            // The line break belongs to the run before it.
            if (!runs.isEmpty()) runs.last().text += QLatin1Char('\n');
            else runs.append({QStringLiteral("\n"), QColor(), QString(), 0});
        }
        firstBlock = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid()) continue;
            const QTextCharFormat cf = fr.charFormat();
            const QStringList fams = cf.fontFamilies().toStringList();
            runs.append({fr.text(), cf.foreground().color(), fams.isEmpty() ? QString() : fams.first(),
                         cf.fontPointSize()});
        }
    }
    return runs;
}

void RichPane::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton) {
        emit MouseDown(2);
        return;
    }
    QPlainTextEdit::mousePressEvent(e);
    emit MouseDown(e->button() == Qt::LeftButton ? 1 : 4);
}

void RichPane::mouseReleaseEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) emit Click();
}

void RichPane::focusInEvent(QFocusEvent *e)
{
    QPlainTextEdit::focusInEvent(e);
    emit GotFocus();
}

// The owner shows its own pop-up on the right button; the pane's own menu never shows.
void RichPane::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }
