#include "mathparser/mathliterals.h"

#include "mathparser/mathclock.h"
#include "mathparser/mathtables.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace supplink::mathliterals {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Checks the number grammar; gives the magnitude estimate (power of ten of the first significant
// digit) used to tell an overflow from an underflow.
bool scanNumber(QStringView text, std::string& ascii)
{
    ascii.clear();
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            ++digits;
            ascii.push_back(char(c.unicode()));
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            ascii.push_back('.');
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            ascii.push_back(char(text[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        for (; i < n && isDigit(text[i]); ++i) {
            ++expDigits;
            ascii.push_back(char(text[i].unicode()));
        }
        if (expDigits == 0)
            return false;
    }
    return i == n;
}

bool excluded(QStringView text)
{
    return text.contains(QLatin1Char(',')) || text.contains(u"..") || text.contains(QLatin1Char('d')) ||
           text.contains(QLatin1Char('D'));
}

} // namespace

bool IsNumberText(QStringView text)
{
    if (excluded(text))
        return false;
    std::string ascii;
    return scanNumber(text, ascii);
}

bool NumberValue(QStringView text, double& value)
{
    if (excluded(text))
        return false;
    std::string ascii;
    if (!scanNumber(text, ascii))
        return false;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    double parsed = 0.0;
    const auto result = std::from_chars(first, last, parsed);
    if (result.ec == std::errc()) {
        value = parsed;
        return true;
    }
    if (result.ec != std::errc::result_out_of_range)
        return false;
    // Out of range: an underflow reads as 0, an overflow is no number. Tell them apart by the
    // power of ten of the first significant digit.
    const std::size_t ePos = ascii.find('e');
    const std::string mantissa = ascii.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string::npos) {
        const std::string expText = ascii.substr(ePos + 1);
        const char* expFirst = expText.data();
        if (*expFirst == '+')
            ++expFirst;
        if (std::from_chars(expFirst, expText.data() + expText.size(), exponent).ec != std::errc())
            exponent = (expText.find('-') != std::string::npos) ? -1000000 : 1000000;
    }
    const std::size_t pointPos = mantissa.find('.');
    const std::size_t intEnd = pointPos == std::string::npos ? mantissa.size() : pointPos;
    long long lead = 0; // power of ten of the first non-zero digit
    bool found = false;
    for (std::size_t k = 0; k < mantissa.size() && !found; ++k) {
        const char c = mantissa[k];
        if (c >= '1' && c <= '9') {
            lead = k < intEnd ? static_cast<long long>(intEnd - k - 1) : -static_cast<long long>(k - intEnd);
            found = true;
        }
    }
    if (!found || lead + exponent < 0) {
        value = mantissa.front() == '-' ? -0.0 : 0.0;
        return true;
    }
    return false;
}

bool ParseDMS(QStringView raw, bool dmsEnabled, double& value, QString& message)
{
    if (!dmsEnabled)
        return false;
    value = 0.0;
    message.clear();
    const QStringView text = raw.trimmed();
    const auto pos = [&](QChar c) { return int(text.indexOf(c)) + 1; };
    const int symDeg = pos(QChar(0x00B0));
    const int symMin = pos(QLatin1Char('\''));
    const int symSec = pos(QLatin1Char('"'));
    const int letDeg = pos(QLatin1Char('d'));
    const int letMin = pos(QLatin1Char('m'));
    const int letSec = pos(QLatin1Char('s'));
    const bool symbols = symDeg > 0 || symMin > 0 || symSec > 0;
    const bool letters = letDeg > 0 || letMin > 0 || letSec > 0;

    const auto notLiteral = [&] {
        message = mathtables::MessageText(22);
        return false;
    };
    const auto faulty = [&] {
        message = mathtables::MessageText(21);
        return true;
    };

    int degMark = 0;
    int minMark = 0;
    int secMark = 0;
    if (symbols && !letters) {
        degMark = symDeg;
        minMark = symMin;
        secMark = symSec;
    } else if (letters && !symbols) {
        degMark = letDeg;
        minMark = letMin;
        secMark = letSec;
    } else {
        return notLiteral();
    }
    if (degMark == 0)
        return notLiteral();
    if (minMark == 0)
        minMark = degMark;

    const int length = int(text.size());
    const auto between = [&](int from, int to) {
        // The text strictly between two 1-based positions; empty when the bounds do not fit.
        return to > from + 1 ? text.mid(from, to - from - 1) : QStringView();
    };
    const QStringView degPart = text.left(degMark - 1);
    const QStringView minPart = between(degMark, minMark);
    QStringView secPart = between(minMark, secMark);
    if (secPart.isEmpty() && minMark == length)
        secPart = u"0";

    int rejected = 0;
    for (QStringView part : {degPart, minPart, secPart}) {
        if (!IsNumberText(part))
            ++rejected;
    }
    if (rejected > 1)
        return notLiteral();
    if (rejected == 1)
        return faulty();

    if (secMark == length || secMark == 0) {
        double degrees = 0;
        double minutes = 0;
        double seconds = 0;
        if (NumberValue(degPart, degrees) && NumberValue(minPart, minutes) && NumberValue(secPart, seconds) &&
            minutes <= 60 && seconds <= 60) {
            value = degrees + (minutes + seconds / 60) / 60;
            return true;
        }
    }
    return faulty();
}

bool HasDegreeMark(QStringView text)
{
    return text.contains(QChar(0x00B0)) || text.contains(QLatin1Char('d'));
}

int CountAbsBars(QStringView text)
{
    return int(text.count(QLatin1Char('|')));
}

bool ReadQuantity(QStringView token, double& value)
{
    const qsizetype n = token.size();
    qsizetype unitStart = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = token[i];
        if (isDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.'))
            continue;
        if (c == QLatin1Char('e') || c == QLatin1Char('E')) {
            const QChar next = i + 1 < n ? token[i + 1] : QChar();
            if (isDigit(next) || next == QLatin1Char('+') || next == QLatin1Char('-'))
                continue;
            unitStart = i;
            break;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            unitStart = i;
            break;
        }
        return false;
    }
    if (unitStart <= 0)
        return false;

    double number = 0;
    if (!NumberValue(token.left(unitStart), number))
        return false;

    QStringView unit = token.mid(unitStart);
    int exponent = 0;
    double factor = 1.0;
    if (unit.size() >= 2 && mathtables::UnitPrefix(unit[0], exponent))
        unit = unit.mid(1);
    else
        exponent = 0;
    if (!mathtables::BaseUnitFactor(unit, factor))
        return false;
    value = std::pow(10.0, exponent) * (number * factor);
    return true;
}

ConstantRead ReadConstant(QStringView token, double& value, QString& name)
{
    QString text = token.toString();
    if (text.compare(QLatin1String("pi"), Qt::CaseInsensitive) == 0)
        text += QLatin1Char('#');
    if (!text.endsWith(QLatin1Char('#')))
        return ConstantRead::NotConstant;
    name = text.left(text.size() - 1);
    if (mathtables::ConstantValue(name, value))
        return ConstantRead::Constant;
    const QString upper = name.toUpper();
    if (upper == QLatin1String("DATE")) {
        value = mathclock::DateSerialOf(mathclock::Now().date());
        return ConstantRead::Constant;
    }
    if (upper == QLatin1String("TIME")) {
        value = mathclock::TimeFractionOf(mathclock::Now().time());
        return ConstantRead::Constant;
    }
    if (upper == QLatin1String("NOW")) {
        const QDateTime now = mathclock::Now();
        value = mathclock::DateSerialOf(now.date()) + mathclock::TimeFractionOf(now.time());
        return ConstantRead::Constant;
    }
    return ConstantRead::Unknown;
}

QString NumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (value == 0)
        return QStringLiteral("0");

    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
    // text looks like "-1.23450000000000e-05"
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t k = negative ? 1 : 0; k < ePos; ++k) {
        if (text[k] != '.')
            digits.push_back(text[k]);
    }
    int exponent = std::stoi(text.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString point = QLocale().decimalPoint();
    QString out;
    if (negative)
        out += QLatin1Char('-');
    if (exponent >= 15 || exponent <= -5) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += point;
            out += QString::fromLatin1(digits.data() + 1, qsizetype(digits.size() - 1));
        }
        out += QLatin1Char('E');
        out += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += QLatin1Char('0');
        out += QString::number(magnitude);
        return out;
    }
    if (exponent < 0) {
        out += QLatin1Char('0');
        out += point;
        out += QString(-exponent - 1, QLatin1Char('0'));
        out += QString::fromLatin1(digits.data(), qsizetype(digits.size()));
        return out;
    }
    const std::size_t intDigits = std::size_t(exponent) + 1;
    if (digits.size() <= intDigits) {
        out += QString::fromLatin1(digits.data(), qsizetype(digits.size()));
        out += QString(qsizetype(intDigits - digits.size()), QLatin1Char('0'));
        return out;
    }
    out += QString::fromLatin1(digits.data(), qsizetype(intDigits));
    out += point;
    out += QString::fromLatin1(digits.data() + intDigits, qsizetype(digits.size() - intDigits));
    return out;
}

} // namespace supplink::mathliterals
