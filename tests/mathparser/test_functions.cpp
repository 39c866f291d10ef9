// Evaluation loop and built-in functions of the expression evaluator: elementary functions
// against the standard library, the integer and rounding functions, distributions, dates, the
// evaluation errors with their messages, and the hand-over of the special functions.

#include "mathparser/functioncodes.h"
#include "mathparser/mathclock.h"
#include "mathparser/mathparser.h"
#include "mathparser/specialdispatch.h"
#include "mathparsertestutil.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <functional>

using namespace supplink;
using supplink::test::close;
using supplink::test::evaluate;
using supplink::test::Outcome;

namespace {

bool specialAvailable(int code, double argument)
{
    double result = 0;
    QString text;
    return evalSpecialFunction(code, &argument, 1, result, text);
}

} // namespace

class TestFunctions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { mathclock::SetClock({}); }

    void elementaryAgainstStandardLibrary_data();
    void elementaryAgainstStandardLibrary();
    void angleFunctions_data();
    void angleFunctions();
    void exactValues_data();
    void exactValues();
    void evaluationErrors_data();
    void evaluationErrors();
    void decimalSeparatorOfTheLocale();
    void distributions();
    void distributionsThroughSpecialFunctions();
    void dates();
    void clockConstants();
    void randomNumbers();
    void specialFunctionsAreHandedOver();
};

void TestFunctions::elementaryAgainstStandardLibrary_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("tolerance");

    QTest::newRow("sin") << "sin" << -10.0 << 10.0 << 1e-15;
    QTest::newRow("cos") << "cos" << -10.0 << 10.0 << 1e-15;
    QTest::newRow("tan") << "tan" << -1.5 << 1.5 << 1e-15;
    QTest::newRow("atn") << "atn" << -50.0 << 50.0 << 1e-15;
    QTest::newRow("atan") << "atan" << -50.0 << 50.0 << 1e-15;
    QTest::newRow("exp") << "exp" << -20.0 << 20.0 << 1e-15;
    QTest::newRow("ln") << "ln" << 0.01 << 100.0 << 1e-15;
    QTest::newRow("log") << "log" << 0.01 << 100.0 << 1e-15;
    QTest::newRow("sqr") << "sqr" << 0.0 << 100.0 << 1e-15;
    QTest::newRow("abs") << "abs" << -5.0 << 5.0 << 0.0;
    QTest::newRow("fix") << "fix" << -5.5 << 5.5 << 0.0;
    QTest::newRow("int") << "int" << -5.5 << 5.5 << 0.0;
    QTest::newRow("sgn") << "sgn" << -5.0 << 5.0 << 0.0;
    QTest::newRow("cbr") << "cbr" << -27.0 << 27.0 << 1e-15;
    QTest::newRow("neg") << "neg" << -5.0 << 5.0 << 0.0;
    QTest::newRow("sinh") << "sinh" << -20.0 << 20.0 << 1e-13;
    QTest::newRow("cosh") << "cosh" << -20.0 << 20.0 << 1e-14;
    QTest::newRow("tanh") << "tanh" << -20.0 << 20.0 << 1e-14;
    QTest::newRow("asinh") << "asinh" << -20.0 << 20.0 << 1e-12;
    QTest::newRow("acosh") << "acosh" << 1.0 << 20.0 << 1e-14;
    QTest::newRow("atanh") << "atanh" << -0.99 << 0.99 << 1e-14;
    QTest::newRow("asin") << "asin" << -1.0 << 1.0 << 1e-14;
    QTest::newRow("acos") << "acos" << -1.0 << 1.0 << 1e-14;
    QTest::newRow("csc") << "csc" << 0.1 << 3.0 << 1e-14;
    QTest::newRow("sec") << "sec" << -1.5 << 1.5 << 1e-14;
    QTest::newRow("cot") << "cot" << 0.1 << 3.0 << 1e-14;
    QTest::newRow("acsc") << "acsc" << 1.0 << 10.0 << 1e-14;
    QTest::newRow("asec") << "asec" << 1.0 << 10.0 << 1e-14;
    QTest::newRow("acot") << "acot" << -10.0 << 10.0 << 1e-14;
    QTest::newRow("csch") << "csch" << 0.1 << 10.0 << 1e-13;
    QTest::newRow("sech") << "sech" << -10.0 << 10.0 << 1e-13;
    QTest::newRow("coth") << "coth" << 0.1 << 10.0 << 1e-13;
    QTest::newRow("acsch") << "acsch" << 0.1 << 10.0 << 1e-13;
    QTest::newRow("asech") << "asech" << 0.1 << 1.0 << 1e-13;
    QTest::newRow("acoth") << "acoth" << 1.1 << 10.0 << 1e-13;
}

void TestFunctions::elementaryAgainstStandardLibrary()
{
    QFETCH(QString, name);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, tolerance);
    const double pi = 3.14159265358979; // the evaluator's own pi, where a formula names it
    const std::function<double(double)> reference = [&]() -> std::function<double(double)> {
        const QString n = name;
        if (n == "sin")
            return [](double x) { return std::sin(x); };
        if (n == "cos")
            return [](double x) { return std::cos(x); };
        if (n == "tan")
            return [](double x) { return std::tan(x); };
        if (n == "atn" || n == "atan")
            return [](double x) { return std::atan(x); };
        if (n == "exp")
            return [](double x) { return std::exp(x); };
        if (n == "ln" || n == "log")
            return [](double x) { return std::log(x); };
        if (n == "sqr")
            return [](double x) { return std::sqrt(x); };
        if (n == "abs")
            return [](double x) { return std::fabs(x); };
        if (n == "fix")
            return [](double x) { return std::trunc(x); };
        if (n == "int")
            return [](double x) { return std::floor(x); };
        if (n == "sgn")
            return [](double x) { return double((x > 0) - (x < 0)); };
        if (n == "cbr")
            return [](double x) { return std::cbrt(x); };
        if (n == "neg")
            return [](double x) { return -x; };
        if (n == "sinh")
            return [](double x) { return std::sinh(x); };
        if (n == "cosh")
            return [](double x) { return std::cosh(x); };
        if (n == "tanh")
            return [](double x) { return std::tanh(x); };
        if (n == "asinh")
            return [](double x) { return std::asinh(x); };
        if (n == "acosh")
            return [](double x) { return std::acosh(x); };
        if (n == "atanh")
            return [](double x) { return std::atanh(x); };
        if (n == "asin")
            return [pi](double x) { return std::fabs(x) == 1 ? x * pi / 2 : std::asin(x); };
        if (n == "acos")
            return [pi](double x) { return x == -1 ? pi : std::acos(x); };
        if (n == "csc")
            return [](double x) { return 1 / std::sin(x); };
        if (n == "sec")
            return [](double x) { return 1 / std::cos(x); };
        if (n == "cot")
            return [](double x) { return 1 / std::tan(x); };
        if (n == "acsc")
            return [](double x) { return std::asin(1 / x); };
        if (n == "asec")
            return [](double x) { return std::acos(1 / x); };
        if (n == "acot")
            return [pi](double x) { return pi / 2 - std::atan(x); };
        if (n == "csch")
            return [](double x) { return 1 / std::sinh(x); };
        if (n == "sech")
            return [](double x) { return 1 / std::cosh(x); };
        if (n == "coth")
            return [](double x) { return 1 / std::tanh(x); };
        if (n == "acsch")
            return [](double x) { return std::asinh(1 / x); };
        if (n == "asech")
            return [](double x) { return std::acosh(1 / x); };
        return [](double x) { return std::atanh(1 / x); };
    }();

    clsMathParser parser;
    QVERIFY(parser.StoreExpression(name + QStringLiteral("(x)")));
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        const double x = from + (to - from) * i / steps;
        parser.VarValue(1, x);
        const double value = parser.Eval();
        QVERIFY2(parser.ErrorID() == 0, qPrintable(parser.ErrorDescription()));
        const double expected = reference(x);
        const double scale = std::fmax(1e-300, std::fabs(expected));
        QVERIFY2(std::fabs(value - expected) <= tolerance * std::fmax(1.0, scale) ||
                     std::fabs(value - expected) <= tolerance * scale,
                 qPrintable(QStringLiteral("%1(%2) = %3, expected %4")
                                .arg(name)
                                .arg(x, 0, 'g', 17)
                                .arg(value, 0, 'g', 17)
                                .arg(expected, 0, 'g', 17)));
    }
}

void TestFunctions::angleFunctions_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("expected");
    const double pi = 3.14159265358979;
    QTest::newRow("sin DEG") << "DEG"
                             << "sin(90)" << 1.0;
    QTest::newRow("cos DEG") << "DEG"
                             << "cos(180)" << -1.0;
    QTest::newRow("tan DEG") << "DEG"
                             << "tan(45)" << std::tan(45 * (pi / 180));
    QTest::newRow("csc DEG") << "DEG"
                             << "csc(30)" << 1 / std::sin(30 * (pi / 180));
    QTest::newRow("atn DEG") << "DEG"
                             << "atn(1)" << std::atan(1.0) / (pi / 180);
    QTest::newRow("asin DEG") << "DEG"
                              << "asin(1)" << 90.0;
    QTest::newRow("acos DEG") << "DEG"
                              << "acos(-1)" << 180.0;
    QTest::newRow("acot DEG") << "DEG"
                              << "acot(0)" << 90.0;
    QTest::newRow("sin GRAD") << "GRAD"
                              << "sin(100)" << 1.0;
    QTest::newRow("asin GRAD") << "GRAD"
                               << "asin(1)" << 100.0;
    QTest::newRow("rad RAD") << "RAD"
                             << "rad(2)" << 2.0;
    QTest::newRow("rad DEG") << "DEG"
                             << "rad(pi)" << 180.0;
    QTest::newRow("deg RAD") << "RAD"
                             << "deg(180)" << pi;
    QTest::newRow("deg DEG") << "DEG"
                             << "deg(45)" << 45.0;
    QTest::newRow("grad RAD") << "RAD"
                              << "grad(200)" << pi;
    QTest::newRow("grad DEG") << "DEG"
                              << "grad(100)" << 90.0;
    QTest::newRow("sinh ignores the unit") << "DEG"
                                           << "sinh(1)" << std::sinh(1.0);
    QTest::newRow("degrees minutes seconds are degrees") << "DEG"
                                                         << "sin(29°60')" << 0.5;
}

void TestFunctions::angleFunctions()
{
    QFETCH(QString, unit);
    QFETCH(QString, expression);
    QFETCH(double, expected);
    clsMathParser parser;
    parser.AngleUnit(unit);
    QVERIFY(parser.StoreExpression(expression));
    const double value = parser.Eval();
    QCOMPARE(parser.ErrorID(), 0);
    QVERIFY2(close(value, expected, 1e-14), qPrintable(QString::number(value, 'g', 17)));
}

void TestFunctions::exactValues_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("expected");
    QTest::newRow("acos(-1) is the short pi") << "acos(-1)" << 3.14159265358979;
    QTest::newRow("acos(1)") << "acos(1)" << 0.0;
    QTest::newRow("asin(-1)") << "asin(-1)" << -3.14159265358979 / 2;
    QTest::newRow("round half down") << "round(2.5,0)" << 2.0;
    QTest::newRow("round up") << "round(2.51,0)" << 3.0;
    QTest::newRow("round negative half") << "round(-2.5,0)" << -3.0;
    QTest::newRow("round one decimal") << "round(1.25,1)" << 1.2;
    QTest::newRow("round to tens") << "round(1234,-1)" << 1230.0;
    QTest::newRow("fact(0)") << "fact(0)" << 1.0;
    QTest::newRow("fact(5)") << "fact(5)" << 120.0;
    QTest::newRow("fact nearly whole") << "fact(3.00000000000001)" << 6.0;
    QTest::newRow("fact(170) is finite") << "fact(170)>1e306" << 1.0;
    QTest::newRow("comb(5,2)") << "comb(5,2)" << 10.0;
    QTest::newRow("comb(5,5)") << "comb(5,5)" << 1.0;
    QTest::newRow("comb(5,0)") << "comb(5,0)" << 1.0;
    QTest::newRow("comb(5,6)") << "comb(5,6)" << 0.0;
    QTest::newRow("comb(0,0)") << "comb(0,0)" << 1.0;
    QTest::newRow("comb(10,7)") << "comb(10,7)" << 120.0;
    QTest::newRow("perm(5,2)") << "perm(5,2)" << 20.0;
    QTest::newRow("perm(5,0)") << "perm(5,0)" << 1.0;
    QTest::newRow("perm(5,6)") << "perm(5,6)" << 0.0;
    QTest::newRow("gcd(12,18)") << "gcd(12,18)" << 6.0;
    QTest::newRow("mcd(12,18)") << "mcd(12,18)" << 6.0;
    QTest::newRow("gcd(7,0)") << "gcd(7,0)" << 7.0;
    QTest::newRow("gcd(0,7)") << "gcd(0,7)" << 7.0;
    QTest::newRow("lcm(4,6)") << "lcm(4,6)" << 12.0;
    QTest::newRow("mcm(4,6)") << "mcm(4,6)" << 12.0;
    QTest::newRow("lcm(4,0)") << "lcm(4,0)" << 0.0;
    QTest::newRow("mod(7,3)") << "mod(7,3)" << 1.0;
    QTest::newRow("mod(-7,3)") << "mod(-7,3)" << -1.0;
    QTest::newRow("mod(7.5,2)") << "mod(7.5,2)" << 2.0;
    QTest::newRow("root(27,3)") << "root(27,3)" << 3.0;
    QTest::newRow("root(-27,3)") << "root(-27,3)" << -3.0;
    QTest::newRow("root(16,4)") << "root(16,4)" << 2.0;
    QTest::newRow("root(8,3.7)") << "root(8,3.7)" << 2.0;
    QTest::newRow("root(8,-3)") << "root(8,-3)" << 0.5;
    QTest::newRow("dec(5.25)") << "dec(5.25)" << 0.25;
    QTest::newRow("dec(-5.25)") << "dec(-5.25)" << -0.25;
    QTest::newRow("dec(123.1)") << "dec(123.1)" << 0.1;
    QTest::newRow("clip above") << "clip(5,0,3)" << 3.0;
    QTest::newRow("clip below") << "clip(-1,0,3)" << 0.0;
    QTest::newRow("clip inside") << "clip(2,0,3)" << 2.0;
    QTest::newRow("max") << "max(1,2)+max(2,1)" << 4.0;
    QTest::newRow("min") << "min(1,2)+min(2,1)" << 2.0;
    QTest::newRow("logn") << "logn(8,2)" << 3.0;
    QTest::newRow("power") << "2^10" << 1024.0;
    QTest::newRow("square") << "(-3)^2" << 9.0;
    QTest::newRow("0^2") << "0^2" << 0.0;
    QTest::newRow("2^0") << "2^0" << 1.0;
    QTest::newRow("percent") << "25%" << 0.25;
    QTest::newRow("not") << "not(3)+not(0)" << 1.0;
}

void TestFunctions::exactValues()
{
    QFETCH(QString, expression);
    QFETCH(double, expected);
    const Outcome outcome = evaluate(expression);
    QVERIFY2(outcome.stored && outcome.error == 0, qPrintable(outcome.message));
    QCOMPARE(outcome.value, expected);
}

void TestFunctions::evaluationErrors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");

    QTest::newRow("division by zero") << "1/0" << 16 << 2 << "Evaluatie fout < 1 / 0 > op positie: 2";
    QTest::newRow("zero to the zero") << "0^0" << 16 << 2 << "Evaluatie fout < 0 ^ 0 > op positie: 2";
    QTest::newRow("overflow") << "1e308*10" << 16 << 6 << "Evaluatie fout < 1E+308 * 10 > op positie: 6";
    QTest::newRow("negative root") << "(-8)^(1/3)" << 16 << 5
                                   << "Evaluatie fout < -8 ^ 0.333333333333333 > op positie: 5";
    QTest::newRow("integer quotient by zero")
        << "5\\0.4" << 16 << 2 << "Evaluatie fout < 5 \\ 0.4 > op positie: 2";
    QTest::newRow("square root") << "sqr(-1)" << 14 << 4 << "Evaluatie fout < sqr(-1) > op positie: 4";
    QTest::newRow("name as written") << "2+SQR(-1)" << 14 << 6 << "Evaluatie fout < SQR(-1) > op positie: 6";
    QTest::newRow("logarithm of 0") << "ln(0)" << 14 << 3 << "Evaluatie fout < ln(0) > op positie: 3";
    QTest::newRow("exp overflow") << "exp(1000)" << 14 << 4 << "Evaluatie fout < exp(1000) > op positie: 4";
    QTest::newRow("acos outside") << "acos(2)" << 14 << 5 << "Evaluatie fout < acos(2) > op positie: 5";
    QTest::newRow("fact(171)") << "fact(171)" << 14 << 5 << "Evaluatie fout < fact(171) > op positie: 5";
    QTest::newRow("fact(2.5)") << "fact(2.5)" << 14 << 5 << "Evaluatie fout < fact(2.5) > op positie: 5";
    QTest::newRow("fact(-1)") << "fact(-1)" << 14 << 5 << "Evaluatie fout < fact(-1) > op positie: 5";
    QTest::newRow("postfix factorial") << "(-1)!" << 14 << 5 << "Evaluatie fout < !(-1) > op positie: 5";
    QTest::newRow("dec(0)") << "dec(0)" << 14 << 4 << "Evaluatie fout < dec(0) > op positie: 4";
    QTest::newRow("negated bars") << "-|ln(0)|" << 14 << 5 << "Evaluatie fout < ln(0) > op positie: 5";
    QTest::newRow("gcd negative") << "gcd(-4,2)" << 15 << 7 << "Evaluatie fout < gcd(-4, 2) > op positie: 7";
    QTest::newRow("lcm(0,0)") << "lcm(0,0)" << 15 << 6 << "Evaluatie fout < lcm(0, 0) > op positie: 6";
    QTest::newRow("lcm overflow") << "lcm(65536,65537)" << 15 << 10
                                  << "Evaluatie fout < lcm(65536, 65537) > op positie: 10";
    QTest::newRow("comb negative") << "comb(-1,2)" << 15 << 8
                                   << "Evaluatie fout < comb(-1, 2) > op positie: 8";
    QTest::newRow("even root of negative")
        << "root(-16,4)" << 15 << 9 << "Evaluatie fout < root(-16, 4) > op positie: 9";
    QTest::newRow("root of order 0") << "root(8,0.5)" << 15 << 7
                                     << "Evaluatie fout < root(8, 0.5) > op positie: 7";
    QTest::newRow("round to a fraction")
        << "round(2,0.5)" << 15 << 8 << "Evaluatie fout < round(2, 0.5) > op positie: 8";
    QTest::newRow("mod by 0") << "mod(5,0)" << 15 << 6 << "Evaluatie fout < mod(5, 0) > op positie: 6";
    QTest::newRow("clip reversed") << "clip(1,3,0)" << 17 << 7
                                   << "Evaluatie fout < clip(1,3,0) > op positie: 7";
    QTest::newRow("clip negated") << "-clip(1,3,0)" << 17 << 8
                                  << "Evaluatie fout < clip(1,3,0) > op positie: 8";
    QTest::newRow("first failing row in order")
        << "sqr(-1)+1/0" << 14 << 4 << "Evaluatie fout < sqr(-1) > op positie: 4";
    QTest::newRow("condition true") << "(2<3)*(1/0)" << 16 << 9 << "Evaluatie fout < 1 / 0 > op positie: 9";
}

void TestFunctions::evaluationErrors()
{
    QFETCH(QString, expression);
    QFETCH(int, error);
    QFETCH(int, position);
    QFETCH(QString, message);
    ClearMathParserSignal();
    const Outcome outcome = evaluate(expression);
    QVERIFY(outcome.stored);
    QCOMPARE(outcome.value, 0.0);
    QCOMPARE(outcome.error, error);
    QCOMPARE(outcome.position, position);
    QCOMPARE(outcome.message, message);
    QCOMPARE(LastMathParserSignal().number, 1001);
    QCOMPARE(LastMathParserSignal().description, message);
}

void TestFunctions::decimalSeparatorOfTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    const Outcome outcome = evaluate(QStringLiteral("sqr(-1.5)"));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(outcome.message, QStringLiteral("Evaluatie fout < sqr(-1,5) > op positie: 4"));
    // expressions always read "." as the decimal point
    QCOMPARE(evaluate(QStringLiteral("1.5*2")).value, 3.0);
}

void TestFunctions::distributions()
{
    const double pi2 = 6.28318530717958;
    QCOMPARE(evaluate(QStringLiteral("dbinom(0,3,0.5)")).value, 0.125);
    QCOMPARE(evaluate(QStringLiteral("dbinom(3,3,0.5)")).value, 0.125);
    QCOMPARE(evaluate(QStringLiteral("dbinom(1,3,0.5)")).value, 0.375);
    QCOMPARE(evaluate(QStringLiteral("cbinom(3,3,0.5)")).value, 1.0);
    QCOMPARE(evaluate(QStringLiteral("cbinom(0,3,0.5)")).value, 0.125);
    QCOMPARE(evaluate(QStringLiteral("cbinom(1,3,0.5)")).value, 0.5);
    QCOMPARE(evaluate(QStringLiteral("dbinom(4,3,0.5)")).error, 17); // k above n
    for (double x : {-2.0, 0.0, 0.5, 3.0}) {
        const Outcome outcome = evaluate(QStringLiteral("dnorm(x,0.5,2)"), QStringLiteral("x=%1").arg(x));
        const double expected = std::exp(-(x - 0.5) * (x - 0.5) / 8) / (std::sqrt(pi2) * 2);
        QVERIFY(close(outcome.value, expected, 1e-15));
    }
    QCOMPARE(evaluate(QStringLiteral("dnorm(1,0,0)")).error, 17);
}

void TestFunctions::distributionsThroughSpecialFunctions()
{
    // cnorm uses the error function, dpoisson and cpoisson the logarithm of gamma, all from the
    // special-function library.
    const Outcome cnorm = evaluate(QStringLiteral("cnorm(1,0.5,2)"));
    if (specialAvailable(mathfn::Erf, 0.5)) {
        QCOMPARE(cnorm.error, 0);
        QVERIFY(close(cnorm.value, (std::erf(0.5 / (std::sqrt(2.0) * 2)) + 1) / 2, 1e-13));
    } else {
        QCOMPARE(cnorm.error, 17);
        QCOMPARE(cnorm.message, QStringLiteral("Evaluatie fout < cnorm(1,0.5,2) > op positie: 8"));
    }
    const Outcome dpoisson = evaluate(QStringLiteral("dpoisson(3,2)"));
    const Outcome cpoisson = evaluate(QStringLiteral("cpoisson(3,2)"));
    if (specialAvailable(mathfn::Gammaln, 4)) {
        QVERIFY(close(dpoisson.value, std::exp(3 * std::log(2.0) - 2) / 6, 1e-13));
        QVERIFY(close(cpoisson.value, std::exp(-2.0) * (1 + 2 + 2 + 8.0 / 6), 1e-13));
        QCOMPARE(evaluate(QStringLiteral("dpoisson(2.5,2)")).error, 15);
    } else {
        QCOMPARE(dpoisson.error, 15);
        QCOMPARE(cpoisson.error, 15);
    }
}

void TestFunctions::dates()
{
    const QDate epoch(1899, 12, 30);
    const double serial = epoch.daysTo(QDate(2024, 3, 15));
    QCOMPARE(evaluate(QStringLiteral("DateSerial(2024,3,15)")).value, serial);
    QCOMPARE(evaluate(QStringLiteral("DateSerial(2024,2,30)")).value,
             double(epoch.daysTo(QDate(2024, 3, 1))));
    QCOMPARE(evaluate(QStringLiteral("DateSerial(2024,13,1)")).value,
             double(epoch.daysTo(QDate(2025, 1, 1))));
    QCOMPARE(evaluate(QStringLiteral("DateSerial(2024,1,0)")).value,
             double(epoch.daysTo(QDate(2023, 12, 31))));
    QCOMPARE(evaluate(QStringLiteral("DateSerial(24,3,15)")).value, serial);
    QCOMPARE(evaluate(QStringLiteral("DateSerial(99,1,1)")).value, double(epoch.daysTo(QDate(1999, 1, 1))));
    QCOMPARE(evaluate(QStringLiteral("DateSerial(1899,12,30)")).value, 0.0);
    QCOMPARE(evaluate(QStringLiteral("DateSerial(40000,1,1)")).error, 17);
    QCOMPARE(evaluate(QStringLiteral("TimeSerial(18,0,0)")).value, 0.75);
    QCOMPARE(evaluate(QStringLiteral("TimeSerial(6,30,30)")).value, (6 * 3600 + 30 * 60 + 30) / 86400.0);

    const QString moment = QString::number(serial + 0.75 + 61 / 86400.0, 'g', 17);
    QCOMPARE(evaluate(QStringLiteral("year(%1)").arg(moment)).value, 2024.0);
    QCOMPARE(evaluate(QStringLiteral("month(%1)").arg(moment)).value, 3.0);
    QCOMPARE(evaluate(QStringLiteral("day(%1)").arg(moment)).value, 15.0);
    QCOMPARE(evaluate(QStringLiteral("hour(%1)").arg(moment)).value, 18.0);
    QCOMPARE(evaluate(QStringLiteral("minute(%1)").arg(moment)).value, 1.0);
    QCOMPARE(evaluate(QStringLiteral("second(%1)").arg(moment)).value, 1.0);
    QCOMPARE(evaluate(QStringLiteral("day(0)")).value, 30.0);
    QCOMPARE(evaluate(QStringLiteral("year(DateSerial(2000,6,1)+TimeSerial(23,59,59))")).value, 2000.0);
    QCOMPARE(evaluate(QStringLiteral("year(1e10)")).error, 14);
}

void TestFunctions::clockConstants()
{
    const QDateTime fixed(QDate(2024, 3, 15), QTime(18, 0, 30, 500));
    mathclock::SetClock([fixed] { return fixed; });
    const double serial = QDate(1899, 12, 30).daysTo(QDate(2024, 3, 15));
    const double time = (18 * 3600 + 30) / 86400.0;
    QCOMPARE(evaluate(QStringLiteral("date#")).value, serial);
    QCOMPARE(evaluate(QStringLiteral("DATE#")).value, serial);
    QCOMPARE(evaluate(QStringLiteral("Time#")).value, time);
    QCOMPARE(evaluate(QStringLiteral("now#")).value, serial + time);
    QCOMPARE(evaluate(QStringLiteral("year(now#)")).value, 2024.0);
    mathclock::SetClock({});
    QVERIFY(std::fabs(evaluate(QStringLiteral("now#")).value -
                      (QDate(1899, 12, 30).daysTo(QDate::currentDate()) +
                       QTime::currentTime().msecsSinceStartOfDay() / 86400000.0)) < 0.01);
}

void TestFunctions::randomNumbers()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("rnd(10)")));
    QSet<double> seen;
    for (int i = 0; i < 100; ++i) {
        const double value = parser.Eval();
        QVERIFY(value >= 0 && value < 10);
        seen.insert(value);
    }
    QVERIFY(seen.size() > 90); // a new number at every evaluation
}

void TestFunctions::specialFunctionsAreHandedOver()
{
    // Every special function reaches the special-function library with its code and arguments;
    // an answer is a value, a refusal an evaluation error of the call.
    struct Call
    {
        const char* expression;
        int code;
        int error; // when refused
    };
    const Call calls[] = {
        {"erf(0.5)", mathfn::Erf, 14},
        {"gamma(0.5)", mathfn::Gamma, 14},
        {"gammaln(0.5)", mathfn::Gammaln, 14},
        {"digamma(0.5)", mathfn::Digamma, 14},
        {"psi(0.5)", mathfn::Digamma, 14},
        {"zeta(2)", mathfn::Zeta, 14},
        {"ei(0.5)", mathfn::Ei, 14},
        {"airya(0.5)", mathfn::AiryA, 14},
        {"airyb(0.5)", mathfn::AiryB, 14},
        {"si(0.5)", mathfn::Si, 14},
        {"ci(0.5)", mathfn::Ci, 14},
        {"fresnels(0.5)", mathfn::FresnelS, 14},
        {"fresnelc(0.5)", mathfn::FresnelC, 14},
        {"j0(0.5)", mathfn::J0, 14},
        {"y0(0.5)", mathfn::Y0, 14},
        {"i0(0.5)", mathfn::I0, 14},
        {"k0(0.5)", mathfn::K0, 14},
        {"beta(2,3)", mathfn::Beta, 15},
        {"ein(0.5,1)", mathfn::Ein, 15},
        {"besselj(0.5,2)", mathfn::BesselJ, 15},
        {"bessely(0.5,2)", mathfn::BesselY, 15},
        {"besseli(0.5,2)", mathfn::BesselI, 15},
        {"besselk(0.5,2)", mathfn::BesselK, 15},
        {"gammai(2,0.5)", mathfn::GammaI, 15},
        {"polyle(0.5,2)", mathfn::PolyLe, 15},
        {"polyhe(0.5,2)", mathfn::PolyHe, 15},
        {"polych(0.5,2)", mathfn::PolyCh, 15},
        {"polyla(0.5,2)", mathfn::PolyLa, 15},
        {"elli1(0.5,1)", mathfn::Elli1, 15},
        {"elli2(0.5,1)", mathfn::Elli2, 15},
        {"wtri(0.25,1)", mathfn::WTri, 15},
        {"wsqr(0.25,1)", mathfn::WSqr, 15},
        {"wsaw(0.25,1)", mathfn::WSaw, 15},
        {"wraise(0.25,1)", mathfn::WRaise, 15},
        {"wparab(0.25,1)", mathfn::WParab, 15},
        {"betai(0.5,2,3)", mathfn::BetaI, 17},
        {"wrect(0.1,1,0.2)", mathfn::WRect, 17},
        {"wtrapez(0.1,1,0.2)", mathfn::WTrapez, 17},
        {"wlin(0.1,1,0.5)", mathfn::WLin, 17},
        {"wpulse(0.1,1,0.2)", mathfn::WPulse, 17},
        {"wsteps(0.5,1,5)", mathfn::WSteps, 17},
        {"wexp(1.5,1,2)", mathfn::WExp, 17},
        {"wexpb(1.5,1,2)", mathfn::WExpB, 17},
        {"wpulsef(1.5,1,2)", mathfn::WPulseF, 17},
        {"wripple(1.5,1,2)", mathfn::WRipple, 17},
        {"hypgeom(0.5,1,1,2)", mathfn::HypGeom, 17},
        {"wring(0.5,1,1,2)", mathfn::WRing, 17},
        {"wam(0.5,1,1,0)", mathfn::WAm, 17},
        {"wfm(0.5,1,1,0)", mathfn::WFm, 17},
    };
    for (const Call& call : calls) {
        const QString expression = QString::fromLatin1(call.expression);
        QVERIFY(mathfn::isSpecialFunction(call.code));
        const Outcome outcome = evaluate(expression);
        QStringList arguments = expression.mid(expression.indexOf('(') + 1).chopped(1).split(',');
        std::vector<double> args;
        for (const QString& a : arguments)
            args.push_back(a.toDouble());
        // what the library itself answers for these arguments
        double direct = 0;
        QString text;
        const bool available = evalSpecialFunction(call.code, args.data(), int(args.size()), direct, text);
        if (available && std::isfinite(direct)) {
            QVERIFY2(outcome.error == 0, qPrintable(expression + ": " + outcome.message));
            QCOMPARE(outcome.value, direct);
        } else {
            QVERIFY2(outcome.error == call.error, qPrintable(expression + ": " + outcome.message));
            QVERIFY(outcome.message.startsWith(QStringLiteral("Evaluatie fout < ")));
        }
    }
    // the functions that the evaluator computes itself are no special functions
    for (int code :
         {mathfn::Sin, mathfn::Fact, mathfn::Round, mathfn::CNorm, mathfn::Clip, mathfn::DateSerial})
        QVERIFY(!mathfn::isSpecialFunction(code));
}

QTEST_GUILESS_MAIN(TestFunctions)
#include "test_functions.moc"
