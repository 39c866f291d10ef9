#pragma once
// Reading and writing JSON.
//
// The reader is lenient: it accepts single-quoted strings, unquoted keys,
// missing commas, // and /* */ comments and round brackets, never throws, and
// collects its complaints in one error text that callers fetch afterwards with
// GetParserErrors() and test for emptiness before they trust the result.
// Numbers are read and written with "." as the decimal point, whatever the locale.
// A number is read as a decimal of 28 significant digits would hold it: one
// beyond that range (larger than 79228162514264337593543950335) fails its
// value with "Overloop". A number read keeps its own text when that text is a
// JSON number the writers would write otherwise ("1e3", "12.50", more digits
// than a double holds), so that it is written back exactly as it was read.

#include "json/jsonvalue.h"

#include <QString>
#include <QStringView>
#include <QVariant>

namespace supplink {

// Nesting deeper than this is refused with a parser error.
constexpr int kJsonMaxDepth = 512;

// A reader with its own error text.
//
// Besides what the header above names, the reader takes without a complaint
// what strict JSON refuses (the tests keep a list of such documents):
// - text after the top-level object or array is not looked at;
// - commas are optional between values and members, and a comma before a
//   value is stepped over ("[,1]" is [1]); a key is whatever stands up to its
//   colon, quoted or not ("{1:2}", "{:2}" with the empty key);
// - round brackets and a lone "/" or "*" count as white space;
// - a number is the run of the characters +-0123456789.eE, read as a decimal
//   number with a point: "+1", "-01", ".5" and "2." are numbers;
// - in a text an unknown escape drops its backslash ("\x" is x), "\u" reads
//   the hexadecimal digits among the next four characters (0 without any) as
//   one UTF-16 unit, and control characters and line breaks stand as they are.
class JsonParser
{
public:
    // The top-level object or array; the empty value when the text, after
    // white space and comments, starts with neither "{" nor "[". Whatever was
    // read up to a failure is returned; the failures are in errors().
    JsonValue parse(QStringView text);
    // The complaints of the last parse, each ended by a carriage return and line
    // feed (except "Invalid JSON"); empty when nothing was wrong.
    const QString& errors() const { return m_errors; }

private:
    QString m_errors;
};

// Reads a JSON text with the program-wide reader (one parse at a time).
JsonValue ParseJson(QStringView text);
// The error text of the most recent ParseJson.
QString GetParserErrors();

// The value as JSON text, without white space. Strings and keys are escaped,
// the empty value is written as null.
QString ToJson(const JsonValue& value);
// The value as JSON text for a place inside another JSON string: its quotes
// and escapes are doubled, and an outermost object or array is written
// without its braces or brackets (the caller adds them).
QString ToEscapedJson(const JsonValue& value);

// A number as JSON writes it: "." as decimal point, no group separators.
QString JsonNumberText(double value);

// A value handed over by other code as a JSON value: an invalid or null
// variant as null, numbers of every width as numbers, dates and times as their
// text in the user's locale, lists (of lists, for more dimensions) as arrays
// and maps as objects.
JsonValue JsonFromVariant(const QVariant& value);

} // namespace supplink
