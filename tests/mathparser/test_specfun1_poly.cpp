// Orthogonal polynomials and periodic signal functions: the defining values,
// degree handling, overflow, and sweeps against the C++17 polynomials and
// Boost's Chebyshev polynomials; the signals against their shapes written
// with frac().

#include "mathparser/specfun1.h"
#include "test_specfun1_support.h"

#include <QtTest>

#include <boost/math/special_functions/chebyshev.hpp>

#include <cmath>
#include <functional>

using namespace supplink;
using supplink::test::linearGrid;

namespace {

// The same recurrence on absolute values: what rounding errors scale with.
double recurrenceScale(int n, const std::function<double(int, double, double)>& step)
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

double frac(double v)
{
    return v - std::floor(v);
}

} // namespace

class TestSpecFun1Poly : public QObject
{
    Q_OBJECT

private slots:
    void polynomialValues_data();
    void polynomialValues();
    void degreeIsRoundedTiesToEven();
    void polynomialOverflowIsAFault();
    void legendreAgainstOracle();
    void hermiteAgainstOracle();
    void laguerreAgainstOracle();
    void chebyshevAgainstOracle();

    void signalValues_data();
    void signalValues();
    void signalsRefuseZeroDivisors_data();
    void signalsRefuseZeroDivisors();
    void signalOverflowIsAFault();
    void snapToZero();
    void signalsAgainstShapes();
};

// --- polynomials ----------------------------------------------------------------

using Polynomial = SpecValue (*)(double, double);
Q_DECLARE_METATYPE(Polynomial)

void TestSpecFun1Poly::polynomialValues_data()
{
    QTest::addColumn<Polynomial>("f");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("expected");
    QTest::newRow("P2(0.5)") << Polynomial(PolyLegendre) << 0.5 << 2.0 << -0.125;
    QTest::newRow("P(-3) = 1") << Polynomial(PolyLegendre) << 0.7 << -3.0 << 1.0;
    QTest::newRow("P0 = 1") << Polynomial(PolyLegendre) << 0.7 << 0.0 << 1.0;
    QTest::newRow("H3(1)") << Polynomial(PolyHermite) << 1.0 << 3.0 << -4.0;
    QTest::newRow("H1(x) = 2x") << Polynomial(PolyHermite) << 1.5 << 1.0 << 3.0;
    QTest::newRow("H(-1) = 1") << Polynomial(PolyHermite) << 1.5 << -1.0 << 1.0;
    QTest::newRow("2! L2(1)") << Polynomial(PolyLaguerre) << 1.0 << 2.0 << -1.0;
    QTest::newRow("L1(x) = 1 - x") << Polynomial(PolyLaguerre) << 3.0 << 1.0 << -2.0;
    QTest::newRow("L(-2) = 1") << Polynomial(PolyLaguerre) << 3.0 << -2.0 << 1.0;
    QTest::newRow("T3(0.5)") << Polynomial(PolyChebyshev) << 0.5 << 3.0 << -1.0;
    QTest::newRow("T0 = 1") << Polynomial(PolyChebyshev) << 0.3 << 0.0 << 1.0;
    QTest::newRow("T1(x) = x") << Polynomial(PolyChebyshev) << 0.3 << 1.0 << 0.3;
    QTest::newRow("T(-1) = 0") << Polynomial(PolyChebyshev) << 0.3 << -1.0 << 0.0;
    QTest::newRow("T(-5) = 0") << Polynomial(PolyChebyshev) << 0.3 << -5.0 << 0.0;
}

void TestSpecFun1Poly::polynomialValues()
{
    QFETCH(Polynomial, f);
    QFETCH(double, x);
    QFETCH(double, n);
    QFETCH(double, expected);
    const SpecValue v = f(x, n);
    QVERIFY(v.ok());
    SPEC_EXACT(v.value, expected);
}

void TestSpecFun1Poly::degreeIsRoundedTiesToEven()
{
    QCOMPARE(PolyLegendre(0.5, 2.5).value, PolyLegendre(0.5, 2.0).value);
    QCOMPARE(PolyLegendre(0.5, 3.5).value, PolyLegendre(0.5, 4.0).value);
    QCOMPARE(PolyChebyshev(0.5, 0.5).value, 1.0);
    QCOMPARE(PolyChebyshev(0.5, 1.5).value, PolyChebyshev(0.5, 2.0).value);
    QCOMPARE(PolyHermite(0.5, 3e9).error, SpecFault::overflow());
}

void TestSpecFun1Poly::polynomialOverflowIsAFault()
{
    QCOMPARE(PolyHermite(10.0, 500.0).error, SpecFault::overflow());
    QCOMPARE(PolyLaguerre(1.0, 300.0).error, SpecFault::overflow());
    QCOMPARE(PolyLegendre(1e200, 3.0).error, SpecFault::overflow());
    QCOMPARE(PolyChebyshev(1e200, 2.0).error, SpecFault::overflow());
    SPEC_EXACT(PolyHermite(10.0, 500.0).value, 0.0);
}

void TestSpecFun1Poly::legendreAgainstOracle()
{
    // |x| <= 1: values are bounded by 1, so the error is absolute.
    for (int n = 0; n <= 100; n += 3) {
        for (double x : linearGrid(-1.0, 1.0, 200)) {
            SPEC_COMPARE("Pn", x, PolyLegendre(x, n).value, std::legendre(n, x), 3e-14, 1.0);
        }
    }
    // |x| > 1: against the sum of positive terms
    // P_n(x) = 2^-n sum C(n, k)^2 (x - 1)^(n - k) (x + 1)^k, and P_n(-x) = (-1)^n P_n(x).
    for (int n = 0; n <= 60; n += 3) {
        for (double x : linearGrid(1.01, 5.0, 50)) {
            double sum = 0.0;
            double c = 1.0; // binomial(n, k)
            for (int k = 0; k <= n; ++k) {
                sum += c * c * std::pow(x - 1.0, n - k) * std::pow(x + 1.0, k);
                c = c * (n - k) / (k + 1);
            }
            const double reference = std::ldexp(sum, -n);
            SPEC_COMPARE("Pn", x, PolyLegendre(x, n).value, reference, 2e-14, 0.0);
            const double mirrored = (n % 2 == 1) ? -reference : reference;
            SPEC_COMPARE("Pn", -x, PolyLegendre(-x, n).value, mirrored, 2e-14, 0.0);
        }
    }
}

void TestSpecFun1Poly::hermiteAgainstOracle()
{
    for (int n = 0; n <= 60; n += 2) {
        for (double x : linearGrid(-10.0, 10.0, 200)) {
            const double scale = recurrenceScale(
                n, [x](int k, double c, double b) { return 2.0 * std::fabs(x) * c + 2.0 * (k - 1) * b; });
            const double tolerance = 4e-15 * scale / std::fmax(std::fabs(std::hermite(n, x)), 1e-300);
            SPEC_COMPARE("Hn", x, PolyHermite(x, n).value, std::hermite(n, x), std::fmax(tolerance, 4e-15),
                         0.0);
        }
    }
}

void TestSpecFun1Poly::laguerreAgainstOracle()
{
    for (int n = 0; n <= 60; n += 2) {
        for (double x : linearGrid(0.0, 50.0, 200)) {
            const double reference = std::laguerre(n, x) * std::tgamma(n + 1.0);
            const double scale = recurrenceScale(n, [x](int k, double c, double b) {
                return (2.0 * k - 1.0 + std::fabs(x)) * c + (k - 1.0) * (k - 1.0) * b;
            });
            const double tolerance = 4e-15 * scale / std::fmax(std::fabs(reference), 1e-300);
            SPEC_COMPARE("n! Ln", x, PolyLaguerre(x, n).value, reference, std::fmax(tolerance, 4e-15), 0.0);
        }
    }
}

void TestSpecFun1Poly::chebyshevAgainstOracle()
{
    for (int n = 0; n <= 100; n += 3) {
        for (double x : linearGrid(-1.0, 1.0, 200)) {
            SPEC_COMPARE("Tn", x, PolyChebyshev(x, n).value, boost::math::chebyshev_t(n, x), 1e-14, 1.0);
        }
        for (double x : linearGrid(1.01, 3.0, 50)) {
            SPEC_COMPARE("Tn", x, PolyChebyshev(x, n).value, boost::math::chebyshev_t(n, x), 1e-14, 0.0);
            SPEC_COMPARE("Tn", -x, PolyChebyshev(-x, n).value, boost::math::chebyshev_t(n, -x), 1e-14, 0.0);
        }
    }
}

// --- signals ----------------------------------------------------------------------

void TestSpecFun1Poly::signalValues_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("wtri(0, 1)") << wtri(0, 1).value << -1.0;
    QTest::newRow("wtri(0.25, 1)") << wtri(0.25, 1).value << 0.0;
    QTest::newRow("wtri(0.5, 1)") << wtri(0.5, 1).value << 1.0;
    QTest::newRow("wsqr(0.25, 1)") << wsqr(0.25, 1).value << 1.0;
    QTest::newRow("wsqr(0.75, 1)") << wsqr(0.75, 1).value << -1.0;
    QTest::newRow("wsaw(0.25, 1)") << wsaw(0.25, 1).value << 0.5;
    QTest::newRow("wsaw(0, 1)") << wsaw(0, 1).value << 0.0;
    QTest::newRow("wraise(1.25, 1)") << wraise(1.25, 1).value << 0.25;
    QTest::newRow("wraise(-0.25, 1)") << wraise(-0.25, 1).value << 0.75;
    QTest::newRow("wparab(0.25, 1)") << wparab(0.25, 1).value << 0.25;
    QTest::newRow("wparab(0.5, 1)") << wparab(0.5, 1).value << 1.0;
    QTest::newRow("wrect(0.1, 1, 0.2)") << wrect(0.1, 1, 0.2).value << 1.0;
    QTest::newRow("wrect(0.3, 1, 0.2)") << wrect(0.3, 1, 0.2).value << -1.0;
    QTest::newRow("wpulse(0.1, 1, 0.2)") << wpulse(0.1, 1, 0.2).value << 1.0;
    QTest::newRow("wpulse(0.3, 1, 0.2)") << wpulse(0.3, 1, 0.2).value << 0.0;
    QTest::newRow("wtrapez(0, 1, 0.5)") << wtrapez(0, 1, 0.5).value << -1.0;
    QTest::newRow("wlin(0, 1, 0.5)") << wlin(0, 1, 0.5).value << -1.0;
    QTest::newRow("wlin(0.25, 1, 0.5)") << wlin(0.25, 1, 0.5).value << 0.0;
    QTest::newRow("wlin(0.5, 1, 0.5)") << wlin(0.5, 1, 0.5).value << 1.0;
    QTest::newRow("wlin(0.75, 1, 0.5)") << wlin(0.75, 1, 0.5).value << 0.0;
    QTest::newRow("wsteps(0.5, 1, 5)") << wsteps(0.5, 1, 5).value << 0.5;
    QTest::newRow("wexp(1.5, 1, 2)") << wexp(1.5, 1, 2).value << std::exp(-1.0);
    QTest::newRow("wexpb(0, 1, 2)") << wexpb(0, 1, 2).value << 1.0 - std::exp(-1.0);
    QTest::newRow("wpulsef(0, 1, 2)") << wpulsef(0, 1, 2).value << 1.0 - (1.0 - std::exp(-1.0));
    QTest::newRow("wripple(0, 1, 2)") << wripple(0, 1, 2).value << 1.0;
    QTest::newRow("wripple(0.5, 1, 2)") << wripple(0.5, 1, 2).value << std::exp(-1.0);
    QTest::newRow("wring(0.125, 1, 0, 2)")
        << wring(0.125, 1, 0, 2).value << std::sin(6.28318530717958 * 0.25);
    QTest::newRow("wam(t, fo, fm, 0)")
        << wam(0.3, 2.0, 7.0, 0.0).value << std::sin(6.28318530717958 * 2.0 * 0.3);
    QTest::newRow("wfm(t, fo, fm, 0)")
        << wfm(0.3, 2.0, 7.0, 0.0).value << std::sin(6.28318530717958 * 2.0 * 0.3);
    QTest::newRow("wam(t, fo, fm, 1)")
        << wam(0.3, 2.0, 0.5, 1.0).value
        << (1.0 + std::sin(6.28318530717958 * 0.5 * 0.3)) * std::sin(6.28318530717958 * 2.0 * 0.3);
}

void TestSpecFun1Poly::signalValues()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(value, expected);
}

using SignalCall = std::function<SpecValue()>;
Q_DECLARE_METATYPE(SignalCall)

void TestSpecFun1Poly::signalsRefuseZeroDivisors_data()
{
    QTest::addColumn<SignalCall>("call");
    QTest::newRow("wtri p=0") << SignalCall([] { return wtri(1, 0); });
    QTest::newRow("wsqr p=0") << SignalCall([] { return wsqr(0, 0); });
    QTest::newRow("wsaw p=0") << SignalCall([] { return wsaw(1, 0); });
    QTest::newRow("wraise p=0") << SignalCall([] { return wraise(1, 0); });
    QTest::newRow("wparab p=0") << SignalCall([] { return wparab(1, 0); });
    QTest::newRow("wrect p=0") << SignalCall([] { return wrect(1, 0, 0.5); });
    QTest::newRow("wpulse p=0") << SignalCall([] { return wpulse(1, 0, 0.5); });
    QTest::newRow("wtrapez d=0") << SignalCall([] { return wtrapez(1, 1, 0); });
    QTest::newRow("wlin d=0") << SignalCall([] { return wlin(0.3, 1, 0); });
    QTest::newRow("wlin d=1") << SignalCall([] { return wlin(0.3, 1, 1); });
    QTest::newRow("wsteps n=1") << SignalCall([] { return wsteps(0.3, 1, 1); });
    QTest::newRow("wexp p=0") << SignalCall([] { return wexp(1, 0, 1); });
    QTest::newRow("wexpb p=0") << SignalCall([] { return wexpb(1, 0, 1); });
    QTest::newRow("wpulsef p=0") << SignalCall([] { return wpulsef(1, 0, 1); });
    QTest::newRow("wripple p=0") << SignalCall([] { return wripple(1, 0, 1); });
    QTest::newRow("wring p=0") << SignalCall([] { return wring(1, 0, 1, 1); });
}

void TestSpecFun1Poly::signalsRefuseZeroDivisors()
{
    QFETCH(SignalCall, call);
    const SpecValue v = call();
    QCOMPARE(v.error, SpecFault::divisionByZero());
    SPEC_EXACT(v.value, 0.0);
}

void TestSpecFun1Poly::signalOverflowIsAFault()
{
    // exp(-a frac(t/p)) with a large negative a.
    QCOMPARE(wexp(0.5, 1, -1e4).error, SpecFault::overflow());
    QCOMPARE(wring(0.5, 1, -1e4, 1).error, SpecFault::overflow());
    QCOMPARE(wripple(0.25, 1, -1e4).error, SpecFault::overflow());
    QCOMPARE(wtri(1e300, 1e-300).error, SpecFault::overflow());
}

void TestSpecFun1Poly::snapToZero()
{
    SPEC_EXACT(SnapToZero(4.9e-14), 0.0);
    SPEC_EXACT(SnapToZero(-4.9e-14), 0.0);
    QCOMPARE(SnapToZero(5e-14), 5e-14);
    QCOMPARE(SnapToZero(-0.3), -0.3);
    // Snapped signals give exact zeros where rounding leaves a trace.
    const double t = 0.1 * 3; // 0.30000000000000004
    QVERIFY(2.0 * t / 0.1 - 2.0 * std::floor(t / 0.1 + 0.5) != 0.0);
    SPEC_EXACT(wsaw(t, 0.1).value, 0.0);
    QVERIFY(4.0 * std::fabs(std::floor(t / 1.2 + 0.5) - t / 1.2) - 1.0 != 0.0);
    SPEC_EXACT(wtri(t, 1.2).value, 0.0);
    // The unsnapped ones keep it.
    QVERIFY(std::fabs(wring(0.5, 1, 0, 1).value) > 0.0);
}

void TestSpecFun1Poly::signalsAgainstShapes()
{
    const double p = 1.3;
    const double d = 0.3;
    for (double t : linearGrid(-5.00037, 5.00071, 1500)) {
        const double q = t / p;
        const double f = frac(q);
        SPEC_COMPARE("wtri", t, wtri(t, p).value, 1.0 - 4.0 * std::fabs(f - 0.5), 2e-15, 1.0);
        SPEC_COMPARE("wsqr", t, wsqr(t, p).value, f < 0.5 ? 1.0 : -1.0, 0.0, 1.0);
        SPEC_COMPARE("wsaw", t, wsaw(t, p).value, 2.0 * frac(q + 0.5) - 1.0, 2e-15, 1.0);
        SPEC_COMPARE("wraise", t, wraise(t, p).value, f, 1e-15, 1.0);
        SPEC_COMPARE("wparab", t, wparab(t, p).value, std::pow(2.0 * std::fabs(frac(q + 0.5) - 0.5), 2),
                     2e-15, 1.0);
        SPEC_COMPARE("wrect", t, wrect(t, p, d).value, f < d ? 1.0 : -1.0, 0.0, 1.0);
        SPEC_COMPARE("wpulse", t, wpulse(t, p, d).value, f < d ? 1.0 : 0.0, 0.0, 1.0);
        SPEC_COMPARE("wlin", t, wlin(t, p, d).value,
                     f < d ? -1.0 + 2.0 * f / d : 1.0 - 2.0 * (f - d) / (1.0 - d), 1e-13, 1.0);
        SPEC_COMPARE("wsteps", t, wsteps(t, p, 5).value, std::floor(f * 5.0) / 4.0, 0.0, 1.0);
        SPEC_COMPARE("wexp", t, wexp(t, p, 2.5).value, std::exp(-2.5 * f), 4e-15, 1.0);
        SPEC_COMPARE("wexpb", t, wexpb(t, p, 2.5).value, std::exp(-2.5 * f) - std::exp(-2.5 * frac(q + 0.5)),
                     4e-15, 1.0);
        SPEC_COMPARE("wripple", t, wripple(t, p, 2.5).value,
                     std::fmax(std::fabs(std::cos(3.14159265358979 * t / p)), std::exp(-2.5 * f)), 4e-15,
                     1.0);
        SPEC_COMPARE("wring", t, wring(t, p, 2.5, 3).value,
                     std::exp(-2.5 * f) * std::sin(6.28318530717958 * 3 * f), 1e-14, 1.0);
    }
    // The trapezium (period 1): rises from -1 to 1 over d / 2, holds to half the
    // period, falls back over d / 2 and holds -1.
    for (double t : linearGrid(-3.00037, 3.00071, 1500)) {
        const double f = frac(t);
        const double shape = f < d / 2         ? -1.0 + 4.0 * f / d
                             : f < 0.5         ? 1.0
                             : f < 0.5 + d / 2 ? 1.0 - 4.0 * (f - 0.5) / d
                                               : -1.0;
        SPEC_COMPARE("wtrapez", t, wtrapez(t, 1.0, d).value, shape, 1e-14, 1.0);
    }
}

QTEST_APPLESS_MAIN(TestSpecFun1Poly)
#include "test_specfun1_poly.moc"
