#pragma once
// Formatting marks that other clients put into their text: bold (\x02), colour (\x03),
// reset (\x0F), reverse (\x16), italics (\x1D), strike-through (\x1E) and underline
// (\x1F). The panes show none of them as characters.
#include <QString>
#include <QStringView>

// The length of the colour code that starts at text[at] (a \x03) when its foreground is
// the `digits` characters after the mark: the mark, those digits and, when there are
// any, a background part right after them (a comma and one or two digits).
qsizetype ColourCodeLength(QStringView text, qsizetype at, int digits);

// The text without its formatting marks; every colour code goes whole (the mark, up to
// two digits and a background part). The text between the marks stays, and so does
// every other control character, the program's own \x01 status marker among them.
QString WithoutMarks(const QString &text);
