#include "mathparser/mathfunctions.h"

#include "mathparser/functioncodes.h"
#include "mathparser/mathclock.h"
#include "mathparser/mathtables.h"
#include "mathparser/specialdispatch.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>

namespace supplink::mathfunctions {
namespace {

constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = mathtables::ShortPi;

bool inInt32(double v)
{
    return v >= -2147483648.0 && v <= 2147483647.0;
}

bool wholeInt16(double x, int& out)
{
    const double r = RoundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        return false;
    out = int(r);
    return true;
}

double special(int code, double argument)
{
    double result = 0.0;
    QString text;
    if (!evalSpecialFunction(code, &argument, 1, result, text))
        return kRefused;
    return result;
}

// Greatest common divisor of two non-negative whole numbers (Euclid on 32-bit integers).
std::int64_t gcdWhole(std::int64_t a, std::int64_t b)
{
    if (b == 0)
        return a;
    std::int64_t r = 0;
    do {
        r = a % b;
        a = b;
        b = r;
    } while (r != 0);
    return a;
}

double roundDecimals(double x, double decimals)
{
    if (!(decimals >= 0))
        return kRefused;
    const double scale = std::pow(10.0, decimals);
    const double y = x * scale;
    if (!std::isfinite(y) || std::fabs(y) >= 9007199254740992.0)
        return x;
    return RoundHalfEven(y) / scale;
}

} // namespace

double RoundHalfEven(double x)
{
    return std::nearbyint(x);
}

bool ToWholeNumber(double x, int& whole)
{
    const double r = RoundHalfEven(x);
    if (!(std::fabs(r - x) <= 5e-14) || !inInt32(r))
        return false;
    whole = int(r);
    return true;
}

double Acos(double x)
{
    if (x == 1)
        return 0.0;
    if (x == -1)
        return kPi;
    return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
}

double Asin(double x)
{
    if (std::fabs(x) == 1)
        return (x > 0 ? 1.0 : -1.0) * kPi / 2;
    return std::atan(x / std::sqrt(1 - x * x));
}

double Cosh(double x)
{
    return (std::exp(x) + std::exp(-x)) / 2;
}

double Sinh(double x)
{
    return (std::exp(x) - std::exp(-x)) / 2;
}

double Tanh(double x)
{
    return (std::exp(x) - std::exp(-x)) / (std::exp(x) + std::exp(-x));
}

double Acosh(double x)
{
    return std::log(x + std::sqrt(x * x - 1));
}

double Asinh(double x)
{
    return std::log(x + std::sqrt(x * x + 1));
}

double Atanh(double x)
{
    return std::log((1 + x) / (1 - x)) / 2;
}

double Round(double x, double decimals)
{
    int d = 0;
    if (!ToWholeNumber(decimals, d))
        return kRefused;
    const double p = std::pow(10.0, d);
    const double y = x * p;
    double i = std::floor(y);
    if (y - i > 0.5)
        i += 1;
    return i / p;
}

double Fact(double n)
{
    int whole = 0;
    if (n < 0 || !ToWholeNumber(n, whole))
        return kRefused;
    double product = 1.0;
    for (int i = 2; i <= whole; ++i) {
        product *= i;
        if (!std::isfinite(product))
            return product;
    }
    return product;
}

double Comb(double n, double k)
{
    int whole = 0;
    int chosen = 0;
    if (n < 0 || k < 0 || !ToWholeNumber(n, whole) || !ToWholeNumber(k, chosen))
        return kRefused;
    if (chosen > whole)
        return 0.0;
    if (chosen == 0 || chosen == whole)
        return 1.0;
    if (whole / 2 < chosen)
        chosen = whole - chosen;
    double c = whole;
    for (int i = 2; i <= chosen; ++i) {
        c = c * (double(whole) + 1 - i) / i;
        if (!std::isfinite(c))
            return c;
    }
    return c;
}

double Perm(double n, double k)
{
    int whole = 0;
    int chosen = 0;
    if (n < 0 || k < 0 || !ToWholeNumber(n, whole) || !ToWholeNumber(k, chosen))
        return kRefused;
    if (chosen > whole)
        return 0.0;
    if (chosen == 0)
        return 1.0;
    double p = whole;
    for (int i = 2; i <= chosen; ++i) {
        p = p * (double(whole) + 1 - i);
        if (!std::isfinite(p))
            return p;
    }
    return p;
}

double Gcd(double a, double b)
{
    int wa = 0;
    int wb = 0;
    if (a < 0 || b < 0 || !ToWholeNumber(a, wa) || !ToWholeNumber(b, wb))
        return kRefused;
    return double(gcdWhole(wa, wb));
}

double Lcm(double a, double b)
{
    int wa = 0;
    int wb = 0;
    if (a < 0 || b < 0 || !ToWholeNumber(std::fabs(a), wa) || !ToWholeNumber(std::fabs(b), wb))
        return kRefused;
    const std::int64_t product = std::int64_t(wa) * std::int64_t(wb);
    if (!inInt32(double(product)))
        return kRefused; // overflow of the 32-bit product
    const std::int64_t divisor = gcdWhole(wa, wb);
    if (divisor == 0)
        return kRefused; // lcm(0, 0): 0 / 0
    return double(product / divisor);
}

double Max(double a, double b)
{
    return a <= b ? b : a;
}

double Min(double a, double b)
{
    return a >= b ? b : a;
}

double Mod(double a, double b)
{
    if (b == 0)
        return kRefused;
    const double r = a - std::trunc(a / b) * b;
    return RoundHalfEven(r);
}

double Root(double x, double n)
{
    const double whole = std::floor(n);
    if (whole == 0 || !std::isfinite(whole))
        return kRefused;
    if (std::fmod(whole, 2.0) == 0) {
        if (x < 0)
            return kRefused;
        return std::pow(x, 1 / whole);
    }
    const double sign = x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
    return sign * std::pow(std::fabs(x), 1 / whole);
}

double Dec(double x)
{
    const double fraction = x - std::trunc(x);
    const double digitsBefore = std::floor(std::log10(std::fabs(x))) + 1;
    if (!std::isfinite(digitsBefore))
        return kRefused; // dec(0): logarithm of 0
    return roundDecimals(fraction, 15 - digitsBefore);
}

double Clip(double x, double low, double high)
{
    if (low > high)
        return kRefused;
    if (x < low)
        return low;
    if (x > high)
        return high;
    return x;
}

double DNorm(double x, double mean, double sigma)
{
    const double d = x - mean;
    return std::exp(-(d * d) / (2 * sigma * sigma)) / (std::sqrt(6.28318530717958) * sigma);
}

double CNorm(double x, double mean, double sigma)
{
    const double e = special(mathfn::Erf, (x - mean) / (std::sqrt(2.0) * sigma));
    return (e + 1) / 2;
}

double DBinom(double k, double n, double p)
{
    int wk = 0;
    int wn = 0;
    if (!ToWholeNumber(k, wk) || !ToWholeNumber(n, wn))
        return kRefused;
    const double c = Comb(wn, double(wn) - wk);
    return std::pow(p, wk) * c * std::pow(1 - p, double(wn) - wk);
}

double CBinom(double k, double n, double p)
{
    double sum = 0.0;
    for (double i = 0; i <= k; ++i) {
        const double term = DBinom(i, n, p);
        if (!std::isfinite(term))
            return term;
        sum += term;
    }
    return sum;
}

double DPoisson(double k, double lambda)
{
    int wk = 0;
    if (!ToWholeNumber(k, wk))
        return kRefused;
    const double logFactorial = special(mathfn::Gammaln, double(wk) + 1);
    return std::exp(wk * std::log(lambda) - lambda - logFactorial);
}

double CPoisson(double k, double lambda)
{
    int wk = 0;
    if (!ToWholeNumber(k, wk))
        return kRefused;
    double sum = 0.0;
    for (int i = 0; i <= wk; ++i) {
        const double term = DPoisson(i, lambda);
        if (!std::isfinite(term))
            return term;
        sum += term;
        // Past the mode the terms only shrink: once one is 0 all further ones are.
        if (term == 0 && i > lambda)
            break;
    }
    return sum;
}

double DatePart(int code, double serial)
{
    // The range of the date serial numbers: 1 January 100 to 31 December 9999.
    if (!(serial > -657435.0 && serial < 2958466.0))
        return kRefused;
    const double whole = std::trunc(serial);
    qint64 days = qint64(whole);
    qint64 seconds = qint64(std::llround(std::fabs(serial - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    const QDate date = mathclock::DateOfSerial(days);
    switch (code) {
    case mathfn::Year:
        return date.year();
    case mathfn::Month:
        return date.month();
    case mathfn::Day:
        return date.day();
    case mathfn::Hour:
        return double(seconds / 3600);
    case mathfn::Minute:
        return double((seconds / 60) % 60);
    case mathfn::Second:
        return double(seconds % 60);
    default:
        return kRefused;
    }
}

double DateSerial(double year, double month, double day)
{
    int y = 0;
    int m = 0;
    int d = 0;
    if (!wholeInt16(year, y) || !wholeInt16(month, m) || !wholeInt16(day, d))
        return kRefused;
    if (y >= 0 && y <= 29)
        y += 2000;
    else if (y >= 30 && y <= 99)
        y += 1900;
    const int months = y * 12 + (m - 1);
    const int normYear = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int normMonth = months - normYear * 12 + 1;
    if (normYear < 100 || normYear > 9999)
        return kRefused;
    const QDate date = QDate(normYear, normMonth, 1).addDays(qint64(d) - 1);
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return kRefused;
    return mathclock::DateSerialOf(date);
}

double TimeSerial(double hour, double minute, double second)
{
    int h = 0;
    int m = 0;
    int s = 0;
    if (!wholeInt16(hour, h) || !wholeInt16(minute, m) || !wholeInt16(second, s))
        return kRefused;
    return (double(h) * 3600 + double(m) * 60 + s) / 86400.0;
}

} // namespace supplink::mathfunctions
