// Interface of the expression evaluator: storing an expression, the variables and options, the
// error state and the signal of a failed evaluation. The parser is in mathparser_parse.cpp, the
// evaluation loop with Eval, Eval1 and EvalMulti in mathparser_eval.cpp and the table dump in
// mathparser_dump.cpp.

#include "mathparser/mathparser.h"

#include "mathparser/mathfunctions.h"
#include "mathparser/mathliterals.h"
#include "mathparser/mathtables.h"

#include <cmath>

namespace supplink {

namespace {

constexpr double kPi = mathtables::ShortPi;

thread_local MathParserSignal tLastSignal;

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

} // namespace supplink
