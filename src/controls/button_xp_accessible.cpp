#include "controls/button_xp_accessible.h"

#include "controls/button_xp.h"

ButtonXpAccessible::ButtonXpAccessible(ButtonXp *button) : QAccessibleWidget(button, QAccessible::Button)
{
}

QStringList ButtonXpAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void ButtonXpAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && widget()->isEnabled()) {
        auto *button = static_cast<ButtonXp *>(widget());
        emit button->clicked();
        button->GoToURL();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface *ButtonXpAccessible::factory(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<ButtonXp *>(object))
        return new ButtonXpAccessible(button);
    return nullptr;
}
