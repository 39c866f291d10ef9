// Gamma family, error function, zeta function and exponential integrals:
// the values at the branch boundaries, the mended arguments, and sweeps
// against independent implementations (the C++17 special functions and
// Boost.Math in long double) with a tolerance per branch.

#define BOOST_MATH_DOMAIN_ERROR_POLICY ignore_error
#define BOOST_MATH_POLE_ERROR_POLICY ignore_error
#define BOOST_MATH_OVERFLOW_ERROR_POLICY ignore_error

#include "mathparser/specfun1.h"
#include "test_specfun1_support.h"

#include <QtTest>

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/zeta.hpp>

#include <cmath>
#include <numbers>

using namespace supplink;
using supplink::test::linearGrid;
using supplink::test::logGrid;

namespace {

using LD = long double;
namespace bm = boost::math;

constexpr double kEulerGamma = 0.57721566490153286;

// Where a negative argument of gamma loses digits: sin(3.14159265358979 |x|)
// carries the short pi's error times |x|, relative to the distance to the pole.
double reflectionTolerance(double x)
{
    return 3e-13 + 4e-15 * std::fabs(x) / std::fabs(std::sin(std::numbers::pi * x));
}

} // namespace

class TestSpecFun1 : public QObject
{
    Q_OBJECT

private slots:
    void errorFunctionAtBranchBoundaries();
    void errorFunctionIsOddForLargeNegativeArguments();
    void errorFunctionAgainstOracle_data();
    void errorFunctionAgainstOracle();

    void gammaMantissaAndExponent();
    void gammaValues();
    void gammaRefusesPolesAndOverflow();
    void gammaAgainstOracle_data();
    void gammaAgainstOracle();
    void gammaNegativeAgainstOracle();

    void logGammaValues();
    void logGammaAgainstOracle_data();
    void logGammaAgainstOracle();
    void betaValuesAndSweep();

    void digammaValues();
    void digammaAgainstOracle_data();
    void digammaAgainstOracle();

    void zetaValues();
    void zetaAgainstOracle_data();
    void zetaAgainstOracle();

    void eiValues();
    void eiAgainstOracle_data();
    void eiAgainstOracle();
    void enValues();
    void enRefusesInvalidArguments_data();
    void enRefusesInvalidArguments();
    void enAgainstOracle_data();
    void enAgainstOracle();
};

// --- erf ----------------------------------------------------------------------

void TestSpecFun1::errorFunctionAtBranchBoundaries()
{
    SPEC_EXACT(ErrorFunction(0.0).value, 0.0);
    // x = 2 is the last point of the series, 2.5 comes from the continued fraction.
    SPEC_COMPARE("erf", 2.0, ErrorFunction(2.0).value, 0.99532226501895273, 2e-15, 0.0);
    SPEC_COMPARE("erf", std::nextafter(2.0, 3.0), ErrorFunction(std::nextafter(2.0, 3.0)).value,
                 0.99532226501895273, 2e-15, 0.0);
    SPEC_COMPARE("erf", 2.5, ErrorFunction(2.5).value, 0.99959304798255504, 1e-15, 0.0);
    SPEC_EXACT(ErrorFunction(-1.0).value, -ErrorFunction(1.0).value);
    SPEC_EXACT(ErrorFunction(30.0).value, 1.0);
    QCOMPARE(ErrorFunction(1e200).value, 1.0);
}

void TestSpecFun1::errorFunctionIsOddForLargeNegativeArguments()
{
    // The series alone does not converge here; erf(-x) = -erf(x).
    for (double x : {-6.0, -12.0, -14.0, -15.0, -20.0, -1e10}) {
        const SpecValue v = ErrorFunction(x);
        QVERIFY(v.ok());
        SPEC_EXACT(v.value, -1.0);
    }
    SPEC_EXACT(ErrorFunction(-0.3).value, -ErrorFunction(0.3).value);
}

void TestSpecFun1::errorFunctionAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("series 0..2") << 0.001 << 2.0 << 3e-15;
    QTest::newRow("continued fraction 2..6") << 2.0001 << 6.0 << 5e-16;
    QTest::newRow("negative -6..0") << -6.0 << -0.001 << 3e-15;
}

void TestSpecFun1::errorFunctionAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    for (double x : linearGrid(from, to, 1000)) {
        const SpecValue v = ErrorFunction(x);
        QVERIFY(v.ok());
        SPEC_COMPARE("erf", x, v.value, std::erf(x), tolerance, 0.0);
    }
}

// --- gamma --------------------------------------------------------------------

void TestSpecFun1::gammaMantissaAndExponent()
{
    const GammaParts five = GammaMantExp(5.0);
    QVERIFY(five.ok());
    SPEC_COMPARE("mantissa", 5.0, five.mantissa, 2.4, 1e-14, 0.0);
    QCOMPARE(five.exponent, 1.0);

    // Gamma(171) lies near the largest double; its parts do not.
    const GammaParts big = GammaMantExp(171.0);
    QVERIFY(big.ok());
    QCOMPARE(big.exponent, 306.0);
    SPEC_COMPARE("mantissa", 171.0, big.mantissa, 7.257415615307999, 2e-13, 0.0);

    // Far beyond the double range the parts still hold.
    const GammaParts huge = GammaMantExp(1000.0);
    QVERIFY(huge.ok());
    QCOMPARE(huge.exponent, 2564.0);
    SPEC_COMPARE("mantissa", 1000.0, huge.mantissa, 4.0238726007709377, 1e-12, 0.0);

    for (double x : logGrid(1e-300, 1e300, 500)) {
        const GammaParts g = GammaMantExp(x);
        QVERIFY(g.ok());
        QVERIFY2(g.mantissa >= 1.0 && g.mantissa < 10.0, QByteArray::number(x).constData());
        QCOMPARE(g.exponent, std::floor(g.exponent));
    }

    QVERIFY(!GammaMantExp(0.0).ok());
    QVERIFY(!GammaMantExp(-1.5).ok());
}

void TestSpecFun1::gammaValues()
{
    SPEC_COMPARE("gamma", 0.5, GammaValue(0.5).value, 1.7724538509055160, 2e-15, 0.0);
    SPEC_COMPARE("gamma", 5.0, GammaValue(5.0).value, 24.0, 1e-14, 0.0);
    SPEC_COMPARE("gamma", -0.5, GammaValue(-0.5).value, -3.5449077018110320, 2e-15, 0.0);
    // z + 1 is not formed from z = x - 1, so tiny arguments keep their digits.
    SPEC_COMPARE("gamma", 1e-17, GammaValue(1e-17).value, 1e17, 2e-15, 0.0);
    SPEC_COMPARE("gamma", 1e-300, GammaValue(1e-300).value, 1e300, 2e-15, 0.0);
    SPEC_COMPARE("gamma", 171.0, GammaValue(171.0).value, 7.257415615307999e306, 2e-13, 0.0);
}

void TestSpecFun1::gammaRefusesPolesAndOverflow()
{
    for (double x : {0.0, -1.0, -2.0, -170.0, -1e20}) {
        const SpecValue v = GammaValue(x);
        QVERIFY2(!v.ok(), QByteArray::number(x).constData());
        SPEC_EXACT(v.value, 0.0);
    }
    QCOMPARE(GammaValue(0.0).error, SpecFault::pole());
    QCOMPARE(GammaValue(171.7).error, SpecFault::overflow());
    QCOMPARE(GammaValue(std::nan("")).error, SpecFault::invalidArgument());
}

void TestSpecFun1::gammaAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("tiny 1e-300..0.01") << 1e-300 << 0.01 << true << 5e-15;
    QTest::newRow("moderate 0.01..10") << 0.01 << 10.0 << false << 2e-14;
    // The power of ten comes from ln(...) * (x - 0.5): its rounding grows with x.
    QTest::newRow("large 10..171.6") << 10.0 << 171.6 << false << 5e-13;
}

void TestSpecFun1::gammaAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, logarithmic);
    QFETCH(double, tolerance);
    for (double x : logarithmic ? logGrid(from, to, 500) : linearGrid(from, to, 1000)) {
        const SpecValue v = GammaValue(x);
        QVERIFY(v.ok());
        SPEC_COMPARE("gamma", x, v.value, std::tgamma(x), tolerance, 0.0);
    }
}

void TestSpecFun1::gammaNegativeAgainstOracle()
{
    for (int k = 0; k < 170; k += (k < 10 ? 1 : 7)) {
        for (double f : {0.001, 0.1, 0.25, 0.5, 0.75, 0.999}) {
            const double x = -k - f;
            const SpecValue v = GammaValue(x);
            QVERIFY(v.ok());
            SPEC_COMPARE("gamma", x, v.value, static_cast<double>(bm::tgamma(LD(x))), reflectionTolerance(x),
                         0.0);
        }
    }
}

// --- ln gamma and beta ----------------------------------------------------------

void TestSpecFun1::logGammaValues()
{
    SPEC_COMPARE("gammaln", 1.0, LogGamma(1.0).value, 0.0, 2e-15, 1.0);
    SPEC_COMPARE("gammaln", 100.0, LogGamma(100.0).value, 359.13420536957540, 1e-15, 1.0);
    // Beyond the range of Gamma itself.
    SPEC_COMPARE("gammaln", 1e10, LogGamma(1e10).value, 220258509288.81058, 1e-15, 1.0);
    // Negative arguments where Gamma is positive, by reflection.
    SPEC_COMPARE("gammaln", -1.5, LogGamma(-1.5).value, 0.86004701537648098, 1e-14, 1.0);
    SPEC_COMPARE("gammaln", -21.5, LogGamma(-21.5).value, -45.775248909959378, 1e-14, 1.0);
    // Where Gamma is negative there is no real logarithm; poles are refused.
    for (double x : {-0.5, -2.5, -4.1, 0.0, -3.0}) {
        QVERIFY2(!LogGamma(x).ok(), QByteArray::number(x).constData());
    }
    QCOMPARE(LogGamma(-0.5).error, SpecFault::invalidArgument());
    QCOMPARE(LogGamma(-3.0).error, SpecFault::pole());
}

void TestSpecFun1::logGammaAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<double>("tolerance");
    // Errors are relative to max(|ln Gamma|, 1): ln Gamma passes through 0 at 1 and 2.
    QTest::newRow("small 1e-300..0.5") << 1e-300 << 0.5 << true << 2e-15;
    QTest::newRow("zeros 0.5..3") << 0.5 << 3.0 << false << 6e-15;
    QTest::newRow("large 3..1e300") << 3.0 << 1e300 << true << 6e-15;
}

void TestSpecFun1::logGammaAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, logarithmic);
    QFETCH(double, tolerance);
    for (double x : logarithmic ? logGrid(from, to, 500) : linearGrid(from, to, 1000)) {
        const SpecValue v = LogGamma(x);
        QVERIFY(v.ok());
        SPEC_COMPARE("gammaln", x, v.value, std::lgamma(x), tolerance, 1.0);
    }
    // Negative x in the intervals (-2k, -2k + 1), where Gamma is positive.
    for (int k = 1; k < 40; ++k) {
        for (double f : {0.01, 0.3, 0.5, 0.7, 0.99}) {
            const double x = -2.0 * k + f;
            const SpecValue v = LogGamma(x);
            QVERIFY(v.ok());
            const double tol = std::fmax(1.0, std::fabs(v.value)) * 6e-15 + reflectionTolerance(x);
            SPEC_COMPARE("gammaln", x, v.value, std::lgamma(x), tol, 1.0);
        }
    }
}

void TestSpecFun1::betaValuesAndSweep()
{
    SPEC_COMPARE("beta", 2.0, BetaFunction(2.0, 3.0).value, 1.0 / 12.0, 1e-14, 0.0);
    SPEC_COMPARE("beta", 0.5, BetaFunction(0.5, 0.5).value, std::numbers::pi, 1e-14, 0.0);
    for (double a : logGrid(0.1, 60.0, 40)) {
        for (double b : logGrid(0.1, 60.0, 40)) {
            const SpecValue v = BetaFunction(a, b);
            QVERIFY(v.ok());
            SPEC_COMPARE("beta", a * 1000 + b, v.value, static_cast<double>(bm::beta(LD(a), LD(b))), 2e-13,
                         0.0);
        }
    }
    // A pole of one of the gammas is refused.
    QVERIFY(!BetaFunction(0.0, 1.0).ok());
    QVERIFY(!BetaFunction(2.0, -1.0).ok());
}

// --- digamma ----------------------------------------------------------------------

void TestSpecFun1::digammaValues()
{
    SPEC_COMPARE("psi", 1.0, Digamma(1.0).value, -kEulerGamma, 1e-15, 1.0);
    // 8 is the last shifted point, 8.5 the first direct one.
    SPEC_COMPARE("psi", 8.0, Digamma(8.0).value, 2.0156414779556100, 1e-15, 1.0);
    SPEC_COMPARE("psi", 8.5, Digamma(8.5).value, 2.0800908175794199, 1e-15, 1.0);
    // Negative arguments by reflection: the shifted series alone is far off here.
    SPEC_COMPARE("psi", -6.5, Digamma(-6.5).value, 1.9467574842460869, 1e-15, 1.0);
    const double nearPole = -1 + 1e-8;
    SPEC_COMPARE("psi", nearPole, Digamma(nearPole).value, static_cast<double>(bm::digamma(LD(nearPole))),
                 1e-15, 1.0);
    for (double x : {0.0, -1.0, -7.0, -8.0, -100.0}) {
        const SpecValue v = Digamma(x);
        QVERIFY2(!v.ok(), QByteArray::number(x).constData());
        QCOMPARE(v.error, SpecFault::divisionByZero());
    }
}

void TestSpecFun1::digammaAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<double>("tolerance");
    // Relative to max(|psi|, 1): psi passes through 0 near 1.4616.
    QTest::newRow("shifted 1e-10..8") << 1e-10 << 8.0 << true << 2e-15;
    QTest::newRow("direct 8..1e300") << 8.0001 << 1e300 << true << 1e-15;
    QTest::newRow("reflected -50..0") << -49.9873 << -0.0073 << false << 3e-15;
}

void TestSpecFun1::digammaAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, logarithmic);
    QFETCH(double, tolerance);
    for (double x : logarithmic ? logGrid(from, to, 500) : linearGrid(from, to, 1000)) {
        const SpecValue v = Digamma(x);
        QVERIFY(v.ok());
        SPEC_COMPARE("psi", x, v.value, static_cast<double>(bm::digamma(LD(x))), tolerance, 1.0);
    }
}

// --- zeta -------------------------------------------------------------------------

void TestSpecFun1::zetaValues()
{
    SPEC_COMPARE("zeta", 2.0, ZetaFunction(2.0).value, std::numbers::pi * std::numbers::pi / 6.0, 2e-15, 0.0);
    SPEC_EXACT(ZetaFunction(0.0).value, -0.5);
    QCOMPARE(ZetaFunction(1.0).error, SpecFault::divisionByZero());
    SPEC_COMPARE("zeta", -1.0, ZetaFunction(-1.0).value, -1.0 / 12.0, 1e-15, 0.0);
    SPEC_COMPARE("zeta", -3.0, ZetaFunction(-3.0).value, 1.0 / 120.0, 1e-14, 0.0);
    // The even negative integers are exact zeros.
    for (double s : {-2.0, -4.0, -10.0, -100.0, -1000.0}) {
        const SpecValue v = ZetaFunction(s);
        QVERIFY(v.ok());
        SPEC_EXACT(v.value, 0.0);
    }
    // Close to the pole, 1 - 2^(1 - s) keeps its digits.
    const double nearPole = 1.0 + 1e-8;
    SPEC_COMPARE("zeta", nearPole, ZetaFunction(nearPole).value, static_cast<double>(bm::zeta(LD(nearPole))),
                 1e-14, 0.0);
    SPEC_COMPARE("zeta", 60.0, ZetaFunction(60.0).value, 1.0, 1e-16, 0.0);
    // Large negative odd values overflow.
    QCOMPARE(ZetaFunction(-301.0).error, SpecFault::overflow());
}

void TestSpecFun1::zetaAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("perUnit");
    QTest::newRow("series 1..60") << 1.001 << 60.0 << 5e-15 << 0.0;
    QTest::newRow("series -1..1") << -1.0 << 0.999 << 5e-14 << 0.0;
    // The functional equation's error grows with |s| (Gamma(1 - s), (2 pi)^s).
    QTest::newRow("reflected -60..-1") << -59.9731 << -1.0131 << 2e-14 << 1.5e-15;
    QTest::newRow("reflected -250..-60") << -249.9731 << -60.0131 << 2e-14 << 2e-15;
}

void TestSpecFun1::zetaAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    QFETCH(double, perUnit);
    for (double s : linearGrid(from, to, 400)) {
        const SpecValue v = ZetaFunction(s);
        QVERIFY(v.ok());
        SPEC_COMPARE("zeta", s, v.value, static_cast<double>(bm::zeta(LD(s))),
                     tolerance + perUnit * std::fabs(s), 0.0);
    }
    // The C++17 zeta agrees where it is itself reliable (away from the pole).
    if (from > 0) {
        for (double s : linearGrid(2.0, to, 50)) {
            SPEC_COMPARE("zeta", s, ZetaFunction(s).value, std::riemann_zeta(s), 1e-14, 0.0);
        }
    }
}

// --- Ei and E_n ---------------------------------------------------------------------

void TestSpecFun1::eiValues()
{
    SPEC_COMPARE("ei", 1.0, ExpIntegralEi(1.0).value, 1.8951178163559368, 2e-15, 0.0);
    // x < 1e-30: ln(x) + gamma.
    SPEC_COMPARE("ei", 1e-31, ExpIntegralEi(1e-31).value, std::log(1e-31) + 0.577215664901532, 0.0, 0.0);
    // Both sides of the switch from the series to the asymptotic form.
    const double edge = -std::log(1e-15);
    for (double x : {edge, std::nextafter(edge, 100.0), 40.0}) {
        SPEC_COMPARE("ei", x, ExpIntegralEi(x).value, std::expint(x), 1e-14, 0.0);
    }
    // Negative arguments as -E1(-x); 0 is a pole.
    SPEC_COMPARE("ei", -1.0, ExpIntegralEi(-1.0).value, -0.2193839343955203, 5e-15, 0.0);
    SPEC_COMPARE("ei", -40.0, ExpIntegralEi(-40.0).value, std::expint(-40.0), 1e-14, 0.0);
    QCOMPARE(ExpIntegralEi(0.0).error, SpecFault::pole());
    // exp(x) overflows before Ei does.
    QCOMPARE(ExpIntegralEi(710.0).error, SpecFault::overflow());
}

void TestSpecFun1::eiAgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<double>("tolerance");
    // Relative to max(|Ei|, 1): Ei passes through 0 at 0.3725.
    QTest::newRow("series 1e-30..34.5") << 1e-30 << 34.538 << true << 3e-15;
    QTest::newRow("asymptotic 34.6..709") << 34.54 << 709.0 << false << 1.5e-14;
    QTest::newRow("negative -700..0") << -700.0 << -0.001 << false << 6e-15;
}

void TestSpecFun1::eiAgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, logarithmic);
    QFETCH(double, tolerance);
    for (double x : logarithmic ? logGrid(from, to, 500) : linearGrid(from, to, 1000)) {
        const SpecValue v = ExpIntegralEi(x);
        QVERIFY(v.ok());
        SPEC_COMPARE("ei", x, v.value, static_cast<double>(bm::expint(LD(x))), tolerance, 1.0);
    }
}

void TestSpecFun1::enValues()
{
    SPEC_COMPARE("E1", 1.0, ExpIntegralEn(1.0, 1.0).value, 0.2193839343955203, 5e-15, 0.0);
    QCOMPARE(ExpIntegralEn(0.0, 2.0).value, 1.0);
    QCOMPARE(ExpIntegralEn(0.0, 5.0).value, 0.25);
    QCOMPARE(ExpIntegralEn(2.0, 0.0).value, std::exp(-2.0) / 2.0);
    // x = 1 is the last series point; just above it the continued fraction.
    SPEC_COMPARE("E2", 1.0, ExpIntegralEn(1.0, 2.0).value, 0.14849550677592205, 1e-14, 0.0);
    const double above = std::nextafter(1.0, 2.0);
    SPEC_COMPARE("E2", above, ExpIntegralEn(above, 2.0).value, 0.14849550677592205, 1e-14, 0.0);
}

void TestSpecFun1::enRefusesInvalidArguments_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("n");
    QTest::addColumn<QString>("error");
    QTest::newRow("E0(0)") << 0.0 << 0.0 << SpecFault::pole();
    QTest::newRow("E1(0)") << 0.0 << 1.0 << SpecFault::pole();
    QTest::newRow("negative x") << -1.0 << 2.0 << SpecFault::invalidArgument();
    QTest::newRow("negative n") << 1.0 << -1.0 << SpecFault::invalidArgument();
    QTest::newRow("order beyond 32 bits") << 1.0 << 3e9 << SpecFault::overflow();
}

void TestSpecFun1::enRefusesInvalidArguments()
{
    QFETCH(double, x);
    QFETCH(double, n);
    QFETCH(QString, error);
    const SpecValue v = ExpIntegralEn(x, n);
    QCOMPARE(v.error, error);
    SPEC_EXACT(v.value, 0.0);
}

void TestSpecFun1::enAgainstOracle_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");
    for (int n : {1, 2, 3, 5, 10, 30}) {
        QTest::addRow("series n=%d", n) << n << 1e-10 << 1.0 << 1e-14;
        QTest::addRow("continued fraction n=%d", n) << n << 1.0001 << 700.0 << 2e-14;
    }
}

void TestSpecFun1::enAgainstOracle()
{
    QFETCH(int, n);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    for (double x : logGrid(from, to, 300)) {
        const SpecValue v = ExpIntegralEn(x, n);
        QVERIFY(v.ok());
        SPEC_COMPARE("En", x, v.value, static_cast<double>(bm::expint(n, LD(x))), tolerance, 0.0);
    }
}

QTEST_APPLESS_MAIN(TestSpecFun1)
#include "test_specfun1.moc"
