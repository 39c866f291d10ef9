// Parser of the expression evaluator: one left-to-right scan of the stored text that builds the
// expression table (rows for operators and function calls, operands straight in their argument
// slots), then the ordering of the rows by priority and the linking of each row to the slot that
// receives its result. clsMathParser::StoreExpression calls parse(); the evaluation plan is made
// from the finished table afterwards (mathparser_eval.cpp).

#include "mathparser/mathparser.h"

#include "mathparser/functioncodes.h"
#include "mathparser/mathliterals.h"
#include "mathparser/mathtables.h"

#include <algorithm>
#include <numeric>

namespace supplink {

namespace {

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

} // namespace

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
    bool malformedDegrees = false;
    if (p.m_opDMSConv) {
        QString message;
        if (mathliterals::ParseDMS(body, true, read, message)) {
            if (!message.isEmpty())
                return fail(21, position);
            value = sign * read;
            return true;
        }
        // Refused by the reader: a malformed literal when it has a degree mark and is no name
        // (12°30m mixes symbols and letters); names such as d or dms stay variables below.
        malformedDegrees = mathliterals::HasDegreeMark(body);
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
    if (malformedDegrees)
        return fail(22, position);
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

bool clsMathParser::parse()
{
    Parser parser(*this);
    return parser.run();
}

} // namespace supplink
