#pragma once
#include <QDateTime>

// The local clock, and the random generator seeded from it once at start-up.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Uniform in [0, 1).
    virtual double nextRandom() = 0;
};
