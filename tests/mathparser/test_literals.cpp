// Operand readers of the expression evaluator: number literals, degree-minute-second literals,
// quantities with SI prefixes, named constants and the number text of the messages.

#include "mathparser/mathliterals.h"
#include "mathparser/mathparser.h"
#include "mathparsertestutil.h"

#include <QLocale>
#include <QtTest>

#include <cmath>

using namespace supplink;
using namespace supplink::mathliterals;

class TestLiterals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void numberText_data();
    void numberText();
    void numberValue();
    void degreesMinutesSeconds_data();
    void degreesMinutesSeconds();
    void dmsOptionOff();
    void absBars();
    void quantities_data();
    void quantities();
    void constants_data();
    void constants();
    void messageNumbers_data();
    void messageNumbers();
};

void TestLiterals::numberText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("decimal") << "1.5" << true;
    QTest::newRow("leading point") << ".5" << true;
    QTest::newRow("trailing point") << "5." << true;
    QTest::newRow("signed") << "-2" << true;
    QTest::newRow("plus") << "+2.5" << true;
    QTest::newRow("exponent") << "1e5" << true;
    QTest::newRow("signed exponent") << "1.5E-3" << true;
    QTest::newRow("comma") << "1,5" << false;
    QTest::newRow("two points") << "1..5" << false;
    QTest::newRow("point twice") << "1.2.3" << false;
    QTest::newRow("letter d") << "1d5" << false;
    QTest::newRow("letter D") << "1D5" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("sign only") << "-" << false;
    QTest::newRow("open exponent") << "1e" << false;
    QTest::newRow("name") << "abc" << false;
    QTest::newRow("hexadecimal") << "&H10" << false;
}

void TestLiterals::numberText()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(IsNumberText(text), number);
}

void TestLiterals::numberValue()
{
    double value = 0;
    QVERIFY(NumberValue(u"1.5E-3", value));
    QCOMPARE(value, 0.0015);
    QVERIFY(NumberValue(u".25", value));
    QCOMPARE(value, 0.25);
    QVERIFY(NumberValue(u"-0.001e-400", value)); // too small: 0
    QCOMPARE(value, 0.0);
    QVERIFY(!NumberValue(u"1e400", value)); // too large: no number
    QVERIFY(!NumberValue(u"1,5", value));
    // a number too large for a Double is no operand
    QCOMPARE(supplink::test::evaluate(QStringLiteral("1e400")).error, 12);
}

void TestLiterals::degreesMinutesSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message");
    const QString faulty = QStringLiteral("Fout DMS formaat");
    const QString none = QStringLiteral("Geen DMS formaat");
    QTest::newRow("degrees and minutes") << "12°30'" << true << 12.5 << "";
    QTest::newRow("letters") << "12d30m15s" << true << 12.5 + 15.0 / 3600 << "";
    QTest::newRow("symbols with seconds") << "12°30'15\"" << true << 12.5 + 15.0 / 3600 << "";
    QTest::newRow("decimal parts") << "1.5d0.5m" << true << 1.5 + 0.5 / 60 << "";
    QTest::newRow("sixty seconds") << "1°0'60\"" << true << 1.0 + 1.0 / 60 << "";
    QTest::newRow("seventy seconds") << "12°30'70\"" << true << 0.0 << faulty;
    QTest::newRow("seventy minutes") << "12d70m" << true << 0.0 << faulty;
    QTest::newRow("degrees only") << "12°" << true << 0.0 << faulty;
    QTest::newRow("text after seconds") << "12d30m15sx" << true << 0.0 << faulty;
    QTest::newRow("no marks") << "abc" << false << 0.0 << none;
    QTest::newRow("mixed marks") << "12°30m" << false << 0.0 << none;
    QTest::newRow("no degree mark") << "30m15s" << false << 0.0 << none;
    QTest::newRow("name with d") << "dx" << false << 0.0 << none;
}

void TestLiterals::degreesMinutesSeconds()
{
    QFETCH(QString, text);
    QFETCH(bool, result);
    QFETCH(double, value);
    QFETCH(QString, message);
    double read = -1;
    QString readMessage = QStringLiteral("old");
    QCOMPARE(ParseDMS(text, true, read, readMessage), result);
    QCOMPARE(readMessage, message);
    if (result && message.isEmpty())
        QVERIFY(supplink::test::close(read, value, 1e-15));
}

void TestLiterals::dmsOptionOff()
{
    double read = -1;
    QString message = QStringLiteral("old");
    QVERIFY(!ParseDMS(u"12°30'", false, read, message));
    QCOMPARE(read, -1.0);
    QCOMPARE(message, QStringLiteral("old"));
}

void TestLiterals::absBars()
{
    QCOMPARE(CountAbsBars(u"|x|+|y|"), 4);
    QCOMPARE(CountAbsBars(u"x"), 0);
}

void TestLiterals::quantities_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("expected");
    QTest::newRow("3km") << "3km" << 3000.0;
    QTest::newRow("2.5mm") << "2.5mm" << 0.0025;
    QTest::newRow("500g") << "500g" << 0.5;
    QTest::newRow("1kg") << "1kg" << 1.0;
    QTest::newRow("10ms") << "10ms" << 0.01;
    QTest::newRow("5e3m") << "5e3m" << 5000.0;
    QTest::newRow("5m is metres") << "5m" << 5.0;
    QTest::newRow("5mm") << "5mm" << 0.005;
    QTest::newRow("5Pa") << "5Pa" << 5.0;
    QTest::newRow("5kPa") << "5kPa" << 5000.0;
    QTest::newRow("2GHz") << "2GHz" << 2e9;
    QTest::newRow("3um") << "3um" << 3e-6;
    QTest::newRow("3 micro sign m") << QStringLiteral("3\u00B5m") << 3e-6;
    QTest::newRow("4nF") << "4nF" << 4e-9;
    QTest::newRow("7pF") << "7pF" << 7e-12;
    QTest::newRow("2cm") << "2cm" << 0.02;
    QTest::newRow("1TW") << "1TW" << 1e12;
    QTest::newRow("3MOhm") << "3MOhm" << 3e6;
    QTest::newRow("2mbar") << "2mbar" << 0.002;
    QTest::newRow("1.5E-3ms") << "1.5E-3ms" << 1.5e-6;
    QTest::newRow("negative") << "-2km" << -2000.0;
    QTest::newRow("units in a formula") << "2*5mm+1cm" << 0.02;
    for (const char* unit : {"s", "Hz", "rad", "Rad", "RAD", "S", "V", "A", "W", "F", "bar", "Nm", "ohm"})
        QTest::newRow(unit) << QStringLiteral("2") + QString::fromLatin1(unit) << 2.0;
}

void TestLiterals::quantities()
{
    QFETCH(QString, expression);
    QFETCH(double, expected);
    const auto outcome = supplink::test::evaluate(expression);
    QVERIFY2(outcome.stored && outcome.error == 0, qPrintable(outcome.message));
    QVERIFY2(supplink::test::close(outcome.value, expected, 1e-15),
             qPrintable(QString::number(outcome.value, 'g', 17)));
}

void TestLiterals::constants_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("expected");
    const double pi = 3.14159265358979;
    QTest::newRow("pi") << "pi#" << pi;
    QTest::newRow("PI") << "PI#" << pi;
    QTest::newRow("pi2") << "pi2#" << pi / 2;
    QTest::newRow("pi3") << "pi3#" << pi / 3;
    QTest::newRow("pi4") << "pi4#" << pi / 4;
    QTest::newRow("e") << "e#" << 2.71828182845905;
    QTest::newRow("eu") << "eu#" << 0.577215664901533;
    QTest::newRow("phi") << "phi#" << 1.61803398874989;
    QTest::newRow("g") << "g#" << 9.80665;
    QTest::newRow("G") << "G#" << std::pow(10.0, -11) * 6.672;
    QTest::newRow("R") << "R#" << 8.31451;
    QTest::newRow("eps") << "eps#" << std::pow(10.0, -12) * 8.854187817;
    QTest::newRow("mu") << "mu#" << std::pow(10.0, -7) * 12.566370614;
    QTest::newRow("c") << "c#" << std::pow(10.0, 8) * 2.99792458;
    QTest::newRow("q") << "q#" << std::pow(10.0, -19) * 1.60217733;
    QTest::newRow("me") << "me#" << std::pow(10.0, -31) * 9.1093897;
    QTest::newRow("mp") << "mp#" << std::pow(10.0, -27) * 1.6726231;
    QTest::newRow("mn") << "mn#" << std::pow(10.0, -27) * 1.6749286;
    QTest::newRow("K") << "K#" << std::pow(10.0, -23) * 1.380658;
    QTest::newRow("h") << "h#" << std::pow(10.0, -34) * 6.6260755;
    QTest::newRow("A") << "A#" << std::pow(10.0, 23) * 6.0221367;
    QTest::newRow("negated") << "-g#" << -9.80665;
}

void TestLiterals::constants()
{
    QFETCH(QString, expression);
    QFETCH(double, expected);
    const auto outcome = supplink::test::evaluate(expression);
    QVERIFY2(outcome.stored && outcome.error == 0, qPrintable(outcome.message));
    QCOMPARE(outcome.value, expected);
    // names of constants keep their case: "E#" is no constant
    QCOMPARE(supplink::test::evaluate(QStringLiteral("E#")).error, 19);
}

void TestLiterals::messageNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 42.0 << "42";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("fraction") << 0.1 << "0.1";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("large") << 1e15 << "1E+15";
    QTest::newRow("large fraction") << 1.5e20 << "1.5E+20";
    QTest::newRow("small") << 0.0001 << "0.0001";
    QTest::newRow("smaller") << 0.00001 << "1E-05";
    QTest::newRow("tiny") << -1.25e-100 << "-1.25E-100";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("rounded to fifteen digits") << 2.0 / 3 << "0.666666666666667";
}

void TestLiterals::messageNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText(value), text);
}

QTEST_GUILESS_MAIN(TestLiterals)
#include "test_literals.moc"
