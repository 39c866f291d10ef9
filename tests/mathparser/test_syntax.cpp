// Tokeniser and parser of the expression evaluator: precedence, operands, brackets and bars,
// implicit multiplication, comparisons and the parse errors with their positions and messages.

#include "mathparser/mathparser.h"
#include "mathparsertestutil.h"

#include <QLocale>
#include <QtTest>

#include <cmath>

using namespace supplink;
using supplink::test::evaluate;
using supplink::test::Outcome;

class TestSyntax : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void values_data();
    void values();
    void parseErrors_data();
    void parseErrors();
    void tooManyVariables();
    void tooManyRows();
    void tooManyOpenCalls();
    void unitConversionOff();
    void dmsConversionOff();
    void degreeLiterals_data();
    void degreeLiterals();
    void everyFunctionNameIsKnown();
};

void TestSyntax::values_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("variables");
    QTest::addColumn<double>("expected");

    // precedence and associativity
    QTest::newRow("product before sum") << "2+3*4"
                                        << "" << 14.0;
    QTest::newRow("power is left-associative") << "2^3^2"
                                               << "" << 64.0;
    QTest::newRow("difference left to right") << "10-2-3"
                                              << "" << 5.0;
    QTest::newRow("quotient left to right") << "100/10/5"
                                            << "" << 2.0;
    QTest::newRow("minus belongs to the operand") << "-x^2"
                                                  << "x=3" << 9.0;
    QTest::newRow("negative exponent") << "2^-1"
                                       << "" << 0.5;
    QTest::newRow("signed number after operator") << "2*-3"
                                                  << "" << -6.0;
    QTest::newRow("minus minus") << "2--3"
                                 << "" << 5.0;
    QTest::newRow("minus before bracket") << "-(2+3)"
                                          << "" << -5.0;
    QTest::newRow("brackets") << "(2+3)*4"
                              << "" << 20.0;
    QTest::newRow("bracket kinds mix") << "[1+2]*{3}"
                                       << "" << 9.0;
    QTest::newRow("any closing bracket") << "(1+2]"
                                         << "" << 3.0;
    // postfix operators
    QTest::newRow("factorial") << "5!"
                               << "" << 120.0;
    QTest::newRow("factorial then product") << "5!*2"
                                            << "" << 240.0;
    QTest::newRow("product then factorial") << "2*5!"
                                            << "" << 240.0;
    QTest::newRow("factorial then power") << "3!^2"
                                          << "" << 36.0;
    QTest::newRow("power of factorial") << "2^3!"
                                        << "" << 64.0;
    QTest::newRow("factorial of bracket") << "(1+2)!"
                                          << "" << 6.0;
    QTest::newRow("percent") << "50%"
                             << "" << 0.5;
    QTest::newRow("percent then product") << "50%*4"
                                          << "" << 2.0;
    // numbers and names
    QTest::newRow("exponent") << "1.5E-3"
                              << "" << 0.0015;
    QTest::newRow("exponent with blank") << "1.5E -3"
                                         << "" << 0.0015;
    QTest::newRow("exponent plus") << "2e+3"
                                   << "" << 2000.0;
    QTest::newRow("leading point") << ".5+1"
                                   << "" << 1.5;
    QTest::newRow("blanks inside a number") << "1 000"
                                            << "" << 1000.0;
    QTest::newRow("blanks inside a name") << "a b"
                                          << "ab=4" << 4.0;
    QTest::newRow("lone variable") << "x"
                                   << "x=3" << 3.0;
    QTest::newRow("negated variable") << "-x"
                                      << "x=3" << -3.0;
    QTest::newRow("name with digit") << "x2"
                                     << "x2=7" << 7.0;
    QTest::newRow("name with underscore") << "_a1*2"
                                          << "_a1=4" << 8.0;
    QTest::newRow("e alone is a variable") << "e"
                                           << "e=5" << 5.0;
    QTest::newRow("variable names ignore case") << "R+r"
                                                << "r=2" << 4.0;
    // implicit multiplication only for a number before x, y or z
    QTest::newRow("2x") << "2x"
                        << "x=3" << 6.0;
    QTest::newRow("2 x") << "2 x"
                         << "x=3" << 6.0;
    QTest::newRow("2.5y") << "2.5y"
                          << "y=2" << 5.0;
    QTest::newRow("3Z") << "3Z"
                        << "z=2" << 6.0;
    QTest::newRow("2xy is 2 times xy") << "2xy"
                                       << "xy=5" << 10.0;
    // comparisons
    QTest::newRow("greater") << "5>3"
                             << "" << 1.0;
    QTest::newRow("equal exactly") << "5=5.0"
                                   << "" << 1.0;
    QTest::newRow("not equal") << "x<>3"
                               << "x=3" << 0.0;
    QTest::newRow("=<") << "x=<1"
                        << "x=3" << 0.0;
    QTest::newRow("=>") << "x=>1"
                        << "x=3" << 1.0;
    QTest::newRow("<=") << "x<=3"
                        << "x=3" << 1.0;
    QTest::newRow(">=") << "x>=4"
                        << "x=3" << 0.0;
    QTest::newRow("comparison after sum") << "x+1<5"
                                          << "x=3" << 1.0;
    QTest::newRow("chained comparison inside") << "0<x<4"
                                               << "x=3" << 1.0;
    QTest::newRow("chained comparison outside") << "0<x<2"
                                                << "x=3" << 0.0;
    QTest::newRow("chained comparison as argument") << "sin(0<x<4)"
                                                    << "x=3" << std::sin(1.0);
    QTest::newRow("chained comparison in call") << "clip(0<x<4,2,5)"
                                                << "x=3" << 2.0;
    QTest::newRow("chained comparison squared") << "(0<x<4)^2*5"
                                                << "x=3" << 5.0;
    QTest::newRow("guarded square root, x<0") << "(x<0)*sqr(-x)+(x>=0)*sqr(x)"
                                              << "x=-4" << 2.0;
    QTest::newRow("guarded square root, x>0") << "(x<0)*sqr(-x)+(x>=0)*sqr(x)"
                                              << "x=9" << 3.0;
    QTest::newRow("guarded square root, x=0") << "(x<0)*sqr(-x)+(x>=0)*sqr(x)"
                                              << "x=0" << 0.0;
    QTest::newRow("guarded division") << "(x>0)*(1/x)"
                                      << "x=0" << 0.0;
    QTest::newRow("guarded factor taken") << "(x>0)*(1/x)"
                                          << "x=4" << 0.25;
    // absolute value bars
    QTest::newRow("bars") << "|x-5|"
                          << "x=3" << 2.0;
    QTest::newRow("minus before bar") << "-|x|"
                                      << "x=3" << -3.0;
    QTest::newRow("minus after bar") << "|-x|"
                                     << "x=3" << 3.0;
    QTest::newRow("bars in a product") << "2*|x|-1"
                                       << "x=-3" << 5.0;
    QTest::newRow("nested bars") << "||x|-5|"
                                 << "x=-3" << 2.0;
    QTest::newRow("bars around brackets") << "|(x-5)|"
                                          << "x=3" << 2.0;
    QTest::newRow("sine negated") << "-sin(0)"
                                  << "" << 0.0;
    // functions with brackets
    QTest::newRow("names ignore case") << "SIN(0)+Sin(0)+sin(0)"
                                       << "" << 0.0;
    QTest::newRow("two arguments") << "max(1,2)"
                                   << "" << 2.0;
    QTest::newRow("nested calls") << "max(2,min(5,3))"
                                  << "" << 3.0;
    QTest::newRow("negated call") << "-max(1,2)"
                                  << "" << -2.0;
    QTest::newRow("expressions as arguments") << "max(x+1,x*2)"
                                              << "x=3" << 6.0;
    QTest::newRow("three arguments") << "clip(x,0,2)"
                                     << "x=3" << 2.0;
    QTest::newRow("call as third argument") << "clip(7,1,max(2,5))"
                                            << "" << 5.0;
    QTest::newRow("call as second argument") << "clip(x,max(1,2),5)"
                                             << "x=1" << 2.0;
    QTest::newRow("nested three-argument calls") << "clip(clip(7,0,5),1,4)"
                                                 << "" << 4.0;
    QTest::newRow("three-argument call in a sum") << "1+clip(5,0,3)*2"
                                                  << "" << 7.0;
    QTest::newRow("negated three-argument call") << "-clip(5,0,3)"
                                                 << "" << -3.0;
    QTest::newRow("call after call") << "clip(1,2,3)+clip(4,5,6)"
                                     << "" << 7.0;
    QTest::newRow("integer quotient") << "7\\2"
                                      << "" << 3.0;
    QTest::newRow("integer quotient rounds up") << "7.5\\2"
                                                << "" << 4.0;
    QTest::newRow("integer quotient rounds to even") << "6.5\\2"
                                                     << "" << 3.0;
    QTest::newRow("integer quotient negative") << "-7\\2"
                                               << "" << -3.0;
    QTest::newRow("logic") << "and(2,0)+or(0,3)+xor(1,0)+not(0)"
                           << "" << 3.0;
    QTest::newRow("negated logic") << "nand(1,1)+nor(0,0)+nxor(1,1)"
                                   << "" << 2.0;
    // constants and literals
    QTest::newRow("pi") << "pi"
                        << "" << 3.14159265358979;
    QTest::newRow("PI") << "PI"
                        << "" << 3.14159265358979;
    QTest::newRow("pi#") << "pi#"
                         << "" << 3.14159265358979;
    QTest::newRow("-pi") << "-pi"
                         << "" << -3.14159265358979;
    QTest::newRow("e#") << "e#"
                        << "" << 2.71828182845905;
    QTest::newRow("pi2#") << "2*pi2#"
                          << "" << 3.14159265358979;
    QTest::newRow("quantity") << "3km+500m"
                              << "" << 3500.0;
    QTest::newRow("degrees minutes seconds") << "12°30'"
                                             << "" << 12.5;
    QTest::newRow("negative degrees") << "-12d30m"
                                      << "" << -12.5;
}

void TestSyntax::values()
{
    QFETCH(QString, expression);
    QFETCH(QString, variables);
    QFETCH(double, expected);
    const Outcome outcome = evaluate(expression, variables);
    QVERIFY2(outcome.stored, qPrintable(outcome.message));
    QCOMPARE(outcome.error, 0);
    QVERIFY2(supplink::test::close(outcome.value, expected, 1e-15),
             qPrintable(QStringLiteral("%1 gives %2").arg(expression).arg(outcome.value, 0, 'g', 17)));
}

void TestSyntax::parseErrors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty") << "" << 8 << 0 << "Onvoldoende argumenten";
    QTest::newRow("blanks only") << "   " << 8 << 0 << "Onvoldoende argumenten";
    QTest::newRow("unclosed bracket") << "((1)" << 11 << 1 << "Onvoldoende haakjes sluiten op positie: ";
    QTest::newRow("extra closing bracket") << "(1))" << 9 << 4 << "Teveel argumenten op positie: 4";
    QTest::newRow("odd number of bars") << "|x" << 4 << 1 << "ABS symbolen |.| matchen niet";
    QTest::newRow("number and letter") << "2a" << 12 << 2 << "Syntaxis fout: 2a";
    QTest::newRow("too many arguments") << "max(1,2,3)" << 9 << 8 << "Teveel argumenten op positie: 8";
    QTest::newRow("comma outside a call") << "1,2" << 9 << 2 << "Teveel argumenten op positie: 2";
    QTest::newRow("comma in one-argument call") << "sin(1,2)" << 9 << 6 << "Teveel argumenten op positie: 6";
    QTest::newRow("unknown comparison") << "x><1" << 5 << 3 << "Syntaxis fout op positie: 3";
    QTest::newRow("number after bracket") << "(a)2" << 5 << 4 << "Syntaxis fout op positie: 4";
    QTest::newRow("name after bar") << "|x|y" << 5 << 4 << "Syntaxis fout op positie: 4";
    QTest::newRow("digit after factorial") << "5!2" << 5 << 3 << "Syntaxis fout op positie: 3";
    QTest::newRow("number before bracket") << "2(3)" << 5 << 2 << "Syntaxis fout op positie: 2";
    QTest::newRow("unknown function") << "foo(1)" << 6 << 1 << "Onbekende functie < foo > op positie: 1";
    QTest::newRow("unknown function later")
        << "1+abc(2)" << 6 << 3 << "Onbekende functie < abc > op positie: 3";
    QTest::newRow("placeholder in a value")
        << "a$b(1)" << 6 << 1 << "Onbekende functie < a1b > op positie: $";
    QTest::newRow("unknown constant") << "xyz#" << 19 << 4 << "Onbekende constante: xyz";
    QTest::newRow("pi in mixed case is no constant") << "Pi" << 19 << 2 << "Onbekende constante: Pi";
    QTest::newRow("no base unit") << "5min" << 12 << 4 << "Syntaxis fout: 5min";
    QTest::newRow("bad degrees") << "12°30'70\"" << 21 << 9 << "Fout DMS formaat";
    QTest::newRow("degrees only") << "12d" << 21 << 3 << "Fout DMS formaat";
    QTest::newRow("operator first") << "*3" << 8 << 1 << "Onvoldoende argumenten";
    QTest::newRow("two operators") << "2**3" << 8 << 3 << "Onvoldoende argumenten";
    QTest::newRow("operator last") << "2+" << 8 << 2 << "Onvoldoende argumenten";
    QTest::newRow("empty call") << "sin()" << 8 << 5 << "Onvoldoende argumenten";
    QTest::newRow("sign after empty bracket") << "()-1" << 8 << 3 << "Onvoldoende argumenten";
    QTest::newRow("lone sign") << "-" << 8 << 1 << "Onvoldoende argumenten";
    QTest::newRow("comparison after comparison") << "x<==1" << 8 << 4 << "Onvoldoende argumenten";
    QTest::newRow("text") << "'a'" << 12 << 3 << "Syntaxis fout: 'a'";
    QTest::newRow("tab is no blank") << "1\t+2" << 12 << 3 << "Syntaxis fout: 1\t";
    // mends: malformed nesting is refused instead of being read some other way
    QTest::newRow("bar closes inside bracket") << "|(x|)" << 5 << 4 << "Syntaxis fout op positie: 4";
    QTest::newRow("bracket closes inside bar") << "(|x)|" << 5 << 4 << "Syntaxis fout op positie: 4";
    QTest::newRow("call closed too early") << "max(1)" << 8 << 6 << "Onvoldoende argumenten";
    QTest::newRow("call arguments in another bracket")
        << "max(1)*(2,3)" << 8 << 6 << "Onvoldoende argumenten";
    QTest::newRow("comma of an inner call")
        << "max(sin(1,2))" << 9 << 10 << "Teveel argumenten op positie: 10";
    QTest::newRow("digit after percent") << "50%2" << 5 << 4 << "Syntaxis fout op positie: 4";
    QTest::newRow("quantity without number") << ".m" << 12 << 2 << "Syntaxis fout: .m";
}

void TestSyntax::parseErrors()
{
    QFETCH(QString, expression);
    QFETCH(int, error);
    QFETCH(int, position);
    QFETCH(QString, message);
    clsMathParser parser;
    QVERIFY(!parser.StoreExpression(expression));
    QCOMPARE(parser.ErrorID(), error);
    QCOMPARE(parser.ErrorPos(), position);
    QCOMPARE(parser.ErrorDescription(), message);
    // A failed parse is never evaluated.
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), error);
}

void TestSyntax::tooManyVariables()
{
    QStringList names;
    for (int i = 1; i <= 100; ++i)
        names << QStringLiteral("v%1").arg(i);
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(names.join(QLatin1Char('+'))));
    QCOMPARE(parser.VarTop(), 100);

    names << QStringLiteral("v101");
    QVERIFY(!parser.StoreExpression(names.join(QLatin1Char('+'))));
    QCOMPARE(parser.ErrorID(), 1);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Te veel variabelen"));
}

void TestSyntax::tooManyRows()
{
    // 198 rows fit, a 199th fails with error 20 at position 1.
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("1") + QStringLiteral("+1").repeated(198)));
    QCOMPARE(parser.Eval(), 199.0);
    QVERIFY(!parser.StoreExpression(QStringLiteral("1") + QStringLiteral("+1").repeated(199)));
    QCOMPARE(parser.ErrorID(), 20);
    QCOMPARE(parser.ErrorPos(), 1);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Teveel opertaies"));
}

void TestSyntax::tooManyOpenCalls()
{
    const auto nested = [](int depth) {
        // each call waits for its comma while the next one opens
        return QStringLiteral("max(").repeated(depth) + QStringLiteral("1") +
               QStringLiteral(",1)").repeated(depth);
    };
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(nested(20)));
    QCOMPARE(parser.Eval(), 1.0);
    // The 21st open call is refused (mend: no overflow of the open-call list).
    QVERIFY(!parser.StoreExpression(nested(21)));
    QCOMPARE(parser.ErrorID(), 20);
    QCOMPARE(parser.ErrorPos(), 21 * 4);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Teveel opertaies"));
    // Calls that are closed do not count.
    QVERIFY(parser.StoreExpression(QStringLiteral("+max(1,2)").repeated(30).mid(1)));
    QCOMPARE(parser.Eval(), 60.0);
}

void TestSyntax::unitConversionOff()
{
    clsMathParser parser;
    parser.OpUnitConv(false);
    QVERIFY(!parser.StoreExpression(QStringLiteral("3km")));
    QCOMPARE(parser.ErrorID(), 12);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Syntaxis fout: 3km"));
    parser.OpUnitConv(true);
    QVERIFY(parser.StoreExpression(QStringLiteral("3km")));
    QCOMPARE(parser.Eval(), 3000.0);
}

void TestSyntax::dmsConversionOff()
{
    clsMathParser parser;
    parser.OpDMSConv(false);
    QVERIFY(!parser.StoreExpression(QStringLiteral("12d30m")));
    QCOMPARE(parser.ErrorID(), 12);
    QVERIFY(!parser.StoreExpression(QStringLiteral("12°30m")));
    QCOMPARE(parser.ErrorID(), 12);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Syntaxis fout: 12°30m"));
    parser.OpDMSConv(true);
    QVERIFY(parser.StoreExpression(QStringLiteral("12d30m")));
    QCOMPARE(parser.Eval(), 12.5);
}

void TestSyntax::degreeLiterals_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("variables");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("expected");

    // Malformed literals fail with the reader's error where the operand is taken.
    QTest::newRow("symbols and letters mixed") << "12°30m"
                                               << "" << 22 << 6 << 0.0;
    QTest::newRow("mixed before an operator") << "12°30m+1"
                                              << "" << 22 << 7 << 0.0;
    QTest::newRow("mixed with a sign") << "-12°30m"
                                       << "" << 22 << 7 << 0.0;
    QTest::newRow("letter degrees, symbol minutes") << "2*12d30'"
                                                    << "" << 22 << 8 << 0.0;
    QTest::newRow("mixed inside a call") << "sin(12°30m)"
                                         << "" << 22 << 11 << 0.0;
    QTest::newRow("mixed as a call argument") << "max(12°30m,1)"
                                              << "" << 22 << 11 << 0.0;
    QTest::newRow("degree sign and a bare number") << "12°30"
                                                   << "" << 22 << 5 << 0.0;
    QTest::newRow("degree letter and a bare number") << "12d30"
                                                     << "" << 22 << 5 << 0.0;
    QTest::newRow("degree sign alone") << "°+1"
                                       << "" << 22 << 2 << 0.0;
    QTest::newRow("minutes above sixty") << "12°70'"
                                         << "" << 21 << 6 << 0.0;
    QTest::newRow("seconds no number") << "12°30'x\""
                                       << "" << 21 << 8 << 0.0;
    // Well-formed literals, and names made of the mark letters, still parse.
    QTest::newRow("degrees and minutes") << "12°30'"
                                         << "" << 0 << 0 << 12.5;
    QTest::newRow("letters") << "12d30m15s"
                             << "" << 0 << 0 << 12.5 + 15.0 / 3600;
    QTest::newRow("negative with seconds") << "-12°30'15\""
                                           << "" << 0 << 0 << -(12.5 + 15.0 / 3600);
    QTest::newRow("sixty seconds") << "1°0'60\""
                                   << "" << 0 << 0 << 1.0 + 1.0 / 60;
    QTest::newRow("in a product") << "2*12°30'"
                                  << "" << 0 << 0 << 25.0;
    QTest::newRow("before an operator") << "12°30'+1"
                                        << "" << 0 << 0 << 13.5;
    QTest::newRow("names of mark letters") << "d*m+s+dms"
                                           << "d=2;m=3;s=4;dms=5" << 0 << 0 << 15.0;
}

void TestSyntax::degreeLiterals()
{
    QFETCH(QString, expression);
    QFETCH(QString, variables);
    QFETCH(int, error);
    QFETCH(int, position);
    QFETCH(double, expected);
    const Outcome outcome = evaluate(expression, variables);
    QCOMPARE(outcome.error, error);
    if (error == 0) {
        QVERIFY2(outcome.stored, qPrintable(outcome.message));
        QVERIFY2(supplink::test::close(outcome.value, expected, 1e-15),
                 qPrintable(QStringLiteral("%1 gives %2").arg(expression).arg(outcome.value, 0, 'g', 17)));
        return;
    }
    QVERIFY(!outcome.stored);
    QCOMPARE(outcome.position, position);
    QCOMPARE(outcome.message,
             error == 22 ? QStringLiteral("Geen DMS formaat") : QStringLiteral("Fout DMS formaat"));
}

void TestSyntax::everyFunctionNameIsKnown()
{
    // Every name of the vocabulary is recognised with the right number of arguments, in any case.
    struct List
    {
        const char* names;
        int arguments;
    };
    const List lists[] = {
        {"Abs Atn Atan Cos Exp Fix Int Ln Log Rnd Sgn Sin Sqr Cbr Tan Acos Asin Cosh Sinh Tanh Acosh Asinh "
         "Atanh Fact Not Erf Gamma Gammaln Digamma Zeta Ei AiryA AiryB csc sec cot acsc asec acot csch sech "
         "coth acsch asech acoth dec rad deg grad neg Si Ci fresnels fresnelc J0 Y0 I0 K0 Psi Year Month Day "
         "Hour Minute Second",
         1},
        {"Comb Max Min Mcm Mcd Lcm Gcd Mod And Or Xor Beta Root Round Nand Nor NXor Perm LogN DPoisson "
         "CPoisson Ein BesselI BesselJ BesselK BesselY GammaI PolyLe PolyHe PolyCh PolyLa elli1 elli2 wtri "
         "wsqr wsaw wraise wparab",
         2},
        {"DNorm CNorm DBinom CBinom BetaI Clip wrect wtrapez wlin wpulse wsteps wexp wexpb wpulsef wripple "
         "DateSerial TimeSerial",
         3},
        {"HypGeom wring wam wfm", 4},
    };
    int count = 0;
    for (const List& list : lists) {
        for (const QString& name : QString::fromLatin1(list.names).split(QLatin1Char(' '))) {
            ++count;
            QStringList arguments;
            for (int i = 0; i < list.arguments; ++i)
                arguments << QStringLiteral("0.5");
            for (const QString& spelling : {name, name.toUpper(), name.toLower()}) {
                const QString call =
                    spelling + QLatin1Char('(') + arguments.join(QLatin1Char(',')) + QLatin1Char(')');
                clsMathParser parser;
                QVERIFY2(parser.StoreExpression(call),
                         qPrintable(call + QStringLiteral(": ") + parser.ErrorDescription()));
            }
            // One argument too many is refused.
            arguments << QStringLiteral("0.5");
            clsMathParser parser;
            QVERIFY(!parser.StoreExpression(name + QLatin1Char('(') + arguments.join(QLatin1Char(',')) +
                                            QLatin1Char(')')));
        }
    }
    QCOMPARE(count, 124);
}

QTEST_GUILESS_MAIN(TestSyntax)
#include "test_syntax.moc"
