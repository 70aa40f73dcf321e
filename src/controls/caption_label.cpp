#include "controls/caption_label.h"

#include <QEvent>
#include <QPainter>

CaptionLabel::CaptionLabel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    // Presses on the caption belong to the button under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString CaptionLabel::text() const
{
    return m_text;
}

void CaptionLabel::setText(const QString &text)
{
    m_text = text;
    fitToText();
    update();
}

QColor CaptionLabel::colour() const
{
    return m_colour;
}

void CaptionLabel::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void CaptionLabel::setFixedBox(const QSize &box)
{
    m_box = box;
    fitToText();
}

bool CaptionLabel::isWrapping() const
{
    return m_box.isValid();
}

int CaptionLabel::textFlags() const
{
    int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (isWrapping())
        flags |= Qt::TextWordWrap;
    return flags;
}

QSize CaptionLabel::sizeHint() const
{
    if (isWrapping())
        return m_box;
    const QFontMetrics fm(font());
    const QRect r = fm.boundingRect(QRect(), textFlags(), m_text);
    return QSize(r.width(), qMax(r.height(), fm.height()));
}

void CaptionLabel::fitToText()
{
    resize(sizeHint());
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(m_colour);
    p.setFont(font());
    p.drawText(rect(), textFlags(), m_text);
}

void CaptionLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitToText();
    QWidget::changeEvent(event);
}
