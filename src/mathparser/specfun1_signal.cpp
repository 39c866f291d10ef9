// Orthogonal polynomials and periodic signal functions.

#include "mathparser/specfun1.h"

#include "mathparser/mathconstants.h"

#include <cmath>
#include <limits>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;
constexpr double kTwoPi = mathtables::ShortTwoPi;

SpecValue finiteValue(double v)
{
    if (!std::isfinite(v)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    return SpecValue::of(v);
}

SpecValue snapped(double v)
{
    return finiteValue(SnapToZero(v));
}

SpecValue divisionByZero()
{
    return SpecValue::fault(SpecFault::divisionByZero());
}

// The degree as a 32-bit whole number, ties to even.
bool toDegree(double n, qint64& degree)
{
    const double r = std::nearbyint(n);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max())) {
        return false;
    }
    degree = static_cast<qint64>(r);
    return true;
}

double Int(double v)
{
    return std::floor(v);
}

// exp(-a * frac(u)), formed as exp(a * Int(u) - a * u).
double decay(double a, double u)
{
    return std::exp(a * Int(u) - a * u);
}

} // namespace

// --- Polynomials ------------------------------------------------------------
// Each runs its three-term recurrence; a value that overflows stays infinite,
// so the loop stops at the first one.

SpecValue PolyLegendre(double x, double n)
{
    qint64 degree = 0;
    if (!toDegree(n, degree)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    double before = 0.0;
    double current = 1.0;
    for (qint64 k = 1; k <= degree; ++k) {
        const double kk = static_cast<double>(k);
        const double next = (2.0 * kk - 1.0) / kk * x * current - (kk - 1.0) / kk * before;
        before = current;
        current = next;
        if (!std::isfinite(current)) {
            break;
        }
    }
    return finiteValue(current);
}

SpecValue PolyHermite(double x, double n)
{
    qint64 degree = 0;
    if (!toDegree(n, degree)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    double before = 0.0;
    double current = 1.0;
    for (qint64 k = 1; k <= degree; ++k) {
        const double kk = static_cast<double>(k);
        const double next = 2.0 * x * current - 2.0 * (kk - 1.0) * before;
        before = current;
        current = next;
        if (!std::isfinite(current)) {
            break;
        }
    }
    return finiteValue(current);
}

SpecValue PolyLaguerre(double x, double n)
{
    qint64 degree = 0;
    if (!toDegree(n, degree)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    double before = 0.0;
    double current = 1.0;
    for (qint64 k = 1; k <= degree; ++k) {
        const double kk = static_cast<double>(k);
        const double next = (2.0 * kk - 1.0 - x) * current - (kk - 1.0) * (kk - 1.0) * before;
        before = current;
        current = next;
        if (!std::isfinite(current)) {
            break;
        }
    }
    return finiteValue(current);
}

SpecValue PolyChebyshev(double x, double n)
{
    qint64 degree = 0;
    if (!toDegree(n, degree)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    if (degree == 0) {
        return SpecValue::of(1.0);
    }
    if (degree == 1) {
        return SpecValue::of(x);
    }
    if (degree < 2) {
        return SpecValue::of(0.0);
    }
    double before = 1.0;
    double current = x;
    for (qint64 k = 2; k <= degree; ++k) {
        const double next = 2.0 * x * current - before;
        before = current;
        current = next;
        if (!std::isfinite(current)) {
            break;
        }
    }
    return finiteValue(current);
}

// --- Signal functions -------------------------------------------------------

double SnapToZero(double v)
{
    return std::fabs(v) < 5e-14 ? 0.0 : v;
}

SpecValue wtri(double t, double p)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(4.0 * std::fabs(Int(q + 0.5) - q) - 1.0);
}

SpecValue wsqr(double t, double p)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(2.0 * Int(q) - 2.0 * Int(q + 0.5) + 1.0);
}

SpecValue wsaw(double t, double p)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    return snapped(2.0 * t / p - 2.0 * Int(t / p + 0.5));
}

SpecValue wraise(double t, double p)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(q - Int(q));
}

SpecValue wparab(double t, double p)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    const double v = 2.0 * std::fabs(Int(q + 0.5) - q);
    return snapped(v * v);
}

SpecValue wrect(double t, double p, double d)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(2.0 * Int(q) - 2.0 * Int(q - d) - 1.0);
}

SpecValue wpulse(double t, double p, double d)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(Int(q) - Int(q - d));
}

SpecValue wtrapez(double t, double p, double d)
{
    if (p == 0.0 || d == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    const double rise = 2.0 * std::fabs(Int(q + 0.5) - q);
    const double fall = std::fabs(2.0 * Int(q - d / (2.0 * p) + 0.5) + (d - 2.0 * t) / p);
    return snapped((rise - fall) / d);
}

SpecValue wlin(double t, double p, double d)
{
    const double divisor = p * d * (1.0 - d);
    if (p == 0.0 || divisor == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    const double iqd = Int(q - d);
    const double imd = Int(-d);
    const double iq = Int(q);
    double a = iqd * iqd * p + iqd * (2.0 * d * p + p - 2.0 * t);
    a = a - imd * imd * p - imd * (2.0 * d + 1.0) * p;
    a = a - iq * iq * p + iq * (2.0 * t - p);
    return snapped((a + (p * d - p - 2.0 * t) * d) / divisor);
}

SpecValue wsteps(double t, double p, double n)
{
    if (p == 0.0 || n - 1.0 == 0.0) {
        return divisionByZero();
    }
    return snapped((Int(t * n / p) - n * Int(t / p)) / (n - 1.0));
}

SpecValue wexp(double t, double p, double a)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    return snapped(decay(a, t / p));
}

SpecValue wexpb(double t, double p, double a)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return snapped(decay(a, q) - decay(a, q + 0.5));
}

SpecValue wpulsef(double t, double p, double a)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return finiteValue(Int(q) - Int(q + 0.5) + 1.0 - (decay(a, q) - decay(a, q + 0.5)));
}

SpecValue wripple(double t, double p, double a)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double wave = std::fabs(std::cos(kPi * t / p));
    const double fade = decay(a, t / p);
    return finiteValue(wave > fade ? wave : fade);
}

SpecValue wring(double t, double p, double a, double f)
{
    if (p == 0.0) {
        return divisionByZero();
    }
    const double q = t / p;
    return finiteValue(decay(a, q) * std::sin(kTwoPi * f * (q - Int(q))));
}

SpecValue wam(double t, double fo, double fm, double m)
{
    return finiteValue((1.0 + m * std::sin(kTwoPi * fm * t)) * std::sin(kTwoPi * fo * t));
}

SpecValue wfm(double t, double fo, double fm, double m)
{
    return finiteValue(std::sin((1.0 + m * std::sin(kTwoPi * fm * t)) * kTwoPi * fo * t));
}

} // namespace supplink
