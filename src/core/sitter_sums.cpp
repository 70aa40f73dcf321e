#include "core/sitter_sums.h"

#include <QLocale>
#include <cmath>

namespace {

// A decimal read exactly: value = mantissa / 10^scale. Money is summed from these in integers so
// that 7.25 x 3 is 21.75 and not 21.749998.
struct Decimal {
    bool negative = false;
    qint64 mantissa = 0;
    int scale = 0;
};

// Beyond this many digits a number cannot come from a 10-character field; the rest are dropped
// (integer digits still count as powers of ten up to the cap).
constexpr int kMaxDigits = 17;

Decimal readDecimal(const QString &text, bool groupCommas)
{
    Decimal d;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && text.at(i) == QLatin1Char(' '))
            ++i;
    };
    skipBlanks();
    if (i < n && text.at(i) == QLatin1Char('-')) {
        d.negative = true;
        ++i;
    }
    int digits = 0;
    bool seenDigit = false;
    bool inFraction = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' '))
            continue;
        if (c.isDigit() && c.unicode() < 0x80) {
            seenDigit = true;
            if (digits < kMaxDigits) {
                d.mantissa = d.mantissa * 10 + (c.unicode() - '0');
                if (inFraction)
                    ++d.scale;
                if (d.mantissa)
                    ++digits;
            } else if (!inFraction) {
                return Decimal{d.negative, d.mantissa, d.scale}; // absurdly long: keep what fits
            }
        } else if (c == QLatin1Char('.') && !inFraction) {
            inFraction = true;
        } else if (c == QLatin1Char(',') && groupCommas && !inFraction && seenDigit) {
            continue;
        } else {
            break;
        }
    }
    return d;
}

double toDouble(const Decimal &d)
{
    const double v = double(d.mantissa) / std::pow(10.0, d.scale);
    return d.negative ? -v : v;
}

// No leading blank, no trailing zeros, no point for whole values.
QString shortest(double v)
{
    if (v == 0)
        v = 0; // no "-0"
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace

namespace SitterSums {

double readNumber(const QString &text, bool groupCommas)
{
    return toDouble(readDecimal(text, groupCommas));
}

QString total(const QString &wage, const QString &hours)
{
    const Decimal w = readDecimal(wage.trimmed(), true);
    const Decimal h = readDecimal(hours.trimmed(), true);
    __int128 product = __int128(w.mantissa) * h.mantissa;
    int scale = w.scale + h.scale;
    // To whole cents, halves rounded away from zero.
    for (; scale < 2; ++scale)
        product *= 10;
    for (; scale > 3; --scale)
        product /= 10; // exact enough: only the third decimal decides the rounding
    if (scale == 3)
        product = (product + 5) / 10;
    const bool negative = (w.negative != h.negative) && product != 0;
    QString digits;
    do {
        digits.prepend(QChar('0' + int(product % 10)));
        product /= 10;
    } while (product > 0);
    while (digits.size() < 3)
        digits.prepend(QLatin1Char('0'));
    return QStringLiteral("$") + (negative ? QStringLiteral("-") : QString()) + digits.left(digits.size() - 2)
        + QLatin1Char('.') + digits.right(2);
}

QString addTimer(const QString &hoursWorked, int timedHours, int timedMinutes)
{
    const QString t = hoursWorked.trimmed();
    const qsizetype point = t.lastIndexOf(QLatin1Char('.'));
    QString h = point >= 0 ? t.left(point) : t;
    const QString mm = point >= 0 ? t.mid(point + 1) : QString();
    double minutes = readNumber(mm) + timedMinutes;
    if (minutes >= 60) {
        minutes -= 60;
        h = shortest(readNumber(h) + 1);
    }
    const double hours = timedHours + readNumber(h);
    const bool twoDigits = minutes >= 0 && minutes < 100 && minutes == std::floor(minutes);
    const QString minuteText
        = twoDigits ? QStringLiteral("%1").arg(int(minutes), 2, 10, QLatin1Char('0')) : shortest(minutes);
    return shortest(hours) + QLatin1Char('.') + minuteText;
}

} // namespace SitterSums
