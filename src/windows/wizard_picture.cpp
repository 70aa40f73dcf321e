#include "windows/wizard_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace WizardPicture {

QPixmap paint(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 120 x 150 grid and scaled to the size asked for.
    p.scale(size.width() / 120.0, size.height() / 150.0);

    // The board.
    QLinearGradient wood(0, 10, 0, 145);
    wood.setColorAt(0, QColor(196, 140, 82));
    wood.setColorAt(1, QColor(150, 98, 50));
    p.setPen(QPen(QColor(104, 66, 30), 2));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(12, 14, 92, 128), 8, 8);

    // The sheet of paper.
    p.setPen(QPen(QColor(170, 170, 180), 1));
    p.setBrush(QColor(252, 252, 246));
    p.drawRect(QRectF(20, 26, 76, 108));

    // The clip.
    QLinearGradient metal(0, 6, 0, 30);
    metal.setColorAt(0, QColor(235, 238, 245));
    metal.setColorAt(1, QColor(140, 148, 165));
    p.setPen(QPen(QColor(90, 96, 110), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(40, 6, 36, 24), 5, 5);
    p.setBrush(QColor(90, 96, 110));
    p.drawEllipse(QPointF(58, 13), 3.5, 3.5);

    // The list: a box and a line per row, the first rows ticked.
    for (int row = 0; row < 5; ++row) {
        const qreal y = 40 + row * 18;
        p.setPen(QPen(QColor(60, 90, 150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(27, y, 9, 9));
        p.setPen(QPen(QColor(120, 130, 150), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(42, y + 5), QPointF(row % 2 ? 78 : 88, y + 5));
        if (row < 3) {
            p.setPen(QPen(QColor(30, 150, 60), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath tick;
            tick.moveTo(27, y + 4);
            tick.lineTo(31, y + 9);
            tick.lineTo(39, y - 3);
            p.drawPath(tick);
        }
    }

    // The pencil, lying across the corner of the board.
    p.translate(84, 112);
    p.rotate(-50);
    p.setPen(QPen(QColor(120, 80, 20), 1));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(0, -5, 44, 10));
    p.setBrush(QColor(240, 130, 150));
    p.drawRect(QRectF(44, -5, 7, 10));
    QPainterPath tip;
    tip.moveTo(0, -5);
    tip.lineTo(-12, 0);
    tip.lineTo(0, 5);
    tip.closeSubpath();
    p.setBrush(QColor(236, 210, 170));
    p.drawPath(tip);
    p.setBrush(QColor(50, 50, 50));
    QPainterPath lead;
    lead.moveTo(-8, -1.7);
    lead.lineTo(-12, 0);
    lead.lineTo(-8, 1.7);
    lead.closeSubpath();
    p.drawPath(lead);
    return pm;
}

} // namespace WizardPicture
