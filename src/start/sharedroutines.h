#pragma once
// Small routines that every part of the program uses.

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

#include <algorithm>
#include <limits>

namespace supplink {

// Doubles every single quote, for a value placed between single quotes in SQL.
QString SQLQuotes(const QString& text);

// Database nulls (an invalid or null QVariant) as the default, else the value's text.
QString NzString(const QVariant& value, const std::optional<QString>& defaultValue = std::nullopt);
// Null as the default (else 0); otherwise the value as a 32-bit integer, 0 when it cannot be converted.
qint32 NzLong(const QVariant& value, const std::optional<qint32>& defaultValue = std::nullopt);
// Null as the default (else 30-12-1899 0:00:00); otherwise the value as a date-time.
QDateTime NzDatum(const QVariant& value, const std::optional<QDateTime>& defaultValue = std::nullopt);

// The date-time value 0: 30 December 1899, midnight.
QDateTime NulDatum();

// Keeps only "0123456789-" and reads what is left as a 32-bit integer; 0 when that is no number.
qint32 AlleenCijfers(const QString& text);

// Reads a number as the program's users write numbers, the same on every
// machine whatever its locale: decimal sign ",", grouping sign "." between
// groups of three digits ("1.234,56"), an optional leading "+" or "-", blanks
// around it. A text with a single "." and no "," reads the "." as the decimal
// sign ("12.50" is 12.5, "1.234" is 1.234), so a file written with decimal
// points is never read ten or a thousand times too large. An exponent ("1.5e-06",
// "2E3", as a workbook's number text may carry) is read too. tienMacht shifts the
// decimal point before the conversion: LeesGetal("1,15", 1) is 11.5 exactly,
// where 1.15 * 10 would not be. None when the text is no such number or lies
// outside the range of a double.
// Every number the file imports read from a supplier's file goes through this.
std::optional<double> LeesGetal(QStringView text, int tienMacht = 0);

// Rounds half to even into 32 bits; none when it does not fit (or is no number).
std::optional<qint32> AfrondenLong(double value);

// The number in a text after keeping only the characters "0123456789+-.,"
// ("€ 12,50" and "12,50 EUR" give 12.5), read by LeesGetal; none when what is
// kept is no number.
std::optional<double> GetalUitTekst(QStringView text);

// GetalUitTekst, or 0 for a text without a number: a blank text quietly, any
// other through the error reporter ("Geen getal: 'abc'"). The decimal sign is
// the one the caller expects in the text ("," or "."); LeesGetal reads a number
// written with either the same, so it changes no result.
double TekstNaarGetal(const QString& text, QChar decimalSign);

// Removes every character below code 32.
QString VerwijderStuurtekens(const QString& text);

// Removes or adds one trailing path separator (on Windows "\" and "/" both count).
QString ZonderBackslash(const QString& path);
QString MetBackslash(const QString& path);

// Whether two paths name the same file: their canonical forms (links and "." / ".." resolved) are
// equal, without regard to case on Windows, where the file system ignores it. A path that does not
// exist compares by its cleaned absolute form.
bool ZelfdeBestand(const QString& a, const QString& b);

// Deletes a file; every failure is ignored.
void VerwijderBestand(const QString& path);

// Sets the computer's clock (UTC); the outcome is ignored.
void ZetSysteemTijd(int year, int month, int day, int hour, int minute, int second);

// Window positions and sizes are stored in twips: 15 twips to a pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;
// To the nearest pixel (a half cannot occur), negative positions (left of or
// above the main screen) alike, so that a position saved and read back stays
// where it was.
constexpr int TwipsNaarPixels(int twips)
{
    const qint64 t = twips;
    return int(t >= 0 ? (t + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-t + TwipsPerPixel / 2) / TwipsPerPixel));
}
// Held to the range of an int.
constexpr int PixelsNaarTwips(int pixels)
{
    return int(std::clamp<qint64>(qint64(pixels) * TwipsPerPixel, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace supplink
