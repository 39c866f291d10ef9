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

// Reads a number written with the given decimal sign ("," or "."), the same
// whatever the process locale; the other sign counts as a thousands separator.
// 0 for a text that holds no number.
double TekstNaarGetal(const QString& text, QChar decimalSign);

// Removes every character below code 32.
QString VerwijderStuurtekens(const QString& text);

// Removes or adds one trailing path separator (on Windows "\" and "/" both count).
QString ZonderBackslash(const QString& path);
QString MetBackslash(const QString& path);

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
