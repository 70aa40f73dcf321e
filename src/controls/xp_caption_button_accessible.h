#pragma once
#include <QAccessibleWidget>

class XpCaptionButton;

// Makes the caption buttons push buttons for screen readers and UI automation, named by what
// their caption shows, and pressable through the accessibility action as by a mouse click.
class XpCaptionButtonAccessible : public QAccessibleWidget
{
public:
    explicit XpCaptionButtonAccessible(XpCaptionButton *button);

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
