#pragma once

#include <QDateTime>

#include <functional>

// The clock behind the evaluator's DATE#, TIME# and NOW# constants and its date serial numbers
// (days counted from 30 December 1899, the fraction being the time of day).

namespace supplink::mathclock {

using ClockFunction = std::function<QDateTime()>;

// Replaces the clock (tests fix it); an empty function restores the system clock.
void SetClock(ClockFunction clock);

// The current local date and time, to the second.
QDateTime Now();

// Whole days from 30 December 1899 to the date.
double DateSerialOf(const QDate& date);

// Fraction of a day of the time (whole seconds).
double TimeFractionOf(const QTime& time);

// The date of a whole day count from 30 December 1899.
QDate DateOfSerial(qint64 days);

} // namespace supplink::mathclock
