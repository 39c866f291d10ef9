#pragma once
// Helpers shared by the expression evaluator tests.

#include "mathparser/mathparser.h"

#include <QStringList>
#include <QtTest>

namespace supplink::test {

// What one expression gives: parse result, value and error state.
struct Outcome
{
    bool stored = false;
    double value = 0.0;
    int error = 0;
    int position = 0;
    QString message;
};

// Assigns "name=value;name=value" to the parser's variables.
inline void assignVariables(clsMathParser& parser, const QString& assignments)
{
    const QStringList parts = assignments.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QStringList nameValue = part.split(QLatin1Char('='));
        parser.VarSymb(nameValue.value(0).trimmed(), nameValue.value(1).toDouble());
    }
}

// Stores the expression, assigns the variables and evaluates once.
inline Outcome evaluate(const QString& expression, const QString& assignments = QString())
{
    clsMathParser parser;
    Outcome outcome;
    outcome.stored = parser.StoreExpression(expression);
    if (outcome.stored) {
        assignVariables(parser, assignments);
        outcome.value = parser.Eval();
    }
    outcome.error = parser.ErrorID();
    outcome.position = parser.ErrorPos();
    outcome.message = parser.ErrorDescription();
    return outcome;
}

// Relative closeness for values compared with the standard library.
inline bool close(double value, double reference, double tolerance = 1e-13)
{
    const double scale = std::fmax(1.0, std::fabs(reference));
    return std::fabs(value - reference) <= tolerance * scale;
}

} // namespace supplink::test
