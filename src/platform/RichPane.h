#pragma once
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QList>

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
    QString SelText() const;
    void SetSelStart(int pos);
    int SelStart() const;
    void CaretToEnd();
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

signals:
    void Change();
    void Click();
    void MouseDown(int button);
    void GotFocus();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    QTextCharFormat m_format;
    int m_pointer = 0;
};

// Characters that a text document takes as a paragraph or line break of its own (U+2028,
// U+2029 and the frame markers U+FDD0/U+FDD1) become U+FFFD: received text must not
// start lines that look like the program's own.
void NeutraliseBreakCharacters(QString &text);

// "Fixedsys" and other fonts the program names map to a font this system has.
QFont MapFont(const QString &name, double points = 0);
