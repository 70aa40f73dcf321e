#pragma once
#include <QPoint>

class PointerMover
{
public:
    virtual ~PointerMover() = default;
    virtual void moveTo(const QPoint &screenPos) = 0;
};
