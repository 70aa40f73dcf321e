#include "controls/button_xp_accessible.h"

#include "controls/button_xp.h"

#include <QMetaObject>

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
        // After the call has returned, so a modal window the press opens keeps no caller waiting.
        QMetaObject::invokeMethod(static_cast<ButtonXp *>(widget()), &ButtonXp::click, Qt::QueuedConnection);
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
