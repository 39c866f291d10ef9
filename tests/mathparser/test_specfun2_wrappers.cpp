// The built-in names of the second half of the special functions: argument
// counts, domain checks, the choice of result and the refusals.

#include "mathparser/specfun2.h"

#include <QtTest>

#include <boost/math/special_functions/airy.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

using namespace supplink;

namespace {

using Wrapper = bool (*)(const double*, int, double&, QString&);
constexpr double kShortPi = 3.14159265358979;

struct Outcome
{
    bool ok = false;
    double value = -12345.0;
    QString error;
};

Outcome call(Wrapper f, std::initializer_list<double> args)
{
    const std::vector<double> v(args);
    Outcome o;
    o.ok = f(v.data(), static_cast<int>(v.size()), o.value, o.error);
    return o;
}

double rel(double v, long double ref)
{
    return std::fabs(v - static_cast<double>(ref)) / std::fabs(static_cast<double>(ref));
}

} // namespace

Q_DECLARE_METATYPE(Wrapper)

class TestSpecfun2Wrappers : public QObject
{
    Q_OBJECT

private slots:
    void wrongArgumentCountIsRefused_data();
    void wrongArgumentCountIsRefused();

    void besselValuesAndOrders();
    void besselOrderMustBeWhole();
    void besselNegativeArguments();
    void besselAtZero();
    void besselOrderBeyondReach();
    void besselOverflowIsRefused();

    void sineAndCosineIntegrals();
    void fresnelIntegrals();
    void airyFunctions();
    void ellipticIntegralsTakeRadians();
    void incompleteGamma();
    void incompleteBeta();
    void hypergeometric();
    void extremeArgumentsGiveNumberOrRefusal();
};

void TestSpecfun2Wrappers::wrongArgumentCountIsRefused_data()
{
    QTest::addColumn<Wrapper>("wrapper");
    QTest::addColumn<int>("count");
    QTest::newRow("besselj with 3") << Wrapper(sf_besselj) << 3;
    QTest::newRow("besselk with 0") << Wrapper(sf_besselk) << 0;
    QTest::newRow("j0 with 2") << Wrapper(sf_j0) << 2;
    QTest::newRow("y0 with 2") << Wrapper(sf_y0) << 2;
    QTest::newRow("i0 with 0") << Wrapper(sf_i0) << 0;
    QTest::newRow("k0 with 2") << Wrapper(sf_k0) << 2;
    QTest::newRow("si with 2") << Wrapper(sf_si) << 2;
    QTest::newRow("ci with 0") << Wrapper(sf_ci) << 0;
    QTest::newRow("fresnels with 2") << Wrapper(sf_fresnels) << 2;
    QTest::newRow("fresnelc with 2") << Wrapper(sf_fresnelc) << 2;
    QTest::newRow("airya with 2") << Wrapper(sf_airya) << 2;
    QTest::newRow("airyb with 0") << Wrapper(sf_airyb) << 0;
    QTest::newRow("elli1 with 1") << Wrapper(sf_elli1) << 1;
    QTest::newRow("elli2 with 3") << Wrapper(sf_elli2) << 3;
    QTest::newRow("gammai with 1") << Wrapper(sf_gammai) << 1;
    QTest::newRow("betai with 2") << Wrapper(sf_betai) << 2;
    QTest::newRow("hypgeom with 3") << Wrapper(sf_hypgeom) << 3;
}

void TestSpecfun2Wrappers::wrongArgumentCountIsRefused()
{
    QFETCH(Wrapper, wrapper);
    QFETCH(int, count);
    const double args[4] = {0.5, 0.5, 0.5, 0.5};
    double result = 7.0;
    QString error;
    QVERIFY(!wrapper(args, count, result, error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(result, 7.0);
}

void TestSpecfun2Wrappers::besselValuesAndOrders()
{
    const double x = 3.7;
    // The order defaults to 0; j0 and its kin always take order 0.
    QVERIFY(rel(call(sf_besselj, {x}).value, std::cyl_bessel_jl(0, 3.7L)) < 1e-14);
    QCOMPARE(call(sf_j0, {x}).value, call(sf_besselj, {x, 0}).value);
    QCOMPARE(call(sf_y0, {x}).value, call(sf_bessely, {x, 0}).value);
    QCOMPARE(call(sf_i0, {x}).value, call(sf_besseli, {x, 0}).value);
    QCOMPARE(call(sf_k0, {x}).value, call(sf_besselk, {x, 0}).value);
    for (int n : {0, 1, 2, 7}) {
        QVERIFY(rel(call(sf_besselj, {x, double(n)}).value, std::cyl_bessel_jl(n, 3.7L)) < 1e-13);
        QVERIFY(rel(call(sf_bessely, {x, double(n)}).value, std::cyl_neumannl(n, 3.7L)) < 1e-13);
        QVERIFY(rel(call(sf_besseli, {x, double(n)}).value, std::cyl_bessel_il(n, 3.7L)) < 1e-13);
        QVERIFY(rel(call(sf_besselk, {x, double(n)}).value, std::cyl_bessel_kl(n, 3.7L)) < 1e-13);
    }
    // An order within 5e-14 of a whole number counts as that number.
    QCOMPARE(call(sf_besselj, {x, 3.00000000000001}).value, call(sf_besselj, {x, 3}).value);
}

void TestSpecfun2Wrappers::besselOrderMustBeWhole()
{
    for (double order : {0.5, 2.5, -1.0, -2.0, 32768.0, std::nan("")}) {
        const Outcome o = call(sf_besselj, {2.0, order});
        QVERIFY2(!o.ok, qPrintable(QString::number(order)));
        QVERIFY(!o.error.isEmpty());
        QVERIFY(!call(sf_besselk, {2.0, order}).ok);
    }
}

void TestSpecfun2Wrappers::besselNegativeArguments()
{
    // J and I by symmetry for every order; Y and K have no real value.
    QVERIFY(rel(call(sf_besselj, {-2, 2}).value, std::cyl_bessel_jl(2, 2.0L)) < 1e-13);
    QVERIFY(rel(call(sf_besselj, {-2, 1}).value, -std::cyl_bessel_jl(1, 2.0L)) < 1e-13);
    QVERIFY(rel(call(sf_besselj, {-2, 3}).value, -std::cyl_bessel_jl(3, 2.0L)) < 1e-13);
    QVERIFY(rel(call(sf_j0, {-3}).value, std::cyl_bessel_jl(0, 3.0L)) < 1e-13);
    QVERIFY(rel(call(sf_besselj, {-40, 5}).value, -std::cyl_bessel_jl(5, 40.0L)) < 1e-12);
    QVERIFY(rel(call(sf_besseli, {-2, 3}).value, -std::cyl_bessel_il(3, 2.0L)) < 1e-13);
    QVERIFY(rel(call(sf_besseli, {-30, 0}).value, std::cyl_bessel_il(0, 30.0L)) < 1e-13);
    for (Wrapper w : {Wrapper(sf_bessely), Wrapper(sf_besselk)}) {
        for (double n : {0.0, 1.0, 4.0}) {
            const Outcome o = call(w, {-2, n});
            QVERIFY(!o.ok);
            QVERIFY(!o.error.isEmpty());
        }
    }
    QVERIFY(!call(sf_y0, {-1}).ok);
    QVERIFY(!call(sf_k0, {-1}).ok);
}

void TestSpecfun2Wrappers::besselAtZero()
{
    QCOMPARE(call(sf_j0, {0}).value, 1.0);
    QCOMPARE(call(sf_besselj, {0, 3}).value, 0.0);
    QCOMPARE(call(sf_y0, {0}).value, -1e300);
    QCOMPARE(call(sf_bessely, {0, 3}).value, -1e300);
    QCOMPARE(call(sf_k0, {0}).value, 1e300);
    QCOMPARE(call(sf_besselk, {0, 2}).value, 1e300);
    QCOMPARE(call(sf_besseli, {0, 2}).value, 0.0);
}

void TestSpecfun2Wrappers::besselOrderBeyondReach()
{
    // J500(1) is below 1e-1000: the recurrence stops earlier and gives 0.
    Outcome o = call(sf_besselj, {1, 500});
    QVERIFY(o.ok);
    QCOMPARE(o.value, 0.0);
    QCOMPARE(call(sf_besseli, {1, 500}).value, 0.0);
    // Y500(1) and K500(1) are far beyond every double: refused, not 0.
    QVERIFY(!call(sf_bessely, {1, 500}).ok);
    QVERIFY(!call(sf_besselk, {1, 500}).ok);
    // Large but representable orders still come out.
    QVERIFY(rel(call(sf_besselj, {1, 40}).value, std::cyl_bessel_jl(40, 1.0L)) < 1e-13);
    QVERIFY(rel(call(sf_bessely, {1, 40}).value, std::cyl_neumannl(40, 1.0L)) < 1e-13);
}

void TestSpecfun2Wrappers::besselOverflowIsRefused()
{
    QVERIFY(!call(sf_besseli, {800, 0}).ok);
    QVERIFY(!call(sf_besselk, {800, 0}).ok); // K comes from the overflowed I0
    QVERIFY(!call(sf_besselk, {800, 1}).ok);
    QVERIFY(!call(sf_bessely, {1e-5, 80}).ok);
    QVERIFY(call(sf_besselk, {700, 0}).ok);
}

void TestSpecfun2Wrappers::sineAndCosineIntegrals()
{
    const Outcome si = call(sf_si, {2.0});
    QVERIFY(si.ok);
    QVERIFY(std::fabs(si.value - 1.6054129768026948) < 1e-14);
    QCOMPARE(call(sf_si, {-2.0}).value, -si.value);
    QCOMPARE(call(sf_si, {-40.0}).value, -call(sf_si, {40.0}).value);
    QCOMPARE(call(sf_si, {0.0}).value, 0.0);
    const Outcome ci = call(sf_ci, {2.0});
    QVERIFY(std::fabs(ci.value - 0.42298082877486500) < 1e-14);
    QCOMPARE(call(sf_ci, {0.0}).value, -1e300);
    const Outcome negative = call(sf_ci, {-1.0});
    QVERIFY(!negative.ok);
    QVERIFY(!negative.error.isEmpty());
}

void TestSpecfun2Wrappers::fresnelIntegrals()
{
    QVERIFY(std::fabs(call(sf_fresnelc, {1.0}).value - 0.77989340037682282) < 1e-14);
    QVERIFY(std::fabs(call(sf_fresnels, {1.0}).value - 0.43825914739035476) < 1e-14);
    QCOMPARE(call(sf_fresnels, {-1.0}).value, -call(sf_fresnels, {1.0}).value);
}

void TestSpecfun2Wrappers::airyFunctions()
{
    QVERIFY(rel(call(sf_airya, {1.5}).value, boost::math::airy_ai(1.5L)) < 1e-13);
    QVERIFY(rel(call(sf_airyb, {1.5}).value, boost::math::airy_bi(1.5L)) < 1e-13);
    QCOMPARE(call(sf_airya, {300}).value, 0.0);
    QVERIFY(!call(sf_airyb, {300}).ok); // overflows
}

void TestSpecfun2Wrappers::ellipticIntegralsTakeRadians()
{
    for (double phi : {0.3, 1.2, 2.5}) {
        QVERIFY(rel(call(sf_elli1, {0.6, phi}).value, std::ellint_1l(0.6L, (long double)phi)) < 1e-13);
        QVERIFY(rel(call(sf_elli2, {0.6, phi}).value, std::ellint_2l(0.6L, (long double)phi)) < 1e-13);
    }
    // A quarter period written with the short pi is 90 degrees: the complete integrals.
    QCOMPARE(call(sf_elli1, {0, kShortPi / 2}).value, kShortPi / 2);
    QCOMPARE(call(sf_elli1, {1, kShortPi / 2}).value, 1e300);
    QCOMPARE(call(sf_elli2, {1, kShortPi / 2}).value, 1.0);
    const Outcome outside = call(sf_elli1, {1.5, 1.0});
    QVERIFY(!outside.ok);
    QVERIFY(!outside.error.isEmpty());
}

void TestSpecfun2Wrappers::incompleteGamma()
{
    // The lower function gamma(a, x).
    QVERIFY(rel(call(sf_gammai, {2, 1}).value, 1.0L - 2.0L / std::exp(1.0L)) < 1e-14);
    QVERIFY(rel(call(sf_gammai, {4.5, 9}).value, boost::math::tgamma_lower(4.5L, 9.0L)) < 1e-13);
    QCOMPARE(call(sf_gammai, {3, 0}).value, 0.0);
    const Outcome large = call(sf_gammai, {171, 1});
    QVERIFY(!large.ok);
    QCOMPARE(large.error, QString::fromLatin1(kIncompleteGammaTooLarge));
    QVERIFY(!call(sf_gammai, {2, -1}).ok);
    QVERIFY(!call(sf_gammai, {0, 1}).ok);
}

void TestSpecfun2Wrappers::incompleteBeta()
{
    // betai(x, a, b)
    QVERIFY(rel(call(sf_betai, {0.3, 2, 5}).value, boost::math::ibeta(2.0L, 5.0L, 0.3L)) < 1e-14);
    QVERIFY(std::fabs(call(sf_betai, {0.5, 50, 50}).value - 0.5) < 1e-13);
    QVERIFY(!call(sf_betai, {-0.5, 2.5, 3}).ok);
}

void TestSpecfun2Wrappers::hypergeometric()
{
    // hypgeom(x, a, b, c); F(1, 1; 2; x) = -ln(1 - x) / x
    QVERIFY(rel(call(sf_hypgeom, {0.5, 1, 1, 2}).value, -std::log(0.5L) / 0.5L) < 1e-14);
    QVERIFY(rel(call(sf_hypgeom, {-3, 1, 1, 2}).value, std::log(4.0L) / 3.0L) < 1e-13);
    const Outcome above = call(sf_hypgeom, {1.5, 1, 1, 2});
    QVERIFY(!above.ok);
    QVERIFY(!above.error.isEmpty());
    const Outcome divergent = call(sf_hypgeom, {0.5, 1, 1, -2});
    QVERIFY(!divergent.ok);
    QCOMPARE(divergent.error, QString::fromLatin1(kHypergeometricDivergent));
    const Outcome warned = call(sf_hypgeom, {1.0, 0.5, 0.25, 2.25});
    QVERIFY(!warned.ok);
    QCOMPARE(warned.error, QString::fromLatin1(kHypergeometricCheckAccuracy));
}

void TestSpecfun2Wrappers::extremeArgumentsGiveNumberOrRefusal()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values = {0.0,   -0.0, 1e-310, -1e-310, 1e-100, 0.5,   1.0,    -1.0, 2.0,  -7.0,
                                        171.0, 1e6,  -1e6,   1e20,    -1e20,  1e300, -1e300, inf,  -inf, nan};
    const Wrapper wrappers[] = {sf_besselj,  sf_bessely,  sf_besseli, sf_besselk, sf_j0,
                                sf_y0,       sf_i0,       sf_k0,      sf_si,      sf_ci,
                                sf_fresnels, sf_fresnelc, sf_airya,   sf_airyb,   sf_elli1,
                                sf_elli2,    sf_gammai,   sf_betai,   sf_hypgeom};
    std::vector<double> args(4);
    for (Wrapper w : wrappers) {
        for (int count = 1; count <= 4; ++count) {
            for (double v : values) {
                for (int slot = 0; slot < count; ++slot) {
                    std::fill(args.begin(), args.end(), 0.3);
                    args[slot] = v;
                    double result = 0.0;
                    QString error;
                    if (w(args.data(), count, result, error)) {
                        QVERIFY(std::isfinite(result));
                    } else {
                        QVERIFY(!error.isEmpty());
                    }
                }
            }
        }
    }
    // Whole negative parameters far out end the polynomial case early.
    QVERIFY(!call(sf_hypgeom, {0.5, -1e15, 0.5, 2.0}).ok);
    QVERIFY(call(sf_hypgeom, {1e-30, -1e15, 0.5, 2.0}).ok);
}

QTEST_GUILESS_MAIN(TestSpecfun2Wrappers)
#include "test_specfun2_wrappers.moc"
