#include "platform/RichPane.h"
#include "platform/Palette.h"
#include <QFile>
#include <QScrollBar>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
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

const QString PaneWriter::CutMark = QStringLiteral(" [line cut at 8 KiB]");

PaneWriter::PaneWriter(QPlainTextEdit *view) : m_view(view) {}

namespace {
// Characters that a text document takes as a paragraph or line break of its own, or as a
// frame marker: received text must not start lines that look like the program's own.
bool breakCharacter(char16_t u) { return u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1; }
bool lineEnd(char16_t u) { return u == u'\r' || u == u'\n'; }
} // namespace

void PaneWriter::Append(const QString &text, const QTextCharFormat &format)
{
    const bool deferred = Defer();
    if (!m_editing) {
        // Placed inside the edit: a cursor moved outside one lays its block out at once.
        QTextDocument *doc = m_view->document();
        m_end = QTextCursor(doc);
        m_end.beginEditBlock();
        m_end.setPosition(doc->characterCount() - 1);
        m_line = m_end.positionInBlock();
        m_editing = true;
    }
    // Most text goes in as it is; only a line grown past the limit or a break character
    // makes a copy, built in the same single pass.
    qsizetype line = m_line;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (lineEnd(u)) line = 0;
        else if (breakCharacter(u) || ++line > MaxLineLength) break;
    }
    if (i == text.size()) {
        m_end.insertText(text, format);
    } else {
        QString shown;
        shown.reserve(std::min<qsizetype>(text.size(), MaxLineLength + CutMark.size() + 2));
        line = m_line;
        for (i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const char16_t u = c.unicode();
            if (lineEnd(u)) {
                shown += c;
                line = 0;
                continue;
            }
            if (line > MaxLineLength) continue;  // cut already, the mark shown
            const qsizetype width = (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
            if (line + width > MaxLineLength) {
                shown += CutMark;
                line = MaxLineLength + 1;
                continue;
            }
            shown += breakCharacter(u) ? QChar(0xFFFD) : c;
            if (width == 2) shown += text[++i];
            line += width;
        }
        m_end.insertText(shown, format);
    }
    // Only this writer changes the document while it edits: its cursor stays at the end and
    // the length of the last line stays known.
    m_line = line;
    if (!deferred) FinishBatch();
}

void PaneWriter::CaretToEnd()
{
    if (Defer()) return;  // the finished block puts it there
    QTextCursor c = m_view->textCursor();
    c.movePosition(QTextCursor::End);
    m_view->setTextCursor(c);
}

void PaneWriter::FinishBatch()
{
    if (m_editing) {
        m_editing = false;
        QTextDocument *doc = m_view->document();
        const int lines = doc->blockCount();
        const int text = doc->characterCount();
        if (lines > MaxLines || text > MaxText) {
            // Down to MaxLines - TrimLines lines and MaxText - TrimText characters, whole
            // lines only, so the next trim is at least a chunk away.
            int keepFrom = 0;
            if (lines > MaxLines) keepFrom = doc->findBlockByNumber(lines - (MaxLines - TrimLines)).position();
            if (text > MaxText) {
                const int cut = text - (MaxText - TrimText);
                const QTextBlock b = doc->findBlock(cut);
                keepFrom = std::max(keepFrom, b.position() == cut || !b.next().isValid() ? b.position() : b.next().position());
            }
            QTextCursor head(doc);
            head.setPosition(keepFrom, QTextCursor::KeepAnchor);
            head.removeSelectedText();
        }
        m_end.endEditBlock();
    }
    CaretToEnd();
}

RichPane::RichPane(QWidget *parent) : QPlainTextEdit(parent), m_writer(this)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    const QFont f = MapFont(QStringLiteral("Fixedsys"), 9);
    setFont(f);
    document()->setDefaultFont(f);
    // Only the family and size, the two a run reports: the rest of the font is the
    // document's own, and a format with fewer properties is cheaper to match per insert.
    m_format.setFontFamilies(f.families());
    m_format.setFontPointSize(f.pointSizeF());
    m_format.setForeground(PaletteColour(0));
    connect(this, &QPlainTextEdit::textChanged, this, &RichPane::Change);
    // A pane showing its newest lines goes on showing them when its range changes later
    // (a resize settles its layout over more than one event); one scrolled back stays put.
    QScrollBar *bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int v) { m_followEnd = v >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int max) {
        if (m_followEnd) bar->setValue(max);
    });
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

void RichPane::SetSelText(const QString &text) { m_writer.Append(text, m_format); }

// One insert for the break and the text: each insert has a cost of its own, well above
// that of the copy.
void RichPane::SetSelTextOnNewLine(const QString &text) { m_writer.Append(QLatin1Char('\n') + text, m_format); }

QString RichPane::SelText() const
{
    display::DisplayBatch::Finish();
    return textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n'));
}

void RichPane::SetSelStart(int pos)
{
    display::DisplayBatch::Finish();
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, pos, TextLength()));
    setTextCursor(c);
}

int RichPane::SelStart() const
{
    display::DisplayBatch::Finish();
    return textCursor().selectionStart();
}

void RichPane::CaretToEnd() { m_writer.CaretToEnd(); }

QString RichPane::Text() const
{
    display::DisplayBatch::Finish();
    return toPlainText();
}

int RichPane::TextLength() const
{
    display::DisplayBatch::Finish();
    return document()->characterCount() - 1;
}

void RichPane::Clear()
{
    display::DisplayBatch::Finish();
    clear();
}

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
    display::DisplayBatch::Finish();
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

// A pane showing its newest lines keeps showing them when it is resized (tiled, cascaded,
// maximised); one the user scrolled back keeps its place.
// The text area's own resizes (a scroll bar shown or hidden) come here too.
void RichPane::resizeEvent(QResizeEvent *e)
{
    QScrollBar *bar = verticalScrollBar();
    const bool atEnd = m_followEnd;
    QPlainTextEdit::resizeEvent(e);
    if (atEnd) bar->setValue(bar->maximum());
    placeBesideText();
}

void RichPane::KeepBesideText(QWidget *w)
{
    m_besideText = w;
    setViewportMargins(0, 0, w ? w->width() + 4 : 0, 0);
    placeBesideText();
}

void RichPane::placeBesideText()
{
    QWidget *w = m_besideText;
    if (!w || !w->parentWidget() || !w->parentWidget()->isAncestorOf(this)) return;
    const QRect text = viewport()->geometry();
    const QPoint at = mapTo(w->parentWidget(), QPoint(text.right() + 3, text.top() + 2));
    if (w->pos() != at) w->move(at);
    w->raise();
}

void RichPane::paintEvent(QPaintEvent *e)
{
    QPlainTextEdit::paintEvent(e);
    paintStatusMarks();
}

// The program's own lines start with the character 0x01, which no font draws (a font shows
// its missing-glyph box): in its place goes a small dot in the line's colour. Only the lines
// on show are looked at, at paint time, so appending text costs nothing more.
void RichPane::paintStatusMarks()
{
    const QTextDocument *doc = document();
    const int bottom = viewport()->height();
    const QTextCursor selection = textCursor();
    QPainter p(viewport());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
        if (blockBoundingGeometry(b).translated(contentOffset()).top() > bottom) break;
        const int at = b.position();
        if (!b.isVisible() || doc->characterAt(at) != QChar(1)) continue;
        QTextCursor c(b);
        const QRect before = cursorRect(c);
        c.setPosition(at + 1);
        const QRect after = cursorRect(c);
        if (after.top() != before.top() || after.left() <= before.left()) continue;  // wrapped or zero-width: left as it is
        const QRectF cell(before.left(), before.top(), after.left() - before.left(), before.height());
        const bool selected = at >= selection.selectionStart() && at < selection.selectionEnd();
        p.fillRect(cell, selected ? palette().highlight() : palette().base());
        QColor colour = selected ? palette().highlightedText().color() : b.begin().fragment().charFormat().foreground().color();
        colour.setAlpha(170);
        p.setBrush(colour);
        const qreal d = std::max(3.0, cell.height() * 0.25);
        p.drawEllipse(QRectF(0, 0, d, d).translated(cell.center() - QPointF(d / 2, d / 2)));
    }
}

void RichPane::focusInEvent(QFocusEvent *e)
{
    QPlainTextEdit::focusInEvent(e);
    emit GotFocus();
}

// The owner shows its own pop-up on the right button; the pane's own menu never shows.
void RichPane::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }
