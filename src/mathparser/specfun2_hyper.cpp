// The Gauss hypergeometric function, the incomplete gamma and beta functions,
// the Airy functions and the incomplete elliptic integrals.

#include "mathparser/mathconstants.h"
#include "mathparser/specfun1.h"
#include "mathparser/specfun2.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;
constexpr double kEuler = mathtables::Euler;
constexpr double kTwoEuler = 1.154431329803066;
constexpr double kInfinity = mathtables::Infinity;
constexpr double kNaN = mathtables::NaN;

// Gamma, beta and digamma of the first half of the library. Where that
// refuses an argument (a pole, an overflow) the value is NaN, which makes the
// result that depends on it NaN too.
double gammaOf(double x)
{
    const SpecValue v = GammaValue(x);
    return v.ok() ? v.value : kNaN;
}

double betaOf(double a, double b)
{
    const SpecValue v = BetaFunction(a, b);
    return v.ok() ? v.value : kNaN;
}

double digammaOf(double x)
{
    const SpecValue v = Digamma(x);
    return v.ok() ? v.value : kNaN;
}

bool isWhole(double v)
{
    return v == std::floor(v);
}

double factorial(int n)
{
    double f = 1.0;
    for (int k = 2; k <= n; ++k) {
        f *= k;
    }
    return f;
}

// 1 + sum over k = 1 .. nm of (a)_k (b)_k / (k! (c)_k) x^k. Once a term is 0
// or the sum is no longer finite, further terms cannot change the outcome.
double terminatingSeries(double a, double b, double c, double x, double nm)
{
    double r = 1.0;
    double sum = 1.0;
    for (double k = 1.0; k <= nm; k += 1.0) {
        r = r * (a + k - 1.0) * (b + k - 1.0) / (k * (c + k - 1.0)) * x;
        sum += r;
        if (r == 0.0 || !std::isfinite(sum)) {
            break;
        }
    }
    return sum;
}

// Expansion about 1 - x where c - a - b is the whole number m: the logarithmic
// limiting forms. Returns F; terms receives the loop count of the series.
double hypergeometricLogCase(double a, double b, double c, double x, int m, double eps, int& terms)
{
    const double gc = gammaOf(c);
    const double ga = gammaOf(a);
    const double gb = gammaOf(b);
    const double gam = gammaOf(a + m);
    const double gbm = gammaOf(b + m);
    const double pa = digammaOf(a);
    const double pb = digammaOf(b);
    const int p = std::abs(m);
    const double gm = (m == 0) ? 0.0 : factorial(p - 1);
    const double rm = factorial(p);
    const double l = std::log(1.0 - x);
    double f0 = 1.0;
    double r0 = 1.0;
    double r1 = 1.0;
    double sp0 = 0.0;
    double sp = 0.0;
    double c0;
    double c1;
    double f1;
    terms = 251;
    if (m >= 0) {
        c0 = gm * gc / (gam * gbm);
        c1 = -gc * std::pow(x - 1.0, m) / (ga * gb * rm);
        for (int k = 1; k <= m - 1; ++k) {
            r0 = r0 * (a + k - 1.0) * (b + k - 1.0) / (k * (k - static_cast<double>(m))) * (1.0 - x);
            f0 += r0;
        }
        for (int k = 1; k <= m; ++k) {
            sp0 += 1.0 / (a + k - 1.0) + 1.0 / (b + k - 1.0) - 1.0 / k;
        }
        f1 = pa + pb + sp0 + kTwoEuler + l;
        for (int k = 1; k <= 250; ++k) {
            sp += (1.0 - a) / (k * (a + k - 1.0)) + (1.0 - b) / (k * (b + k - 1.0));
            double sm = 0.0;
            for (int j = 1; j <= m; ++j) {
                sm += (1.0 - a) / ((j + k) * (a + j + k - 1.0)) + 1.0 / (b + j + k - 1.0);
            }
            const double rp = pa + pb + kTwoEuler + sp + sm + l;
            r1 = r1 * (a + m + k - 1.0) * (b + m + k - 1.0) / (k * static_cast<double>(m + k)) * (1.0 - x);
            const double previous = f1;
            f1 += r1 * rp;
            if (std::fabs(f1 - previous) < std::fabs(f1) * eps) {
                terms = k;
                break;
            }
        }
    } else {
        c0 = gm * gc / (ga * gb * std::pow(1.0 - x, p));
        c1 = -((p % 2 == 0) ? 1.0 : -1.0) * gc / (gam * gbm * rm);
        for (int k = 1; k <= p - 1; ++k) {
            r0 = r0 * (a - p + k - 1.0) * (b - p + k - 1.0) / (k * (k - static_cast<double>(p))) * (1.0 - x);
            f0 += r0;
        }
        for (int k = 1; k <= p; ++k) {
            sp0 += 1.0 / k;
        }
        f1 = pa + pb - sp0 + kTwoEuler + l;
        for (int k = 1; k <= 250; ++k) {
            sp += (1.0 - a) / (k * (a + k - 1.0)) + (1.0 - b) / (k * (b + k - 1.0));
            double sm = 0.0;
            for (int j = 1; j <= p; ++j) {
                sm += 1.0 / static_cast<double>(j + k);
            }
            const double rp = pa + pb + kTwoEuler + sp - sm + l;
            r1 = r1 * (a + k - 1.0) * (b + k - 1.0) / (k * static_cast<double>(p + k)) * (1.0 - x);
            const double previous = f1;
            f1 += r1 * rp;
            if (std::fabs(f1 - previous) < std::fabs(f1) * eps) {
                terms = k;
                break;
            }
        }
    }
    return f0 * c0 + f1 * c1;
}

// Expansion about 1 - x in two series when c - a - b is not a whole number.
double hypergeometricAboutOne(double a, double b, double c, double x, double eps, int& terms)
{
    const double gc = gammaOf(c);
    const double c0 = gc * gammaOf(c - a - b) / (gammaOf(c - a) * gammaOf(c - b));
    const double c1 = gc * gammaOf(a + b - c) / (gammaOf(a) * gammaOf(b)) * std::pow(1.0 - x, c - a - b);
    double r0 = c0;
    double r1 = c1;
    double f = 0.0;
    terms = 251;
    for (int k = 1; k <= 250; ++k) {
        r0 = r0 * (a + k - 1.0) * (b + k - 1.0) / (k * (a + b - c + k)) * (1.0 - x);
        r1 = r1 * (c - a + k - 1.0) * (c - b + k - 1.0) / (k * (c - a - b + k)) * (1.0 - x);
        const double previous = f;
        f += r0 + r1;
        if (std::fabs(f - previous) < std::fabs(f) * eps) {
            terms = k;
            break;
        }
    }
    return f + c0 + c1;
}

// The continued fraction of the incomplete beta function,
// 1 / (1 + d1 / (1 + d2 / (1 + ...))), evaluated forwards (modified Lentz)
// until it has converged to 1e-15, with at most 300 coefficients.
double betaContinuedFraction(double a, double b, double x)
{
    constexpr double tiny = 1e-300;
    double f = 1.0;
    double c = 1.0;
    double d = 0.0;
    for (int j = 1; j <= 300; ++j) {
        const int k = j / 2;
        double dj;
        if (j % 2 == 0) {
            dj = k * (b - k) * x / (a + 2.0 * k - 1.0) / (a + 2.0 * k);
        } else {
            dj = -(a + k) * (a + b + k) * x / (a + 2.0 * k) / (a + 2.0 * k + 1.0);
        }
        d = 1.0 + dj * d;
        if (std::fabs(d) < tiny) {
            d = tiny;
        }
        c = 1.0 + dj / c;
        if (std::fabs(c) < tiny) {
            c = tiny;
        }
        d = 1.0 / d;
        const double delta = c * d;
        f *= delta;
        if (std::fabs(delta - 1.0) < 1e-15) {
            break;
        }
    }
    return 1.0 / f;
}

} // namespace

void Hypergeometric2F1(double a, double b, double c, double x, double& f, QString& message)
{
    if ((isWhole(c) && c < 0.0) || (1.0 - x < 1e-15 && c - a - b <= 0.0)) {
        message = QString::fromLatin1(kHypergeometricDivergent);
        return;
    }
    const double eps = (x > 0.95) ? 1e-8 : 1e-15;
    if (x == 0.0 || a == 0.0 || b == 0.0) {
        f = 1.0;
        return;
    }
    if (1.0 - x == eps && c - a - b > 0.0) {
        // Gauss's theorem.
        f = gammaOf(c) * gammaOf(c - a - b) / (gammaOf(c - a) * gammaOf(c - b));
        return;
    }
    if (std::fabs(1.0 + x) <= eps && std::fabs(c - a + b - 1.0) <= eps) {
        // Kummer's theorem, at x = -1 only.
        f = std::sqrt(kPi) * std::pow(2.0, -a) * gammaOf(c) /
            (gammaOf(1.0 + a / 2.0 - b) * gammaOf(0.5 + 0.5 * a));
        return;
    }

    const bool aNegativeWhole = isWhole(a) && a < 0.0;
    const bool bNegativeWhole = isWhole(b) && b < 0.0;
    if (aNegativeWhole || bNegativeWhole) {
        // A polynomial in x.
        const double nm = std::floor(std::fabs(bNegativeWhole ? b : a));
        f = terminatingSeries(a, b, c, x, nm);
        return;
    }
    const bool caWhole = isWhole(c - a) && c - a <= 0.0;
    const bool cbWhole = isWhole(c - b) && c - b <= 0.0;
    if (caWhole || cbWhole) {
        // Euler's transformation makes it a polynomial.
        const double nm = std::floor(std::fabs(cbWhole ? c - b : c - a));
        f = std::pow(1.0 - x, c - a - b) * terminatingSeries(c - a, c - b, c, x, nm);
        return;
    }

    // Pfaff's transformation maps x < 0 into 0 < x < 1. The factor taken out is
    // (1 - x)^-a with a the parameter that stays first (after a possible swap).
    double x1 = 0.0;
    double pfaffA = a;
    if (x < 0.0) {
        x1 = x;
        x = x / (x - 1.0);
        if (c > a && b < a && b > 0.0) {
            std::swap(a, b);
        }
        pfaffA = a;
        b = c - b;
    }

    int terms = 0;
    if (x >= 0.75) {
        // c - a - b counts as whole when it lies within rounding error of a whole
        // number, on either side (0.6 - (-0.7) - 1.3 is -2.2e-16, not 0): the
        // two-series form divides by gamma functions near their poles there.
        const double cab = c - a - b;
        const double nearest = std::nearbyint(cab);
        const double tolerance = 1e-15 * std::max(1.0, std::fabs(a) + std::fabs(b) + std::fabs(c));
        if (std::fabs(cab - nearest) < tolerance) {
            // Beyond |m| = 171 the factorials of the limiting form overflow.
            f = (std::fabs(nearest) <= 171.0)
                    ? hypergeometricLogCase(a, b, c, x, static_cast<int>(nearest), eps, terms)
                    : kNaN;
        } else {
            f = hypergeometricAboutOne(a, b, c, x, eps, terms);
        }
    } else {
        double a0 = 1.0;
        if (c > a && c < 2.0 * a && c > b && c < 2.0 * b) {
            a0 = std::pow(1.0 - x, c - a - b);
            a = c - a;
            b = c - b;
        }
        double r = 1.0;
        double sum = 1.0;
        double previous = 0.0;
        terms = 251;
        for (int k = 1; k <= 250; ++k) {
            r = r * (a + k - 1.0) * (b + k - 1.0) / (k * (c + k - 1.0)) * x;
            sum += r;
            if (std::fabs(sum - previous) < std::fabs(sum) * eps) {
                terms = k;
                break;
            }
            previous = sum;
        }
        f = a0 * sum;
    }
    if (x1 < 0.0) {
        f = f / std::pow(1.0 - x1, pfaffA);
    }
    if (terms > 120) {
        message = QString::fromLatin1(kHypergeometricCheckAccuracy);
    }
}

void IncompleteGamma(double a, double x, double& lower, double& upper, double& regularised, QString& message)
{
    const double xam = (x != 0.0) ? a * std::log(x) - x : 0.0;
    if (a > 170.0 || (x != 0.0 && xam > 700.0)) {
        message = QString::fromLatin1(kIncompleteGammaTooLarge);
        return;
    }
    if (x == 0.0) {
        lower = 0.0;
        upper = gammaOf(a);
        regularised = 0.0;
        return;
    }
    if (x <= 1.0 + a) {
        double s = 1.0 / a;
        double r = s;
        for (int k = 1; k <= 60; ++k) {
            r = r * x / (a + k);
            s += r;
            if (std::fabs(r / s) < 1e-15) {
                break;
            }
        }
        lower = std::exp(xam) * s;
        const double ga = gammaOf(a);
        regularised = lower / ga;
        upper = ga - lower;
    } else {
        double t0 = 0.0;
        for (int k = 60; k >= 1; --k) {
            t0 = (k - a) / (1.0 + k / (x + t0));
        }
        upper = std::exp(xam) / (x + t0);
        const double ga = gammaOf(a);
        lower = ga - upper;
        regularised = 1.0 - upper / ga;
    }
}

void IncompleteBeta(double a, double b, double x, double& ix)
{
    const double s0 = (a + 1.0) / (a + b + 2.0);
    const double bt = betaOf(a, b);
    if (x <= s0) {
        const double ta = betaContinuedFraction(a, b, x);
        ix = std::pow(x, a) * std::pow(1.0 - x, b) / (a * bt) * ta;
    } else {
        const double tb = betaContinuedFraction(b, a, 1.0 - x);
        ix = 1.0 - std::pow(x, a) * std::pow(1.0 - x, b) / (b * bt) * tb;
    }
}

void AiryFunctions(double x, double& ai, double& bi, double& dai, double& dbi)
{
    constexpr double eps = 1e-15;
    constexpr double c1 = 0.355028053887817;
    constexpr double c2 = 0.258819403792807;
    constexpr double sr3 = 1.73205080756888;
    constexpr double rp = 0.564189583547756;
    const double xa = std::fabs(x);
    const double xq = std::sqrt(xa);
    const double xm = (x > 0.0) ? 5.0 : 8.0;
    if (x == 0.0) {
        ai = c1;
        bi = 0.6149266274460014;
        dai = -c2;
        dbi = 0.44828835735382744;
        return;
    }
    if (xa <= xm) {
        // Maclaurin series of the two independent solutions and their derivatives.
        double fx = 1.0;
        double r = 1.0;
        for (int k = 1; k <= 40; ++k) {
            r = r * x / (3.0 * k) * x / (3.0 * k - 1.0) * x;
            fx += r;
            if (std::fabs(r) < std::fabs(fx) * eps) {
                break;
            }
        }
        double gx = x;
        r = x;
        for (int k = 1; k <= 40; ++k) {
            r = r * x / (3.0 * k) * x / (3.0 * k + 1.0) * x;
            gx += r;
            if (std::fabs(r) < std::fabs(gx) * eps) {
                break;
            }
        }
        ai = c1 * fx - c2 * gx;
        bi = sr3 * (c1 * fx + c2 * gx);
        double df = 0.5 * x * x;
        r = df;
        for (int k = 1; k <= 40; ++k) {
            r = r * x / (3.0 * k) * x / (3.0 * k + 2.0) * x;
            df += r;
            if (std::fabs(r) < std::fabs(df) * eps) {
                break;
            }
        }
        double dg = 1.0;
        r = 1.0;
        for (int k = 1; k <= 40; ++k) {
            r = r * x / (3.0 * k) * x / (3.0 * k - 2.0) * x;
            dg += r;
            if (std::fabs(r) < std::fabs(dg) * eps) {
                break;
            }
        }
        dai = c1 * df - c2 * dg;
        dbi = sr3 * (c1 * df + c2 * dg);
        return;
    }

    // Asymptotic expansions in zeta = 2/3 |x|^1.5.
    const double xe = xa * xq / 1.5;
    const double xr1 = 1.0 / xe;
    const double xf = std::sqrt(1.0 / xq);
    double ck[42] = {};
    double dk[42] = {};
    double r = 1.0;
    for (int k = 1; k <= 40; ++k) {
        r = r * (6.0 * k - 1.0) / 216.0 * (6.0 * k - 3.0) / k * (6.0 * k - 5.0) / (2.0 * k - 1.0);
        ck[k] = r;
        dk[k] = -(6.0 * k + 1.0) / (6.0 * k - 1.0) * ck[k];
    }
    int km = 10;
    if (xa < 6.0) {
        km = 14;
    } else if (xa <= 15.0) {
        km = static_cast<int>(std::floor(24.5 - xa));
    }
    if (x > 0.0) {
        double sai = 1.0;
        double sad = 1.0;
        r = 1.0;
        for (int k = 1; k <= km; ++k) {
            r = -r * xr1;
            sai += ck[k] * r;
            sad += dk[k] * r;
        }
        double sbi = 1.0;
        double sbd = 1.0;
        r = 1.0;
        for (int k = 1; k <= km; ++k) {
            r = r * xr1;
            sbi += ck[k] * r;
            sbd += dk[k] * r;
        }
        const double xp1 = std::exp(-xe);
        ai = 0.5 * rp * xf * xp1 * sai;
        bi = rp * xf / xp1 * sbi;
        dai = -0.5 * rp / xf * xp1 * sad;
        dbi = rp / xf / xp1 * sbd;
    } else {
        const double xcs = std::cos(xe + kPi / 4.0);
        const double xss = std::sin(xe + kPi / 4.0);
        const double xr2 = 1.0 / (xe * xe);
        double ssa = 1.0;
        double sda = 1.0;
        r = 1.0;
        for (int k = 1; k <= km; ++k) {
            r = -r * xr2;
            ssa += ck[2 * k] * r;
            sda += dk[2 * k] * r;
        }
        double ssb = ck[1] * xr1;
        double sdb = dk[1] * xr1;
        r = xr1;
        for (int k = 1; k <= km; ++k) {
            r = -r * xr2;
            ssb += ck[2 * k + 1] * r;
            sdb += dk[2 * k + 1] * r;
        }
        ai = rp * xf * (xss * ssa - xcs * ssb);
        bi = rp * xf * (xcs * ssa + xss * ssb);
        dai = -rp / xf * (xcs * sda + xss * sdb);
        dbi = rp / xf * (xss * sda - xcs * sdb);
    }
}

namespace {

// F and E for -90 <= phi <= 90 degrees (and phi = 90: the complete integrals).
void ellipticQuarterPeriod(double k, double phiDegrees, double& f, double& e)
{
    double a0 = 1.0;
    double b0 = std::sqrt(1.0 - k * k);
    double d0 = (kPi / 180.0) * phiDegrees;
    double r = k * k;
    double g = 0.0;
    const bool complete = (phiDegrees == 90.0);
    // k enters only through k^2, so k = -1 is the same case as k = 1.
    if (std::fabs(k) == 1.0 && complete) {
        f = kInfinity;
        e = 1.0;
        return;
    }
    if (std::fabs(k) == 1.0) {
        f = std::log((1.0 + std::sin(d0)) / std::cos(d0));
        e = std::sin(d0);
        return;
    }
    double fac = 1.0;
    double a = a0;
    double d = d0;
    for (int n = 1; n <= 40; ++n) {
        a = (a0 + b0) / 2.0;
        const double b = std::sqrt(a0 * b0);
        const double c = (a0 - b0) / 2.0;
        fac = 2.0 * fac;
        r = r + fac * c * c;
        if (!complete) {
            d = d0 + std::atan((b0 / a0) * std::tan(d0));
            g = g + c * std::sin(d);
            d0 = d + kPi * std::floor(d / kPi + 0.5);
        }
        a0 = a;
        b0 = b;
        if (c < 1e-7) {
            break;
        }
    }
    const double ck = kPi / (2.0 * a);
    const double ce = kPi * (2.0 - r) / (4.0 * a);
    if (complete) {
        f = ck;
        e = ce;
    } else {
        f = d / (fac * a);
        e = f * ce / ck + g;
    }
}

} // namespace

void EllipticIntegrals(double k, double phiDegrees, double& f, double& e)
{
    if (!(std::fabs(phiDegrees) > 90.0)) {
        ellipticQuarterPeriod(k, phiDegrees, f, e);
        return;
    }
    // The descending transformation follows the angle within one quarter
    // period only. Beyond it: F(phi + n pi) = F(phi) + 2n K, likewise for E.
    const double n = std::nearbyint(phiDegrees / 180.0);
    const double reduced = phiDegrees - 180.0 * n;
    if (!(std::fabs(reduced) <= 90.0)) {
        // An angle too large to reduce to a quarter period (or not a number).
        f = e = kNaN;
        return;
    }
    double fr = 0.0;
    double er = 0.0;
    ellipticQuarterPeriod(k, reduced, fr, er);
    double kc = 0.0;
    double ec = 0.0;
    ellipticQuarterPeriod(k, 90.0, kc, ec);
    f = (kc == kInfinity) ? std::copysign(kInfinity, phiDegrees) : fr + 2.0 * n * kc;
    e = er + 2.0 * n * ec;
}

} // namespace supplink
