#pragma once
#include <QString>

// Hands a number to a dialer. Results: 0 accepted, -2 no dialer, -3 the dialer is busy with
// another request, -4 number not valid, anything else an unknown error.
class Dialer
{
public:
    virtual ~Dialer() = default;
    virtual int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                                const QString &comment)
        = 0;

    // Whether the program still holds the line of the call just accepted: a modem keeps it only
    // while its port is open. The person is asked to lift the receiver, then hangUp() lets go.
    virtual bool holdsLine() const { return false; }
    virtual void hangUp() { }
};
