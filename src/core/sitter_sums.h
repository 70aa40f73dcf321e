#pragma once
#include <QString>

// The sitter list's two sums: what a sitter is owed, and the timed absence added to the hours.
namespace SitterSums {

// The number at the start of `text`: leading blanks skipped, blanks inside skipped, an optional
// minus sign, digits, an optional point and digits; anything else ends it, and no number is 0.
// With `groupCommas`, commas between the digits before the point are thousands separators.
double readNumber(const QString &text, bool groupCommas = false);

// Wage x hours in whole cents, "$21.75". Hours are a plain decimal number here.
QString total(const QString &wage, const QString &hours);

// Hours written as "h.mm" (hours, a point, minutes) plus the timed hours and minutes. Minutes
// are written with two digits, so 7 hours 5 minutes reads back as 7.05, not seven and a half.
QString addTimer(const QString &hoursWorked, int timedHours, int timedMinutes);

} // namespace SitterSums
