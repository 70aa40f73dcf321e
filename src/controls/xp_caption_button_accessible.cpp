#include "controls/xp_caption_button_accessible.h"

#include "controls/xp_caption_button.h"

#include <QMetaObject>

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
        // After the call has returned: the press may run a modal window, and the screen reader
        // would wait for its answer until that window closed.
        QMetaObject::invokeMethod(static_cast<XpCaptionButton *>(widget()), &XpCaptionButton::click,
                                  Qt::QueuedConnection);
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
