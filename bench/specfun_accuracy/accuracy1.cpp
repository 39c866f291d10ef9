// Accuracy of the gamma family, error function, zeta, exponential integrals,
// orthogonal polynomials and signal functions, branch by branch. The oracles
// are Boost.Math in long double (and the C++17 special functions where Boost
// has no counterpart), so their own error does not show in the figures.

// The oracles answer out-of-domain points with NaN or infinity; the table
// reports those points, the program does not stop on them.
#define BOOST_MATH_DOMAIN_ERROR_POLICY ignore_error
#define BOOST_MATH_POLE_ERROR_POLICY ignore_error
#define BOOST_MATH_OVERFLOW_ERROR_POLICY ignore_error
#define BOOST_MATH_EVALUATION_ERROR_POLICY ignore_error

#include "specfun_accuracy/accuracy.h"

#include "mathparser/specfun1.h"

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/binomial.hpp>
#include <boost/math/special_functions/chebyshev.hpp>
#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/hermite.hpp>
#include <boost/math/special_functions/laguerre.hpp>
#include <boost/math/special_functions/legendre.hpp>
#include <boost/math/special_functions/zeta.hpp>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

using supplink::SpecValue;
using supplink::accuracy::Row;

namespace {

using LD = long double;
namespace bm = boost::math;

// n + 1 points from a to b, evenly spaced.
std::vector<double> linear(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i <= n; ++i) {
        v.push_back(a + (b - a) * i / n);
    }
    return v;
}

// n + 1 points from a to b (both > 0), evenly spaced in the logarithm.
std::vector<double> logarithmic(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        v.push_back(i == n ? b : std::exp(std::log(a) + t * (std::log(b) - std::log(a))));
    }
    return v;
}

// Points between the whole numbers of [lo, hi] that keep at least gap from
// them, perWhole of them in every unit interval.
std::vector<double> offPoles(int lo, int hi, double gap, int perWhole)
{
    std::vector<double> v;
    for (int k = lo; k < hi; ++k) {
        for (double f : linear(gap, 1.0 - gap, perWhole - 1)) {
            v.push_back(k + f);
        }
    }
    return v;
}

void sweep(const char* function, const char* branch, const std::vector<double>& grid,
           const std::function<SpecValue(double)>& f, const std::function<LD(double)>& oracle,
           double floor = 0.0)
{
    Row row(function, branch);
    for (double x : grid) {
        const SpecValue v = f(x);
        row.add(x, v.value, static_cast<double>(oracle(x)), floor, v.ok());
    }
    row.print();
}

void reportGammaFamily()
{
    sweep("erf", "series, 0 <= x <= 2", linear(0.0, 2.0, 2000), supplink::ErrorFunction,
          [](double x) { return bm::erf(LD(x)); });
    sweep("erf", "continued fraction, 2 < x <= 6", linear(2.0005, 6.0, 2000), supplink::ErrorFunction,
          [](double x) { return bm::erf(LD(x)); });
    sweep("erf", "negative, -6 <= x < 0 (odd symmetry)", linear(-6.0, -0.001, 2000), supplink::ErrorFunction,
          [](double x) { return bm::erf(LD(x)); });

    sweep("gamma", "1e-300 <= x <= 0.01", logarithmic(1e-300, 0.01, 1000), supplink::GammaValue,
          [](double x) { return bm::tgamma(LD(x)); });
    sweep("gamma", "0.01 <= x <= 10", linear(0.01, 10.0, 2000), supplink::GammaValue,
          [](double x) { return bm::tgamma(LD(x)); });
    sweep("gamma", "10 <= x <= 171.6", linear(10.0, 171.6, 2000), supplink::GammaValue,
          [](double x) { return bm::tgamma(LD(x)); });
    // Reflection: sin(3.14159265358979 |x|) loses digits near the poles.
    sweep("gamma", "reflection, -20 < x < 0, 0.25 from poles", offPoles(-20, 0, 0.25, 80),
          supplink::GammaValue, [](double x) { return bm::tgamma(LD(x)); });
    sweep("gamma", "reflection, -170 < x < -20, 0.25 from poles", offPoles(-170, -20, 0.25, 10),
          supplink::GammaValue, [](double x) { return bm::tgamma(LD(x)); });
    sweep(
        "gamma", "reflection, -5 < x < 0, 1e-3 from poles",
        [] {
            std::vector<double> v;
            for (int k = 0; k < 5; ++k) {
                v.push_back(-k - 0.001);
                v.push_back(-k - 0.999);
            }
            return v;
        }(),
        supplink::GammaValue, [](double x) { return bm::tgamma(LD(x)); });

    // ln Gamma passes through 0 at 1 and 2: absolute error below |value| 1.
    sweep(
        "gammaln", "1e-300 <= x <= 0.5", logarithmic(1e-300, 0.5, 1000), supplink::LogGamma,
        [](double x) { return bm::lgamma(LD(x)); }, 1.0);
    sweep(
        "gammaln", "0.5 <= x <= 3 (absolute below 1)", linear(0.5, 3.0, 2000), supplink::LogGamma,
        [](double x) { return bm::lgamma(LD(x)); }, 1.0);
    sweep(
        "gammaln", "3 <= x <= 1e300", logarithmic(3.0, 1e300, 2000), supplink::LogGamma,
        [](double x) { return bm::lgamma(LD(x)); }, 1.0);
    sweep(
        "gammaln", "reflection, Gamma > 0, -20 < x < -1", offPoles(-19, -1, 0.01, 80),
        [](double x) {
            // Only the intervals where Gamma is positive: (-2k, -2k+1).
            const double y = (static_cast<long>(std::floor(x)) % 2 == 0) ? x : x - 1.0;
            return supplink::LogGamma(y);
        },
        [](double x) {
            const double y = (static_cast<long>(std::floor(x)) % 2 == 0) ? x : x - 1.0;
            return bm::lgamma(LD(y));
        },
        1.0);

    {
        Row row("beta", "0.1 <= a, b <= 60");
        for (double a : logarithmic(0.1, 60.0, 60)) {
            for (double b : logarithmic(0.1, 60.0, 60)) {
                const SpecValue v = supplink::BetaFunction(a, b);
                row.add2(a, b, v.value, static_cast<double>(bm::beta(LD(a), LD(b))), 0.0, v.ok());
            }
        }
        row.print();
    }

    sweep(
        "digamma", "shifted, 1e-10 <= x <= 8", logarithmic(1e-10, 8.0, 2000), supplink::Digamma,
        [](double x) { return bm::digamma(LD(x)); }, 1.0);
    sweep(
        "digamma", "direct, 8 < x <= 1e300", logarithmic(8.0001, 1e300, 2000), supplink::Digamma,
        [](double x) { return bm::digamma(LD(x)); }, 1.0);
    sweep(
        "digamma", "reflection, -50 < x < 0", linear(-49.9873, -0.0073, 2000), supplink::Digamma,
        [](double x) { return bm::digamma(LD(x)); }, 1.0);

    sweep("zeta", "series, 1 < s <= 60", logarithmic(1.0 + 1e-9, 60.0, 1000), supplink::ZetaFunction,
          [](double s) { return bm::zeta(LD(s)); });
    sweep("zeta", "series, -1 <= s < 1", linear(-1.0, 0.999, 1000), supplink::ZetaFunction,
          [](double s) { return bm::zeta(LD(s)); });
    sweep("zeta", "functional equation, -60 <= s < -1, off zeros", linear(-59.9731, -1.0131, 1000),
          supplink::ZetaFunction, [](double s) { return bm::zeta(LD(s)); });
    sweep("zeta", "functional equation, -250 <= s < -60, off zeros", linear(-249.9731, -60.0131, 1000),
          supplink::ZetaFunction, [](double s) { return bm::zeta(LD(s)); });

    // Ei passes through 0 at x = 0.3725: absolute error below |value| 1.
    sweep(
        "ei", "series, 1e-30 <= x <= 34.54", logarithmic(1e-30, 34.538, 2000), supplink::ExpIntegralEi,
        [](double x) { return bm::expint(LD(x)); }, 1.0);
    sweep("ei", "asymptotic, 34.54 < x <= 709", linear(34.54, 709.0, 2000), supplink::ExpIntegralEi,
          [](double x) { return bm::expint(LD(x)); });
    sweep("ei", "negative, -700 <= x < 0 (as -E1(-x))", linear(-700.0, -0.001, 2000), supplink::ExpIntegralEi,
          [](double x) { return bm::expint(LD(x)); });

    for (int n : {0, 1, 2, 3, 5, 10, 30}) {
        auto f = [n](double x) { return supplink::ExpIntegralEn(x, n); };
        auto oracle = [n](double x) { return n == 0 ? std::exp(-LD(x)) / LD(x) : bm::expint(n, LD(x)); };
        const std::string name = "ein n=" + std::to_string(n);
        sweep(name.c_str(), "series, 1e-10 <= x <= 1", logarithmic(1e-10, 1.0, 500), f, oracle);
        sweep(name.c_str(), "continued fraction, 1 < x <= 700", logarithmic(1.0001, 700.0, 500), f, oracle);
    }
}

// Bound on the rounding error of a three-term recurrence: the same
// recurrence on absolute values.
template <typename Step> double recurrenceScale(int n, Step step)
{
    double before = 0.0;
    double current = 1.0;
    for (int k = 1; k <= n; ++k) {
        const double next = step(k, current, before);
        before = current;
        current = next;
    }
    return current;
}

void polynomialRow(const char* function, const char* branch, const std::vector<double>& xs, int maxDegree,
                   SpecValue (*f)(double, double), const std::function<LD(int, double)>& oracle,
                   const std::function<double(int, double)>& scale)
{
    Row row(function, branch);
    for (int n = 0; n <= maxDegree; ++n) {
        for (double x : xs) {
            const SpecValue v = f(x, n);
            row.add2(x, n, v.value, static_cast<double>(oracle(n, x)), scale(n, x), v.ok());
        }
    }
    row.print();
}

// n + 1 points in [a, b] and their mirror images in [-b, -a].
std::vector<double> outside(double a, double b, int n)
{
    std::vector<double> v = linear(a, b, n);
    for (double x : linear(a, b, n)) {
        v.push_back(-x);
    }
    return v;
}

// P_n(x) for |x| > 1 from its sum of positive terms,
// P_n(x) = 2^-n sum C(n, k)^2 (x - 1)^(n - k) (x + 1)^k for x > 1.
LD legendreOutside(int n, double x)
{
    const LD ax = std::fabs(LD(x));
    LD sum = 0;
    for (int k = 0; k <= n; ++k) {
        const LD c = bm::binomial_coefficient<LD>(n, k);
        sum += c * c * std::pow(ax - 1, n - k) * std::pow(ax + 1, k);
    }
    sum = std::ldexp(sum, -n);
    return (x < 0 && n % 2 == 1) ? -sum : sum;
}

void reportPolynomials()
{
    polynomialRow(
        "polyle", "-1 <= x <= 1, n <= 100 (absolute)", linear(-1.0, 1.0, 400), 100, supplink::PolyLegendre,
        [](int n, double x) { return bm::legendre_p(n, LD(x)); }, [](int, double) { return 1.0; });
    polynomialRow("polyle", "1 < |x| <= 5, n <= 100", outside(1.01, 5.0, 100), 100, supplink::PolyLegendre,
                  legendreOutside, [](int, double) { return 0.0; });
    polynomialRow(
        "polyhe", "-10 <= x <= 10, n <= 60 (to recurrence scale)", linear(-10.0, 10.0, 400), 60,
        supplink::PolyHermite, [](int n, double x) { return bm::hermite(n, LD(x)); },
        [](int n, double x) {
            return recurrenceScale(
                n, [x](int k, double c, double b) { return 2 * std::fabs(x) * c + 2.0 * (k - 1) * b; });
        });
    polynomialRow(
        "polyla", "0 <= x <= 50, n <= 60 (to recurrence scale)", linear(0.0, 50.0, 400), 60,
        supplink::PolyLaguerre, [](int n, double x) { return bm::laguerre(n, LD(x)) * bm::factorial<LD>(n); },
        [](int n, double x) {
            return recurrenceScale(n, [x](int k, double c, double b) {
                return (2.0 * k - 1 + std::fabs(x)) * c + (k - 1.0) * (k - 1.0) * b;
            });
        });
    polynomialRow(
        "polych", "-1 <= x <= 1, n <= 100 (absolute)", linear(-1.0, 1.0, 400), 100, supplink::PolyChebyshev,
        [](int n, double x) { return bm::chebyshev_t(n, LD(x)); }, [](int, double) { return 1.0; });
    polynomialRow(
        "polych", "1 < |x| <= 3, n <= 100", outside(1.01, 3.0, 100), 100, supplink::PolyChebyshev,
        [](int n, double x) { return bm::chebyshev_t(n, LD(x)); }, [](int, double) { return 0.0; });
}

// Signal functions against their shapes written with frac(): absolute error
// on points clear of the jumps. The shapes take the phase q = t / p.
LD frac(LD v)
{
    return v - std::floor(v);
}

constexpr double kPeriod = 1.3;

void signalRow(const char* function, const std::function<SpecValue(double)>& f,
               const std::function<LD(LD)>& shape, bool phase = true)
{
    Row row(function, "-5 < t < 5, p = 1.3 (absolute)");
    for (double t : linear(-5.00037, 5.00071, 3001)) {
        const SpecValue v = f(t);
        const LD argument = phase ? LD(t) / LD(kPeriod) : LD(t);
        row.add(t, v.value, static_cast<double>(shape(argument)), 1.0, v.ok());
    }
    row.print();
}

void reportSignals()
{
    const double p = kPeriod;
    const LD twoPi = 2 * std::numbers::pi_v<LD>;
    signalRow(
        "wtri", [p](double t) { return supplink::wtri(t, p); },
        [](LD q) { return 1 - 4 * std::fabs(frac(q) - LD(0.5)); });
    signalRow(
        "wsaw", [p](double t) { return supplink::wsaw(t, p); },
        [](LD q) { return 2 * frac(q + LD(0.5)) - 1; });
    signalRow(
        "wraise", [p](double t) { return supplink::wraise(t, p); }, [](LD q) { return frac(q); });
    signalRow(
        "wparab", [p](double t) { return supplink::wparab(t, p); },
        [](LD q) { return std::pow(2 * std::fabs(frac(q + LD(0.5)) - LD(0.5)), 2); });
    signalRow(
        "wlin", [p](double t) { return supplink::wlin(t, p, 0.3); },
        [](LD q) {
            const LD f = frac(q);
            return f < LD(0.3) ? -1 + 2 * f / LD(0.3) : 1 - 2 * (f - LD(0.3)) / LD(0.7);
        });
    signalRow(
        "wexp", [p](double t) { return supplink::wexp(t, p, 2.5); },
        [](LD q) { return std::exp(LD(-2.5) * frac(q)); });
    signalRow(
        "wring", [p](double t) { return supplink::wring(t, p, 2.5, 3.0); },
        [twoPi](LD q) { return std::exp(LD(-2.5) * frac(q)) * std::sin(twoPi * 3 * frac(q)); });
    signalRow(
        "wam", [](double t) { return supplink::wam(t, 2.0, 0.25, 0.5); },
        [twoPi](LD t) { return (1 + LD(0.5) * std::sin(twoPi * LD(0.25) * t)) * std::sin(twoPi * 2 * t); },
        false);
    signalRow(
        "wfm", [](double t) { return supplink::wfm(t, 2.0, 0.25, 0.5); },
        [twoPi](LD t) { return std::sin((1 + LD(0.5) * std::sin(twoPi * LD(0.25) * t)) * twoPi * 2 * t); },
        false);
}

} // namespace

void reportAccuracyPart1()
{
    Row::printHeader("Special functions, part 1: largest relative error against the oracle (Boost.Math, long "
                     "double)\nwhere a floor applies (absolute), the error is relative to max(|value|, 1)");
    reportGammaFamily();
    reportPolynomials();
    reportSignals();
}
