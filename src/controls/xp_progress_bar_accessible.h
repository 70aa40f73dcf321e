#pragma once
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class XpProgressBar;

// Makes the progress bar a progress bar for screen readers and UI automation, with its value
// and range readable. The value is only shown, never set from outside.
class XpProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit XpProgressBarAccessible(XpProgressBar *bar);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    static QAccessibleInterface *factory(const QString &className, QObject *object);

private:
    XpProgressBar *bar() const;
};
