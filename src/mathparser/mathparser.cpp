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
#include <numeric>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;

thread_local MathParserSignal tLastSignal;

// x raised to y; 0 to the 0 fails. A square is a plain product.
inline double power(double x, double y)
{
    if (y == 2)
        return x * x;
    if (x == 0 && y == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::pow(x, y);
}

bool isComparison(int code)
{
    return code >= mathfn::Greater && code <= mathfn::NotEqual;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isOpenBracket(QChar c)
{
    return c == QLatin1Char('(') || c == QLatin1Char('[') || c == QLatin1Char('{');
}

bool isCloseBracket(QChar c)
{
    return c == QLatin1Char(')') || c == QLatin1Char(']') || c == QLatin1Char('}');
}

bool isVariableName(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (!first.isLetter() && first != QLatin1Char('_'))
        return false;
    for (QChar c : text) {
        if (!c.isLetter() && !isAsciiDigit(c) && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// Fills the first "$" of the text with the value's text form.
QString fillPlaceholder(const QString& text, const QVariant& value)
{
    const qsizetype at = text.indexOf(QLatin1Char('$'));
    if (at < 0)
        return text;
    QString valueText;
    if (value.typeId() == QMetaType::Double)
        valueText = mathliterals::NumberText(value.toDouble());
    else
        valueText = value.toString();
    QString out = text;
    out.replace(at, 1, valueText);
    return out;
}

} // namespace

const MathParserSignal& LastMathParserSignal()
{
    return tLastSignal;
}

void ClearMathParserSignal()
{
    tLastSignal = MathParserSignal();
}

// ---------------------------------------------------------------------------------------------
// Parser: one left-to-right scan that builds the expression table, then the ordering and linking
// of its rows.

struct clsMathParser::OpenCall
{
    QString name;
    int argCount = 0;
    int commasLeft = 0;
    int sign = 1;
    int depth = 0; // nesting depth inside the call's own bracket
};

class clsMathParser::Parser
{
public:
    explicit Parser(clsMathParser& owner) : p(owner), text(owner.m_expression) {}

    bool run();

private:
    enum class Opener
    {
        Bracket,
        Bar
    };

    int depth() const { return int(openers.size()); }
    bool fail(int number, int position, const QVariantList& values = {})
    {
        p.setError(number, position, values);
        return false;
    }
    int newRow(const QString& fun, int argTop, int level, int sign, int position, bool halfLevel = false);
    bool takeOperand(const QString& token, int row, int slot, int position);
    bool operatorRow(const QString& fun, int base, int position);
    bool openBracket(int i, bool& madeRow);
    bool closeBracket(int i);
    bool comma(int i);
    bool bar(int i, bool& madeRow);
    bool comparisonChar(QChar c, int i, bool& madeRow);
    QChar lastNonBlankBefore(int i) const;
    bool finish();
    void sortOrder();
    void link();
    void markConditions();
    void linkExtraArguments();
    void forgetReceivingVariables();
    int sortKey(int row) const
    {
        return 2 * p.m_rows[std::size_t(row)].priLvl + (p.m_rows[std::size_t(row)].halfLevel ? 1 : 0);
    }

    clsMathParser& p;
    const QString& text;
    QString token;
    std::vector<Opener> openers;
    std::vector<OpenCall> calls;
    QString comparison;
    std::vector<int> order; // 0-based rows in evaluation order
};

int clsMathParser::Parser::newRow(const QString& fun, int argTop, int level, int sign, int position,
                                  bool halfLevel)
{
    Row row;
    row.fun = fun;
    row.code = mathtables::FunctionCode(fun);
    row.argTop = argTop;
    row.priLvl = level;
    row.halfLevel = halfLevel;
    row.sign = sign;
    row.posInExpr = position;
    p.m_rows.push_back(row);
    p.m_values.resize(p.m_rows.size() * kStride, 0.0);
    return int(p.m_rows.size()) - 1;
}

bool clsMathParser::Parser::takeOperand(const QString& tokenText, int row, int slot, int position)
{
    if (tokenText.isEmpty())
        return fail(8, position);
    int sign = 1;
    QString body = tokenText;
    if (body.front() == QLatin1Char('+') || body.front() == QLatin1Char('-')) {
        sign = body.front() == QLatin1Char('-') ? -1 : 1;
        body.remove(0, 1);
    }
    if (body.isEmpty())
        return fail(8, position);

    Slot& target = p.m_rows[std::size_t(row)].arg[slot - 1];
    double& value = p.m_values[std::size_t(row) * kStride + std::size_t(slot - 1)];
    target = Slot();

    double read = 0.0;
    QString constantName;
    switch (mathliterals::ReadConstant(body, read, constantName)) {
    case mathliterals::ConstantRead::Constant:
        value = sign * read;
        return true;
    case mathliterals::ConstantRead::Unknown:
        return fail(19, position, {constantName});
    case mathliterals::ConstantRead::NotConstant:
        break;
    }
    if (p.m_opUnitConv && mathliterals::ReadQuantity(body, read)) {
        value = sign * read;
        return true;
    }
    if (mathliterals::NumberValue(body, read)) {
        value = sign * read;
        return true;
    }
    if (p.m_opDMSConv) {
        QString message;
        if (mathliterals::ParseDMS(body, true, read, message)) {
            if (!message.isEmpty())
                return fail(21, position);
            value = sign * read;
            return true;
        }
    }
    if (isVariableName(body)) {
        const QString key = body.toLower();
        int number = p.m_varIndex.value(key, 0);
        if (number == 0) {
            if (int(p.m_vars.size()) >= kMaxVariables)
                return fail(1, position);
            p.m_vars.push_back(Var{body, false});
            p.m_varValues.push_back(0.0);
            number = int(p.m_vars.size());
            p.m_varIndex.insert(key, number);
        }
        target.idx = number;
        target.name = body;
        target.sign = sign;
        value = 0.0;
        return true;
    }
    return fail(12, position, {tokenText});
}

bool clsMathParser::Parser::operatorRow(const QString& fun, int base, int position)
{
    const int row = newRow(fun, 2, 10 * depth() + base, 1, position);
    if (!takeOperand(token, row, 1, position))
        return false;
    token.clear();
    return true;
}

bool clsMathParser::Parser::openBracket(int i, bool& madeRow)
{
    openers.push_back(Opener::Bracket);
    if (token.isEmpty())
        return true;
    int sign = 1;
    QString name = token;
    if (name.front() == QLatin1Char('+') || name.front() == QLatin1Char('-')) {
        sign = name.front() == QLatin1Char('-') ? -1 : 1;
        name.remove(0, 1);
    }
    if (name.isEmpty()) {
        if (token != QLatin1String("-"))
            return fail(8, i);
        name = QStringLiteral("Neg");
        sign = 1;
    }
    const int argCount = mathtables::FunctionArgCount(name);
    if (argCount == 1) {
        newRow(name, 1, 10 * depth(), sign, i);
        madeRow = true;
    } else if (argCount >= 2) {
        if (int(calls.size()) >= kMaxOpenCalls)
            return fail(20, i);
        calls.push_back(OpenCall{name, argCount, argCount - 1, sign, depth()});
    } else if (mathliterals::IsNumberText(name)) {
        return fail(5, i, {i});
    } else {
        const int at = i - int(name.size());
        return fail(6, at, {name, at});
    }
    token.clear();
    return true;
}

bool clsMathParser::Parser::closeBracket(int i)
{
    if (openers.empty())
        return fail(9, i, {i});
    // A bracket never closes a bar, and a call's bracket never closes before its last argument.
    if (openers.back() != Opener::Bracket)
        return fail(5, i, {i});
    if (!calls.empty() && calls.back().depth == depth())
        return fail(8, i);
    openers.pop_back();
    return true;
}

bool clsMathParser::Parser::comma(int i)
{
    if (calls.empty() || calls.back().depth != depth())
        return fail(9, i, {i});
    OpenCall& call = calls.back();
    const int row = newRow(call.name, call.argCount, 10 * depth(), call.sign, i);
    if (!takeOperand(token, row, 1, i))
        return false;
    token.clear();
    if (call.sign == -1)
        call.sign = 1;
    if (--call.commasLeft == 0)
        calls.pop_back();
    return true;
}

bool clsMathParser::Parser::bar(int i, bool& madeRow)
{
    if (!token.isEmpty() && token != QLatin1String("-")) {
        if (openers.empty() || openers.back() != Opener::Bar)
            return fail(5, i, {i});
        openers.pop_back();
        return true;
    }
    openers.push_back(Opener::Bar);
    const int sign = token.isEmpty() ? 1 : -1;
    token.clear();
    newRow(QStringLiteral("abs"), 1, 10 * depth(), sign, i);
    madeRow = true;
    return true;
}

bool clsMathParser::Parser::comparisonChar(QChar c, int i, bool& madeRow)
{
    if (comparison.isEmpty()) {
        if (!p.m_rows.empty() && isComparison(p.m_rows.back().code)) {
            // 0<x<1 means (0<x)*(x<1): the shared operand belongs to both comparisons. The
            // product sorts below the comparisons and above everything around them.
            const int product = newRow(QStringLiteral("*"), 2, 10 * depth(), 1, i, true);
            if (!takeOperand(token, product, 1, i))
                return false;
        }
        const int row = newRow(QString(c), 2, 10 * depth() + 1, 1, i);
        if (!takeOperand(token, row, 1, i))
            return false;
        token.clear();
        comparison = QString(c);
        madeRow = true;
        return true;
    }
    comparison += c;
    Row& row = p.m_rows.back();
    row.fun = comparison;
    row.code = mathtables::FunctionCode(comparison);
    if (row.code == -1 || !isComparison(row.code))
        return fail(5, i, {i});
    return true;
}

QChar clsMathParser::Parser::lastNonBlankBefore(int i) const
{
    for (int k = i - 2; k >= 0; --k) {
        if (text[k] != QLatin1Char(' '))
            return text[k];
    }
    return QChar();
}

bool clsMathParser::Parser::run()
{
    if (mathliterals::CountAbsBars(text) % 2 != 0)
        return fail(4, 1);

    const int length = int(text.size());
    bool afterClose = false;
    for (int i = 1; i <= length; ++i) {
        p.m_errorPos = i;
        const QChar c = text[i - 1];
        if (afterClose && (c.isLetter() || c == QLatin1Char('_') || isAsciiDigit(c) || c == QLatin1Char('.')))
            return fail(5, i, {i});

        bool madeRow = false;
        bool closes = false;
        const ushort u = c.unicode();
        if (u == ' ') {
            // blanks never end a token: "1 000" is 1000
        } else if (isOpenBracket(c)) {
            if (!openBracket(i, madeRow))
                return false;
        } else if (isCloseBracket(c)) {
            if (!closeBracket(i))
                return false;
            closes = true;
        } else if (u == '+' || u == '-') {
            if (!token.isEmpty()) {
                const QChar last = token.back();
                if ((last == QLatin1Char('E') || last == QLatin1Char('e')) &&
                    mathliterals::IsNumberText(QStringView(token).chopped(1))) {
                    token += c;
                } else {
                    if (!operatorRow(QString(c), 2, i))
                        return false;
                    madeRow = true;
                }
            } else {
                if (isCloseBracket(lastNonBlankBefore(i)))
                    return fail(8, i);
                token = QString(c);
            }
        } else if (u == '*' || u == '/' || u == '\\') {
            if (!operatorRow(QString(c), 3, i))
                return false;
            madeRow = true;
        } else if (u == '^') {
            if (!operatorRow(QString(c), 4, i))
                return false;
            madeRow = true;
        } else if (u == '!' || u == '%') {
            // The operand stays pending: it is also the left operand of a following operator.
            const int row = newRow(QString(c), 1, 10 * depth() + 9, 1, i);
            if (!takeOperand(token, row, 1, i))
                return false;
            madeRow = true;
            closes = true;
        } else if (u == ',') {
            if (!comma(i))
                return false;
            madeRow = true;
        } else if (u == '|') {
            const bool closing = !token.isEmpty() && token != QLatin1String("-");
            if (!bar(i, madeRow))
                return false;
            closes = closing;
        } else if (u == '=' || u == '<' || u == '>') {
            if (!comparisonChar(c, i, madeRow))
                return false;
        } else if (u == 'x' || u == 'y' || u == 'z' || u == 'X' || u == 'Y' || u == 'Z') {
            if (!token.isEmpty() && mathliterals::IsNumberText(token)) {
                // 2x is 2*x: the number is the left operand, the letter starts the next token
                if (!operatorRow(QStringLiteral("*"), 3, i))
                    return false;
                madeRow = true;
            }
            token += c;
        } else {
            token += c;
        }

        if (closes)
            afterClose = true;
        else if (madeRow)
            afterClose = false;
        if (!madeRow)
            comparison.clear();
        if (int(p.m_rows.size()) > kMaxRows - 2)
            return fail(20, 1);
    }
    return finish();
}

bool clsMathParser::Parser::finish()
{
    if (!openers.empty())
        return fail(11, 1);
    std::vector<Row>& rows = p.m_rows;
    if (rows.empty())
        newRow(QStringLiteral("+"), 2, 1, 1, 1);

    const int n = int(rows.size());
    for (int r = 0; r + 1 < n; ++r) {
        const int slot = std::min(rows[std::size_t(r)].argTop, 2);
        rows[std::size_t(r)].arg[slot - 1] = rows[std::size_t(r) + 1].arg[0];
        p.m_values[std::size_t(r) * kStride + std::size_t(slot - 1)] =
            p.m_values[std::size_t(r + 1) * kStride];
    }
    if (token.isEmpty() || !calls.empty())
        return fail(8, p.m_errorPos);
    if (!takeOperand(token, n - 1, std::min(rows.back().argTop, 2), p.m_errorPos))
        return false;

    sortOrder();
    link();
    markConditions();
    linkExtraArguments();
    forgetReceivingVariables();
    for (int k = 0; k < n; ++k)
        rows[std::size_t(k)].priIdx = order[std::size_t(k)] + 1;
    return true;
}

void clsMathParser::Parser::sortOrder()
{
    order.resize(p.m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return sortKey(a) > sortKey(b); });
}

void clsMathParser::Parser::link()
{
    std::vector<Row>& rows = p.m_rows;
    const int n = int(rows.size());
    for (int i : order) {
        int left = -1;
        for (int j = i - 1; j >= 0; --j) {
            if (rows[std::size_t(j)].argOf == 0) {
                left = j;
                break;
            }
        }
        int right = -1;
        for (int j = i + 1; j < n; ++j) {
            if (rows[std::size_t(j)].argOf == 0) {
                right = j;
                break;
            }
        }
        Row& row = rows[std::size_t(i)];
        if (left < 0 && right < 0)
            continue; // the last row to evaluate
        const bool toRight = left < 0 || (right >= 0 && sortKey(left) < sortKey(right));
        if (toRight) {
            row.argOf = right + 1;
            row.argIdx = 1;
        } else {
            row.argOf = left + 1;
            row.argIdx = std::min(rows[std::size_t(left)].argTop, 2);
        }
    }
}

void clsMathParser::Parser::markConditions()
{
    std::vector<Row>& rows = p.m_rows;
    const int n = int(rows.size());
    bool anyComparison = false;
    for (int c = 0; c < n; ++c) {
        if (!isComparison(rows[std::size_t(c)].code))
            continue;
        anyComparison = true;
        const int product = rows[std::size_t(c)].argOf - 1;
        if (product < 0 || rows[std::size_t(product)].code != mathfn::Times)
            continue;
        // In (x<0)*f(x) the comparison and its operands are evaluated first and the rows of the
        // other factor are skipped when the comparison is false.
        for (int r = 0; r < n; ++r) {
            if (r == product)
                continue;
            bool throughComparison = false;
            bool reached = false;
            int j = r;
            for (int guard = 0; guard <= n; ++guard) {
                if (isComparison(rows[std::size_t(j)].code))
                    throughComparison = true;
                const int next = rows[std::size_t(j)].argOf - 1;
                if (next < 0)
                    break;
                if (next == product) {
                    reached = true;
                    break;
                }
                j = next;
            }
            if (!reached)
                continue;
            if (throughComparison)
                rows[std::size_t(r)].priLvl += 100;
            else
                rows[std::size_t(r)].cond = c + 1;
        }
    }
    if (anyComparison)
        sortOrder();
}

void clsMathParser::Parser::linkExtraArguments()
{
    std::vector<Row>& rows = p.m_rows;
    const int n = int(rows.size());
    for (int r = 0; r < n; ++r) {
        const int k = rows[std::size_t(r)].argTop;
        if (k <= 2)
            continue;
        for (int a = 3; a <= k; ++a) {
            const int receiver = rows[std::size_t(r)].argOf - 1;
            if (receiver < 0)
                break;
            Row& right = rows[std::size_t(receiver)];
            right.fun = QStringLiteral("@Right");
            right.code = mathfn::AtRight;
            right.argTop = 2;
            const int formerOf = right.argOf;
            const int formerIdx = right.argIdx;
            right.argOf = r + 1;
            right.argIdx = a;
            rows[std::size_t(r)].argOf = formerOf;
            rows[std::size_t(r)].argIdx = formerIdx;
            const auto callPos = std::find(order.begin(), order.end(), r);
            const auto rightPos = std::find(order.begin(), order.end(), receiver);
            std::iter_swap(callPos, rightPos);
        }
    }
}

void clsMathParser::Parser::forgetReceivingVariables()
{
    for (const Row& row : p.m_rows) {
        if (row.argOf > 0 && row.argIdx >= 1 && row.argIdx <= kSlots) {
            Slot& slot = p.m_rows[std::size_t(row.argOf - 1)].arg[row.argIdx - 1];
            slot.idx = 0;
            slot.name.clear();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// clsMathParser

clsMathParser::clsMathParser() : m_angleUnit(QStringLiteral("RAD")) {}

void clsMathParser::resetTables()
{
    m_parsed = false;
    m_hasRun = false;
    m_rows.clear();
    m_values.clear();
    m_plan.clear();
    m_negRefs.clear();
    m_run = RunCache();
    m_vars.clear();
    m_varValues.clear();
    m_evalOneX = false;
    m_varIndex.clear();
    m_errorText.clear();
    m_errorId = 0;
    m_errorPos = 0;
}

bool clsMathParser::StoreExpression(const QString& expression)
{
    try {
        m_expression = trimBlanks(expression);
        resetTables();
        if (!parse())
            return false;
        compile();
        m_errorText.clear();
        m_errorId = 0;
        m_errorPos = 0;
        m_parsed = true;
        return true;
    } catch (...) {
        m_parsed = false;
        m_errorId = 8;
        m_errorText = mathtables::MessageText(8);
        return false;
    }
}

bool clsMathParser::parse()
{
    Parser parser(*this);
    return parser.run();
}

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

QString clsMathParser::VarName(int index) const
{
    if (index >= 1 && index <= VarTop())
        return m_vars[std::size_t(index - 1)].name;
    return QString();
}

double clsMathParser::VarValue(int index) const
{
    if (index >= 1 && index <= VarTop())
        return m_varValues[std::size_t(index - 1)];
    return 0.0;
}

double clsMathParser::VarSymb(const QString& name) const
{
    const int number = m_varIndex.value(name.toLower(), 0);
    return number > 0 ? m_varValues[std::size_t(number - 1)] : 0.0;
}

void clsMathParser::VarSymb(const QString& name, double value)
{
    const int number = m_varIndex.value(name.toLower(), 0);
    if (number > 0) {
        m_varValues[std::size_t(number - 1)] = value;
        m_vars[std::size_t(number - 1)].assigned = true;
    }
}

int clsMathParser::findVariable(const QVariant& key) const
{
    if (key.typeId() == QMetaType::QString)
        return m_varIndex.value(key.toString().toLower(), 0);
    bool ok = false;
    const double number = key.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return 0;
    const double rounded = mathfunctions::RoundHalfEven(number);
    if (rounded < 1 || rounded > VarTop())
        return 0;
    return int(rounded);
}

double clsMathParser::Variable(const QVariant& key) const
{
    const int number = findVariable(key);
    return number > 0 ? m_varValues[std::size_t(number - 1)] : 0.0;
}

void clsMathParser::Variable(const QVariant& key, double value)
{
    const int number = findVariable(key);
    if (number == 0)
        return;
    m_varValues[std::size_t(number - 1)] = value;
    if (m_opAssignExplicit)
        m_vars[std::size_t(number - 1)].assigned = true;
}

void clsMathParser::AngleUnit(const QString& unit)
{
    const QString upper = unit.toUpper();
    if (upper == QLatin1String("DEG")) {
        m_angleUnit = upper;
        m_angleFactor = kPi / 180;
    } else if (upper == QLatin1String("GRAD")) {
        m_angleUnit = upper;
        m_angleFactor = kPi / 200;
    } else if (upper == QLatin1String("RAD")) {
        m_angleUnit = upper;
        m_angleFactor = 1.0;
    }
}

inline void clsMathParser::clearError()
{
    if (m_errorId != 0) {
        m_errorId = 0;
        m_errorText.clear();
    }
}

void clsMathParser::setError(int number, int position, const QVariantList& values)
{
    QString message = mathtables::MessageText(number);
    for (const QVariant& value : values)
        message = fillPlaceholder(message, value);
    m_errorId = number;
    m_errorText = message;
    m_errorPos = position;
}

void clsMathParser::signal(int number)
{
    tLastSignal.number = number;
    tLastSignal.source = QStringLiteral("MathParser");
    tLastSignal.description = m_errorText;
}

// ---------------------------------------------------------------------------------------------
// Evaluation loop

#if defined(__GNUC__)
#define SUPPLINK_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define SUPPLINK_ALWAYS_INLINE inline
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

double clsMathParser::Eval()
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

double clsMathParser::Eval1(double x)
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

QVector<double> clsMathParser::EvalMulti(const QVector<double>& values, const QVariant& variable)
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

// ---------------------------------------------------------------------------------------------
// Table dump

void clsMathParser::ET_Dump(QVector<QVector<QVariant>>& table) const
{
    const int n = int(m_rows.size());
    // Slots that receive a row's result show that row's value once the table was evaluated.
    std::vector<int> feeder(std::size_t(n) * kSlots, -1);
    for (int r = 0; r < n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        if (row.argOf > 0 && row.argOf <= n && row.argIdx >= 1 && row.argIdx <= kSlots)
            feeder[std::size_t(row.argOf - 1) * kSlots + std::size_t(row.argIdx - 1)] = r;
    }
    const auto cellValue = [&](std::size_t index) { return index < m_values.size() ? m_values[index] : 0.0; };
    const auto slotValue = [&](int r, int s) -> double {
        const Slot& slot = m_rows[std::size_t(r)].arg[s];
        const int source = feeder[std::size_t(r) * kSlots + std::size_t(s)];
        if (source >= 0 && m_hasRun)
            return cellValue(std::size_t(source) * kStride + kValueCell);
        if (slot.idx > 0 && std::size_t(slot.idx) <= m_varValues.size() && m_hasRun)
            return slot.sign * (m_evalOneX ? m_evalOneValue : m_varValues[std::size_t(slot.idx - 1)]);
        return cellValue(std::size_t(r) * kStride + std::size_t(s));
    };

    table.clear();
    table.resize(qsizetype(n) + 1);
    for (auto& line : table)
        line.resize(16);
    const char* const titles[] = {"Fun",    "ArgTop",    "A1 Idx",     "Arg1 Name", "Arg1 Value",
                                  "A2 Idx", "Arg2 Name", "Arg2 Value", "ArgOf",     "ArgIdx",
                                  "Value",  "PriLvl",    "PosInExpr",  "PriIdx",    "Cond"};
    for (int c = 0; c < 15; ++c)
        table[0][c + 1] = QString::fromLatin1(titles[c]);
    for (int r = 0; r < n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        QVector<QVariant>& line = table[qsizetype(r) + 1];
        line[1] = row.fun;
        line[2] = row.argTop;
        line[3] = row.arg[0].idx;
        line[4] = row.arg[0].name;
        line[5] = slotValue(r, 0);
        line[6] = row.arg[1].idx;
        line[7] = row.arg[1].name;
        line[8] = slotValue(r, 1);
        line[9] = row.argOf;
        line[10] = row.argIdx;
        line[11] = cellValue(std::size_t(r) * kStride + kValueCell);
        line[12] = row.priLvl;
        line[13] = row.posInExpr;
        line[14] = row.priIdx;
        line[15] = row.cond;
    }
}

} // namespace supplink
