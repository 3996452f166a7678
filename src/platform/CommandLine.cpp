#include "platform/CommandLine.h"
#include "platform/RichPane.h"
#include <QKeyEvent>

CommandLine::CommandLine(QWidget *parent) : QLineEdit(parent)
{
    setFont(MapFont(QStringLiteral("Fixedsys"), 9));
}

void CommandLine::keyPressEvent(QKeyEvent *e)
{
    int k = 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) k = 13;
    else if (e->key() == Qt::Key_Escape) k = 27;
    else if (!e->text().isEmpty()) k = e->text().at(0).unicode();
    if (k == 0) { QLineEdit::keyPressEvent(e); return; }
    int before = k;
    if (KeyPress) KeyPress(k);
    if (k == 0) { e->accept(); return; }
    if (k == 13 || k == 27) { e->accept(); return; }
    if (k == before) QLineEdit::keyPressEvent(e);
    else insert(QString(QChar(k)));
}
