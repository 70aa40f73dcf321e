#pragma once
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
