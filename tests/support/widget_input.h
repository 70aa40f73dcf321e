#pragma once
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// A left click in the middle of the widget, delivered at once (no window needs to be exposed).
inline void clickCentre(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// Text set in a box as dictation and screen readers do, through its accessible interface: whole
// as its value, or by replacing all of its editable text. False where the box offers neither.
inline bool setTextFromOutside(QWidget *box, const QString &text, bool whole)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    if (!iface)
        return false;
    if (whole) {
        iface->setText(QAccessible::Value, text);
        return true;
    }
    if (!iface->editableTextInterface() || !iface->textInterface())
        return false;
    iface->editableTextInterface()->replaceText(0, iface->textInterface()->characterCount(), text);
    return true;
}
