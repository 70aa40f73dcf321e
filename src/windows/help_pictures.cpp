#include "windows/help_pictures.h"

#include "controls/look.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

namespace {

QPainterPath heartPath(const QRectF &r)
{
    QPainterPath p;
    const qreal w = r.width(), h = r.height();
    p.moveTo(r.left() + w / 2, r.top() + h * 0.28);
    p.cubicTo(r.left() + w * 0.5, r.top(), r.left(), r.top(), r.left(), r.top() + h * 0.32);
    p.cubicTo(r.left(), r.top() + h * 0.6, r.left() + w * 0.35, r.top() + h * 0.75, r.left() + w / 2, r.bottom());
    p.cubicTo(r.left() + w * 0.65, r.top() + h * 0.75, r.right(), r.top() + h * 0.6, r.right(), r.top() + h * 0.32);
    p.cubicTo(r.right(), r.top(), r.left() + w * 0.5, r.top(), r.left() + w / 2, r.top() + h * 0.28);
    return p;
}

void stars(QPainter &p, const QRect &area, int count, quint32 seed)
{
    QRandomGenerator gen(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + gen.bounded(area.width()), area.top() + gen.bounded(area.height()));
        const qreal s = 0.8 + gen.bounded(1.6);
        p.setBrush(QColor(255, 250, 220, 150 + gen.bounded(100)));
        p.drawEllipse(c, s, s);
    }
}

void nightSky(QPainter &p, const QRect &r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(12, 24, 68));
    sky.setColorAt(1, QColor(48, 78, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(r, 8, 8);
}

} // namespace

namespace HelpPictures {

QImage dedicationHeart()
{
    // Black is the button's key colour: it leaves the face showing around the heart.
    QImage img(28, 35, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(150, 0, 60), 1));
    p.setBrush(QColor(235, 40, 110));
    p.drawPath(heartPath(QRectF(1, 5, 26, 24)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 190, 215));
    p.drawEllipse(QRectF(6, 10, 5, 5));
    return img;
}

QPixmap moonAndStars(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r(QPoint(0, 0), size);
    nightSky(p, r);
    stars(p, r.adjusted(4, 4, -4, -4), 26, 7);
    // A crescent: a full moon with a sky-coloured disc over one side.
    const qreal d = size.width() * 0.42;
    const QRectF moon(size.width() * 0.3, size.height() * 0.22, d, d);
    p.setBrush(Look::highlight());
    p.drawEllipse(moon);
    p.setBrush(QColor(22, 38, 92));
    p.drawEllipse(moon.translated(d * 0.3, -d * 0.12));
    return pm;
}

QPixmap houseAtNight(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r(QPoint(0, 0), size);
    nightSky(p, r);
    stars(p, r.adjusted(4, 4, -4, -size.height() / 2), 14, 11);
    const qreal w = size.width(), h = size.height();
    p.setBrush(QColor(30, 50, 40));
    p.drawRect(QRectF(0, h * 0.82, w, h * 0.18));
    const QRectF body(w * 0.22, h * 0.5, w * 0.56, h * 0.34);
    p.setBrush(QColor(120, 70, 50));
    p.drawRect(body);
    QPolygonF roof;
    roof << QPointF(w * 0.14, h * 0.52) << QPointF(w * 0.5, h * 0.26) << QPointF(w * 0.86, h * 0.52);
    p.setBrush(QColor(70, 30, 40));
    p.drawPolygon(roof);
    // One lit window: someone is home, looking after the children.
    p.setBrush(QColor(255, 214, 120));
    p.drawRect(QRectF(w * 0.3, h * 0.58, w * 0.14, h * 0.11));
    p.setBrush(QColor(60, 40, 30));
    p.drawRect(QRectF(w * 0.56, h * 0.62, w * 0.12, h * 0.22));
    p.setBrush(QColor(235, 40, 110));
    p.drawPath(heartPath(QRectF(w * 0.44, h * 0.07, w * 0.12, h * 0.12)));
    return pm;
}

QPixmap infoBadge(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Look::frame(), 1.5));
    p.setBrush(QColor(30, 124, 187));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont f = Look::titleFont(size * 0.45);
    f.setFamily(QStringLiteral("Serif"));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("i"));
    return pm;
}

QPixmap panelArrow(int size)
{
    // An arrow pointing left, towards the button panel the hints describe.
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Look::panel());
    p.drawEllipse(QRectF(0, 0, size, size));
    QPolygonF arrow;
    const qreal s = size;
    arrow << QPointF(s * 0.18, s * 0.5) << QPointF(s * 0.5, s * 0.2) << QPointF(s * 0.5, s * 0.38)
          << QPointF(s * 0.82, s * 0.38) << QPointF(s * 0.82, s * 0.62) << QPointF(s * 0.5, s * 0.62)
          << QPointF(s * 0.5, s * 0.8);
    p.setBrush(QColor(128, 0, 128));
    p.drawPolygon(arrow);
    return pm;
}

} // namespace HelpPictures
