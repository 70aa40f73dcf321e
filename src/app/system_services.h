#pragma once
#include "services/clock.h"
#include "services/pointer_mover.h"
#include "services/prompter.h"

#include <QRandomGenerator>

class QWidget;

// Message boxes owned by the active window.
class QtPrompter : public Prompter
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    // Boxes belong to this window when no window of the program is active (a voice command).
    void setOwner(QWidget *owner) { m_owner = owner; }

private:
    QWidget *m_owner = nullptr;
};

class QtPointerMover : public PointerMover
{
public:
    void moveTo(const QPoint &screenPos) override;
};

// The local clock; the random generator is seeded from it once, when this is made.
class SystemClock : public Clock
{
public:
    SystemClock();
    QDateTime now() const override;
    double nextRandom() override;

private:
    QRandomGenerator m_random;
};
