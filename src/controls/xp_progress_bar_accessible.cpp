#include "controls/xp_progress_bar_accessible.h"

#include "controls/xp_progress_bar.h"

XpProgressBarAccessible::XpProgressBarAccessible(XpProgressBar *bar) : QAccessibleWidget(bar, QAccessible::ProgressBar)
{
}

void *XpProgressBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString XpProgressBarAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return QString::number(bar()->value());
    return QAccessibleWidget::text(t);
}

QVariant XpProgressBarAccessible::currentValue() const
{
    return bar()->value();
}

void XpProgressBarAccessible::setCurrentValue(const QVariant &)
{
}

QVariant XpProgressBarAccessible::maximumValue() const
{
    return bar()->maximum();
}

QVariant XpProgressBarAccessible::minimumValue() const
{
    return bar()->minimum();
}

QVariant XpProgressBarAccessible::minimumStepSize() const
{
    return 1;
}

QAccessibleInterface *XpProgressBarAccessible::factory(const QString &, QObject *object)
{
    if (auto *bar = qobject_cast<XpProgressBar *>(object))
        return new XpProgressBarAccessible(bar);
    return nullptr;
}

XpProgressBar *XpProgressBarAccessible::bar() const
{
    return static_cast<XpProgressBar *>(widget());
}
