#include "app/decorations.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

namespace Decorations {

namespace {

QPainterPath star(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawHouse(QPainter &p)
{
    p.setBrush(QColor(250, 214, 140));
    p.drawRect(QRectF(14, 30, 36, 26));
    QPainterPath roof;
    roof.moveTo(8, 32);
    roof.lineTo(32, 10);
    roof.lineTo(56, 32);
    roof.closeSubpath();
    p.setBrush(QColor(200, 70, 60));
    p.drawPath(roof);
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(28, 40, 9, 16));
    p.setBrush(QColor(170, 215, 245));
    p.drawRect(QRectF(18, 36, 7, 7));
    p.drawRect(QRectF(40, 36, 7, 7));
}

void drawCross(QPainter &p, const QColor &colour)
{
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 52, 52));
    p.setBrush(colour);
    p.drawRect(QRectF(26, 14, 12, 36));
    p.drawRect(QRectF(14, 26, 36, 12));
}

void drawClock(QPainter &p)
{
    p.setBrush(QColor(255, 250, 225));
    p.drawEllipse(QRectF(8, 8, 48, 48));
    p.setPen(QPen(QColor(40, 60, 110), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(32, 16));
    p.drawLine(QPointF(32, 32), QPointF(43, 38));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        p.drawPoint(QPointF(32 + 20 * qCos(a), 32 + 20 * qSin(a)));
    }
}

void drawKids(QPainter &p)
{
    const QColor shirts[] = {QColor(90, 150, 230), QColor(240, 120, 170)};
    for (int i = 0; i < 2; ++i) {
        const qreal x = 20 + i * 24;
        p.setBrush(shirts[i]);
        p.drawRoundedRect(QRectF(x - 10, 34, 20, 22), 6, 6);
        p.setBrush(QColor(250, 215, 180));
        p.drawEllipse(QPointF(x, 24), 10, 10);
        p.setBrush(QColor(60, 40, 30));
        p.drawEllipse(QPointF(x - 3.5, 23), 1.4, 1.4);
        p.drawEllipse(QPointF(x + 3.5, 23), 1.4, 1.4);
    }
}

void drawPlate(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(8, 14, 48, 40));
    p.setBrush(QColor(235, 240, 245));
    p.drawEllipse(QRectF(16, 21, 32, 26));
    p.setBrush(QColor(120, 190, 90));
    p.drawEllipse(QRectF(22, 26, 10, 8));
    p.setBrush(QColor(240, 160, 60));
    p.drawEllipse(QRectF(32, 30, 10, 10));
}

void drawCheck(QPainter &p)
{
    p.setBrush(QColor(225, 245, 225));
    p.drawRoundedRect(QRectF(8, 8, 48, 48), 10, 10);
    p.setPen(QPen(QColor(40, 150, 60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(18, 33), QPointF(28, 43), QPointF(46, 21)}));
}

} // namespace

QPixmap pagePicture(Page page, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(60, 60, 80), 1.2));
    switch (page) {
    case Page::Where: drawHouse(p); break;
    case Page::Emergency: drawCross(p, QColor(215, 40, 40)); break;
    case Page::Medical: drawCross(p, QColor(40, 150, 90)); break;
    case Page::Schedule: drawClock(p); break;
    case Page::Kids: drawKids(p); break;
    case Page::Meals: drawPlate(p); break;
    case Page::Allowed: drawCheck(p); break;
    }
    return pm;
}

QPixmap splashBackground(const QSize &size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(8, 16, 64));
    sky.setColorAt(1, QColor(28, 52, 128));
    p.fillRect(pm.rect(), sky);
    // Fixed seed: the same sky every time.
    QRandomGenerator rng(7);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        const QPointF c(rng.bounded(size.width()), rng.bounded(size.height() * 2 / 3));
        p.setBrush(QColor(255, 255, 220, 90 + int(rng.bounded(160))));
        p.drawEllipse(c, 1.0 + rng.bounded(1.2), 1.0 + rng.bounded(1.2));
    }
    const QPointF moon(size.width() * 0.78, size.height() * 0.2);
    p.setBrush(QColor(255, 244, 196));
    p.drawEllipse(moon, 34, 34);
    p.setBrush(sky);
    p.drawEllipse(moon + QPointF(14, -8), 30, 30);
    return pm;
}

QPixmap panelPicture(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(QPen(QColor(120, 120, 150), 1));
    p.drawLine(QPointF(w / 2, 0), QPointF(w / 2, h * 0.18));
    p.drawLine(QPointF(w * 0.2, h * 0.18), QPointF(w * 0.8, h * 0.18));
    const QColor colours[] = {QColor(250, 210, 60), QColor(120, 180, 250), QColor(250, 150, 190)};
    for (int i = 0; i < 3; ++i) {
        const qreal x = w * (0.2 + 0.3 * i);
        p.setPen(QPen(QColor(120, 120, 150), 1));
        p.drawLine(QPointF(x, h * 0.18), QPointF(x, h * 0.3));
        p.setPen(QPen(colours[i].darker(140), 1));
        p.setBrush(colours[i]);
        p.drawPath(star(QPointF(x, h * 0.36), h * 0.07, h * 0.03));
    }
    // The crib.
    p.setPen(QPen(QColor(110, 70, 40), 2));
    p.setBrush(Qt::NoBrush);
    const QRectF crib(w * 0.12, h * 0.58, w * 0.76, h * 0.3);
    p.drawRect(crib);
    for (int i = 1; i < 7; ++i) {
        const qreal x = crib.left() + crib.width() * i / 7;
        p.drawLine(QPointF(x, crib.top()), QPointF(x, crib.bottom()));
    }
    p.setBrush(QColor(200, 220, 250));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(crib.left() + 3, crib.bottom() - h * 0.08, crib.width() - 6, h * 0.07), 4, 4);
    return pm;
}

} // namespace Decorations
