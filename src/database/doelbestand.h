#pragma once
// A target database of a wizard run (product table, options, library or work
// preparation) and the SQL Server connection description: five fields
// (server, database, security word, user, password) joined by the character
// with code 8. A target path that starts with "*" is followed by such a
// description; any other path is a database file.

#include <QString>
#include <QStringList>
#include <optional>

namespace supplink {

struct SqlServerVerbinding
{
    static constexpr QChar Scheiding = QChar(8);
    static constexpr const char* NTSecurity = "eNTSecurity";
    static constexpr const char* SQLSecurity = "eSQLSecurity";

    QString server;
    QString database;
    QString beveiliging; // security word: "eNTSecurity" or "eSQLSecurity"
    QString gebruiker;
    QString wachtwoord;

    // The five fields of a description; no value unless it holds exactly five.
    static std::optional<SqlServerVerbinding> Lees(const QString& description);
    // The same for a target path: the description after its first character.
    static std::optional<SqlServerVerbinding> UitPad(const QString& path);
    QString Tekst() const;
    // Windows login: only the exact word "eNTSecurity"; every other word means an SQL Server login.
    bool NTBeveiliging() const { return beveiliging == QLatin1String(NTSecurity); }
};

class clsDoelBestand
{
public:
    qint32 Soort = 0; // 0 pt, 1 opt, 2 lib, 3 wkv
    QString DoelCode;
    QString Omschrijving;
    QString BestandsNaam;
    bool Geselecteerd = false;
    QStringList History; // the import runs the target step shows

    // The file path, or "*" + the description for an SQL Server target.
    QString Path() const;
    // A text starting with "*" makes an SQL Server target of the rest; any other text is a file path
    // (the description stays stored).
    void setPath(const QString& path);
    QString SQLAuthenticatie() const { return m_description; }
    // Stores the description and makes this an SQL Server target; the file path stays stored.
    void setSQLAuthenticatie(const QString& description);
    bool SQL() const { return m_sql; }

private:
    QString m_path;
    bool m_sql = false;
    QString m_description;
};

} // namespace supplink
