#pragma once
// The connection object: the one class through which the program opens and
// uses a database. It holds at most one connection: an "ADO" one (a Jet file
// read through its mirror, an Excel workbook, SQL Server, an ODBC source) or
// an SQLite database file. Callers make one object per task, open it with one
// of the Maken... members, work through Connection(), Execute and
// ExecuteSilent (see the note in recordset.h), and close it with
// SluitenConnectie.

#include "database/databasebackend.h"

namespace supplink {

class clsConnectie
{
public:
    clsConnectie() = default;
    // Puts the Excel engine's type-guess setting back; an open connection is not closed here.
    ~clsConnectie();
    clsConnectie(const clsConnectie&) = delete;
    clsConnectie& operator=(const clsConnectie&) = delete;

    DbConnection ADOConnectie;    // Jet (mirror), Excel, SQL Server or ODBC
    DbConnection SQLiteConnectie; // an SQLite database file
    qint32 ServerVersie = 0;      // 7, 8, 9, 10, 11, or 0 when not recognised
    QString ServerVersieTekst;
    bool IsSQLServer = false;
    bool InlogGeweigerd = false;
    bool VerbindingMislukt = false;
    bool AndereFout = false;

    // An ADO connection is held that is not SQL Server (Jet, Excel, ODBC).
    bool IsJet() const;
    bool isSQLite() const;
    // The connection to work with: the held ADO connection, else the SQLite one, else none.
    DbConnection Connection() const;

    bool MakenConnectie(const QString& server, const QString& user, const QString& password,
                        const QString& database, bool sqlSecurity);
    bool MakenODBCConnectie(const QString& connectionString);
    bool MakenJetorSQLiteConnectie(const QString& path, const QString& password = QString());
    // A file that cannot be opened as Jet but is an SQLite database opens as SQLite.
    bool MakenJetConnectie(const QString& path, const QString& password = QString());
    bool MakenSQLiteConnectie(const QString& path, bool silent = false);
    bool MakenExcelConnectie(const QString& path, bool headerRow);
    bool MakenExcelConnectieMSJETOLEDB40(const QString& path, bool headerRow);
    bool MakenExcelConnectieMSACEOLEDB120(const QString& path, bool headerRow);
    bool CheckExcelConnectie(const QString& path, bool headerRow);
    void SluitenConnectie();
    // Shows the provider's diagnostics of the last failure in the error window (nothing when there are none).
    void ShowErrors();
    bool IsSQLServerAanwezig(const QString& server, bool ntSecurity, const QString& user,
                             const QString& password);
    // The statement's rows (ADO connections and a statement with rows), or none; errors go to the error
    // window.
    RecordsetPtr Execute(const QString& sql);
    // As Execute on any kind of connection, without any message.
    RecordsetPtr ExecuteSilent(const QString& sql);
    QString OpvragenGebruikersNaam();
    // Why the last Maken... or Check... call failed (the provider's or reader's description, in Dutch), for
    // callers that report a failure of the silent Excel attempts; empty after a success.
    const QString& lastOpenError() const { return m_lastOpenError; }
    void CheckServerDateTime();
    QVariant HandleReturnValue(const QVariantMap& parameters) const;

private:
    void BepaalServerVersie();
    bool CheckExcelConnectieMSJETOLEDB40(const QString& path, bool headerRow);
    bool CheckExcelConnectieMSACEOLEDB120(const QString& path, bool headerRow);
    void ForceerTypeGuessRows();
    void HerstelTypeGuessRows();
    void ZetInlogGeweigerd();
    void ZetVerbindingMislukt();
    void ZetAndereFout();

    // Closes whatever is held before a new connection takes its place.
    void closeHeld();
    bool openExcel(const QString& path, bool headerRow, int provider);
    void keepDiagnostics(const AppError& error);

    bool TypeGuessRowsGewijzigd = false;
    qint32 OudeTypeGuessRows = 0;
    QList<ProviderError> m_diagnostics;
    QString m_lastOpenError;
};

// The SQL Server major version from the product version text ("10.50.1600.1" gives 10), 0 when not
// recognised.
qint32 ServerVersieUitProductVersie(const QString& productVersion);

} // namespace supplink
