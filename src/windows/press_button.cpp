#include "windows/press_button.h"

#include <QPointer>

PressButton::PressButton(InfoLine *infoLine, QWidget *parent) : XpCmd(infoLine, parent)
{
    connect(this, &XpCaptionButton::mouseDown, this, &PressButton::pressed);
    connect(this, &XpCaptionButton::clicked, this, [this] {
        if (!m_releasing)
            emit pressed();
    });
}

void PressButton::mouseReleaseEvent(QMouseEvent *event)
{
    QPointer<PressButton> self(this);
    m_releasing = true;
    XpCmd::mouseReleaseEvent(event);
    if (self)
        m_releasing = false;
}
