#pragma once

#include "mathparser/mathconstants.h"

#include <QString>
#include <QStringView>

// The evaluator's vocabulary: function names with their codes and argument counts, the unit
// symbols with their SI prefixes, the named constants and the message table.

namespace supplink::mathtables {

// Code of an operator or function name (compared in lower case); -1 when the name is unknown.
int FunctionCode(QStringView name);

// Number of arguments of a function name that can be called with brackets: 1 for the fixed list
// of one-argument functions, 2 to 6 for the lists of functions with several arguments; 0 when the
// name is in no list. Compared without regard to case.
int FunctionArgCount(QStringView name);

// The blank-separated name lists, as they are set at construction of the evaluator.
QString OneArgumentNames();
QString FunctionNames(int argCount); // 2 to 6

// Every callable function name (the 124 names of the lists), in list order.
QStringList AllFunctionNames();

// SI prefix: exponent of ten for a prefix character ("p" -12 ... "T" 12).
bool UnitPrefix(QChar prefix, int& exponent);
// Factor of a base unit into SI base units ("g" gives 0.001, the others 1).
bool BaseUnitFactor(QStringView unit, double& factor);

// Value of a named constant, compared with regard to case; DATE, TIME and NOW are not included
// (they depend on the clock).
bool ConstantValue(QStringView name, double& value);

// Message text number n (1 to 50) with its placeholders unfilled; "" outside the table.
QString MessageText(int number);

} // namespace supplink::mathtables
