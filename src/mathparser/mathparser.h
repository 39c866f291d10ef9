#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

#include <cstdint>
#include <vector>

namespace supplink {

// The last error that an evaluation signalled beside its result of 0: number 1001 (Eval,
// EvalMulti) or 1002 (Eval1), source "MathParser" and the evaluator's error text. Kept per
// thread; the evaluator only writes it.
struct MathParserSignal
{
    int number = 0;
    QString source;
    QString description;
};

const MathParserSignal& LastMathParserSignal();
void ClearMathParserSignal();

// Infix expression evaluator. A client stores one expression, assigns its variables and asks for
// the value as often as it likes:
//
//     clsMathParser parser;
//     if (parser.StoreExpression(QStringLiteral("r/2 + sqr(r)"))) {
//         parser.VarSymb(QStringLiteral("r"), 12.5);
//         const double value = parser.Eval(); // 0 on failure, see ErrorID()
//     }
//
// Nothing throws: every failure leaves an error number, a Dutch message and a 1-based position.
// Variables are numbered from 1 in order of first appearance; names match without regard to case.
class clsMathParser
{
public:
    clsMathParser();

    // Stores the trimmed text and parses it; every call starts with empty tables, so earlier
    // variable values are lost. Returns the parse result.
    bool StoreExpression(const QString& expression);
    QString Expression() const { return m_expression; }

    int VarTop() const { return int(m_vars.size()); }
    QString VarName(int index) const;
    double VarValue(int index) const;
    void VarValue(int index, double value)
    {
        if (index >= 1 && index <= VarTop()) {
            m_varValues[std::size_t(index - 1)] = value;
            bool& assigned = m_vars[std::size_t(index - 1)].assigned;
            if (!assigned)
                assigned = true;
        }
    }
    double VarSymb(const QString& name) const;
    void VarSymb(const QString& name, double value);
    // A string is looked up by name, anything else is taken as the variable number.
    double Variable(const QVariant& key) const;
    void Variable(const QVariant& key, double value);

    QString AngleUnit() const { return m_angleUnit; }
    void AngleUnit(const QString& unit);

    bool OpAssignExplicit() const { return m_opAssignExplicit; }
    void OpAssignExplicit(bool on) { m_opAssignExplicit = on; }
    bool OpUnitConv() const { return m_opUnitConv; }
    void OpUnitConv(bool on) { m_opUnitConv = on; }
    bool OpDMSConv() const { return m_opDMSConv; }
    void OpDMSConv(bool on) { m_opDMSConv = on; }

    QString ErrorDescription() const { return m_errorText; }
    int ErrorID() const { return m_errorId; }
    int ErrorPos() const { return m_errorPos; }

    double Eval();
    double Eval1(double x);
    // One value per element of values, the chosen variable (number or name; default 1) taking
    // each element in turn. Element 0 of values is not used and element 0 of the result stays 0,
    // so the result has the size of values; empty on failure.
    QVector<double> EvalMulti(const QVector<double>& values, const QVariant& variable = QVariant(1));

    // The expression table: row 0 the column titles, rows 1.. the table rows; columns 0 to 15,
    // column 0 empty.
    void ET_Dump(QVector<QVector<QVariant>>& table) const;

private:
    static constexpr int kSlots = 6;
    static constexpr int kStride = 8; // per row: slot values 1..6, the row value, padding
    static constexpr int kValueCell = 6;
    static constexpr int kMaxRows = 200;
    static constexpr int kMaxVariables = 100;
    static constexpr int kMaxOpenCalls = 20;
    static constexpr int kMaxArgs = 4;
    static constexpr int kUnknownStep = 1 << 20;

    struct Slot
    {
        int idx = 0;
        QString name;
        int sign = 1;
    };

    struct Row
    {
        QString fun;
        int code = -1;
        Slot arg[kSlots];
        int argTop = 0;
        int argOf = 0;
        int argIdx = 0;
        int sign = 1;
        int posInExpr = 0;
        int priLvl = 0;
        bool halfLevel = false; // sorts just above priLvl (the product of a chained comparison)
        int priIdx = 0;
        int cond = 0;
    };

    struct Var
    {
        QString name;
        bool assigned = false;
    };

    // One row of the evaluation order. An operand source is an index into m_values (a constant
    // slot, the value cell of the row that feeds it, or a negated variable), or -(v + 1) for the
    // value of variable v.
    struct PlanStep
    {
        int code; // function code; kUnknownStep for a code without a routine
        int argTop;
        int row;
        bool negate;
        bool last;
        int in[kMaxArgs];
        int out;  // value cell of the row
        int cond; // value cell of the condition row; -1 without one
    };

    // A plan step bound to the current storage, for the evaluation loop. Steps without a
    // condition, sign or third argument read their two operands directly; the others take the
    // general path (kGeneralStep) through their plan.
    struct Step
    {
        int code; // see kOpAdd
        int fn;   // function code of the row
        const double* x;
        const double* y;
        double* out;
        const PlanStep* plan;
    };
    // Step codes of the loop: a fast operation times 4 plus which operands are the result of the
    // step just before (1 the first, 2 the second), or kGeneralStep.
    enum FastOp : int
    {
        kOpAdd,
        kOpSub,
        kOpMul,
        kOpDiv,
        kOpPow,
        kOpSqr,
        kOpSin,
        kOpCos,
        kOpTan,
        kOpAtn,
        kOpAbs,
        kOpExp,
        kOpLn,
        kOpMax,
        kOpMin,
        kOpLess,
        kOpGreater,
        kOpLessEqual,
        kOpGreaterEqual,
        kOpCompute, // any other function of one or two arguments
        kOpCount
    };
    static constexpr int kGeneralStep = kOpCount * 4;

    // The steps of the loop, without the rows folded into constants. Copying a parser does not
    // copy them (they point into its storage); they are rebuilt at its next evaluation.
    struct RunCache
    {
        std::vector<Step> steps;
        double foldedFactor = 0.0; // angle factor the constants were folded with; 0 = not built
        RunCache() = default;
        RunCache(const RunCache&) {}
        RunCache& operator=(const RunCache&)
        {
            steps.clear();
            foldedFactor = 0.0;
            return *this;
        }
        RunCache(RunCache&&) = default;
        RunCache& operator=(RunCache&&) = default;
    };

    struct NegRef
    {
        int cell;
        int var;
    };

    struct OpenCall;
    class Parser;
    friend class Parser;

    bool parse();
    void resetTables();
    void compile();
    void buildRunSteps();
    int findVariable(const QVariant& key) const;
    bool runTable(double& result);
    bool generalStep(const Step& step, double& r);
    double compute(int code, int argTop, const double* a, double f);
    double computePair(int code, double x, double y);
    double evalOther(int code, int argTop, const double* a);
    bool knownCode(int code) const;
    void evaluationError(const Step& step, const double* a);
    void clearError();
    void setError(int number, int position, const QVariantList& values = {});
    void signal(int number);

    QString m_expression;
    bool m_parsed = false;
    bool m_hasRun = false;
    std::vector<Row> m_rows;
    std::vector<double> m_values; // slot and row values, a zero cell, negated variables
    std::vector<PlanStep> m_plan;
    std::vector<NegRef> m_negRefs;
    int m_zeroCell = 0;
    RunCache m_run;

    std::vector<Var> m_vars;
    std::vector<double> m_varValues;
    bool m_evalOneX = false; // the last evaluation was Eval1: every variable slot held m_evalOneValue
    double m_evalOneValue = 0.0;
    QHash<QString, int> m_varIndex;

    QString m_errorText;
    int m_errorId = 0;
    int m_errorPos = 0;

    QString m_angleUnit;
    double m_angleFactor = 1.0;
    bool m_opAssignExplicit = false;
    bool m_opUnitConv = true;
    bool m_opDMSConv = true;
    std::uint64_t m_randomState = 0x2545F4914F6CDD1DULL;
};

} // namespace supplink
