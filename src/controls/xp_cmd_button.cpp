#include "controls/xp_cmd_button.h"

#include "controls/caption_label.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"

XpCmdButton::XpCmdButton(InfoLine *infoLine, QWidget *parent)
    : XpCaptionButton(CaptionStrip::CmdButton, infoLine, parent)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(12);
    f.setBold(true);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    m_label->setFont(f);
    m_label->setFixedBox(QSize(81, 45));
    m_label->setColour(Qt::black);
}

QString XpCmdButton::tagCaption() const
{
    return QString();
}

void XpCmdButton::setTagCaption(const QString &)
{
}

QString XpCmdButton::hintFor(const QString &caption)
{
    const QString three = caption.left(3).trimmed();
    if (three == QLatin1String("Se"))
        return QStringLiteral("Enter todays schedule, and all important information needed for sitter.");
    if (three == QLatin1String("Si"))
        return QStringLiteral("Enter, edit, add hours, or view, sitters information.");
    if (three == QLatin1String("He"))
        return QStringLiteral("Get help, enter your name and phone number, and set options.");
    if (caption.left(2).trimmed() == QLatin1String("Ma"))
        return QStringLiteral("Make this window the top window. Disables other buttons, && a password can be used.");
    return QString();
}

void XpCmdButton::initProperties(const QFont &containerFont)
{
    setEnabled(true);
    applyEnabledLook();
    setButtonFont(containerFont);
    setCaption(objectName());
}

void XpCmdButton::readProperties(const PropertyBag &bag, const QFont &containerFont)
{
    setState(bag.read(QStringLiteral("State"), 0).toInt());
    setEnabled(bag.read(QStringLiteral("Enabled"), true).toBool());
    applyEnabledLook();
    setCaption(bag.read(QStringLiteral("Caption"), objectName()).toString());
    setForeColor(bag.read(QStringLiteral("ForeColor"), OleColour::ButtonText).toUInt());
    setButtonFont(bag.read(QStringLiteral("Font"), containerFont).value<QFont>());
}

void XpCmdButton::writeProperties(PropertyBag &bag, const QFont &containerFont) const
{
    bag.write(QStringLiteral("State"), state(), 0);
    bag.write(QStringLiteral("Enabled"), isEnabled(), true);
    bag.write(QStringLiteral("Caption"), caption(), objectName());
    bag.write(QStringLiteral("Font"), buttonFont(), containerFont);
    bag.write(QStringLiteral("ForeColor"), foreColor(), OleColour::ButtonText);
}

void XpCmdButton::updateHint()
{
    setHint(hintFor(caption()));
}

void XpCmdButton::leave()
{
    QPointer<XpCaptionButton> self(this);
    stopHover();
    emit mouseOut();
    if (!self)
        return;
    setHint(QString());
    restoreCaptionColour();
    paintResting();
}
