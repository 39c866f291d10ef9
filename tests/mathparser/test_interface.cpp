// Public members of the expression evaluator: variables, options, angle unit, Eval, Eval1,
// EvalMulti, the signalled errors and the table dump.

#include "mathparser/mathparser.h"
#include "mathparsertestutil.h"

#include <QLocale>
#include <QtTest>

#include <cmath>

using namespace supplink;

class TestInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { ClearMathParserSignal(); }

    void evalBeforeStore();
    void expressionIsTrimmed();
    void variableTable();
    void variableAccessByNameOrNumber();
    void variableWriteMarksAssignedOnlyWhenExplicit();
    void explicitAssignment();
    void secondStoreResetsVariables();
    void eval1();
    void eval1TooManyVariables();
    void evalMulti();
    void evalMultiErrors();
    void angleUnit_data();
    void angleUnit();
    void angleUnitChangeAfterStore();
    void evaluationFailureLeavesValueZero();
    void repeatedEvaluation();
    void copiedParserEvaluatesAlone();
    void dumpOfSum();
    void dumpOrderAndLinks();
    void dumpOfCondition();
    void dumpOfThreeArgumentCall();
};

void TestInterface::evalBeforeStore()
{
    clsMathParser parser;
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 0);
    QCOMPARE(parser.ErrorDescription(), QString());
    QCOMPARE(LastMathParserSignal().number, 1001);
    QCOMPARE(LastMathParserSignal().source, QStringLiteral("MathParser"));
    QCOMPARE(parser.Eval1(2), 0.0);
    QCOMPARE(LastMathParserSignal().number, 1002);
    QVERIFY(parser.EvalMulti({0, 1, 2}).isEmpty());
    QCOMPARE(parser.AngleUnit(), QStringLiteral("RAD"));
    QVERIFY(!parser.OpAssignExplicit());
    QVERIFY(parser.OpUnitConv());
    QVERIFY(parser.OpDMSConv());
}

void TestInterface::expressionIsTrimmed()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("  x + 1  ")));
    QCOMPARE(parser.Expression(), QStringLiteral("x + 1"));
}

void TestInterface::variableTable()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("b*A+a-c")));
    QCOMPARE(parser.VarTop(), 3);
    // numbered in order of first appearance, named as first written
    QCOMPARE(parser.VarName(1), QStringLiteral("b"));
    QCOMPARE(parser.VarName(2), QStringLiteral("A"));
    QCOMPARE(parser.VarName(3), QStringLiteral("c"));
    QCOMPARE(parser.VarName(4), QString());
    QCOMPARE(parser.VarName(0), QString());
    parser.VarValue(1, 2);
    parser.VarValue(2, 3);
    parser.VarValue(3, 1);
    parser.VarValue(4, 99); // outside the table: nothing happens
    QCOMPARE(parser.VarValue(1), 2.0);
    QCOMPARE(parser.VarValue(4), 0.0);
    QCOMPARE(parser.VarValue(-1), 0.0);
    QCOMPARE(parser.Eval(), 2.0 * 3 + 3 - 1);
}

void TestInterface::variableAccessByNameOrNumber()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("r*2+h")));
    parser.VarSymb(QStringLiteral("R"), 5);
    QCOMPARE(parser.VarSymb(QStringLiteral("r")), 5.0);
    QCOMPARE(parser.VarValue(1), 5.0);
    parser.VarSymb(QStringLiteral("unknown"), 7); // changes nothing
    QCOMPARE(parser.VarSymb(QStringLiteral("unknown")), 0.0);
    parser.Variable(QStringLiteral("H"), 1.5);
    QCOMPARE(parser.Variable(2), 1.5);
    QCOMPARE(parser.Variable(QStringLiteral("h")), 1.5);
    parser.Variable(1, 4);
    QCOMPARE(parser.Variable(QStringLiteral("r")), 4.0);
    parser.Variable(3, 9); // no third variable
    parser.Variable(QStringLiteral("q"), 9);
    QCOMPARE(parser.Eval(), 9.5);
}

void TestInterface::variableWriteMarksAssignedOnlyWhenExplicit()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("x+y")));
    parser.Variable(QStringLiteral("x"), 1); // option off: not marked
    parser.Variable(QStringLiteral("y"), 2);
    parser.OpAssignExplicit(true);
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 18);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Variabele < x > niet toegewezen"));
    parser.Variable(QStringLiteral("x"), 1); // option on: marked
    parser.Variable(QStringLiteral("y"), 2);
    QCOMPARE(parser.Eval(), 3.0);
    QCOMPARE(parser.ErrorID(), 0);
}

void TestInterface::explicitAssignment()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("x+y")));
    parser.VarSymb(QStringLiteral("x"), 2);
    QCOMPARE(parser.Eval(), 2.0); // option off: y is 0
    QCOMPARE(parser.ErrorID(), 0);

    parser.OpAssignExplicit(true);
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 18);
    QCOMPARE(parser.ErrorPos(), 1);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Variabele < y > niet toegewezen"));
    QCOMPARE(LastMathParserSignal().number, 1001);
    QCOMPARE(LastMathParserSignal().description, QStringLiteral("Variabele < y > niet toegewezen"));

    parser.VarValue(2, 3);
    QCOMPARE(parser.Eval(), 5.0);
    QCOMPARE(parser.ErrorID(), 0);
    QCOMPARE(parser.ErrorDescription(), QString());
}

void TestInterface::secondStoreResetsVariables()
{
    clsMathParser parser;
    parser.OpAssignExplicit(true);
    QVERIFY(parser.StoreExpression(QStringLiteral("x*2")));
    parser.VarSymb(QStringLiteral("x"), 4);
    QCOMPARE(parser.Eval(), 8.0);
    QVERIFY(parser.StoreExpression(QStringLiteral("x*2")));
    QCOMPARE(parser.VarValue(1), 0.0);
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 18);     // unassigned again
    QVERIFY(parser.OpAssignExplicit()); // options stay
}

void TestInterface::eval1()
{
    clsMathParser parser;
    parser.OpAssignExplicit(true);
    QVERIFY(parser.StoreExpression(QStringLiteral("2*x-|x|")));
    QCOMPARE(parser.Eval1(3), 3.0);
    QCOMPARE(parser.Eval1(-3), -9.0);
    QCOMPARE(parser.ErrorID(), 0);
    // the variable itself is not changed
    QCOMPARE(parser.VarValue(1), 0.0);
    QVERIFY(parser.StoreExpression(QStringLiteral("7")));
    QCOMPARE(parser.Eval1(3), 7.0);
}

void TestInterface::eval1TooManyVariables()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("x*y")));
    QCOMPARE(parser.Eval1(2), 0.0);
    QCOMPARE(parser.ErrorID(), 1);
    QCOMPARE(parser.ErrorPos(), 1);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Te veel variabelen"));
    QCOMPARE(LastMathParserSignal().number, 1002);
    QCOMPARE(LastMathParserSignal().description, QStringLiteral("Te veel variabelen"));

    QVERIFY(parser.StoreExpression(QStringLiteral("1/x")));
    QCOMPARE(parser.Eval1(0), 0.0);
    QCOMPARE(parser.ErrorID(), 16);
    QCOMPARE(LastMathParserSignal().number, 1002);
}

void TestInterface::evalMulti()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("x^2")));
    QCOMPARE(parser.EvalMulti({42, 1, 2, 3}), QVector<double>({0, 1, 4, 9}));
    QCOMPARE(parser.VarValue(1), 3.0); // the variable keeps the last value

    QVERIFY(parser.StoreExpression(QStringLiteral("x+10*y")));
    parser.VarSymb(QStringLiteral("x"), 1);
    QCOMPARE(parser.EvalMulti({0, 1, 2}, QStringLiteral("Y")), QVector<double>({0, 11, 21}));
    QCOMPARE(parser.EvalMulti({0, 1, 2}, 2), QVector<double>({0, 11, 21}));
    QCOMPARE(parser.EvalMulti({0}), QVector<double>({0}));
    QVERIFY(parser.EvalMulti({}).isEmpty());
    QCOMPARE(parser.ErrorID(), 0);
}

void TestInterface::evalMultiErrors()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("2+3")));
    QVERIFY(parser.EvalMulti({0, 1}).isEmpty());
    QCOMPARE(parser.ErrorID(), 2);
    QCOMPARE(parser.ErrorPos(), 1);
    QCOMPARE(parser.ErrorDescription(), QStringLiteral("Variabele niet gevonden"));
    QCOMPARE(LastMathParserSignal().number, 1001);

    QVERIFY(parser.StoreExpression(QStringLiteral("x")));
    QVERIFY(parser.EvalMulti({0, 1}, QStringLiteral("y")).isEmpty());
    QCOMPARE(parser.ErrorID(), 2);
    QVERIFY(parser.EvalMulti({0, 1}, 2).isEmpty());
    QCOMPARE(parser.ErrorID(), 2);

    // a failing element discards the elements computed before it
    QVERIFY(parser.StoreExpression(QStringLiteral("1/x")));
    QVERIFY(parser.EvalMulti({0, 1, 0, 2}).isEmpty());
    QCOMPARE(parser.ErrorID(), 16);
}

void TestInterface::angleUnit_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("deg") << "deg"
                         << "DEG";
    QTest::newRow("Grad") << "Grad"
                          << "GRAD";
    QTest::newRow("RAD") << "RAD"
                         << "RAD";
    QTest::newRow("degrees") << "degrees"
                             << "GRAD";
    QTest::newRow("empty") << ""
                           << "GRAD";
}

void TestInterface::angleUnit()
{
    QFETCH(QString, unit);
    QFETCH(QString, expected);
    clsMathParser parser;
    parser.AngleUnit(QStringLiteral("GRAD"));
    parser.AngleUnit(unit);
    QCOMPARE(parser.AngleUnit(), expected);
}

void TestInterface::angleUnitChangeAfterStore()
{
    // The angle unit takes effect at the next evaluation, also for rows without variables.
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("sin(90)+x*0")));
    QVERIFY(supplink::test::close(parser.Eval(), std::sin(90.0)));
    parser.AngleUnit(QStringLiteral("DEG"));
    QCOMPARE(parser.Eval(), 1.0);
    parser.AngleUnit(QStringLiteral("GRAD"));
    QVERIFY(supplink::test::close(parser.Eval(), std::sin(90 * 3.14159265358979 / 200)));
    QVERIFY(parser.StoreExpression(QStringLiteral("atn(1)")));
    parser.AngleUnit(QStringLiteral("DEG"));
    QVERIFY(supplink::test::close(parser.Eval(), 45.0));
}

void TestInterface::evaluationFailureLeavesValueZero()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("1/x")));
    parser.VarValue(1, 0);
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 16);
    QCOMPARE(LastMathParserSignal().number, 1001);
    QCOMPARE(LastMathParserSignal().source, QStringLiteral("MathParser"));
    QCOMPARE(LastMathParserSignal().description, QStringLiteral("Evaluatie fout < 1 / 0 > op positie: 2"));
    // the next successful evaluation clears the error state
    parser.VarValue(1, 4);
    QCOMPARE(parser.Eval(), 0.25);
    QCOMPARE(parser.ErrorID(), 0);
    QCOMPARE(parser.ErrorDescription(), QString());
}

void TestInterface::repeatedEvaluation()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("r/2+sqr(r^2+16)-max(r-8,0)*(r<10)")));
    for (int i = 0; i < 50; ++i) {
        const double r = i * 0.5;
        parser.VarValue(1, r);
        const double expected = r / 2 + std::sqrt(r * r + 16) - std::max(r - 8, 0.0) * (r < 10 ? 1 : 0);
        QVERIFY(supplink::test::close(parser.Eval(), expected));
    }
}

void TestInterface::copiedParserEvaluatesAlone()
{
    clsMathParser original;
    QVERIFY(original.StoreExpression(QStringLiteral("x*cos(0)+1")));
    original.VarValue(1, 2);
    QCOMPARE(original.Eval(), 3.0);
    clsMathParser copy = original;
    copy.VarValue(1, 10);
    QCOMPARE(copy.Eval(), 11.0);
    QCOMPARE(original.Eval(), 3.0);
    clsMathParser moved = std::move(copy);
    QCOMPARE(moved.Eval(), 11.0);
    copy = original;
    QCOMPARE(copy.Eval(), 3.0);
}

void TestInterface::dumpOfSum()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("1+2")));
    QVector<QVector<QVariant>> table;
    parser.ET_Dump(table);
    QCOMPARE(table.size(), 2);
    QCOMPARE(table[0].size(), 16);
    QCOMPARE(table[1].size(), 16);
    const QStringList titles = {"Fun",    "ArgTop",    "A1 Idx",     "Arg1 Name", "Arg1 Value",
                                "A2 Idx", "Arg2 Name", "Arg2 Value", "ArgOf",     "ArgIdx",
                                "Value",  "PriLvl",    "PosInExpr",  "PriIdx",    "Cond"};
    QVERIFY(!table[0][0].isValid());
    for (int c = 0; c < 15; ++c)
        QCOMPARE(table[0][c + 1].toString(), titles[c]);
    const QVector<QVariant>& row = table[1];
    QCOMPARE(row[1].toString(), QStringLiteral("+"));
    QCOMPARE(row[2].toInt(), 2);
    QCOMPARE(row[5].toDouble(), 1.0);
    QCOMPARE(row[8].toDouble(), 2.0);
    QCOMPARE(row[9].toInt(), 0);
    QCOMPARE(row[11].toDouble(), 0.0); // not evaluated yet
    QCOMPARE(row[12].toInt(), 2);
    QCOMPARE(row[13].toInt(), 2);
    QCOMPARE(row[14].toInt(), 1);
    QCOMPARE(row[15].toInt(), 0);
    QCOMPARE(parser.Eval(), 3.0);
    parser.ET_Dump(table);
    QCOMPARE(table[1][11].toDouble(), 3.0);
}

void TestInterface::dumpOrderAndLinks()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("2+3*x")));
    QVector<QVector<QVariant>> table;
    parser.ET_Dump(table);
    QCOMPARE(table.size(), 3);
    // row 1 "+" (level 2) gets the result of row 2 "*" (level 3) in its second slot
    QCOMPARE(table[1][1].toString(), QStringLiteral("+"));
    QCOMPARE(table[1][12].toInt(), 2);
    QCOMPARE(table[2][1].toString(), QStringLiteral("*"));
    QCOMPARE(table[2][12].toInt(), 3);
    QCOMPARE(table[2][9].toInt(), 1);
    QCOMPARE(table[2][10].toInt(), 2);
    QCOMPARE(table[1][9].toInt(), 0);
    // evaluation order: row 2 first, then row 1
    QCOMPARE(table[1][14].toInt(), 2);
    QCOMPARE(table[2][14].toInt(), 1);
    // the variable slot and the slot that receives a result
    QCOMPARE(table[2][6].toInt(), 1);
    QCOMPARE(table[2][7].toString(), QStringLiteral("x"));
    QCOMPARE(table[1][6].toInt(), 0);
    QCOMPARE(table[1][7].toString(), QString());

    parser.VarValue(1, 4);
    QCOMPARE(parser.Eval(), 14.0);
    parser.ET_Dump(table);
    QCOMPARE(table[2][8].toDouble(), 4.0);
    QCOMPARE(table[2][11].toDouble(), 12.0);
    QCOMPARE(table[1][8].toDouble(), 12.0);
    QCOMPARE(table[1][11].toDouble(), 14.0);
    QCOMPARE(parser.Eval1(-1), -1.0);
    parser.ET_Dump(table);
    QCOMPARE(table[2][8].toDouble(), -1.0);
}

void TestInterface::dumpOfCondition()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("(x<0)*sqr(-x)")));
    QVector<QVector<QVariant>> table;
    parser.ET_Dump(table);
    QCOMPARE(table.size(), 4);
    QCOMPARE(table[1][1].toString(), QStringLiteral("<"));
    QCOMPARE(table[1][12].toInt(), 111); // part of the condition: evaluated first
    QCOMPARE(table[1][14].toInt(), 1);
    QCOMPARE(table[3][1].toString(), QStringLiteral("sqr"));
    QCOMPARE(table[3][15].toInt(), 1); // skipped when row 1 is false
    parser.VarValue(1, 4);
    QCOMPARE(parser.Eval(), 0.0);
    QCOMPARE(parser.ErrorID(), 0);
    parser.VarValue(1, -4);
    QCOMPARE(parser.Eval(), 2.0);
}

void TestInterface::dumpOfThreeArgumentCall()
{
    clsMathParser parser;
    QVERIFY(parser.StoreExpression(QStringLiteral("clip(x,0,2)")));
    QVector<QVector<QVariant>> table;
    parser.ET_Dump(table);
    QCOMPARE(table.size(), 3);
    QCOMPARE(table[1][1].toString(), QStringLiteral("clip"));
    QCOMPARE(table[1][2].toInt(), 3);
    QCOMPARE(table[1][9].toInt(), 0);
    QCOMPARE(table[2][1].toString(), QStringLiteral("@Right"));
    QCOMPARE(table[2][2].toInt(), 2);
    QCOMPARE(table[2][9].toInt(), 1);
    QCOMPARE(table[2][10].toInt(), 3);
    // "@Right" is evaluated before the call
    QCOMPARE(table[1][14].toInt(), 2);
    QCOMPARE(table[2][14].toInt(), 1);
}

QTEST_GUILESS_MAIN(TestInterface)
#include "test_interface.moc"
