#include "mathparser/mathclock.h"

#include <utility>

namespace supplink::mathclock {
namespace {

ClockFunction& clockFunction()
{
    static ClockFunction clock;
    return clock;
}

QDate epoch()
{
    return QDate(1899, 12, 30);
}

} // namespace

void SetClock(ClockFunction clock)
{
    clockFunction() = std::move(clock);
}

QDateTime Now()
{
    const ClockFunction& clock = clockFunction();
    QDateTime now = clock ? clock() : QDateTime::currentDateTime();
    const QTime time = now.time();
    now.setTime(QTime(time.hour(), time.minute(), time.second()));
    return now;
}

double DateSerialOf(const QDate& date)
{
    return double(epoch().daysTo(date));
}

double TimeFractionOf(const QTime& time)
{
    return double(time.msecsSinceStartOfDay() / 1000) / 86400.0;
}

QDate DateOfSerial(qint64 days)
{
    return epoch().addDays(days);
}

} // namespace supplink::mathclock
