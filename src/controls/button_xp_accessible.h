#pragma once
#include <QAccessibleWidget>

class ButtonXp;

// The image button is a push button to screen readers and UI automation, pressable through the
// accessibility action as by a mouse click.
class ButtonXpAccessible : public QAccessibleWidget
{
public:
    explicit ButtonXpAccessible(ButtonXp *button);

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
