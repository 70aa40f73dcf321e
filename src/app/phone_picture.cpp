#include "app/phone_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

PhonePicture::PhonePicture(int index, const QString &accessibleName, QWidget *parent) : QLabel(parent), m_index(index)
{
    setObjectName(QStringLiteral("Image2(%1)").arg(index));
    setPixmap(picture(22));
    setFixedSize(24, 24);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
}

QPixmap PhonePicture::picture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 22.0;
    p.scale(s, s);
    // A handset over a rounded desk phone.
    QPainterPath body;
    body.addRoundedRect(QRectF(3, 10, 16, 10), 3, 3);
    QLinearGradient bodyFill(0, 10, 0, 20);
    bodyFill.setColorAt(0, QColor(230, 60, 50));
    bodyFill.setColorAt(1, QColor(150, 20, 20));
    p.setPen(QPen(QColor(90, 10, 10), 1));
    p.setBrush(bodyFill);
    p.drawPath(body);
    QPainterPath handset;
    handset.moveTo(2, 8);
    handset.cubicTo(2, 2, 20, 2, 20, 8);
    handset.lineTo(16, 9);
    handset.cubicTo(15, 6, 7, 6, 6, 9);
    handset.closeSubpath();
    p.setBrush(QColor(40, 40, 40));
    p.setPen(QPen(Qt::black, 0.8));
    p.drawPath(handset);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 235, 200));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QPointF(7.5 + col * 3.5, 13.5 + row * 3.5), 1.1, 1.1);
    return pm;
}

void PhonePicture::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void PhonePicture::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked(m_index);
}
