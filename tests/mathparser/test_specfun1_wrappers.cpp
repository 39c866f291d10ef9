// The built-in function wrappers over the first half of the special
// functions: argument counts, whole-number arguments, refusals, and the
// distributions built on erf and ln gamma.

#include "mathparser/specfun1.h"
#include "test_specfun1_support.h"

#include <QtTest>

#include <cmath>
#include <initializer_list>
#include <vector>

using namespace supplink;

namespace {

using Wrapper = bool (*)(const double*, int, double&, QString&);

struct Outcome
{
    bool ok = false;
    double result = 0.0;
    QString error;
};

// Calls a wrapper with the given arguments; the result starts at a sentinel
// so that a failure can be seen to leave it alone.
Outcome run(Wrapper f, std::initializer_list<double> args)
{
    const std::vector<double> a(args);
    Outcome o;
    o.result = -12345.0;
    o.ok = f(a.data(), static_cast<int>(a.size()), o.result, o.error);
    return o;
}

} // namespace

Q_DECLARE_METATYPE(Wrapper)

class TestSpecFun1Wrappers : public QObject
{
    Q_OBJECT

private slots:
    void argumentCountIsChecked_data();
    void argumentCountIsChecked();
    void values_data();
    void values();
    void refusals_data();
    void refusals();
    void wholeArgumentsTolerateRounding();
    void cumulativePoissonSumsTheTerms();
};

void TestSpecFun1Wrappers::argumentCountIsChecked_data()
{
    QTest::addColumn<Wrapper>("f");
    QTest::addColumn<int>("count");
    const struct
    {
        const char* name;
        Wrapper f;
        int count;
    } table[] = {{"erf", sf_erf, 1},
                 {"gamma", sf_gamma, 1},
                 {"gammaln", sf_gammaln, 1},
                 {"digamma", sf_digamma, 1},
                 {"psi", sf_psi, 1},
                 {"beta", sf_beta, 2},
                 {"zeta", sf_zeta, 1},
                 {"ei", sf_ei, 1},
                 {"ein", sf_ein, 2},
                 {"cnorm", sf_cnorm, 3},
                 {"dpoisson", sf_dpoisson, 2},
                 {"cpoisson", sf_cpoisson, 2},
                 {"polyle", sf_polyle, 2},
                 {"polyhe", sf_polyhe, 2},
                 {"polyla", sf_polyla, 2},
                 {"polych", sf_polych, 2},
                 {"wtri", sf_wtri, 2},
                 {"wsqr", sf_wsqr, 2},
                 {"wsaw", sf_wsaw, 2},
                 {"wraise", sf_wraise, 2},
                 {"wparab", sf_wparab, 2},
                 {"wrect", sf_wrect, 3},
                 {"wpulse", sf_wpulse, 3},
                 {"wtrapez", sf_wtrapez, 3},
                 {"wlin", sf_wlin, 3},
                 {"wsteps", sf_wsteps, 3},
                 {"wexp", sf_wexp, 3},
                 {"wexpb", sf_wexpb, 3},
                 {"wpulsef", sf_wpulsef, 3},
                 {"wripple", sf_wripple, 3},
                 {"wring", sf_wring, 4},
                 {"wam", sf_wam, 4},
                 {"wfm", sf_wfm, 4}};
    for (const auto& row : table) {
        QTest::newRow(row.name) << row.f << row.count;
    }
}

void TestSpecFun1Wrappers::argumentCountIsChecked()
{
    QFETCH(Wrapper, f);
    QFETCH(int, count);
    const double args[5] = {2.0, 3.0, 0.4, 0.2, 0.1};
    double result = -1.0;
    QString error;
    QVERIFY(f(args, count, result, error));
    for (int wrong : {count - 1, count + 1}) {
        result = -1.0;
        error.clear();
        QVERIFY(!f(args, wrong, result, error));
        QCOMPARE(error, SpecFault::argumentCount());
        SPEC_EXACT(result, -1.0);
    }
}

void TestSpecFun1Wrappers::values_data()
{
    QTest::addColumn<Wrapper>("f");
    QTest::addColumn<std::vector<double>>("args");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("erf(-15)") << Wrapper(sf_erf) << std::vector<double>{-15.0} << -1.0 << 0.0;
    QTest::newRow("gamma(-0.5)") << Wrapper(sf_gamma) << std::vector<double>{-0.5} << -3.5449077018110320
                                 << 2e-15;
    QTest::newRow("gamma(5)") << Wrapper(sf_gamma) << std::vector<double>{5.0} << 24.0 << 1e-14;
    QTest::newRow("gammaln(-1.5)") << Wrapper(sf_gammaln) << std::vector<double>{-1.5} << 0.86004701537648098
                                   << 1e-14;
    QTest::newRow("psi(1)") << Wrapper(sf_psi) << std::vector<double>{1.0} << -0.57721566490153286 << 1e-15;
    QTest::newRow("beta(2, 3)") << Wrapper(sf_beta) << std::vector<double>{2.0, 3.0} << 1.0 / 12.0 << 1e-14;
    QTest::newRow("zeta(0)") << Wrapper(sf_zeta) << std::vector<double>{0.0} << -0.5 << 0.0;
    QTest::newRow("ei(-1)") << Wrapper(sf_ei) << std::vector<double>{-1.0} << -0.2193839343955203 << 5e-15;
    QTest::newRow("ein(1, 1)") << Wrapper(sf_ein) << std::vector<double>{1.0, 1.0} << 0.2193839343955203
                               << 5e-15;
    QTest::newRow("ein(0, 2)") << Wrapper(sf_ein) << std::vector<double>{0.0, 2.0} << 1.0 << 0.0;
    QTest::newRow("cnorm(0, 0, 1)") << Wrapper(sf_cnorm) << std::vector<double>{0.0, 0.0, 1.0} << 0.5 << 0.0;
    QTest::newRow("cnorm(1.96, 0, 1)")
        << Wrapper(sf_cnorm) << std::vector<double>{1.96, 0.0, 1.0} << 0.97500210485177952 << 1e-15;
    QTest::newRow("cnorm(13, 10, 2)")
        << Wrapper(sf_cnorm) << std::vector<double>{13.0, 10.0, 2.0} << 0.93319279873114191 << 1e-15;
    // Far in the left tail erf stays odd, so the distribution goes to 0, not 0.5.
    QTest::newRow("cnorm(-40, 0, 1)")
        << Wrapper(sf_cnorm) << std::vector<double>{-40.0, 0.0, 1.0} << 0.0 << 0.0;
    QTest::newRow("dpoisson(2, 3)") << Wrapper(sf_dpoisson) << std::vector<double>{2.0, 3.0}
                                    << 0.22404180765538775 << 1e-14;
    QTest::newRow("dpoisson(0, 2.5)")
        << Wrapper(sf_dpoisson) << std::vector<double>{0.0, 2.5} << std::exp(-2.5) << 1e-14;
    QTest::newRow("cpoisson(-1, 2)") << Wrapper(sf_cpoisson) << std::vector<double>{-1.0, 2.0} << 0.0 << 0.0;
    QTest::newRow("polyle(0.5, 2)") << Wrapper(sf_polyle) << std::vector<double>{0.5, 2.0} << -0.125 << 0.0;
    QTest::newRow("polyhe(1, 3)") << Wrapper(sf_polyhe) << std::vector<double>{1.0, 3.0} << -4.0 << 0.0;
    QTest::newRow("polyla(1, 2)") << Wrapper(sf_polyla) << std::vector<double>{1.0, 2.0} << -1.0 << 0.0;
    QTest::newRow("polych(0.5, 3)") << Wrapper(sf_polych) << std::vector<double>{0.5, 3.0} << -1.0 << 0.0;
    QTest::newRow("polych(0.5, -1)") << Wrapper(sf_polych) << std::vector<double>{0.5, -1.0} << 0.0 << 0.0;
    QTest::newRow("wtri(0.25, 1)") << Wrapper(sf_wtri) << std::vector<double>{0.25, 1.0} << 0.0 << 0.0;
    QTest::newRow("wlin(0.5, 1, 0.5)")
        << Wrapper(sf_wlin) << std::vector<double>{0.5, 1.0, 0.5} << 1.0 << 0.0;
    QTest::newRow("wsteps(0.5, 1, 5)")
        << Wrapper(sf_wsteps) << std::vector<double>{0.5, 1.0, 5.0} << 0.5 << 0.0;
    QTest::newRow("wring(0.125, 1, 0, 2)") << Wrapper(sf_wring) << std::vector<double>{0.125, 1.0, 0.0, 2.0}
                                           << std::sin(6.28318530717958 * 0.25) << 0.0;
}

void TestSpecFun1Wrappers::values()
{
    QFETCH(Wrapper, f);
    QFETCH(std::vector<double>, args);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    double result = 0.0;
    QString error;
    QVERIFY2(f(args.data(), static_cast<int>(args.size()), result, error), qPrintable(error));
    QVERIFY(error.isEmpty());
    if (tolerance == 0.0) {
        SPEC_EXACT(result, expected);
    } else {
        SPEC_COMPARE("wrapper", args[0], result, expected, tolerance, 0.0);
    }
}

void TestSpecFun1Wrappers::refusals_data()
{
    QTest::addColumn<Wrapper>("f");
    QTest::addColumn<std::vector<double>>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("gamma(0)") << Wrapper(sf_gamma) << std::vector<double>{0.0} << SpecFault::pole();
    QTest::newRow("gamma(-2)") << Wrapper(sf_gamma) << std::vector<double>{-2.0} << SpecFault::pole();
    QTest::newRow("gamma(200)") << Wrapper(sf_gamma) << std::vector<double>{200.0} << SpecFault::overflow();
    QTest::newRow("gammaln(-0.5)") << Wrapper(sf_gammaln) << std::vector<double>{-0.5}
                                   << SpecFault::invalidArgument();
    QTest::newRow("digamma(0)") << Wrapper(sf_digamma) << std::vector<double>{0.0}
                                << SpecFault::divisionByZero();
    QTest::newRow("beta(0, 1)") << Wrapper(sf_beta) << std::vector<double>{0.0, 1.0} << SpecFault::pole();
    QTest::newRow("beta(-300.5, 1.5)")
        << Wrapper(sf_beta) << std::vector<double>{-300.5, 1.5} << SpecFault::invalidArgument();
    QTest::newRow("zeta(1)") << Wrapper(sf_zeta) << std::vector<double>{1.0} << SpecFault::divisionByZero();
    QTest::newRow("ei(0)") << Wrapper(sf_ei) << std::vector<double>{0.0} << SpecFault::pole();
    QTest::newRow("ei(710)") << Wrapper(sf_ei) << std::vector<double>{710.0} << SpecFault::overflow();
    QTest::newRow("ein(0, 0)") << Wrapper(sf_ein) << std::vector<double>{0.0, 0.0} << SpecFault::pole();
    QTest::newRow("ein(0, 1)") << Wrapper(sf_ein) << std::vector<double>{0.0, 1.0} << SpecFault::pole();
    QTest::newRow("ein(-1, 1)") << Wrapper(sf_ein) << std::vector<double>{-1.0, 1.0}
                                << SpecFault::invalidArgument();
    QTest::newRow("ein(1, -1)") << Wrapper(sf_ein) << std::vector<double>{1.0, -1.0}
                                << SpecFault::invalidArgument();
    QTest::newRow("ein(1, 1.5)") << Wrapper(sf_ein) << std::vector<double>{1.0, 1.5} << SpecFault::notWhole();
    QTest::newRow("cnorm sigma 0") << Wrapper(sf_cnorm) << std::vector<double>{1.0, 1.0, 0.0}
                                   << SpecFault::divisionByZero();
    QTest::newRow("dpoisson(2.5, 1)")
        << Wrapper(sf_dpoisson) << std::vector<double>{2.5, 1.0} << SpecFault::notWhole();
    QTest::newRow("dpoisson(1, 0)") << Wrapper(sf_dpoisson) << std::vector<double>{1.0, 0.0}
                                    << SpecFault::invalidArgument();
    QTest::newRow("dpoisson(-1, 2)") << Wrapper(sf_dpoisson) << std::vector<double>{-1.0, 2.0}
                                     << SpecFault::pole();
    QTest::newRow("cpoisson(1.5, 2)")
        << Wrapper(sf_cpoisson) << std::vector<double>{1.5, 2.0} << SpecFault::notWhole();
    QTest::newRow("cpoisson(2, -1)") << Wrapper(sf_cpoisson) << std::vector<double>{2.0, -1.0}
                                     << SpecFault::invalidArgument();
    QTest::newRow("polyle(x, 2.5)") << Wrapper(sf_polyle) << std::vector<double>{0.5, 2.5}
                                    << SpecFault::notWhole();
    QTest::newRow("polych(x, 3e9)") << Wrapper(sf_polych) << std::vector<double>{0.5, 3e9}
                                    << SpecFault::overflow();
    QTest::newRow("polyhe overflow") << Wrapper(sf_polyhe) << std::vector<double>{10.0, 500.0}
                                     << SpecFault::overflow();
    QTest::newRow("wtri p=0") << Wrapper(sf_wtri) << std::vector<double>{1.0, 0.0}
                              << SpecFault::divisionByZero();
    QTest::newRow("wsteps n=1") << Wrapper(sf_wsteps) << std::vector<double>{0.5, 1.0, 1.0}
                                << SpecFault::divisionByZero();
    QTest::newRow("wlin d=1") << Wrapper(sf_wlin) << std::vector<double>{0.5, 1.0, 1.0}
                              << SpecFault::divisionByZero();
    QTest::newRow("wexp overflow") << Wrapper(sf_wexp) << std::vector<double>{0.5, 1.0, -1e4}
                                   << SpecFault::overflow();
}

void TestSpecFun1Wrappers::refusals()
{
    QFETCH(Wrapper, f);
    QFETCH(std::vector<double>, args);
    QFETCH(QString, error);
    double result = -12345.0;
    QString text;
    QVERIFY(!f(args.data(), static_cast<int>(args.size()), result, text));
    QCOMPARE(text, error);
    SPEC_EXACT(result, -12345.0);
}

void TestSpecFun1Wrappers::wholeArgumentsTolerateRounding()
{
    // Within 5e-14 of a whole number counts as that number.
    Outcome o = run(sf_polyle, {0.5, 2.00000000000001});
    QVERIFY(o.ok);
    SPEC_EXACT(o.result, -0.125);
    o = run(sf_polyle, {0.5, 1.99999999999996});
    QVERIFY(o.ok);
    SPEC_EXACT(o.result, -0.125);
    o = run(sf_polyle, {0.5, 2.0000000000001});
    QVERIFY(!o.ok);
    QCOMPARE(o.error, SpecFault::notWhole());
    o = run(sf_dpoisson, {3.00000000000001, 2.0});
    QVERIFY(o.ok);
    SPEC_COMPARE("dpoisson", 3.0, o.result, 8.0 * std::exp(-2.0) / 6.0, 1e-14, 0.0);
}

void TestSpecFun1Wrappers::cumulativePoissonSumsTheTerms()
{
    double sum = 0.0;
    for (int k = 0; k <= 6; ++k) {
        const Outcome term = run(sf_dpoisson, {double(k), 3.5});
        QVERIFY(term.ok);
        sum += term.result;
        const Outcome total = run(sf_cpoisson, {double(k), 3.5});
        QVERIFY(total.ok);
        SPEC_COMPARE("cpoisson", k, total.result, sum, 1e-15, 0.0);
    }
    // A huge k adds nothing once the terms have vanished: the sum is 1.
    const Outcome all = run(sf_cpoisson, {2e9, 3.5});
    QVERIFY(all.ok);
    SPEC_COMPARE("cpoisson", 2e9, all.result, 1.0, 1e-14, 0.0);
}

QTEST_APPLESS_MAIN(TestSpecFun1Wrappers)
#include "test_specfun1_wrappers.moc"
