#pragma once
#include <QPixmap>
#include <QSize>

// The program's own pictures, drawn rather than shipped, so no window ever lacks one.
namespace pictures {
// The program's emblem: a speech bubble on a blue tile.
QPixmap Emblem(int side);
// The splash screen and the about box.
QPixmap Splash(QSize size);
// The edition picture.
QPixmap Edition(QSize size);
// The small pictures on the dashboard panel (n = 1..4).
QPixmap Panel(int n, int side);
// A field of bubbles: the default dashboard background.
QImage Bubbles(QSize size);
} // namespace pictures
