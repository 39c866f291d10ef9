// Evaluation loop of the expression evaluator. compile() turns the parsed expression table into a
// plan (every operand read from where it is made); buildRunSteps() binds the plan to the storage,
// folds the rows that cannot change between evaluations and gives the common operations a fast
// path; runTable() walks the steps. Eval, Eval1 and EvalMulti live here with the loop, so that it
// is inlined into them.

#include "mathparser/mathparser.h"

#include "mathparser/functioncodes.h"
#include "mathparser/mathfunctions.h"
#include "mathparser/mathliterals.h"
#include "mathparser/mathtables.h"
#include "mathparser/specialdispatch.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;

// x raised to y; 0 to the 0 fails. A square is a plain product.
inline double power(double x, double y)
{
    if (y == 2)
        return x * x;
    if (x == 0 && y == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::pow(x, y);
}

} // namespace

// Turns the ordered and linked table into the plan of the evaluation loop: every operand is read
// straight from where it is made (a constant slot, a variable, the row that feeds it).
void clsMathParser::compile()
{
    const int n = int(m_rows.size());
    std::vector<int> feeder(std::size_t(n) * kSlots, -1);
    for (int r = 0; r < n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        if (row.argOf > 0 && row.argIdx >= 1 && row.argIdx <= kSlots)
            feeder[std::size_t(row.argOf - 1) * kSlots + std::size_t(row.argIdx - 1)] = r;
    }
    m_zeroCell = n * kStride;
    int nextCell = m_zeroCell + 1;
    m_negRefs.clear();
    m_plan.clear();
    m_plan.reserve(std::size_t(n));
    for (int k = 0; k < n; ++k) {
        const int r = m_rows[std::size_t(k)].priIdx - 1;
        const Row& row = m_rows[std::size_t(r)];
        PlanStep step{};
        step.code = knownCode(row.code) && row.argTop <= kMaxArgs ? row.code : kUnknownStep;
        step.argTop = row.argTop;
        step.row = r;
        step.negate = row.sign == -1;
        step.last = row.argOf == 0 || row.argIdx == 0;
        step.out = r * kStride + kValueCell;
        step.cond = row.cond > 0 ? (row.cond - 1) * kStride + kValueCell : -1;
        for (int j = 0; j < kMaxArgs; ++j) {
            if (j >= row.argTop) {
                step.in[j] = m_zeroCell;
                continue;
            }
            const int source = feeder[std::size_t(r) * kSlots + std::size_t(j)];
            const Slot& slot = row.arg[j];
            if (source >= 0) {
                step.in[j] = source * kStride + kValueCell;
            } else if (slot.idx != 0 && slot.sign == -1) {
                m_negRefs.push_back(NegRef{nextCell, slot.idx - 1});
                step.in[j] = nextCell++;
            } else if (slot.idx != 0) {
                step.in[j] = -slot.idx;
            } else {
                step.in[j] = r * kStride + j;
            }
        }
        m_plan.push_back(step);
    }
    m_values.resize(std::size_t(nextCell), 0.0);
    m_run = RunCache();
}

// Binds the plan to the storage for the loop. Rows whose arguments can never change between
// evaluations (no variable, no varying row feeding them, no condition, a routine without state)
// are computed once here; their values stay in the table and the loop passes them by. Rows that
// fail stay in the loop, which then reports their error as usual. Done again when the angle unit
// changes, as the trigonometric rows depend on it.
void clsMathParser::buildRunSteps()
{
    m_run.foldedFactor = m_angleFactor;
    m_run.steps.clear();
    m_run.steps.reserve(m_plan.size());
    double* const v = m_values.data();
    const double* const vars = m_varValues.data();
    const auto cell = [&](int index) -> const double* {
        return index >= 0 ? v + index : vars + (-index - 1);
    };
    std::vector<char> varying(m_rows.size(), 0);
    for (const PlanStep& plan : m_plan) {
        bool dynamic = plan.cond >= 0 || plan.last || plan.code == mathfn::Rnd || plan.code == kUnknownStep;
        for (int j = 0; j < plan.argTop && j < kMaxArgs && !dynamic; ++j) {
            const int index = plan.in[j];
            if (index < 0 || index > m_zeroCell)
                dynamic = true; // a variable
            else if (index % kStride == kValueCell && index < m_zeroCell)
                dynamic = varying[std::size_t(index / kStride)] != 0;
        }
        if (!dynamic) {
            double a[kMaxArgs];
            for (int j = 0; j < kMaxArgs; ++j)
                a[j] = *cell(plan.in[j]);
            double r = compute(plan.code, plan.argTop, a, m_angleFactor);
            if (std::isfinite(r)) {
                v[plan.out] = plan.negate ? -r : r;
                continue;
            }
        }
        varying[std::size_t(plan.row)] = 1;
        Step step{};
        const bool general = plan.cond >= 0 || plan.negate || plan.argTop > 2 || plan.code == kUnknownStep ||
                             mathfn::isSpecialFunction(plan.code);
        step.fn = plan.code;
        step.x = cell(plan.in[0]);
        step.y = cell(plan.in[1]);
        step.out = v + plan.out;
        step.plan = &plan;
        if (general) {
            step.code = kGeneralStep;
        } else {
            int op = kOpCompute;
            switch (plan.code) {
            case mathfn::Plus:
                op = kOpAdd;
                break;
            case mathfn::Minus:
                op = kOpSub;
                break;
            case mathfn::Times:
                op = kOpMul;
                break;
            case mathfn::Divide:
                op = kOpDiv;
                break;
            case mathfn::Power:
                op = kOpPow;
                break;
            case mathfn::Sqr:
                op = kOpSqr;
                break;
            case mathfn::Sin:
                op = kOpSin;
                break;
            case mathfn::Cos:
                op = kOpCos;
                break;
            case mathfn::Tan:
                op = kOpTan;
                break;
            case mathfn::Atn:
                op = kOpAtn;
                break;
            case mathfn::Abs:
                op = kOpAbs;
                break;
            case mathfn::Exp:
                op = kOpExp;
                break;
            case mathfn::Ln:
            case mathfn::Log:
                op = kOpLn;
                break;
            case mathfn::Max:
                op = kOpMax;
                break;
            case mathfn::Min:
                op = kOpMin;
                break;
            case mathfn::Less:
                op = kOpLess;
                break;
            case mathfn::Greater:
                op = kOpGreater;
                break;
            case mathfn::LessEqual:
                op = kOpLessEqual;
                break;
            case mathfn::GreaterEqual:
                op = kOpGreaterEqual;
                break;
            default:
                break;
            }
            int accMask = 0;
            if (!m_run.steps.empty()) {
                const double* previous = m_run.steps.back().out;
                accMask = (step.x == previous ? 1 : 0) | (step.y == previous ? 2 : 0);
            }
            step.code = op * 4 + accMask;
        }
        m_run.steps.push_back(step);
        if (plan.last)
            break;
    }
}

inline void clsMathParser::clearError()
{
    if (m_errorId != 0) {
        m_errorId = 0;
        m_errorText.clear();
    }
}

// The evaluation entry points, with the loop inlined into them, start on a cache line: the loop's
// speed then no longer shifts with the size of the code that the linker puts before this file
// (a move by 16 bytes cost some 2 percent).
#if defined(__GNUC__)
#define SUPPLINK_ALWAYS_INLINE __attribute__((always_inline)) inline
#define SUPPLINK_HOT_ENTRY __attribute__((aligned(64)))
#else
#define SUPPLINK_ALWAYS_INLINE inline
#define SUPPLINK_HOT_ENTRY
#endif

// The value of one row from its argument values. The common operations are computed here, the
// rest by evalOther; a failure gives a value that is not finite.
SUPPLINK_ALWAYS_INLINE double clsMathParser::compute(int code, int argTop, const double* a, double f)
{
    switch (code) {
    case mathfn::Plus:
        return a[0] + a[1];
    case mathfn::Minus:
        return a[0] - a[1];
    case mathfn::Times:
        return a[0] * a[1];
    case mathfn::Divide:
        return a[0] / a[1];
    case mathfn::Power:
        return power(a[0], a[1]);
    case mathfn::Greater:
        return a[0] > a[1] ? 1.0 : 0.0;
    case mathfn::GreaterEqual:
        return a[0] >= a[1] ? 1.0 : 0.0;
    case mathfn::Less:
        return a[0] < a[1] ? 1.0 : 0.0;
    case mathfn::LessEqual:
        return a[0] <= a[1] ? 1.0 : 0.0;
    case mathfn::Equal:
        return a[0] == a[1] ? 1.0 : 0.0;
    case mathfn::NotEqual:
        return a[0] != a[1] ? 1.0 : 0.0;
    case mathfn::Abs:
        return std::fabs(a[0]);
    case mathfn::Atn:
        return std::atan(a[0]) / f;
    case mathfn::Cos:
        return std::cos(a[0] * f);
    case mathfn::Sin:
        return std::sin(a[0] * f);
    case mathfn::Tan:
        return std::tan(a[0] * f);
    case mathfn::Sqr:
        return std::sqrt(a[0]);
    case mathfn::Exp:
        return std::exp(a[0]);
    case mathfn::Ln:
    case mathfn::Log:
        return std::log(a[0]);
    case mathfn::Min:
        return a[0] >= a[1] ? a[1] : a[0];
    case mathfn::Max:
        return a[0] <= a[1] ? a[1] : a[0];
    case mathfn::Neg:
        return -a[0];
    case mathfn::AtRight:
        return a[1];
    case kUnknownStep:
        return std::numeric_limits<double>::quiet_NaN();
    default:
        return evalOther(code, argTop, a);
    }
}

SUPPLINK_ALWAYS_INLINE double clsMathParser::computePair(int code, double x, double y)
{
    const double a[2] = {x, y};
    return compute(code, 2, a, m_angleFactor);
}

SUPPLINK_ALWAYS_INLINE bool clsMathParser::runTable(double& result)
{
    if (m_run.foldedFactor != m_angleFactor) [[unlikely]]
        buildRunSteps();
    if (!m_hasRun)
        m_hasRun = true;
    if (!m_negRefs.empty()) {
        double* const v = m_values.data();
        const double* const vars = m_varValues.data();
        for (const NegRef& ref : m_negRefs)
            v[ref.cell] = -vars[ref.var];
    }
    // An operand that is the result of the step just before is taken from r, not from memory.
#define SUPPLINK_BINARY_OP(op, expr)                                                                         \
    case op * 4 + 0: {                                                                                       \
        const double x = *step.x, y = *step.y;                                                               \
        r = expr;                                                                                            \
        break;                                                                                               \
    }                                                                                                        \
    case op * 4 + 1: {                                                                                       \
        const double x = r, y = *step.y;                                                                     \
        r = expr;                                                                                            \
        break;                                                                                               \
    }                                                                                                        \
    case op * 4 + 2: {                                                                                       \
        const double x = *step.x, y = r;                                                                     \
        r = expr;                                                                                            \
        break;                                                                                               \
    }                                                                                                        \
    case op * 4 + 3: {                                                                                       \
        const double x = r, y = r;                                                                           \
        r = expr;                                                                                            \
        break;                                                                                               \
    }
#define SUPPLINK_UNARY_OP(op, expr)                                                                          \
    case op * 4 + 0: {                                                                                       \
        const double x = *step.x;                                                                            \
        r = expr;                                                                                            \
        break;                                                                                               \
    }                                                                                                        \
    case op * 4 + 1: {                                                                                       \
        const double x = r;                                                                                  \
        r = expr;                                                                                            \
        break;                                                                                               \
    }
    const double f = m_angleFactor;
    double r = 0.0;
    for (const Step& step : m_run.steps) {
        switch (step.code) {
            SUPPLINK_BINARY_OP(kOpAdd, x + y)
            SUPPLINK_BINARY_OP(kOpSub, x - y)
            SUPPLINK_BINARY_OP(kOpMul, x * y)
            SUPPLINK_BINARY_OP(kOpDiv, x / y)
            SUPPLINK_BINARY_OP(kOpPow, power(x, y))
            SUPPLINK_UNARY_OP(kOpSqr, std::sqrt(x))
            SUPPLINK_UNARY_OP(kOpSin, std::sin(x * f))
            SUPPLINK_UNARY_OP(kOpCos, std::cos(x * f))
            SUPPLINK_UNARY_OP(kOpTan, std::tan(x * f))
            SUPPLINK_UNARY_OP(kOpAtn, std::atan(x) / f)
            SUPPLINK_UNARY_OP(kOpAbs, std::fabs(x))
            SUPPLINK_UNARY_OP(kOpExp, std::exp(x))
            SUPPLINK_UNARY_OP(kOpLn, std::log(x))
            SUPPLINK_BINARY_OP(kOpMax, x <= y ? y : x)
            SUPPLINK_BINARY_OP(kOpMin, x >= y ? y : x)
            SUPPLINK_BINARY_OP(kOpLess, x < y ? 1.0 : 0.0)
            SUPPLINK_BINARY_OP(kOpGreater, x > y ? 1.0 : 0.0)
            SUPPLINK_BINARY_OP(kOpLessEqual, x <= y ? 1.0 : 0.0)
            SUPPLINK_BINARY_OP(kOpGreaterEqual, x >= y ? 1.0 : 0.0)
            SUPPLINK_BINARY_OP(kOpCompute, computePair(step.fn, x, y))
        default:
            if (!generalStep(step, r))
                return false;
            break;
        }
#undef SUPPLINK_UNARY_OP
#undef SUPPLINK_BINARY_OP
        if (!std::isfinite(r)) [[unlikely]] {
            const double a[kMaxArgs] = {*step.x, *step.y, 0.0, 0.0};
            evaluationError(step, a);
            return false;
        }
        *step.out = r;
    }
    result = r;
    return true;
}

// A row with a condition, a sign, more than two arguments or a special function.
bool clsMathParser::generalStep(const Step& step, double& r)
{
    const PlanStep& plan = *step.plan;
    const double* const v = m_values.data();
    if (plan.cond >= 0 && v[plan.cond] == 0) {
        r = 0.0; // the condition is false: the row is skipped
        return true;
    }
    double a[kMaxArgs];
    for (int j = 0; j < kMaxArgs; ++j)
        a[j] = plan.in[j] >= 0 ? v[plan.in[j]] : m_varValues[std::size_t(-plan.in[j] - 1)];
    r = compute(plan.code, plan.argTop, a, m_angleFactor);
    if (!std::isfinite(r)) {
        evaluationError(step, a);
        return false;
    }
    if (plan.negate)
        r = -r;
    return true;
}

SUPPLINK_HOT_ENTRY double clsMathParser::Eval()
{
    try {
        if (!m_parsed) {
            signal(1001);
            return 0.0;
        }
        clearError();
        if (m_opAssignExplicit) {
            for (const Var& var : m_vars) {
                if (!var.assigned) {
                    setError(18, 1, {var.name});
                    signal(1001);
                    return 0.0;
                }
            }
        }
        if (m_evalOneX)
            m_evalOneX = false;
        double result = 0.0;
        if (runTable(result))
            return result;
        signal(1001);
        return 0.0;
    } catch (...) {
        return 0.0;
    }
}

SUPPLINK_HOT_ENTRY double clsMathParser::Eval1(double x)
{
    try {
        if (!m_parsed) {
            signal(1002);
            return 0.0;
        }
        clearError();
        if (m_vars.size() > 1) {
            setError(1, 1);
            signal(1002);
            return 0.0;
        }
        // Every variable reference takes x; the variable itself keeps its value.
        double result = 0.0;
        bool ok = true;
        if (m_vars.empty()) {
            ok = runTable(result);
        } else {
            const double kept = m_varValues[0];
            m_varValues[0] = x;
            m_evalOneX = true;
            m_evalOneValue = x;
            ok = runTable(result);
            m_varValues[0] = kept;
        }
        if (ok)
            return result;
        signal(1002);
        return 0.0;
    } catch (...) {
        return 0.0;
    }
}

SUPPLINK_HOT_ENTRY QVector<double> clsMathParser::EvalMulti(const QVector<double>& values,
                                                            const QVariant& variable)
{
    try {
        if (!m_parsed) {
            signal(1001);
            return {};
        }
        clearError();
        const int number = m_vars.empty() ? 0 : findVariable(variable.isValid() ? variable : QVariant(1));
        if (number == 0) {
            setError(2, 1);
            signal(1001);
            return {};
        }
        QVector<double> results(values.size(), 0.0);
        for (qsizetype i = 1; i < values.size(); ++i) {
            m_varValues[std::size_t(number - 1)] = values[i];
            m_evalOneX = false;
            double result = 0.0;
            if (!runTable(result)) {
                signal(1001);
                return {};
            }
            results[i] = result;
        }
        return results;
    } catch (...) {
        return {};
    }
}

bool clsMathParser::knownCode(int code) const
{
    if (mathfn::isSpecialFunction(code))
        return true;
    // clang-format off
    switch (code) {
    case mathfn::AtRight:
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
    case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18: case 19: case 20:
    case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28: case 29: case 30:
    case 31: case 32: case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40:
    case 41: case 42: case 43: case 44: case 45:
    case 53: case 54: case 55: case 56: case 57: case 58: case 59: case 60: case 61: case 62:
    case 63: case 64: case 65: case 66: case 67: case 68: case 69: case 70: case 71: case 72:
    case 73: case 74: case 75: case 76: case 77: case 78: case 79:
    case 150: case 151: case 152: case 153: case 154: case 155:
    case 201: case 202: case 203: case 204: case 207: case 306: case 307:
        return true;
    default:
        return false;
    }
    // clang-format on
}

double clsMathParser::evalOther(int code, int argTop, const double* a)
{
    using namespace mathfunctions;
    const double f = m_angleFactor;
    const double x = a[0];
    const double y = a[1];
    double r = std::numeric_limits<double>::quiet_NaN();
    switch (code) {
    case mathfn::Percent:
        r = x / 100;
        return r;
    case mathfn::IntDivide: {
        const double rx = RoundHalfEven(x);
        const double ry = RoundHalfEven(y);
        r = ry == 0 ? std::numeric_limits<double>::quiet_NaN() : std::trunc(rx / ry);
        return r;
    }
    case mathfn::And:
        r = (x != 0 && y != 0) ? 1.0 : 0.0;
        return r;
    case mathfn::Or:
        r = (x != 0 || y != 0) ? 1.0 : 0.0;
        return r;
    case mathfn::Not:
        r = x == 0 ? 1.0 : 0.0;
        return r;
    case mathfn::Xor:
        r = ((x != 0) != (y != 0)) ? 1.0 : 0.0;
        return r;
    case mathfn::Nand:
        r = (x != 0 && y != 0) ? 0.0 : 1.0;
        return r;
    case mathfn::Nor:
        r = (x != 0 || y != 0) ? 0.0 : 1.0;
        return r;
    case mathfn::NXor:
        r = ((x != 0) != (y != 0)) ? 0.0 : 1.0;
        return r;
    case mathfn::Csc:
        r = 1 / std::sin(x * f);
        return r;
    case mathfn::Sec:
        r = 1 / std::cos(x * f);
        return r;
    case mathfn::Cot:
        r = 1 / std::tan(x * f);
        return r;
    case mathfn::Acos:
        r = Acos(x) / f;
        return r;
    case mathfn::Asin:
        r = Asin(x) / f;
        return r;
    case mathfn::Acsc:
        r = Asin(1 / x) / f;
        return r;
    case mathfn::Asec:
        r = Acos(1 / x) / f;
        return r;
    case mathfn::Acot:
        r = (kPi / 2 - std::atan(x)) / f;
        return r;
    case mathfn::Cosh:
        r = Cosh(x);
        return r;
    case mathfn::Sinh:
        r = Sinh(x);
        return r;
    case mathfn::Tanh:
        r = Tanh(x);
        return r;
    case mathfn::Acosh:
        r = Acosh(x);
        return r;
    case mathfn::Asinh:
        r = Asinh(x);
        return r;
    case mathfn::Atanh:
        r = Atanh(x);
        return r;
    case mathfn::Csch:
        r = 1 / Sinh(x);
        return r;
    case mathfn::Sech:
        r = 1 / Cosh(x);
        return r;
    case mathfn::Coth:
        r = 1 / Tanh(x);
        return r;
    case mathfn::Acsch:
        r = Asinh(1 / x);
        return r;
    case mathfn::Asech:
        r = Acosh(1 / x);
        return r;
    case mathfn::Acoth:
        r = Atanh(1 / x);
        return r;
    case mathfn::Fix:
        r = std::trunc(x);
        return r;
    case mathfn::Int:
        r = std::floor(x);
        return r;
    case mathfn::LogN:
        r = std::log(x) / std::log(y);
        return r;
    case mathfn::Rnd: {
        // xorshift64*: a fixed pseudo-random sequence in [0, 1)
        m_randomState ^= m_randomState >> 12;
        m_randomState ^= m_randomState << 25;
        m_randomState ^= m_randomState >> 27;
        const std::uint64_t bits = m_randomState * 0x2545F4914F6CDD1DULL;
        r = x * (double(bits >> 11) * 0x1.0p-53);
        return r;
    }
    case mathfn::Sgn:
        r = x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
        return r;
    case mathfn::Cbr:
        r = std::pow(std::fabs(x), 1.0 / 3) * (x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0));
        return r;
    case mathfn::Rad:
        r = x / f;
        return r;
    case mathfn::Deg:
        r = x / f * kPi / 180;
        return r;
    case mathfn::Grad:
        r = x / f * kPi / 200;
        return r;
    case mathfn::Mod:
        r = Mod(x, y);
        return r;
    case mathfn::Fact:
        r = Fact(x);
        return r;
    case mathfn::Comb:
        r = Comb(x, y);
        return r;
    case mathfn::Perm:
        r = Perm(x, y);
        return r;
    case mathfn::Gcd:
        r = Gcd(x, y);
        return r;
    case mathfn::Lcm:
        r = Lcm(x, y);
        return r;
    case mathfn::Root:
        r = Root(x, y);
        return r;
    case mathfn::Dec:
        r = Dec(x);
        return r;
    case mathfn::Round:
        r = Round(x, y);
        return r;
    case mathfn::DPoisson:
        r = DPoisson(x, y);
        return r;
    case mathfn::CPoisson:
        r = CPoisson(x, y);
        return r;
    case mathfn::Year:
    case mathfn::Month:
    case mathfn::Day:
    case mathfn::Hour:
    case mathfn::Minute:
    case mathfn::Second:
        r = DatePart(code, x);
        return r;
    case mathfn::DNorm:
        r = DNorm(x, y, a[2]);
        return r;
    case mathfn::CNorm:
        r = CNorm(x, y, a[2]);
        return r;
    case mathfn::DBinom:
        r = DBinom(x, y, a[2]);
        return r;
    case mathfn::CBinom:
        r = CBinom(x, y, a[2]);
        return r;
    case mathfn::Clip:
        r = Clip(x, y, a[2]);
        return r;
    case mathfn::DateSerial:
        r = mathfunctions::DateSerial(x, y, a[2]);
        return r;
    case mathfn::TimeSerial:
        r = mathfunctions::TimeSerial(x, y, a[2]);
        return r;
    default:
        break;
    }
    if (mathfn::isSpecialFunction(code)) {
        QString text;
        if (!evalSpecialFunction(code, a, argTop, r, text))
            r = std::numeric_limits<double>::quiet_NaN();
    }
    return r;
}

void clsMathParser::evaluationError(const Step& step, const double* a)
{
    const Row& row = m_rows[std::size_t(step.plan->row)];
    if (step.plan->code == kUnknownStep) {
        setError(13, row.posInExpr, {row.code});
        return;
    }
    if (row.argTop <= 1) {
        setError(14, row.posInExpr, {row.fun, a[0], row.posInExpr});
    } else if (row.argTop == 2) {
        if (mathtables::FunctionArgCount(row.fun) == 2)
            setError(15, row.posInExpr, {row.fun, a[0], a[1], row.posInExpr});
        else
            setError(16, row.posInExpr, {a[0], row.fun, a[1], row.posInExpr});
    } else {
        QStringList arguments;
        for (int s = 0; s < std::min(row.argTop, int(kMaxArgs)); ++s)
            arguments.append(mathliterals::NumberText(a[s]));
        setError(17, row.posInExpr, {row.fun, arguments.join(QLatin1Char(',')), row.posInExpr});
    }
}

} // namespace supplink
