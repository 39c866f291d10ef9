// Bessel functions of integer order, the sine and cosine integrals and the
// Fresnel integrals, against the C++17 special functions (long double) and
// Gauss-Kronrod quadrature. Tolerances follow the branches: the power series
// near the top of their range and the asymptotic expansions near the bottom of
// theirs cannot do better than the figures used here.

#include "mathparser/specfun2.h"

#include <QtTest>

#include <boost/math/constants/constants.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <cmath>
#include <functional>
#include <vector>

using namespace supplink;

namespace {

using Real = long double;

// Error of v against ref, relative to max(|ref|, floor).
double err(double v, long double ref, double floor = 0.0)
{
    const double r = static_cast<double>(ref);
    return std::fabs(v - r) / std::fmax(std::fabs(r), floor);
}

// Amplitude of J and Y beyond the turning point; near a zero the error is
// measured against it.
double amplitude(int n, double x)
{
    return x > n ? std::sqrt(2.0 / (M_PI * x)) : 0.0;
}

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
    const Real i = integrate(
        [](Real t) {
            const Real s = std::sin(t / 2);
            return t == 0 ? Real(0) : -2 * s * s / t;
        },
        0, x, 1);
    return boost::math::constants::euler<Real>() + std::log(x) + i;
}

Real fresnelOracle(Real x, bool sine)
{
    const Real pi = boost::math::constants::pi<Real>();
    return integrate(
        [sine, pi](Real t) {
            const Real phase = pi * t * t / 2;
            return sine ? std::sin(phase) : std::cos(phase);
        },
        0, x, 0.25L / (1 + x));
}

// Hankel's coefficient a_m(nu) in long double.
long double hankel(int m, int nu)
{
    long double p = 1;
    for (int j = 1; j <= m; ++j) {
        p *= (4.0L * nu * nu - (2.0L * j - 1) * (2.0L * j - 1)) / (8.0L * j);
    }
    return p;
}

struct JY
{
    double j0, dj0, j1, dj1, y0, dy0, y1, dy1;
};

JY jy01(double x)
{
    JY r{};
    BesselJY01(x, r.j0, r.dj0, r.j1, r.dj1, r.y0, r.dy0, r.y1, r.dy1);
    return r;
}

struct IK
{
    double i0, di0, i1, di1, k0, dk0, k1, dk1;
};

IK ik01(double x)
{
    IK r{};
    BesselIK01(x, r.i0, r.di0, r.i1, r.di1, r.k0, r.dk0, r.k1, r.dk1);
    return r;
}

} // namespace

class TestSpecfun2Bessel : public QObject
{
    Q_OBJECT

private slots:
    void asymptoticTablesFollowFromHankelsCoefficients();

    void jy01AtZero();
    void jy01AgainstOracle_data();
    void jy01AgainstOracle();
    void jy01DerivativesFollowFromTheValues();
    void jy01NegativeArgumentBySymmetry();

    void jynAgainstOracle_data();
    void jynAgainstOracle();
    void jynBelowTinyArgument();
    void jynNegativeArgumentBySymmetry();
    void jynOrderBeyondReachLeavesZeros();
    void jynNonWholeOrderFillsIntegerPart();

    void ik01AtZero();
    void ik01AgainstOracle_data();
    void ik01AgainstOracle();
    void ik01WronskianHolds();
    void ik01NegativeArgument();

    void iknAgainstOracle_data();
    void iknAgainstOracle();
    void iknZeroBranchIncludesTheLimit();
    void iknNegativeArgumentBySymmetry();

    void startOrdersReachTheirTargets();

    void cosSinIntegralAtZero();
    void cosSinIntegralAgainstQuadrature_data();
    void cosSinIntegralAgainstQuadrature();
    void cosSinIntegralNegativeArgument();

    void fresnelAtZero();
    void fresnelAgainstQuadrature_data();
    void fresnelAgainstQuadrature();
    void fresnelIsOdd();
};

void TestSpecfun2Bessel::asymptoticTablesFollowFromHankelsCoefficients()
{
    using namespace besseltables;
    // Rows as the tables must start and end, digit for digit.
    QCOMPARE(kJ0P[0], -0.0703125);
    QCOMPARE(kJ0P[1], 0.112152099609375);
    QCOMPARE(kJ0P[2], -0.572501420974731);
    QCOMPARE(kJ0P[11], 485401468685290.0);
    QCOMPARE(kJ0Q[0], 0.0732421875);
    QCOMPARE(kJ0Q[1], -0.227108001708984);
    QCOMPARE(kJ1P[0], 0.1171875);
    QCOMPARE(kJ1P[1], -0.144195556640625);
    QCOMPARE(kJ1Q[0], -0.1025390625);
    QCOMPARE(kJ1Q[1], 0.277576446533203);
    QCOMPARE(kI0[3], 0.11215209960938);
    QCOMPARE(kI0[11], 3038.0905109224);
    QCOMPARE(kI1[3], -0.14419555664063);
    QCOMPARE(kI1[11], -3302.2722944809);
    const double kI0K0Expected[8] = {0.125,           0.2109375,       1.0986328125,    11.775970458984,
                                     214.61706161499, 5951.1522710323, 233476.45606175, 12312234.987631};
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(kI0K0[k], kI0K0Expected[k]);
    }

    // Every entry is the signed Hankel coefficient rounded to 15 (J, Y) or 14 (I) digits.
    for (int k = 1; k <= 12; ++k) {
        const long double sign = (k % 2 == 0) ? 1 : -1;
        QVERIFY2(err(kJ0P[k - 1], sign * hankel(2 * k, 0)) < 5e-15, qPrintable(QString::number(k)));
        QVERIFY2(err(kJ0Q[k - 1], sign * hankel(2 * k + 1, 0)) < 5e-15, qPrintable(QString::number(k)));
        QVERIFY2(err(kJ1P[k - 1], sign * hankel(2 * k, 1)) < 5e-15, qPrintable(QString::number(k)));
        QVERIFY2(err(kJ1Q[k - 1], sign * hankel(2 * k + 1, 1)) < 5e-15, qPrintable(QString::number(k)));
        QVERIFY2(err(kI0[k - 1], sign * hankel(k, 0)) < 5e-14, qPrintable(QString::number(k)));
        QVERIFY2(err(kI1[k - 1], sign * hankel(k, 1)) < 5e-14, qPrintable(QString::number(k)));
    }
    // (2k-1)!!/(2k)!! * ((2k-1)!!)^2 / 4^k
    long double ratio = 1;
    long double odd = 1;
    for (int k = 1; k <= 8; ++k) {
        ratio *= (2.0L * k - 1) / (2.0L * k);
        odd *= (2.0L * k - 1);
        QVERIFY(err(kI0K0[k - 1], ratio * odd * odd / std::pow(4.0L, k)) < 5e-14);
    }
}

void TestSpecfun2Bessel::jy01AtZero()
{
    const JY r = jy01(0.0);
    QCOMPARE(r.j0, 1.0);
    QCOMPARE(r.dj0, 0.0);
    QCOMPARE(r.j1, 0.0);
    QCOMPARE(r.dj1, 0.5);
    QCOMPARE(r.y0, -1e300);
    QCOMPARE(r.y1, -1e300);
    QCOMPARE(r.dy0, 1e300);
    QCOMPARE(r.dy1, 1e300);
}

void TestSpecfun2Bessel::jy01AgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");
    // The series loses digits to cancellation towards x = 12; the expansion
    // with 12 terms is at its limit just above 12.
    QTest::newRow("series, small") << 1e-8 << 4.0 << 1e-13;
    QTest::newRow("series, up to 12") << 4.0 << 12.0 << 2e-11;
    QTest::newRow("asymptotic, 12 terms") << 12.000001 << 35.0 << 1e-11;
    QTest::newRow("asymptotic, 10 terms") << 35.0 << 50.0 << 1e-13;
    QTest::newRow("asymptotic, 8 terms") << 50.0 << 400.0 << 1e-13;
}

void TestSpecfun2Bessel::jy01AgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    const int points = 400;
    for (int i = 0; i < points; ++i) {
        const double x = from + (to - from) * i / (points - 1);
        const JY r = jy01(x);
        const Real xl = x;
        const QString at = QString::number(x, 'g', 17);
        QVERIFY2(err(r.j0, std::cyl_bessel_jl(0, xl), amplitude(0, x)) < tolerance, qPrintable(at));
        QVERIFY2(err(r.j1, std::cyl_bessel_jl(1, xl), amplitude(1, x)) < tolerance, qPrintable(at));
        QVERIFY2(err(r.y0, std::cyl_neumannl(0, xl), amplitude(0, x)) < tolerance, qPrintable(at));
        QVERIFY2(err(r.y1, std::cyl_neumannl(1, xl), amplitude(1, x)) < tolerance, qPrintable(at));
    }
}

void TestSpecfun2Bessel::jy01DerivativesFollowFromTheValues()
{
    for (double x : {0.5, 7.0, 12.0, 12.5, 80.0}) {
        const JY r = jy01(x);
        QCOMPARE(r.dj0, -r.j1);
        QCOMPARE(r.dj1, r.j0 - r.j1 / x);
        QCOMPARE(r.dy0, -r.y1);
        QCOMPARE(r.dy1, r.y0 - r.y1 / x);
    }
}

void TestSpecfun2Bessel::jy01NegativeArgumentBySymmetry()
{
    for (double x : {0.7, 11.0, 20.0, 60.0}) {
        const JY p = jy01(x);
        const JY m = jy01(-x);
        QCOMPARE(m.j0, p.j0);
        QCOMPARE(m.j1, -p.j1);
        QCOMPARE(m.dj0, -p.dj0);
        QVERIFY(std::fabs(m.dj1 - p.dj1) <= 1e-15 * std::fabs(p.dj1) + 1e-300);
        QVERIFY(std::isnan(m.y0) && std::isnan(m.y1) && std::isnan(m.dy0) && std::isnan(m.dy1));
    }
}

void TestSpecfun2Bessel::jynAgainstOracle_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("backward, J0 normalises (n 20, x 1)") << 20 << 1.0 << 1e-13;
    QTest::newRow("backward, J1 normalises (n 10, x 2.5)") << 10 << 2.5 << 1e-13;
    QTest::newRow("backward at the branch (n 9, x 10)") << 9 << 10.0 << 2e-11;
    QTest::newRow("forward (n 5, x 100)") << 5 << 100.0 << 1e-13;
    QTest::newRow("forward (n 60, x 150)") << 60 << 150.0 << 1e-12;
    QTest::newRow("backward, large order (n 150, x 30)") << 150 << 30.0 << 1e-12;
    QTest::newRow("tiny argument (n 4, x 1e-5)") << 4 << 1e-5 << 1e-13;
}

void TestSpecfun2Bessel::jynAgainstOracle()
{
    QFETCH(int, order);
    QFETCH(double, x);
    QFETCH(double, tolerance);
    int nm = -1;
    std::vector<double> j, dj, y, dy;
    BesselJYN(order, x, nm, j, dj, y, dy);
    QCOMPARE(int(j.size()), order + 1);
    QCOMPARE(nm, order);
    for (int k = 0; k <= order; ++k) {
        const Real xl = x;
        const QString at = QStringLiteral("order %1").arg(k);
        const long double refJ = std::cyl_bessel_jl(k, xl);
        QVERIFY2(err(j[k], refJ, amplitude(k, x)) < tolerance, qPrintable(at));
        const long double refY = std::cyl_neumannl(k, xl);
        if (std::fabs(refY) < 1e300L) {
            QVERIFY2(err(y[k], refY, amplitude(k, x)) < tolerance, qPrintable(at));
        }
        if (k >= 2) {
            QCOMPARE(dj[k], j[k - 1] - k / x * j[k]);
            QCOMPARE(dy[k], y[k - 1] - k * y[k] / x);
        }
    }
}

void TestSpecfun2Bessel::jynBelowTinyArgument()
{
    int nm = -1;
    std::vector<double> j, dj, y, dy;
    BesselJYN(4, 1e-101, nm, j, dj, y, dy);
    QCOMPARE(nm, 4);
    QCOMPARE(j[0], 1.0);
    QCOMPARE(dj[1], 0.5);
    for (int k = 0; k <= 4; ++k) {
        if (k >= 1) {
            QCOMPARE(j[k], 0.0);
        }
        if (k != 1) {
            QCOMPARE(dj[k], 0.0);
        }
        QCOMPARE(y[k], -1e300);
        QCOMPARE(dy[k], 1e300);
    }
    // At 1e-100 itself the values are computed.
    BesselJYN(4, 1e-100, nm, j, dj, y, dy);
    QCOMPARE(j[1], 5e-101);
}

void TestSpecfun2Bessel::jynNegativeArgumentBySymmetry()
{
    for (double x : {2.0, 30.0}) {
        int nmPlus = -1;
        int nmMinus = -1;
        std::vector<double> j, dj, y, dy, jm, djm, ym, dym;
        BesselJYN(7, x, nmPlus, j, dj, y, dy);
        BesselJYN(7, -x, nmMinus, jm, djm, ym, dym);
        QCOMPARE(nmMinus, nmPlus);
        for (int k = 0; k <= 7; ++k) {
            const double sign = (k % 2 == 0) ? 1.0 : -1.0;
            QCOMPARE(jm[k], sign * j[k]);
            QCOMPARE(djm[k], -sign * dj[k]);
            QVERIFY(std::isnan(ym[k]) && std::isnan(dym[k]));
        }
    }
    // J2(-2) is J2(2), not 0.
    int nm = 0;
    std::vector<double> j, dj, y, dy;
    BesselJYN(2, -2.0, nm, j, dj, y, dy);
    QVERIFY(err(j[2], std::cyl_bessel_jl(2, 2.0L)) < 1e-13);
}

void TestSpecfun2Bessel::jynOrderBeyondReachLeavesZeros()
{
    int nm = -1;
    std::vector<double> j, dj, y, dy;
    BesselJYN(500, 1.0, nm, j, dj, y, dy);
    QCOMPARE(int(j.size()), 501);
    QVERIFY(nm < 500);
    QVERIFY(nm > 100);
    QCOMPARE(j[500], 0.0);
    QCOMPARE(y[500], 0.0);
    QCOMPARE(j[nm + 1], 0.0);
    // Up to nm the values hold; J_nm(1) is near 1e-200.
    QVERIFY(err(j[50], std::cyl_bessel_jl(50, 1.0L)) < 1e-13);
    QVERIFY(std::fabs(j[nm]) < 1e-190 && std::fabs(j[nm]) > 1e-215);
}

void TestSpecfun2Bessel::jynNonWholeOrderFillsIntegerPart()
{
    int nm = -1;
    std::vector<double> j, dj, y, dy;
    BesselJYN(2.5, 100.0, nm, j, dj, y, dy); // forward: orders up to 2, arrays to 2 (ties to even)
    QCOMPARE(int(j.size()), 3);
    QVERIFY(err(j[2], std::cyl_bessel_jl(2, 100.0L), amplitude(2, 100)) < 1e-13);
}

void TestSpecfun2Bessel::ik01AtZero()
{
    const IK r = ik01(0.0);
    QCOMPARE(r.i0, 1.0);
    QCOMPARE(r.di0, 0.0);
    QCOMPARE(r.i1, 0.0);
    QCOMPARE(r.di1, 0.5);
    QCOMPARE(r.k0, 1e300);
    QCOMPARE(r.k1, 1e300);
    QCOMPARE(r.dk0, -1e300);
    QCOMPARE(r.dk1, -1e300);
}

void TestSpecfun2Bessel::ik01AgainstOracle_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("toleranceI");
    QTest::addColumn<double>("toleranceK");
    // K0 loses digits to cancellation in its series towards x = 9 (1.3e-8 at 9
    // itself), and its expansion (8 terms) cannot do better than about 5e-9
    // just above 9.
    QTest::newRow("K series, small") << 1e-8 << 2.0 << 1e-14 << 1e-13;
    QTest::newRow("K series, up to 9") << 2.0 << 9.0 << 1e-14 << 2e-8;
    QTest::newRow("K asymptotic near 9") << 9.000001 << 12.0 << 1e-14 << 1e-8;
    QTest::newRow("K asymptotic, I series") << 12.0 << 18.0 << 1e-14 << 1e-10;
    QTest::newRow("I asymptotic, 12 terms") << 18.000001 << 35.0 << 3e-12 << 1e-11;
    QTest::newRow("I asymptotic, 9 and 7 terms") << 35.0 << 700.0 << 3e-13 << 3e-13;
}

void TestSpecfun2Bessel::ik01AgainstOracle()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, toleranceI);
    QFETCH(double, toleranceK);
    const int points = 300;
    for (int i = 0; i < points; ++i) {
        const double x = from + (to - from) * i / (points - 1);
        const IK r = ik01(x);
        const Real xl = x;
        const QString at = QString::number(x, 'g', 17);
        QVERIFY2(err(r.i0, std::cyl_bessel_il(0, xl)) < toleranceI, qPrintable(at));
        QVERIFY2(err(r.i1, std::cyl_bessel_il(1, xl)) < toleranceI, qPrintable(at));
        QVERIFY2(err(r.k0, std::cyl_bessel_kl(0, xl)) < toleranceK, qPrintable(at));
        QVERIFY2(err(r.k1, std::cyl_bessel_kl(1, xl)) < toleranceK, qPrintable(at));
    }
}

void TestSpecfun2Bessel::ik01WronskianHolds()
{
    for (double x : {0.3, 5.0, 9.0, 9.5, 18.0, 30.0}) {
        const IK r = ik01(x);
        QVERIFY(std::fabs((r.i0 * r.k1 + r.i1 * r.k0) * x - 1.0) < 1e-14);
        QCOMPARE(r.di0, r.i1);
        QCOMPARE(r.dk0, -r.k1);
        QCOMPARE(r.dk1, -r.k0 - r.k1 / x);
    }
}

void TestSpecfun2Bessel::ik01NegativeArgument()
{
    for (double x : {1.5, 25.0}) {
        const IK p = ik01(x);
        const IK m = ik01(-x);
        QCOMPARE(m.i0, p.i0);
        QCOMPARE(m.i1, -p.i1);
        QVERIFY(std::isnan(m.k0) && std::isnan(m.k1));
    }
}

void TestSpecfun2Bessel::iknAgainstOracle_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("toleranceI");
    QTest::addColumn<double>("toleranceK");
    QTest::newRow("backward, small x") << 15 << 0.5 << 1e-13 << 1e-13;
    QTest::newRow("backward, x 40") << 30 << 40.0 << 1e-13 << 1e-13;
    QTest::newRow("backward, K from its series near 9") << 6 << 8.5 << 1e-13 << 1e-8;
    QTest::newRow("backward, x > 40, n >= x/4") << 25 << 90.0 << 1e-13 << 1e-13;
    QTest::newRow("forward, x > 40, n < x/4") << 20 << 120.0 << 1e-13 << 1e-13;
}

void TestSpecfun2Bessel::iknAgainstOracle()
{
    QFETCH(int, order);
    QFETCH(double, x);
    QFETCH(double, toleranceI);
    QFETCH(double, toleranceK);
    int nm = -1;
    std::vector<double> i, di, k, dk;
    BesselIKN(order, x, nm, i, di, k, dk);
    QCOMPARE(nm, order);
    for (int n = 0; n <= order; ++n) {
        const Real xl = x;
        const QString at = QStringLiteral("order %1").arg(n);
        QVERIFY2(err(i[n], std::cyl_bessel_il(n, xl)) < toleranceI, qPrintable(at));
        QVERIFY2(err(k[n], std::cyl_bessel_kl(n, xl)) < toleranceK, qPrintable(at));
        if (n >= 2) {
            QCOMPARE(di[n], i[n - 1] - n / x * i[n]);
            QCOMPARE(dk[n], -k[n - 1] - n / x * k[n]);
        }
    }
}

void TestSpecfun2Bessel::iknZeroBranchIncludesTheLimit()
{
    int nm = -1;
    std::vector<double> i, di, k, dk;
    BesselIKN(3, 1e-100, nm, i, di, k, dk);
    QCOMPARE(i[0], 1.0);
    QCOMPARE(i[1], 0.0);
    QCOMPARE(di[1], 0.5);
    QCOMPARE(k[3], 1e300);
    QCOMPARE(dk[3], -1e300);
    BesselIKN(3, 2e-100, nm, i, di, k, dk);
    QCOMPARE(i[1], 1e-100);
}

void TestSpecfun2Bessel::iknNegativeArgumentBySymmetry()
{
    int nmPlus = -1;
    int nmMinus = -1;
    std::vector<double> i, di, k, dk, im, dim, km, dkm;
    BesselIKN(6, 3.0, nmPlus, i, di, k, dk);
    BesselIKN(6, -3.0, nmMinus, im, dim, km, dkm);
    for (int n = 0; n <= 6; ++n) {
        const double sign = (n % 2 == 0) ? 1.0 : -1.0;
        QCOMPARE(im[n], sign * i[n]);
        QCOMPARE(dim[n], -sign * di[n]);
        QVERIFY(std::isnan(km[n]));
    }
}

void TestSpecfun2Bessel::startOrdersReachTheirTargets()
{
    QVERIFY(std::fabs(Log10(1000.0) - 3.0) < 1e-15);
    // The magnitude estimate: about -log10 |Jn(x)| for n well above x.
    QVERIFY(std::fabs(BesselMagnitude(40, 1.0) + std::log10(std::cyl_bessel_j(40, 1.0))) < 1.0);

    for (double x : {0.5, 1.0, 10.0, 100.0}) {
        const int m = BackwardStartAll(x, 200);
        const long double jm = std::cyl_bessel_jl(m, static_cast<Real>(x));
        const double digits = -std::log10(std::fabs(static_cast<double>(jm)));
        QVERIFY2(digits > 190 && digits < 215, qPrintable(QString::number(x)));
    }
    // Starting far enough above n for 15 digits of Jn(x).
    for (auto [x, n] : {std::pair{1.0, 20}, std::pair{10.0, 12}, std::pair{30.0, 150}}) {
        const int m = BackwardStartOrder(x, n, 15);
        QVERIFY(m > n + 10);
        QVERIFY(m < n + 200);
    }
}

void TestSpecfun2Bessel::cosSinIntegralAtZero()
{
    double ci = 0;
    double si = 1;
    CosSinIntegral(0.0, ci, si);
    QCOMPARE(ci, -1e300);
    QCOMPARE(si, 0.0);
}

void TestSpecfun2Bessel::cosSinIntegralAgainstQuadrature_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("toleranceSi");
    QTest::addColumn<double>("toleranceCi");
    // Ci is measured against max(|Ci|, 1/x), its amplitude. Both series lose
    // digits to cancellation towards x = 16; the expansion is at its limit at 32.
    QTest::newRow("series, small") << 1e-6 << 4.0 << 1e-14 << 1e-14;
    QTest::newRow("series, up to 16") << 4.0 << 16.0 << 1e-11 << 3e-10;
    QTest::newRow("recurrence, 16 to 32") << 16.000001 << 32.0 << 1e-14 << 1e-12;
    QTest::newRow("asymptotic, above 32") << 32.000001 << 150.0 << 1e-13 << 5e-12;
}

void TestSpecfun2Bessel::cosSinIntegralAgainstQuadrature()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, toleranceSi);
    QFETCH(double, toleranceCi);
    const int points = 60;
    for (int i = 0; i < points; ++i) {
        const double x = from + (to - from) * i / (points - 1);
        double ci = 0;
        double si = 0;
        CosSinIntegral(x, ci, si);
        const QString at = QString::number(x, 'g', 17);
        QVERIFY2(err(si, siOracle(x)) < toleranceSi, qPrintable(at));
        QVERIFY2(err(ci, ciOracle(x), x > 0.5 ? 1.0 / x : 0.0) < toleranceCi, qPrintable(at));
    }
}

void TestSpecfun2Bessel::cosSinIntegralNegativeArgument()
{
    double ci = 0;
    double si = 0;
    double ciM = 0;
    double siM = 0;
    for (double x : {3.0, 20.0, 50.0}) {
        CosSinIntegral(x, ci, si);
        CosSinIntegral(-x, ciM, siM);
        QCOMPARE(siM, -si);
        QVERIFY(std::isnan(ciM));
    }
}

void TestSpecfun2Bessel::fresnelAtZero()
{
    double c = 1;
    double s = 1;
    FresnelCS(0.0, c, s);
    QCOMPARE(c, 0.0);
    QCOMPARE(s, 0.0);
}

void TestSpecfun2Bessel::fresnelAgainstQuadrature_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("series") << 1e-4 << 2.4999999 << 1e-13;
    QTest::newRow("recurrence from 2.5") << 2.5 << 4.4999999 << 1e-13;
    QTest::newRow("asymptotic from 4.5") << 4.5 << 25.0 << 1e-13;
}

void TestSpecfun2Bessel::fresnelAgainstQuadrature()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    const int points = 50;
    for (int i = 0; i < points; ++i) {
        const double x = from + (to - from) * i / (points - 1);
        double c = 0;
        double s = 0;
        FresnelCS(x, c, s);
        const QString at = QString::number(x, 'g', 17);
        QVERIFY2(err(c, fresnelOracle(x, false)) < tolerance, qPrintable(at));
        QVERIFY2(err(s, fresnelOracle(x, true)) < tolerance, qPrintable(at));
    }
}

void TestSpecfun2Bessel::fresnelIsOdd()
{
    for (double x : {0.3, 2.5, 4.5, 11.0}) {
        double c = 0, s = 0, cm = 0, sm = 0;
        FresnelCS(x, c, s);
        FresnelCS(-x, cm, sm);
        QCOMPARE(cm, -c);
        QCOMPARE(sm, -s);
    }
    double c = 0, s = 0;
    FresnelCS(1e6, c, s);
    QVERIFY(std::fabs(c - 0.5) < 1e-6 && std::fabs(s - 0.5) < 1e-6);
}

QTEST_GUILESS_MAIN(TestSpecfun2Bessel)
#include "test_specfun2_bessel.moc"
