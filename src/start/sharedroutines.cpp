#include "start/sharedroutines.h"

#include "start/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <ctime>
#endif

namespace supplink {

QString SQLQuotes(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QLatin1String("''"));
    return result;
}

QString NzString(const QVariant& value, const std::optional<QString>& defaultValue)
{
    if (!value.isValid() || value.isNull())
        return defaultValue.value_or(QString());
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

namespace {

// Rounds half to even and refuses what does not fit in 32 bits.
std::optional<qint32> roundToInt32(double d)
{
    if (!std::isfinite(d))
        return std::nullopt;
    const double r = std::nearbyint(d); // default rounding mode: half to even
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

std::optional<double> parseNumber(QString text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    double d = QLocale::c().toDouble(text, &ok);
    if (ok)
        return d;
    d = QLocale::system().toDouble(text, &ok);
    if (ok)
        return d;
    return std::nullopt;
}

} // namespace

qint32 NzLong(const QVariant& value, const std::optional<qint32>& defaultValue)
{
    if (!value.isValid() || value.isNull())
        return defaultValue.value_or(0);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? -1 : 0;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar: return value.toInt();
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return roundToInt32(value.toDouble()).value_or(0);
    case QMetaType::Double:
    case QMetaType::Float: return roundToInt32(value.toDouble()).value_or(0);
    default: break;
    }
    if (const auto d = parseNumber(value.toString()))
        return roundToInt32(*d).value_or(0);
    return 0;
}

QDateTime NulDatum() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

QDateTime NzDatum(const QVariant& value, const std::optional<QDateTime>& defaultValue)
{
    if (!value.isValid() || value.isNull())
        return defaultValue.value_or(NulDatum());
    switch (value.typeId()) {
    case QMetaType::QDateTime: return value.toDateTime();
    case QMetaType::QDate: return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong: {
        // A date-time number: days since 30-12-1899, the fraction the time of day.
        const double days = value.toDouble();
        const double whole = std::floor(days);
        const qint64 ms = std::llround((days - whole) * 86400000.0);
        return NulDatum().addDays(static_cast<qint64>(whole)).addMSecs(ms);
    }
    default: break;
    }
    const QString text = value.toString().trimmed();
    for (const QString& format : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
                                  QStringLiteral("yyyy-MM-dd"), QStringLiteral("d-M-yyyy H:mm:ss"),
                                  QStringLiteral("d-M-yyyy"), QStringLiteral("d/M/yyyy H:mm:ss"),
                                  QStringLiteral("d/M/yyyy")}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    return NulDatum();
}

qint32 AlleenCijfers(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-'))
            kept += c;
    }
    bool ok = false;
    const qint32 n = kept.toInt(&ok);
    return ok ? n : 0;
}

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool alleenCijfers(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// Digits with grouping points: a first group of one to three digits, then groups of exactly three.
bool gegroepeerd(QStringView text)
{
    const qsizetype eerste = text.indexOf(QLatin1Char('.'));
    if (eerste < 1 || eerste > 3 || !alleenCijfers(text.left(eerste)))
        return false;
    for (qsizetype i = eerste; i < text.size(); i += 4) {
        if (text.at(i) != QLatin1Char('.') || i + 4 > text.size() || !alleenCijfers(text.mid(i + 1, 3)))
            return false;
    }
    return true;
}

} // namespace

std::optional<double> LeesGetal(QStringView text, int tienMacht)
{
    text = text.trimmed();
    std::string c; // the number in the C form: [-]digits[.digits]e<exponent>
    c.reserve(size_t(text.size()) + 16);
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        if (text.at(i) == QLatin1Char('-'))
            c += '-';
        ++i;
    }
    QStringView mantisse = text.mid(i);
    long long exponent = 0;
    if (const qsizetype e = std::max(mantisse.indexOf(QLatin1Char('e')), mantisse.indexOf(QLatin1Char('E')));
        e >= 0) {
        QStringView macht = mantisse.mid(e + 1);
        mantisse = mantisse.left(e);
        bool negatief = false;
        if (!macht.isEmpty() && (macht.front() == QLatin1Char('+') || macht.front() == QLatin1Char('-'))) {
            negatief = macht.front() == QLatin1Char('-');
            macht = macht.mid(1);
        }
        if (macht.isEmpty() || !alleenCijfers(macht))
            return std::nullopt;
        // Far beyond any double: the conversion below says so.
        for (QChar cijfer : macht)
            exponent = std::min(exponent * 10 + (cijfer.unicode() - '0'), 100000LL);
        if (negatief)
            exponent = -exponent;
    }

    const qsizetype komma = mantisse.indexOf(QLatin1Char(','));
    if (komma >= 0 && mantisse.indexOf(QLatin1Char(','), komma + 1) >= 0)
        return std::nullopt;
    const qsizetype punten = mantisse.count(QLatin1Char('.'));
    QStringView geheel = mantisse;
    QStringView breuk;
    if (komma >= 0) {
        // The Dutch form: "," the decimal sign, "." grouping before it.
        geheel = mantisse.left(komma);
        breuk = mantisse.mid(komma + 1);
    } else if (punten == 1) {
        // A single point and no comma: the point is the decimal sign.
        const qsizetype punt = mantisse.indexOf(QLatin1Char('.'));
        geheel = mantisse.left(punt);
        breuk = mantisse.mid(punt + 1);
    }
    if (geheel.contains(QLatin1Char('.'))) {
        if (!gegroepeerd(geheel))
            return std::nullopt;
    } else if (!alleenCijfers(geheel)) {
        return std::nullopt;
    }
    if (!alleenCijfers(breuk) || (geheel.isEmpty() && breuk.isEmpty()))
        return std::nullopt;

    for (QChar cijfer : geheel) {
        if (cijfer != QLatin1Char('.'))
            c += char(cijfer.unicode());
    }
    if (geheel.isEmpty())
        c += '0';
    if (!breuk.isEmpty()) {
        c += '.';
        for (QChar cijfer : breuk)
            c += char(cijfer.unicode());
    }
    c += 'e';
    c += std::to_string(exponent + tienMacht);

    double getal = 0;
    const auto [einde, fout] = std::from_chars(c.data(), c.data() + c.size(), getal);
    if (fout != std::errc() || einde != c.data() + c.size() || !std::isfinite(getal))
        return std::nullopt;
    return getal;
}

std::optional<qint32> AfrondenLong(double value)
{
    return roundToInt32(value);
}

std::optional<double> GetalUitTekst(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (isAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
            c == QLatin1Char(','))
            kept += c;
    }
    return LeesGetal(kept);
}

double TekstNaarGetal(const QString& text, QChar decimalSign)
{
    Q_UNUSED(decimalSign)
    if (const std::optional<double> getal = GetalUitTekst(text))
        return *getal;
    if (!text.trimmed().isEmpty())
        ShowError(QString(), 13, QStringLiteral("Geen getal: '") + text + QLatin1Char('\''));
    return 0.0;
}

QString VerwijderStuurtekens(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 32)
            result += c;
    }
    return result;
}

namespace {
bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
#else
    return c == QLatin1Char('/');
#endif
}
} // namespace

QString ZonderBackslash(const QString& path)
{
    if (!path.isEmpty() && isSeparator(path.back()))
        return path.left(path.size() - 1);
    return path;
}

QString MetBackslash(const QString& path)
{
    if (!path.isEmpty() && isSeparator(path.back()))
        return path;
    return path + QDir::separator();
}

bool ZelfdeBestand(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const auto vorm = [](const QString& path) {
        const QFileInfo info(QDir::fromNativeSeparators(path));
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kHoofdletters = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kHoofdletters = Qt::CaseSensitive;
#endif
    return vorm(a).compare(vorm(b), kHoofdletters) == 0;
}

void VerwijderBestand(const QString& path)
{
    if (!path.isEmpty())
        QFile::remove(path);
}

void ZetSysteemTijd(int year, int month, int day, int hour, int minute, int second)
{
#ifdef Q_OS_WIN
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    SetSystemTime(&t);
#else
    const QDateTime moment(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
    if (!moment.isValid())
        return;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(moment.toSecsSinceEpoch());
    clock_settime(CLOCK_REALTIME, &ts);
#endif
}

} // namespace supplink
