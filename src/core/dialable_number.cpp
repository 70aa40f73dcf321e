#include "core/dialable_number.h"

QString DialableNumber::filter(const QString &number)
{
    QString out;
    for (const QChar c : number) {
        const char16_t u = c.unicode();
        // Only ASCII digits: other scripts' digits mean nothing to a modem.
        // "+" means something (the international prefix) only in front.
        if ((u >= '0' && u <= '9') || u == '*' || u == '#' || u == ',' || (u == '+' && out.isEmpty()))
            out += c;
    }
    return out;
}

bool DialableNumber::hasDigit(const QString &number)
{
    for (const QChar c : number)
        if (c.unicode() >= '0' && c.unicode() <= '9')
            return true;
    return false;
}
