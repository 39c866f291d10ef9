#pragma once
// Switches a test to Dutch number formats (decimal comma): Qt's default locale
// and, where the C library has or can build the nl_NL locale, the process
// locale as well. Restores both when it goes out of scope.

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

namespace supplink::test {

class DutchLocale
{
public:
    DutchLocale() : m_previousQt(QLocale())
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        if (const char* current = std::setlocale(LC_ALL, nullptr))
            m_previousC = current;
        if (!setDutch())
            buildAndSet();
    }
    ~DutchLocale()
    {
        QLocale::setDefault(m_previousQt);
        std::setlocale(LC_ALL, m_previousC.c_str());
    }
    DutchLocale(const DutchLocale&) = delete;
    DutchLocale& operator=(const DutchLocale&) = delete;

    // True when the C library formats numbers with a decimal comma now.
    bool processLocaleIsDutch() const
    {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return std::strcmp(text, "1,5") == 0;
    }

private:
    static bool setDutch()
    {
        for (const char* name : {"nl_NL.UTF-8", "nl_NL.utf8", "nl_NL"}) {
            if (std::setlocale(LC_ALL, name))
                return true;
        }
        return false;
    }

    // Compiles nl_NL into a private folder when the system has its source.
    void buildAndSet()
    {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty() || !QFile::exists(QStringLiteral("/usr/share/i18n/locales/nl_NL")) ||
            !m_folder.isValid())
            return;
        QProcess process;
        process.start(localedef, {QStringLiteral("-i"), QStringLiteral("nl_NL"), QStringLiteral("-f"),
                                  QStringLiteral("UTF-8"), m_folder.filePath(QStringLiteral("nl_NL.UTF-8"))});
        if (!process.waitForFinished(60000))
            return;
        qputenv("LOCPATH", QFile::encodeName(m_folder.path()));
        setDutch();
    }

    QLocale m_previousQt;
    std::string m_previousC = "C";
    QTemporaryDir m_folder;
};

} // namespace supplink::test
