#include "start/sharedroutines.h"

#include "start/errors.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <cmath>
#include <limits>

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

double TekstNaarGetal(const QString& text, QChar decimalSign)
{
    const QChar otherSign = decimalSign == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    QString kept;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            kept += c;
        else if (c == QLatin1Char('+') || c == QLatin1Char('-'))
            kept += c;
        else if (c == decimalSign)
            kept += QLatin1Char('.');
        else if (c == otherSign)
            continue; // thousands separator
    }
    // A sign only in front, at most one decimal point, at least one digit.
    bool ok = false;
    const double value = QLocale::c().toDouble(kept, &ok);
    if (!ok)
        return 0.0;
    if (!std::isfinite(value)) {
        ShowError(QString(), ErrorNumber::General, QStringLiteral("Overloop"));
        return 0.0;
    }
    return value;
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
