#pragma once
#include <QString>

// The characters of a stored phone number that a dialer may see. Everything else is dropped, so
// a number typed as free text can never carry a modem command or a second argument.
class DialableNumber
{
public:
    // Digits, "*", "#", "," (a pause) and a leading "+", in their order; blanks and letters go.
    static QString filter(const QString &number);
    static bool hasDigit(const QString &number);
};
