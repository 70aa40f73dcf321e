#include "app/accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {
QAccessibleInterface *windowRole(const QString &className, QObject *object)
{
    if ((className == QLatin1String("MainWindow") || className == QLatin1String("SplashWindow"))
        && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}
} // namespace

void installAccessibleWindowRoles()
{
    QAccessible::installFactory(windowRole);
}
