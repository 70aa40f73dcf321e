#include "controls/xp_cmd_but.h"

#include "controls/caption_label.h"
#include "controls/property_bag.h"

XpCmdBut::XpCmdBut(InfoLine *infoLine, QWidget *parent) : XpCaptionButton(CaptionStrip::CmdBut, infoLine, parent)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(9);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    m_label->setFont(f);
    m_label->setColour(Qt::black);
}

void XpCmdBut::initProperties(const QFont &containerFont)
{
    setEnabled(true);
    applyEnabledLook();
    setCaption(objectName());
    setFont(containerFont);
}

void XpCmdBut::readProperties(const PropertyBag &bag, const QFont &containerFont)
{
    setState(bag.read(QStringLiteral("State"), 0).toInt());
    setEnabled(bag.read(QStringLiteral("Enabled"), true).toBool());
    applyEnabledLook();
    setCaption(bag.read(QStringLiteral("Caption"), objectName()).toString());
    // The control's own font; the caption keeps its fixed one.
    setFont(bag.read(QStringLiteral("Font"), containerFont).value<QFont>());
}

void XpCmdBut::writeProperties(PropertyBag &bag, const QFont &) const
{
    bag.write(QStringLiteral("State"), state(), 0);
    bag.write(QStringLiteral("Enabled"), isEnabled(), true);
    bag.write(QStringLiteral("Caption"), caption(), objectName());
}

QColor XpCmdBut::enabledCaptionColour() const
{
    return Qt::black;
}

void XpCmdBut::leave()
{
    QPointer<XpCaptionButton> self(this);
    stopHover();
    emit mouseOut();
    if (!self)
        return;
    paintResting();
}
