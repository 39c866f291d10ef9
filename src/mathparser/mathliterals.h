#pragma once

#include <QString>
#include <QStringView>

// Readers for the operand texts of the expression evaluator: numbers, degree-minute-second
// literals, quantities with units and named constants.

namespace supplink::mathliterals {

// True when the text is a number literal: optional sign, digits with at most one decimal point
// ("." only), optional exponent. Texts with ",", "..", or the letter d are never numbers.
bool IsNumberText(QStringView text);

// Reads a text accepted by IsNumberText with "." as decimal point, whatever the locale. False
// when the value does not fit in a Double (too small values read as 0).
bool NumberValue(QStringView text, double& value);

// Degree-minute-second literal ("12°30'15\"" or "12d30m15s"). With dmsEnabled false the result
// is false and nothing else happens. Otherwise: true with value set and message empty for a
// literal; true with message 21 for a faulty literal; false with message 22 for a text that is
// no such literal.
bool ParseDMS(QStringView text, bool dmsEnabled, double& value, QString& message);

// True when the text holds a degree mark of such a literal (the degree sign or the letter d):
// the mark that every literal needs, so a text with one that ParseDMS refuses is a malformed
// literal rather than some other operand.
bool HasDegreeMark(QStringView text);

// Number of "|" characters in the text.
int CountAbsBars(QStringView text);

// Quantity: a number followed by a unit with an optional SI prefix ("3km", "500g", "10ms").
// True with the value in SI base units; false when the text is no quantity.
bool ReadQuantity(QStringView token, double& value);

// Result of the constant reader.
enum class ConstantRead
{
    NotConstant, // no trailing "#" (and not "pi")
    Constant,    // value set
    Unknown,     // a "#" name that is no constant; name set (error 19)
};

// Named constant: a name followed by "#", or "pi" in any case without it. DATE, TIME and NOW
// (compared in upper case) read the evaluator's clock.
ConstantRead ReadConstant(QStringView token, double& value, QString& name);

// Text of a number as the evaluator's messages show it: up to 15 significant digits, exponent
// form below 1E-04 and from 1E+15, the decimal separator of the default locale.
QString NumberText(double value);

} // namespace supplink::mathliterals
