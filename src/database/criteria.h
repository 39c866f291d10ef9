#pragma once
// Search and filter criteria of recordsets: the small language the table code
// writes, one or more comparisons joined by AND:
//     Code = 'A''B'      ID=12      Prijs >= 2.5      Code LIKE 'ROTO*'      [Type] <> 4 AND Code = 'X'
// Operators: = <> != < <= > >= LIKE. A value is a quoted text ('...' with ''
// for a quote), a number (with "." as decimal sign) or a bare word up to the
// next blank (taken as text). Text compares as codes compare (without regard to
// case, for every letter, as Jet does: platform/codecompare.h);
// a number compares with numbers and with texts that read as numbers. LIKE
// takes * and % for any run of characters. A database null matches nothing.

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace supplink {

class Criteria
{
public:
    enum class Op
    {
        Eq,
        Ne,
        Lt,
        Le,
        Gt,
        Ge,
        Like
    };

    struct Term
    {
        QString field;
        int column = -1; // filled by the caller that resolves field names
        Op op = Op::Eq;
        QString text;                 // the value as written (without quotes)
        bool isNumberLiteral = false; // written as a number
        double number = 0;            // the number, for a number literal or a text that reads as one
        bool textIsNumber = false;    // a text literal that reads as a number
    };

    // Parses the criterion; throws AppError (BadArguments) with a Dutch message when it does not parse.
    static Criteria parse(const QString& text);
    // The criterion "field = value" without writing and parsing its text: the value as a quoted text,
    // or with asNumber as a number (none when the value does not read as one).
    static std::optional<Criteria> equalTo(const QString& field, const QString& value, bool asNumber);
    // The criterion "field = number", as the number written after "=" reads, without writing it as a text
    // first (the term's text stays empty).
    static Criteria equalToNumber(const QString& field, double number);

    QList<Term> terms;
};

// Whether one value passes one comparison.
bool CriteriaMatches(const QVariant& value, const Criteria::Term& term);

// The text of a value as comparisons see it (numbers without trailing zeros).
QString CriteriaValueText(const QVariant& value);
// The number of a value: numbers as they are, texts that read as a number ("." decimal sign).
std::optional<double> CriteriaValueNumber(const QVariant& value);

} // namespace supplink
