// Gamma family, error function, zeta function and exponential integrals.

#include "mathparser/specfun1.h"

#include "mathparser/mathconstants.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace supplink {

namespace {

// The library's own short forms of pi and of Euler's constant: results
// depend on exactly these values.
constexpr double kPi = mathtables::ShortPi;
constexpr double kEuler = 0.577215664901532;

// Lanczos approximation with g = 607/128 and fifteen coefficients.
constexpr double kLanczosG = 4.7421875;
constexpr double kLanczosTwoPi = 6.28318530717959;
constexpr std::array<double, 15> kLanczos = {
    0.999999999999997,    57.1562356658629,      -59.5979603554755,    14.1360979747417,
    -0.49191381609762,    3.39946499848119e-05,  4.65236289270486e-05, -9.83744753048796e-05,
    0.000158088703224912, -0.000210264441724105, 0.000217439618115213, -0.000164318106536764,
    8.44182239838528e-05, -2.61908384015814e-05, 3.68991826595316e-06};

// Bernoulli numbers B2, B4, ..., B22 as numerator and denominator.
struct Fraction
{
    double numerator;
    double denominator;
};
constexpr std::array<Fraction, 11> kBernoulli = {{{1, 6},
                                                  {-1, 30},
                                                  {1, 42},
                                                  {-1, 30},
                                                  {5, 66},
                                                  {-691, 2730},
                                                  {7, 6},
                                                  {-3617, 510},
                                                  {43867, 798},
                                                  {-174611, 330},
                                                  {854513, 138}}};

SpecValue finiteValue(double v)
{
    if (!std::isfinite(v)) {
        return SpecValue::fault(SpecFault::overflow());
    }
    return SpecValue::of(v);
}

bool isWhole(double x)
{
    return std::isfinite(x) && x == std::floor(x);
}

// sin(pi * y) with y first reduced exactly to [-1/2, 1/2], so that the
// zeros at whole y come out as exact zeros and no digits are lost near them.
double sinPi(double y)
{
    double r = y - 2.0 * std::nearbyint(y / 2.0);
    if (r > 0.5) {
        r = 1.0 - r;
    } else if (r < -0.5) {
        r = -1.0 - r;
    }
    return std::sin(std::numbers::pi * r);
}

// pi * cot(pi * x) with the same exact reduction.
double piCotPi(double x)
{
    const double r = x - std::nearbyint(x);
    return std::numbers::pi / std::tan(std::numbers::pi * r);
}

// Gamma of a negative, non-whole x from Gamma(|x|) = m * 10^e:
// Gamma(x) = t * 10^-e with t = -pi / (m * |x| * sin(pi * |x|)).
struct Reflected
{
    double t = 0.0;
    double exponent = 0.0;
    QString error;
};

Reflected reflectGamma(double x)
{
    const double ax = std::fabs(x);
    const GammaParts g = GammaMantExp(ax);
    if (!g.ok()) {
        return {0.0, 0.0, g.error};
    }
    const double t = -kPi / (g.mantissa * ax * std::sin(kPi * ax));
    if (!std::isfinite(t)) {
        return {0.0, 0.0, SpecFault::overflow()};
    }
    return {t, g.exponent, QString()};
}

// Hasse's globally convergent series for zeta(s).
SpecValue zetaSeries(double s)
{
    double total = 0.0;
    for (int n = 0; n <= 1000; ++n) {
        double binomial = 1.0;
        double inner = 1.0;
        for (int k = 1; k <= n; ++k) {
            binomial = binomial * (n - k + 1) / k;
            const double term = binomial / std::pow(k + 1.0, s);
            inner += (k % 2 == 1) ? -term : term;
        }
        const double outer = std::ldexp(inner, -(n + 1));
        total += outer;
        if (std::fabs(outer) < 1e-16) {
            break;
        }
    }
    // 1 - 2^(1 - s), formed without cancellation for s near 1.
    const double denominator = -std::expm1((1.0 - s) * std::numbers::ln2);
    if (denominator == 0.0) {
        return SpecValue::fault(SpecFault::divisionByZero());
    }
    return finiteValue(total / denominator);
}

// zeta(s) for s < -1 by the functional equation
// zeta(s) = 2^s pi^(s-1) sin(pi s / 2) Gamma(1 - s) zeta(1 - s),
// with Gamma kept as mantissa and power of ten so that large |s| cannot
// overflow before the end.
SpecValue zetaReflected(double s)
{
    const double sine = sinPi(s / 2.0);
    if (sine == 0.0) {
        return SpecValue::of(0.0);
    }
    const SpecValue mirror = zetaSeries(1.0 - s);
    if (!mirror.ok()) {
        return mirror;
    }
    const GammaParts g = GammaMantExp(1.0 - s);
    if (!g.ok()) {
        return SpecValue::fault(g.error);
    }
    const double power = g.exponent + s * std::log10(2.0 * std::numbers::pi);
    const double whole = std::floor(power);
    const double v = sine * mirror.value * g.mantissa * std::pow(10.0, power - whole) / std::numbers::pi;
    return finiteValue(v * std::pow(10.0, whole));
}

} // namespace

SpecValue ErrorFunction(double x)
{
    if (std::isnan(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    // The series below only converges for moderate x; erf is odd.
    if (x < 0.0) {
        SpecValue r = ErrorFunction(-x);
        r.value = -r.value;
        return r;
    }
    const double rootPi = std::sqrt(kPi);
    if (x <= 2.0) {
        const double x2 = x * x;
        double t = 1.0;
        double s = 1.0;
        for (int n = 3; n <= 399; n += 2) {
            t = t * 2.0 * x2 / n;
            s += t;
            if (t < 1e-15) {
                break;
            }
        }
        return SpecValue::of(2.0 * s * x * std::exp(-x2) / rootPi);
    }
    // Continued fraction for the complement.
    double aPrev = 1.0;
    double a = 0.0;
    double bPrev = 0.0;
    double b = 1.0;
    double r = 0.0;
    double rNext = 0.0;
    for (int k = 1; k <= 400; ++k) {
        const double m = (k % 2 == 1) ? 1.0 : 2.0;
        const double aNext = m * x * a + k * aPrev;
        const double bNext = m * x * b + k * bPrev;
        rNext = aNext / bNext;
        if (std::fabs(rNext - r) < 1e-15) {
            break;
        }
        aPrev = a;
        a = aNext;
        bPrev = b;
        b = bNext;
        r = rNext;
    }
    return finiteValue(1.0 - 2.0 * std::exp(-x * x) / ((2.0 * x + rNext) * rootPi));
}

GammaParts GammaMantExp(double x)
{
    GammaParts out;
    if (!(x > 0.0) || !std::isfinite(x)) {
        out.error = SpecFault::invalidArgument();
        return out;
    }
    const double z = x - 1.0;
    // z + 1 is x itself: forming it from z would lose the digits of a small x.
    double s = kLanczos[0] + kLanczos[1] / x;
    for (int i = 2; i <= 14; ++i) {
        s += kLanczos[i] / (z + i);
    }
    s = s / (std::exp(kLanczosG) / std::sqrt(kLanczosTwoPi));
    const double l = std::log((z + kLanczosG + 0.5) / std::exp(1.0)) * (z + 0.5) / std::log(10.0);
    double e = std::floor(l);
    double m = std::pow(10.0, l - e) * s;
    if (!std::isfinite(m) || !(m > 0.0)) {
        out.error = SpecFault::overflow();
        return out;
    }
    const double k = std::floor(std::log10(m));
    m = m * std::pow(10.0, -k);
    e = e + k;
    // log10 can round up just below a power of ten.
    if (m < 1.0) {
        m *= 10.0;
        e -= 1.0;
    } else if (m >= 10.0) {
        m /= 10.0;
        e += 1.0;
    }
    out.mantissa = m;
    out.exponent = e;
    return out;
}

SpecValue GammaValue(double x)
{
    if (std::isnan(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (x > 0.0) {
        const GammaParts g = GammaMantExp(x);
        if (!g.ok()) {
            return SpecValue::fault(g.error);
        }
        return finiteValue(g.mantissa * std::pow(10.0, g.exponent));
    }
    if (isWhole(x)) {
        return SpecValue::fault(SpecFault::pole());
    }
    const Reflected r = reflectGamma(x);
    if (!r.error.isEmpty()) {
        return SpecValue::fault(r.error);
    }
    const double e2 = std::floor(std::log10(std::fabs(r.t)));
    const double mantissa = r.t * std::pow(10.0, -e2);
    const double power = e2 - r.exponent;
    return finiteValue(mantissa * std::pow(10.0, power));
}

SpecValue LogGamma(double x)
{
    if (std::isnan(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (x > 0.0) {
        const GammaParts g = GammaMantExp(x);
        if (!g.ok()) {
            return SpecValue::fault(g.error);
        }
        return finiteValue(std::log(g.mantissa) + g.exponent * std::log(10.0));
    }
    if (isWhole(x)) {
        return SpecValue::fault(SpecFault::pole());
    }
    const Reflected r = reflectGamma(x);
    if (!r.error.isEmpty()) {
        return SpecValue::fault(r.error);
    }
    if (!(r.t > 0.0)) {
        // Gamma(x) is negative here: it has no real logarithm.
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    return finiteValue(std::log(r.t) - r.exponent * std::log(10.0));
}

SpecValue BetaFunction(double a, double b)
{
    const SpecValue la = LogGamma(a);
    if (!la.ok()) {
        return la;
    }
    const SpecValue lb = LogGamma(b);
    if (!lb.ok()) {
        return lb;
    }
    const SpecValue lab = LogGamma(a + b);
    if (!lab.ok()) {
        return lab;
    }
    return finiteValue(std::exp(la.value + lb.value - lab.value));
}

SpecValue Digamma(double x)
{
    if (std::isnan(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (x < 0.0) {
        if (isWhole(x)) {
            return SpecValue::fault(SpecFault::divisionByZero());
        }
        // Shifting a negative x up by 8 leaves too small an argument for the
        // asymptotic series, so reflect: psi(x) = psi(1 - x) - pi cot(pi x).
        const SpecValue mirror = Digamma(1.0 - x);
        if (!mirror.ok()) {
            return mirror;
        }
        return finiteValue(mirror.value - piCotPi(x));
    }
    if (x == 0.0) {
        return SpecValue::fault(SpecFault::divisionByZero());
    }
    const double z = (x <= 8.0) ? x + 7.0 : x - 1.0;
    double t = 0.0;
    for (int k = 1; k <= 11; ++k) {
        const Fraction& b = kBernoulli[k - 1];
        t += b.numerator / b.denominator / (k * std::pow(z, 2 * k));
    }
    double psi = std::log(z) + (1.0 / z - t) / 2.0;
    if (x <= 8.0) {
        for (int i = 0; i <= 7; ++i) {
            psi -= 1.0 / (x + i);
        }
    }
    return finiteValue(psi);
}

SpecValue ZetaFunction(double s)
{
    if (std::isnan(s)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (s == 1.0) {
        return SpecValue::fault(SpecFault::divisionByZero());
    }
    // For s < -1 the alternating binomial sums lose every digit to rounding.
    if (s < -1.0) {
        return zetaReflected(s);
    }
    return zetaSeries(s);
}

SpecValue ExpIntegralEi(double x)
{
    if (std::isnan(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (x == 0.0) {
        return SpecValue::fault(SpecFault::pole());
    }
    if (x < 0.0) {
        SpecValue e1 = ExpIntegralEn(-x, 1.0);
        e1.value = (e1.value == 0.0) ? 0.0 : -e1.value;
        return e1;
    }
    if (x < 1e-30) {
        return SpecValue::of(std::log(x) + kEuler);
    }
    if (x <= -std::log(1e-15)) {
        double t = 1.0;
        double s = 0.0;
        for (int k = 1; k <= 100; ++k) {
            t = t * x / k;
            s += t / k;
            if (s * 1e-15 > t / k) {
                break;
            }
        }
        return SpecValue::of(std::log(x) + s + kEuler);
    }
    // Asymptotic series, cut off before its terms start to grow.
    double t = 1.0;
    double s = 0.0;
    for (int k = 1; k <= 100; ++k) {
        const double previous = t;
        t = k * t / x;
        if (t < 1e-15) {
            break;
        }
        if (t >= previous) {
            s -= previous;
            break;
        }
        s += t;
    }
    return finiteValue(std::exp(x) * (1.0 + s) / x);
}

SpecValue ExpIntegralEn(double x, double n)
{
    if (!(n >= 0.0) || !(x >= 0.0) || !std::isfinite(x)) {
        return SpecValue::fault(SpecFault::invalidArgument());
    }
    if (x == 0.0 && (n == 0.0 || n == 1.0)) {
        return SpecValue::fault(SpecFault::pole());
    }
    const double nm1 = std::nearbyint(n - 1.0);
    if (nm1 > std::numeric_limits<qint32>::max()) {
        return SpecValue::fault(SpecFault::overflow());
    }
    const double N = nm1;
    if (n == 0.0) {
        return finiteValue(std::exp(-x) / x);
    }
    if (x == 0.0) {
        if (N == 0.0) {
            return SpecValue::fault(SpecFault::divisionByZero());
        }
        return SpecValue::of(1.0 / N);
    }
    if (x > 1.0) {
        // Continued fraction, modified Lentz method.
        double b = x + n;
        double c = 1.0 / 1e-30;
        double d = 1.0 / b;
        double h = d;
        for (int i = 1; i <= 100; ++i) {
            const double a = -i * (N + i);
            b += 2.0;
            d = 1.0 / (a * d + b);
            c = b + a / c;
            const double delta = c * d;
            h = h * delta;
            if (std::fabs(delta - 1.0) < 1e-15) {
                return finiteValue(h * std::exp(-x));
            }
        }
        return SpecValue::fault(SpecFault::noConvergence());
    }
    // Power series.
    double s = (N != 0.0) ? 1.0 / N : -std::log(x) - kEuler;
    double f = 1.0;
    for (int i = 1; i <= 100; ++i) {
        f = -f * x / i;
        double term;
        if (i != N) {
            term = -f / (i - N);
        } else {
            double psi = -kEuler;
            for (int j = 1; j <= static_cast<int>(N); ++j) {
                psi += 1.0 / j;
            }
            term = f * (-std::log(x) + psi);
        }
        s += term;
        if (std::fabs(term) < std::fabs(s) * 1e-15) {
            return finiteValue(s);
        }
    }
    return SpecValue::fault(SpecFault::noConvergence());
}

} // namespace supplink
