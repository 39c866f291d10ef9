#pragma once
// The handles on an options database and a library database of the design
// product, and the database version record SysDBInfo that every database of
// the design product holds.
//
// A handle opens its file as SQLite when it is an SQLite database, else as
// Jet, remembers which, and offers its connection object (cnOPT, cnLIB) to
// the code that reads and writes the tables:
//
//     clsOPT opt;
//     if (!opt.Connect(path))          // reports its own failure
//         return false;
//     const bool newFormat = opt.NieuweFormaatCombies();
//     ... opt.cnOPT->Connection() ...
//     opt.Disconnect();                // also done when the handle is destroyed

#include <QString>
#include <QVariant>
#include <memory>

namespace supplink {

class clsConnectie;

// The version record: columns AppType ("VELMORA" for the design product's own databases, also
// "QUENTARO" and "RUVEZEVORER"), DBType ("PT", "OPTIONS", "LIBRARY", "SHAPES"), VerMajor and VerMinor
// (the minor number in two digits: 3.40 is 3 and 40). A database may hold several rows; on SQL Server
// the table is [PT].[SysDBInfo]. The program reads it and never writes it.
namespace SysDBInfo {
// Every row ("the first row" where one row is asked for).
QString AlleRijen();
QString AppTypes();
// The row of one kind of database: "OPTIONS", "LIBRARY", "SHAPES".
QString VanSoort(const QString& dbType);
// The highest version among the design product's rows of a product table.
QString HoogsteVersie(bool sqlServer);
} // namespace SysDBInfo

// A version as shown: the trimmed major number, "." and the trimmed minor number.
QString VersieTekst(const QVariant& verMajor, const QVariant& verMinor);

// Whether an options database with this first version record keeps its hardware combinations in the new
// format: another application than the design product's always; the design product's from 3.x with a
// minor number other than 0, and from 4.
bool NieuweFormaatCombiesVoorVersie(const QString& appType, qint32 verMajor, qint32 verMinor);

class clsOPT
{
public:
    clsOPT() = default;
    ~clsOPT();
    clsOPT(const clsOPT&) = delete;
    clsOPT& operator=(const clsOPT&) = delete;

    std::shared_ptr<clsConnectie> cnOPT; // the open options database, or none

    // The file was opened as an SQLite database.
    bool DatabaseIsSQLiteFormat() const { return m_sqlite; }
    // Opens the options database; shows "Openen Onderhouds database is mislukt!" when it is no Jet
    // database (the connection object has reported why before).
    bool Connect(const QString& path);
    // Closes and releases the connection object; never reports.
    void Disconnect();
    // Whether hardware combinations use the new format: always for SQLite, else by the first row of
    // SysDBInfo. An error goes to the error window ("NieuweFormaatCombies") and answers False.
    bool NieuweFormaatCombies();

private:
    bool m_sqlite = false;
};

class clsLIB
{
public:
    clsLIB() = default;
    ~clsLIB();
    clsLIB(const clsLIB&) = delete;
    clsLIB& operator=(const clsLIB&) = delete;

    std::shared_ptr<clsConnectie> cnLIB; // the open library database, or none

    bool DatabaseIsSQLiteFormat() const { return m_sqlite; }
    // As clsOPT::Connect, with "Openen Bibliotheek database is mislukt!".
    bool Connect(const QString& path);
    void Disconnect();

private:
    bool m_sqlite = false;
};

} // namespace supplink
