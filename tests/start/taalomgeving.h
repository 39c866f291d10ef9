#pragma once
// For test programs that CTest runs under more than one locale
// (supplink_add_locale_runs): checks, once the application object exists, that
// the process really runs under the locale the run names, so that a Dutch run
// on a machine without the Dutch locale fails instead of quietly running under C.
//
//     void initTestCase() { QVERIFY2(test::TaalOmgevingKlopt(), qPrintable(test::TaalOmgevingFout())); }

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <clocale>
#include <cstdlib>

namespace supplink::test {

// The locale this run was started for ("C.UTF-8", "nl_NL.UTF-8"); empty when the run names none.
inline QString GevraagdeTaalOmgeving()
{
    return QString::fromLocal8Bit(qgetenv("SUPPLINK_TEST_LOCALE"));
}

// Why the process does not run under the requested locale; empty when it does (or none was requested).
inline QString TaalOmgevingFout()
{
    const QString gevraagd = GevraagdeTaalOmgeving();
    if (gevraagd.isEmpty())
        return {};
    const char* actief = std::setlocale(LC_NUMERIC, nullptr);
    const QString naam = QString::fromLatin1(actief ? actief : "");
    const auto normaal = [](QString n) { return n.toLower().remove(QLatin1Char('-')); };
    if (normaal(naam) != normaal(gevraagd))
        return QStringLiteral("The run asks for the locale %1 but runs under '%2': is it installed "
                              "(scripts/install-deps.sh generates nl_NL.UTF-8)?")
            .arg(gevraagd, naam);
    // The C library and Qt read numbers by that locale's rules.
    const bool nederlands = gevraagd.startsWith(QLatin1String("nl_"));
    const QChar teken = nederlands ? QLatin1Char(',') : QLatin1Char('.');
    if (QLocale::system().decimalPoint() != QString(teken))
        return QStringLiteral("The system locale's decimal sign is '%1', not '%2'.")
            .arg(QLocale::system().decimalPoint(), QString(teken));
    const double gelezen = std::strtod("1,5", nullptr);
    if (gelezen != (nederlands ? 1.5 : 1.0))
        return QStringLiteral("The C library reads \"1,5\" as %1 under %2.").arg(gelezen).arg(gevraagd);
    return {};
}

inline bool TaalOmgevingKlopt()
{
    return TaalOmgevingFout().isEmpty();
}

} // namespace supplink::test
