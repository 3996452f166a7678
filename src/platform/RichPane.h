#pragma once
#include "platform/DisplayBatch.h"
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QList>
#include <QPointer>

// Writes text at the end of a plain-text view's document. Inside a display batch the
// inserts of a whole block go into one edit of the document, laid out lazily for what is
// on screen, with the caret put at the end and the end scrolled into view once.
// A view shows at most MaxLineLength characters of one line: a longer line is cut there and
// ends in CutMark. It keeps at most MaxLines lines and MaxText characters of text: when a
// block is finished, the oldest lines go, TrimLines or TrimText or more at a time.
class PaneWriter final : public display::BatchedView
{
public:
    explicit PaneWriter(QPlainTextEdit *view);
    // CR LF, CR and LF each become a line break.
    void Append(const QString &text, const QTextCharFormat &format);
    void CaretToEnd();
    void FinishBatch() override;

    static constexpr int MaxLineLength = 8192;
    static constexpr int MaxLines = 100000;
    static constexpr int TrimLines = 10000;
    static constexpr int MaxText = 16 * 1024 * 1024;
    static constexpr int TrimText = MaxText / 10;
    static const QString CutMark;

private:
    QPlainTextEdit *m_view;
    QTextCursor m_end;
    qsizetype m_line = 0;  // characters in the last line, while editing
    bool m_editing = false;
};

// A rich text pane that keeps runs of text with their own colour, font name and size.
// Built on the plain-text layout, which appends in constant time however long the pane
// grows; lines wrap at the pane's width.
// Text always goes in as plain text through a cursor: nothing is ever parsed as markup.
class RichPane : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit RichPane(QWidget *parent = nullptr);

    // Properties of the current selection; they apply to the next inserted run.
    void SetSelColor(int paletteIndex);
    void SetSelColorRgb(const QColor &c);
    void SetSelFontName(const QString &name);
    void SetSelFontSize(double points);
    // Inserts the text at the end of the pane (the owners keep the caret there); CR LF,
    // CR and LF each become a line break.
    void SetSelText(const QString &text);
    // The same after a line break: the text starts a new line.
    void SetSelTextOnNewLine(const QString &text);
    QString SelText() const;
    void SetSelStart(int pos);
    int SelStart() const;
    void CaretToEnd();
    // Reads show the finished block: they finish an open display batch first.
    // The whole text, lines separated by "\n".
    QString Text() const;
    int TextLength() const;
    void Clear();
    bool LoadFile(const QString &path);
    // Pointer value: 13 shows a busy pointer, anything else the plain arrow.
    void SetMousePointer(int value);
    int MousePointer() const { return m_pointer; }

    struct Run { QString text; QColor colour; QString family; double size; };
    QList<Run> Runs() const;

    // Keeps a strip at the right of the text, as wide as the widget and a little more,
    // free of text, and the widget (a child of the pane's parent) at the top of that strip.
    void KeepBesideText(QWidget *w);

signals:
    void Change();
    void Click();
    void MouseDown(int button);
    void GotFocus();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    void paintStatusMarks();
    void placeBesideText();
    QPointer<QWidget> m_besideText;
    QTextCharFormat m_format;
    int m_pointer = 0;
    bool m_followEnd = true;
    PaneWriter m_writer;
};

// "Fixedsys" and other fonts the program names map to a font this system has.
QFont MapFont(const QString &name, double points = 0);
