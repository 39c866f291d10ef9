// Accuracy of the second half of the special functions (Bessel functions, the
// sine, cosine and Fresnel integrals, hypergeometric, incomplete gamma and
// beta, Airy and elliptic functions) against independent oracles computed in
// long double: the C++17 special functions, Boost.Math, and Gauss-Kronrod
// quadrature where no library has the function.
//
// For functions that oscillate, the error is measured against the larger of
// |f| and the local amplitude, so that the zeros do not dominate the figure.

#include "mathparser/specfun2.h"
#include "specfun_accuracy/accuracy.h"

#include <boost/math/constants/constants.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/airy.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/hypergeometric_pFq.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using supplink::accuracy::Row;

namespace {

using Real = long double;
const Real kPiL = boost::math::constants::pi<Real>();

// Integral of f over [a, b] in pieces of at most width h.
Real integrate(const std::function<Real(Real)>& f, Real a, Real b, Real h)
{
    const int pieces = std::max(1, static_cast<int>(std::ceil((b - a) / h)));
    const Real w = (b - a) / pieces;
    Real sum = 0;
    for (int i = 0; i < pieces; ++i) {
        sum += boost::math::quadrature::gauss_kronrod<Real, 31>::integrate(f, a + i * w, a + (i + 1) * w, 0);
    }
    return sum;
}

Real siOracle(Real x)
{
    return integrate([](Real t) { return t == 0 ? Real(1) : std::sin(t) / t; }, 0, x, 1);
}

Real ciOracle(Real x)
{
    const Real gamma = boost::math::constants::euler<Real>();
    const Real i = integrate(
        [](Real t) {
            const Real s = std::sin(t / 2);
            return t == 0 ? Real(0) : -2 * s * s / t;
        },
        0, x, 1);
    return gamma + std::log(x) + i;
}

Real fresnelOracle(Real x, bool sine)
{
    const Real xa = std::fabs(x);
    const Real h = 0.25L / (1 + xa);
    const Real v = integrate(
        [sine](Real t) {
            const Real phase = kPiL * t * t / 2;
            return sine ? std::sin(phase) : std::cos(phase);
        },
        0, xa, h);
    return x < 0 ? -v : v;
}

std::vector<double> linspace(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        v.push_back(a + (b - a) * i / (n - 1));
    }
    return v;
}

std::vector<double> logspace(double a, double b, int n)
{
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        v.push_back(a * std::pow(b / a, static_cast<double>(i) / (n - 1)));
    }
    return v;
}

// The amplitude of J and Y where they oscillate (x beyond the order).
double besselAmplitude(int n, double x)
{
    return x > n ? std::sqrt(2.0 / (3.14159265358979 * x)) : 0.0;
}

void reportJY()
{
    Row j0("besselj", "n = 0, 1; series, 0 < x <= 12");
    Row j0a("besselj", "n = 0, 1; asymptotic, 12 < x <= 200");
    Row y0("bessely", "n = 0, 1; series, 0 < x <= 12");
    Row y0a("bessely", "n = 0, 1; asymptotic, 12 < x <= 200");
    Row jn("besselj", "2 <= n <= 60, 0 < x <= 200");
    Row yn("bessely", "2 <= n <= 60, 0.5 <= x <= 200");
    auto x01 = logspace(1e-6, 12, 400);
    auto more = linspace(0.05, 12, 600);
    x01.insert(x01.end(), more.begin(), more.end());
    x01.push_back(12.0);
    for (double x : x01) {
        double a, da, b, db, c, dc, d, dd;
        supplink::BesselJY01(x, a, da, b, db, c, dc, d, dd);
        j0.add(x, a, double(std::cyl_bessel_jl(0, Real(x))), besselAmplitude(0, x));
        j0.add(x, b, double(std::cyl_bessel_jl(1, Real(x))), besselAmplitude(1, x));
        y0.add(x, c, double(std::cyl_neumannl(0, Real(x))), besselAmplitude(0, x));
        y0.add(x, d, double(std::cyl_neumannl(1, Real(x))), besselAmplitude(1, x));
    }
    for (double x : linspace(12.0001, 200, 3000)) {
        double a, da, b, db, c, dc, d, dd;
        supplink::BesselJY01(x, a, da, b, db, c, dc, d, dd);
        j0a.add(x, a, double(std::cyl_bessel_jl(0, Real(x))), besselAmplitude(0, x));
        j0a.add(x, b, double(std::cyl_bessel_jl(1, Real(x))), besselAmplitude(1, x));
        y0a.add(x, c, double(std::cyl_neumannl(0, Real(x))), besselAmplitude(0, x));
        y0a.add(x, d, double(std::cyl_neumannl(1, Real(x))), besselAmplitude(1, x));
    }
    for (double x : linspace(0.25, 200, 400)) {
        int nm = 0;
        std::vector<double> j, dj, y, dy;
        supplink::BesselJYN(60, x, nm, j, dj, y, dy);
        for (int n = 2; n <= nm && n <= 60; ++n) {
            const double refJ = double(std::cyl_bessel_jl(n, Real(x)));
            if (std::fabs(refJ) > 1e-290) {
                jn.add2(n, x, j[n], refJ, besselAmplitude(n, x));
            }
            if (x >= 0.5) {
                const double refY = double(std::cyl_neumannl(n, Real(x)));
                if (std::fabs(refY) < 1e300) {
                    yn.add2(n, x, y[n], refY, besselAmplitude(n, x));
                }
            }
        }
    }
    j0.print();
    j0a.print();
    jn.print();
    y0.print();
    y0a.print();
    yn.print();
}

void reportIK()
{
    Row i01("besseli", "n = 0, 1; series, 0 < x <= 18");
    Row i01a("besseli", "n = 0, 1; asymptotic, 18 < x <= 700");
    Row k01("besselk", "n = 0, 1; series, 0 < x <= 9");
    Row k01a("besselk", "n = 0, 1; asymptotic, 9 < x <= 700");
    Row in("besseli", "2 <= n <= 60, 0 < x <= 200");
    Row kn("besselk", "2 <= n <= 60, 0.5 <= x <= 200");
    auto xs = logspace(1e-6, 700, 3000);
    xs.insert(xs.end(), {9.0, 18.0}); // the last points of the series
    for (double x : xs) {
        double a, da, b, db, c, dc, d, dd;
        supplink::BesselIK01(x, a, da, b, db, c, dc, d, dd);
        Row& ri = x <= 18 ? i01 : i01a;
        ri.add(x, a, double(std::cyl_bessel_il(0, Real(x))));
        ri.add(x, b, double(std::cyl_bessel_il(1, Real(x))));
        Row& rk = x <= 9 ? k01 : k01a;
        rk.add(x, c, double(std::cyl_bessel_kl(0, Real(x))));
        rk.add(x, d, double(std::cyl_bessel_kl(1, Real(x))));
    }
    for (double x : linspace(0.25, 200, 400)) {
        int nm = 0;
        std::vector<double> i, di, k, dk;
        supplink::BesselIKN(60, x, nm, i, di, k, dk);
        for (int n = 2; n <= nm && n <= 60; ++n) {
            const double refI = double(std::cyl_bessel_il(n, Real(x)));
            if (refI > 1e-290) {
                in.add2(n, x, i[n], refI);
            }
            if (x >= 0.5) {
                const double refK = double(std::cyl_bessel_kl(n, Real(x)));
                if (refK < 1e300) {
                    kn.add2(n, x, k[n], refK);
                }
            }
        }
    }
    i01.print();
    i01a.print();
    in.print();
    k01.print();
    k01a.print();
    kn.print();
}

void reportIntegrals()
{
    Row siS("si", "series, 0 < x <= 16");
    Row siM("si", "recurrence, 16 < x <= 32");
    Row siA("si", "asymptotic, 32 < x <= 200");
    Row ciS("ci", "series, 0 < x <= 16 (vs max(|Ci|, 1/x))");
    Row ciM("ci", "recurrence, 16 < x <= 32 (vs max(|Ci|, 1/x))");
    Row ciA("ci", "asymptotic, 32 < x <= 200 (vs max(|Ci|, 1/x))");
    auto xs = logspace(1e-4, 1, 40);
    auto more = linspace(0.02, 200, 1500);
    xs.insert(xs.end(), more.begin(), more.end());
    for (double x : xs) {
        double ci, si;
        supplink::CosSinIntegral(x, ci, si);
        Row& rs = x <= 16 ? siS : (x <= 32 ? siM : siA);
        Row& rc = x <= 16 ? ciS : (x <= 32 ? ciM : ciA);
        rs.add(x, si, double(siOracle(x)));
        rc.add(x, ci, double(ciOracle(x)), x > 0.5 ? 1.0 / x : 0.0);
    }
    Row fS("fresnelc", "series, |x| < 2.5");
    Row fM("fresnelc", "recurrence, 2.5 <= |x| < 4.5");
    Row fA("fresnelc", "asymptotic, 4.5 <= |x| <= 20");
    Row gS("fresnels", "series, |x| < 2.5");
    Row gM("fresnels", "recurrence, 2.5 <= |x| < 4.5");
    Row gA("fresnels", "asymptotic, 4.5 <= |x| <= 20");
    for (double x : linspace(-20, 20, 801)) {
        if (x == 0.0) {
            continue;
        }
        double c, s;
        supplink::FresnelCS(x, c, s);
        const double xa = std::fabs(x);
        Row& rc = xa < 2.5 ? fS : (xa < 4.5 ? fM : fA);
        Row& rs = xa < 2.5 ? gS : (xa < 4.5 ? gM : gA);
        rc.add(x, c, double(fresnelOracle(x, false)));
        rs.add(x, s, double(fresnelOracle(x, true)));
    }
    siS.print();
    siM.print();
    siA.print();
    ciS.print();
    ciM.print();
    ciA.print();
    fS.print();
    fM.print();
    fA.print();
    gS.print();
    gM.print();
    gA.print();
}

void reportAiry()
{
    Row aS("airya", "series, -8 <= x <= 5");
    Row aA("airya", "asymptotic, 5 < x <= 30");
    Row aN("airya", "asymptotic, -60 <= x < -8");
    Row bS("airyb", "series, -8 <= x <= 5");
    Row bA("airyb", "asymptotic, 5 < x <= 30");
    Row bN("airyb", "asymptotic, -60 <= x < -8");
    for (double x : linspace(-60, 30, 1801)) {
        double ai, bi, dai, dbi;
        supplink::AiryFunctions(x, ai, bi, dai, dbi);
        const double amp = x < -1 ? 0.564189583547756 * std::pow(-x, -0.25) : 0.0;
        Row& ra = (x >= -8 && x <= 5) ? aS : (x > 5 ? aA : aN);
        Row& rb = (x >= -8 && x <= 5) ? bS : (x > 5 ? bA : bN);
        ra.add(x, ai, double(boost::math::airy_ai(Real(x))), amp);
        rb.add(x, bi, double(boost::math::airy_bi(Real(x))), amp);
    }
    aS.print();
    aA.print();
    aN.print();
    bS.print();
    bA.print();
    bN.print();
}

void reportElliptic()
{
    Row f1("elli1", "0 <= k <= 0.99, 0 < phi < pi/2");
    Row f1c("elli1", "complete, 0 <= k <= 0.999");
    Row f2("elli2", "0 <= k <= 0.99, 0 < phi < pi/2");
    Row f2c("elli2", "complete, 0 <= k <= 0.999");
    for (double k : linspace(0, 0.99, 100)) {
        for (double phi : linspace(0.01, 1.56, 60)) {
            double f, e;
            supplink::EllipticIntegrals(k, phi * 180.0 / 3.14159265358979, f, e);
            f1.add2(k, phi, f, double(std::ellint_1l(Real(k), Real(phi))));
            f2.add2(k, phi, e, double(std::ellint_2l(Real(k), Real(phi))));
        }
    }
    for (double k : linspace(0, 0.999, 400)) {
        double f, e;
        supplink::EllipticIntegrals(k, 90.0, f, e);
        f1c.add(k, f, double(std::comp_ellint_1l(Real(k))));
        f2c.add(k, e, double(std::comp_ellint_2l(Real(k))));
    }
    Row f1w("elli1", "0 <= k <= 0.99, -4 pi <= phi <= 4 pi");
    Row f2w("elli2", "0 <= k <= 0.99, -4 pi <= phi <= 4 pi");
    for (double k : linspace(0, 0.99, 34)) {
        for (double phi : linspace(-12.56, 12.56, 201)) {
            double f, e;
            supplink::EllipticIntegrals(k, phi * 180.0 / 3.14159265358979, f, e);
            f1w.add2(k, phi, f, double(std::ellint_1l(Real(k), Real(phi))));
            f2w.add2(k, phi, e, double(std::ellint_2l(Real(k), Real(phi))));
        }
    }
    f1.print();
    f1c.print();
    f1w.print();
    f2.print();
    f2c.print();
    f2w.print();
}

void reportIncompleteGamma()
{
    Row small("gammai", "0.1 <= a <= 20, 0 < x <= 3a + 30");
    Row middle("gammai", "20 < a <= 50, 0 < x <= 3a + 30");
    Row large("gammai", "50 < a <= 100, 0 < x <= 3a + 30");
    for (double a : linspace(0.1, 100, 150)) {
        for (double x : linspace(0.05, 3 * a + 30, 120)) {
            double lower = 0, upper = 0, p = 0;
            QString message;
            supplink::IncompleteGamma(a, x, lower, upper, p, message);
            Row& r = a <= 20 ? small : (a <= 50 ? middle : large);
            r.add2(a, x, lower, double(boost::math::tgamma_lower(Real(a), Real(x))), 0.0, message.isEmpty());
        }
    }
    small.print();
    middle.print();
    large.print();
}

void reportIncompleteBeta()
{
    // Below about 1e-220 the factor x^a (1 - x)^b underflows; such values are left out.
    Row small("betai", "0.5 <= a, b <= 10, 0 < x < 1");
    Row large("betai", "a or b in (10, 200], 0 < x < 1, I > 1e-200");
    for (double a : linspace(0.5, 200, 40)) {
        for (double b : linspace(0.5, 200, 40)) {
            for (double x : linspace(0.01, 0.99, 50)) {
                const double ref = double(boost::math::ibeta(Real(a), Real(b), Real(x)));
                if (ref < 1e-200) {
                    continue;
                }
                double ix = 0;
                supplink::IncompleteBeta(a, b, x, ix);
                Row& r = (a <= 10 && b <= 10) ? small : large;
                r.add2(a, x, ix, ref);
            }
        }
    }
    for (double a : linspace(0.5, 10, 20)) {
        for (double b : linspace(0.5, 10, 20)) {
            for (double x : linspace(0.01, 0.99, 50)) {
                double ix = 0;
                supplink::IncompleteBeta(a, b, x, ix);
                small.add2(a, x, ix, double(boost::math::ibeta(Real(a), Real(b), Real(x))));
            }
        }
    }
    small.print();
    large.print();
}

// 2F1 with 50 digits; below x = -0.5 through Pfaff's transformation, which is exact.
double hypergeometricOracle(double a, double b, double c, double x)
{
    using Big = boost::multiprecision::cpp_bin_float_50;
    const Big ba(a), bb(b), bc(c), bx(x);
    if (x < -0.5) {
        const Big z = bx / (bx - 1);
        const Big f = boost::math::hypergeometric_pFq({ba, bc - bb}, {bc}, z);
        return static_cast<double>(pow(1 - bx, -ba) * f);
    }
    return static_cast<double>(boost::math::hypergeometric_pFq({ba, bb}, {bc}, bx));
}

void reportHypergeometric()
{
    Row direct("hypgeom", "direct series, 0 <= x < 0.75");
    Row about1("hypgeom", "about 1 - x, 0.75 <= x <= 0.95");
    Row negative("hypgeom", "Pfaff, -10 <= x < 0");
    const std::vector<double> as = {-2.5, -0.7, 0.3, 0.5, 1.2, 2.75};
    const std::vector<double> bs = {-1.3, 0.4, 1.0, 1.6, 3.3};
    const std::vector<double> cs = {0.6, 1.5, 2.2, 4.1, 6.5};
    for (double a : as) {
        for (double b : bs) {
            for (double c : cs) {
                for (double x : linspace(-10, 0.95, 60)) {
                    double f = 0;
                    QString message;
                    supplink::Hypergeometric2F1(a, b, c, x, f, message);
                    const double ref = hypergeometricOracle(a, b, c, x);
                    Row& r = x < 0 ? negative : (x < 0.75 ? direct : about1);
                    // The accuracy warning comes with a value; only divergence leaves none.
                    const bool valued = message != QLatin1String(supplink::kHypergeometricDivergent);
                    r.add2(x, a, f, ref, 1e-3, valued);
                }
            }
        }
    }
    direct.print();
    about1.print();
    negative.print();
}

} // namespace

void reportAccuracyPart2()
{
    Row::printHeader("Special functions, part 2: largest relative error against the oracle");
    reportJY();
    reportIK();
    reportIntegrals();
    reportAiry();
    reportElliptic();
    reportIncompleteGamma();
    reportIncompleteBeta();
    reportHypergeometric();
}
