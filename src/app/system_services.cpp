#include "app/system_services.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

void QtPrompter::message(const QString &text, const QString &title, Icon icon)
{
    QWidget *active = QApplication::activeWindow();
    QMessageBox box(active ? active : m_owner);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("The Hushby") : title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtPrompter::question(const QString &text, const QString &title)
{
    QWidget *active = QApplication::activeWindow();
    QMessageBox box(active ? active : m_owner);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("The Hushby") : title);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.raise();
    box.activateWindow();
    return box.exec() == QMessageBox::Ok;
}

void QtPointerMover::moveTo(const QPoint &screenPos)
{
    QCursor::setPos(screenPos);
}

SystemClock::SystemClock() : m_random(quint32(QDateTime::currentMSecsSinceEpoch()))
{
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

double SystemClock::nextRandom()
{
    return m_random.generateDouble();
}
