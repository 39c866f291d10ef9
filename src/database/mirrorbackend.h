#pragma once
// Jet databases and Excel workbooks as the program reads them: the file is
// read once into a private SQLite database (a "mirror", see
// platform/jetmirror.h and platform/workbook.h) in the temporary folder,
// which is deleted when the connection closes. The connection counts as a Jet
// connection (kind Jet or Excel), answers the source file as its path, and
// runs every statement through the Jet-to-SQLite translator, so the Jet
// statement forms work as they do on Jet (see SqliteBackend::runJet).
//
// Fields report the types and sizes a Jet provider gives them (the mirror
// keeps them in its side table), and the side tables never show in the table
// list or the schema.
//
// Nothing is ever written back into the Jet file or the workbook. A statement
// or recordset update that would change a table of the file is refused
// before it runs (AppError DbErrorNumber::ReadOnlyDatabase, with a Dutch
// message saying why and, for Jet, that SQLite targets can be used). The one
// exception are the scratch tables the program keeps while it reads a
// database (tmpSelected, tmpLevImportItems): they may be made, filled and
// dropped in the mirror, where they live until the connection closes.
// Statements of other connections that name this Jet file by its path see
// these scratch tables too, as long as this connection is open.

#include "database/sqlitebackend.h"

#include <QStringList>

namespace supplink {

class MirrorBackend : public SqliteBackend
{
public:
    // Reads the Jet file; throws AppError with the reader's Dutch message when it cannot.
    static std::shared_ptr<MirrorBackend> openJet(const QString& mdbPath);
    // Reads the workbook (.xls or .xlsx, by content), its sheets as tables "<sheet>$"; with headerRow the
    // first row of a sheet names the columns, else the columns are F1..Fn. Throws AppError when it cannot.
    static std::shared_ptr<MirrorBackend> openWorkbook(const QString& path, bool headerRow);
    ~MirrorBackend() override;

    Kind kind() const override { return m_kind; }
    void close() override;

    void execute(const QString& sql, const QVariantList& params = {}) override;
    std::optional<ResultData> run(const QString& sql, const QVariantList& params = {}) override;
    std::unique_ptr<Statement> prepare(const QString& sql) override;

    // The tables of the file (and scratch tables made since), sorted by name without regard to case.
    QStringList tableNames() override;
    std::optional<TableSchema> tableSchema(const QString& table, const QString& schema = QString()) override;
    // [name], as Jet writes names.
    QString quoteIdentifier(const QString& name) const override;

    const QString& mirrorPath() const { return m_mirrorPath; }

protected:
    std::optional<KnownColumn> knownColumn(const QString& schema, const QString& table,
                                           const QString& column) const override;
    AppError statementError(int code, const QString& sql) const override;

private:
    MirrorBackend(sqlite3* db, const QString& sourcePath, const QString& mirrorPath, Kind kind);
    static std::shared_ptr<MirrorBackend> adopt(const QString& sourcePath, const QString& mirrorPath,
                                                Kind kind);
    void loadColumns();
    bool mayWrite(const char* database, const char* table);
    static int authorize(void* self, int action, const char* first, const char* second, const char* database,
                         const char* trigger);

    Kind m_kind;
    QString m_mirrorPath;
    QStringList m_scratchTables;
    QHash<QString, KnownColumn> m_columns; // "table\x1fcolumn" in lower case
    QString m_refusedTable;                // the table the last refused statement would have changed
};

// The mirror of an open Jet connection of this Jet file (the one opened last), or empty.
QString liveJetMirror(const QString& mdbPath);
// Reads the Jet file into a new private mirror and gives its path (the caller deletes it); throws AppError
// with the reader's message when the file cannot be read.
QString makeJetMirror(const QString& mdbPath);

// Why a Jet file cannot be written here, for the user: that Access databases can only be read on this
// system and that an SQLite database can be chosen as target.
QString JetAlleenLezenMelding(const QString& path);

} // namespace supplink
