#include "controls/xp_cmd.h"

#include "controls/caption_label.h"
#include "controls/look.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"

XpCmd::XpCmd(InfoLine *infoLine, QWidget *parent) : XpCaptionButton(CaptionStrip::Cmd, infoLine, parent)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(9.75);
    f.setBold(true);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    m_label->setFont(f);
    m_label->setColour(Look::buttonText());
}

QString XpCmd::tagCaption() const
{
    return m_tagCaption;
}

void XpCmd::setTagCaption(const QString &tag)
{
    m_tagCaption = tag;
}

QString XpCmd::startHint()
{
    return QStringLiteral("Use a timer to keep track of hours worked.");
}

QString XpCmd::endHint()
{
    return QStringLiteral("Stops timer. Go to \"Sitter List\" to add to sitters total hours worked.");
}

void XpCmd::initProperties(const QFont &containerFont)
{
    setEnabled(true);
    applyEnabledLook();
    setButtonFont(containerFont);
    setCaption(objectName());
}

void XpCmd::readProperties(const PropertyBag &bag, const QFont &containerFont)
{
    setState(bag.read(QStringLiteral("State"), 0).toInt());
    setEnabled(bag.read(QStringLiteral("Enabled"), true).toBool());
    applyEnabledLook();
    setCaption(bag.read(QStringLiteral("Caption"), objectName()).toString());
    m_tagCaption = bag.read(QStringLiteral("TagCaption"), m_tagCaption).toString();
    // Coming after Enabled, this gives a button loaded disabled its stored caption colour.
    setForeColor(bag.read(QStringLiteral("ForeColor"), OleColour::ButtonText).toUInt());
    setButtonFont(bag.read(QStringLiteral("Font"), containerFont).value<QFont>());
}

void XpCmd::writeProperties(PropertyBag &bag, const QFont &containerFont) const
{
    bag.write(QStringLiteral("State"), state(), 0);
    bag.write(QStringLiteral("Enabled"), isEnabled(), true);
    bag.write(QStringLiteral("Caption"), caption(), objectName());
    bag.write(QStringLiteral("Font"), buttonFont(), containerFont);
    bag.write(QStringLiteral("ForeColor"), foreColor(), OleColour::ButtonText);
    bag.write(QStringLiteral("TagCaption"), m_tagCaption, m_tagCaption);
}

void XpCmd::updateHint()
{
    const QString c = caption();
    if (c.left(4).trimmed() == QLatin1String("Star"))
        setHint(startHint());
    if (c.left(3).trimmed() == QLatin1String("End"))
        setHint(endHint());
}

void XpCmd::leave()
{
    QPointer<XpCaptionButton> self(this);
    setHint(QString());
    stopHover();
    emit mouseOut();
    if (!self)
        return;
    restoreCaptionColour();
    paintResting();
}
