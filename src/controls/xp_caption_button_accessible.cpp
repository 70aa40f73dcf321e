#include "controls/xp_caption_button_accessible.h"

#include "controls/xp_caption_button.h"

XpCaptionButtonAccessible::XpCaptionButtonAccessible(XpCaptionButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

QStringList XpCaptionButtonAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void XpCaptionButtonAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && widget()->isEnabled()) {
        emit static_cast<XpCaptionButton *>(widget())->clicked();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface *XpCaptionButtonAccessible::factory(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<XpCaptionButton *>(object))
        return new XpCaptionButtonAccessible(button);
    return nullptr;
}
