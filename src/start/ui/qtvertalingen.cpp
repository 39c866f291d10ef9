#include "start/ui/qtvertalingen.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace supplink {

QString QtVertalingenMap()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstalleerQtVertalingen(const QString& map)
{
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Dutch, not the machine's locale: load() tries "qtbase_nl_NL.qm", then "qtbase_nl.qm".
    auto* vertaler = new QTranslator(app);
    if (!vertaler->load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"),
                        QStringLiteral("_"), map.isEmpty() ? QtVertalingenMap() : map) ||
        !QCoreApplication::installTranslator(vertaler)) {
        delete vertaler;
        return false;
    }
    return true;
}

} // namespace supplink
