#include "dialogs/Pictures.h"
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {
// A fixed sequence, so every picture looks the same on every run.
struct Lcg
{
    quint32 s;
    int next(int n)
    {
        s = s * 1103515245u + 12345u;
        return int((s >> 8) % quint32(n));
    }
};

void drawBubble(QPainter &p, QPointF c, qreal r, QColor tint)
{
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.2);
    QColor hi = Qt::white;
    hi.setAlpha(200);
    tint.setAlpha(70);
    QColor rim = tint.darker(130);
    rim.setAlpha(150);
    g.setColorAt(0, hi);
    g.setColorAt(0.35, tint);
    g.setColorAt(1, rim);
    p.setPen(QPen(rim, qMax<qreal>(1, r / 14)));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void drawBubbles(QPainter &p, QSize size, int count, quint32 seed)
{
    Lcg rnd{seed};
    const int w = qMax(1, size.width()), h = qMax(1, size.height());
    for (int i = 0; i < count; ++i) {
        const qreal r = 4 + rnd.next(qMax(8, h / 5));
        const QColor tint = QColor::fromHsv(180 + rnd.next(60), 120 + rnd.next(100), 255);
        drawBubble(p, QPointF(rnd.next(w), rnd.next(h)), r, tint);
    }
}

QLinearGradient sky(QSize size, QColor top, QColor bottom)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void drawTitle(QPainter &p, const QRect &r, const QString &text, int pixelSize, const QColor &colour, int flags)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(qMax(6, pixelSize));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(r.translated(2, 2), flags, text);
    p.setPen(colour);
    p.drawText(r, flags, text);
}
} // namespace

namespace pictures {

QPixmap Emblem(int side)
{
    side = qMax(8, side);
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0.5, 0.5, side - 1, side - 1);
    p.setPen(QPen(QColor(0, 0, 128), qMax(1, side / 24)));
    p.setBrush(sky(QSize(side, side), QColor(80, 140, 255), QColor(0, 0, 160)));
    p.drawRoundedRect(tile, side / 6.0, side / 6.0);
    // The speech bubble with its tail.
    QPainterPath bubble;
    const QRectF body(side * 0.16, side * 0.18, side * 0.68, side * 0.5);
    bubble.addRoundedRect(body, side * 0.14, side * 0.14);
    QPainterPath tail;
    tail.moveTo(side * 0.3, side * 0.6);
    tail.lineTo(side * 0.24, side * 0.86);
    tail.lineTo(side * 0.5, side * 0.64);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(bubble.united(tail));
    // Three dots of chat.
    p.setBrush(QColor(0, 0, 160));
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(side * (0.33 + 0.17 * i), side * 0.43), side * 0.05, side * 0.05);
    return pm;
}

QPixmap Splash(QSize size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pm.rect(), sky(size, QColor(0, 40, 140), QColor(0, 150, 200)));
    drawBubbles(p, size, 40, 7u);
    const int side = size.height() / 3;
    p.drawPixmap(size.width() / 12, (size.height() - side) / 2, Emblem(side));
    const QRect text(size.width() / 12 + side + 16, 0, size.width() - (size.width() / 12 + side + 24), size.height());
    drawTitle(p, text.adjusted(0, 0, 0, -size.height() / 8), QStringLiteral("OrvelIRC"), size.height() / 6, Qt::white,
              Qt::AlignLeft | Qt::AlignVCenter);
    drawTitle(p, text.adjusted(0, size.height() / 5, 0, 0), QStringLiteral("Internet Relay Chat"), size.height() / 16,
              QColor(220, 240, 255), Qt::AlignLeft | Qt::AlignVCenter);
    return pm;
}

QPixmap Edition(QSize size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pm.rect(), sky(size, QColor(20, 0, 60), QColor(120, 0, 120)));
    // Rings of light behind the name.
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    for (int i = 6; i > 0; --i) {
        QColor ring = QColor::fromHsv(280 + i * 8, 160, 255);
        ring.setAlpha(40);
        p.setPen(Qt::NoPen);
        p.setBrush(ring);
        const qreal r = qMin(size.width(), size.height()) * (0.12 + 0.07 * i);
        p.drawEllipse(c, r, r);
    }
    drawBubbles(p, size, 24, 11u);
    drawTitle(p, pm.rect().adjusted(0, 0, 0, -size.height() / 6), QStringLiteral("LUMORA"), size.height() / 5,
              QColor(255, 230, 255), Qt::AlignCenter);
    drawTitle(p, pm.rect().adjusted(0, size.height() / 5, 0, 0), QStringLiteral("EDiTION"), size.height() / 12,
              QColor(255, 255, 160), Qt::AlignCenter);
    return pm;
}

QPixmap Panel(int n, int side)
{
    side = qMax(8, side);
    if (n == 1) return Emblem(side);
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tints[3] = {QColor(120, 200, 255), QColor(140, 255, 200), QColor(255, 200, 140)};
    drawBubble(p, QPointF(side / 2.0, side / 2.0), side / 2.0 - 1, tints[(n - 2 + 3) % 3]);
    return pm;
}

QImage Bubbles(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), sky(size, QColor(190, 225, 255), QColor(120, 170, 230)));
    drawBubbles(p, size, 70, 3u);
    return img;
}

} // namespace pictures
