#pragma once
#include <QString>

// Hands a number to a dialer. Results: 0 accepted, -2 no dialer, -3 queue full,
// -4 number not valid, anything else an unknown error.
class Dialer
{
public:
    virtual ~Dialer() = default;
    virtual int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                                const QString &comment)
        = 0;
};
