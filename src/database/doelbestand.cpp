#include "database/doelbestand.h"

#include <QFileInfo>

namespace supplink {

std::optional<SqlServerVerbinding> SqlServerVerbinding::Lees(const QString& description)
{
    const QStringList fields = description.split(Scheiding);
    if (fields.size() != 5)
        return std::nullopt;
    return SqlServerVerbinding{fields.at(0), fields.at(1), fields.at(2), fields.at(3), fields.at(4)};
}

std::optional<SqlServerVerbinding> SqlServerVerbinding::UitPad(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return Lees(path.mid(1));
}

QString SqlServerVerbinding::Tekst() const
{
    return QStringList{server, database, beveiliging, gebruiker, wachtwoord}.join(Scheiding);
}

QString clsDoelBestand::Path() const
{
    return m_sql ? QStringLiteral("*") + m_description : m_path;
}

void clsDoelBestand::setPath(const QString& path)
{
    m_path = path;
    if (path.startsWith(QLatin1Char('*'))) {
        m_sql = true;
        m_description = path.mid(1);
    } else {
        // The last component, whichever separator the path uses.
        QString normalised = path;
        normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
        BestandsNaam = QFileInfo(normalised).fileName();
        m_sql = false;
    }
}

void clsDoelBestand::setSQLAuthenticatie(const QString& description)
{
    m_description = description;
    m_sql = true;
}

} // namespace supplink
