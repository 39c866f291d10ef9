#pragma once
// A private SQLite copy ("mirror") of a read-only source: a Jet database or
// an Excel workbook is read once into such a file, which the database layer
// then opens as an ordinary SQLite database.
//
// Besides the copied tables a mirror holds the side table
//   __supplink_columns(tablename, columnname, ordinal, jettype, adotype,
//                      definedsize, precision, numericscale, autonumber)
// with one row per copied column: the Jet column type code, the ADO type code
// a Jet provider reports for it, its defined size (characters for text, bytes
// otherwise), precision and scale (numeric columns) and 1 for an AutoNumber.
//
// MirrorWriter builds a mirror next to its target path and moves it into
// place only when complete, so that a failed read never leaves a mirror. Its
// connection, as every SQLite connection of the program, knows the collation
// of codes its text columns are declared with.

#include "platform/fieldtypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace supplink {

struct MirrorResult
{
    bool ok = false;
    QString error; // for the user, in Dutch, when ok is false
};

// Jet column type codes, as stored in a Jet database.
namespace JetType {
constexpr int Boolean = 1;
constexpr int Byte = 2;
constexpr int Integer = 3;
constexpr int Long = 4;
constexpr int Currency = 5;
constexpr int Single = 6;
constexpr int Double = 7;
constexpr int DateTime = 8;
constexpr int Binary = 9;
constexpr int Text = 10;
constexpr int OleObject = 11;
constexpr int Memo = 12;
constexpr int Guid = 15;
constexpr int Numeric = 16;
} // namespace JetType

// ADO's defined sizes of the Jet long types.
constexpr int kMemoDefinedSize = 536870910;
constexpr int kOleDefinedSize = 1073741823;

// The name of the side table described above.
inline constexpr char kMirrorColumnsTable[] = "__supplink_columns";

// The declarations of a mirror's text columns: they compare as Jet compares text, which is the
// collation of codes (platform/codecompare.h; a mirror is a private file, never a user's).
QString mirrorTextDeclaration(int size); // "TEXT(n) COLLATE JETNOCASE"
QString mirrorMemoDeclaration();         // "LONGTEXT COLLATE JETNOCASE"

struct MirrorColumn
{
    QString name;
    QString declaredType; // the SQLite declaration, e.g. "TEXT(50) COLLATE JETNOCASE"
    int jetType = JetType::Text;
    int adoType = adType::VarWChar;
    int definedSize = 255;
    int precision = 0;
    int scale = 0;
    bool autoNumber = false;
};

// A date as Jet and Excel keep it (days since 1899-12-30; the fraction is the
// time of day, also before that day: -1.25 is 1899-12-29 06:00) as the
// mirror's text 'yyyy-mm-dd hh:mm:ss', seconds rounded. Empty when the value
// is no date of the years 1 to 9999.
QByteArray oleDateText(double days);

// SQLite identifier quoting: "name" with inner quotes doubled.
QString quoteSqlIdentifier(const QString& name);

class MirrorWriter
{
public:
    // The mirror is built at workPath (by default workPathFor(targetPath)).
    explicit MirrorWriter(const QString& targetPath, const QString& workPath = QString());
    // A new private name next to the target.
    static QString workPathFor(const QString& targetPath);
    ~MirrorWriter(); // discards the unfinished mirror
    MirrorWriter(const MirrorWriter&) = delete;
    MirrorWriter& operator=(const MirrorWriter&) = delete;

    // Each step returns false after a failure; error() then tells why.
    bool open();
    bool exec(const QString& sql);
    // Creates the table with the given columns (the declarations as given;
    // a primary key clause is added when keyColumns is not empty, unless a
    // column's declaration already holds one) and records the columns in the
    // side table.
    bool createTable(const QString& table, const QList<MirrorColumn>& columns,
                     const QStringList& keyColumns = {});

    // Row insertion: beginRows once per table, then per row the bind calls
    // (0-based column) and insertRow.
    bool beginRows(const QString& table, int columnCount);
    void bindNull(int column);
    void bindInteger(int column, qint64 value);
    void bindDouble(int column, double value);
    void bindText(int column, const QByteArray& utf8);
    void bindText(int column, const QString& text) { bindText(column, text.toUtf8()); }
    void bindBlob(int column, const QByteArray& bytes);
    bool insertRow();
    void endRows();

    // Commits, closes and moves the mirror to the target path.
    bool finish();

    QString error() const { return m_error; }
    QString targetPath() const { return m_target; }

private:
    bool fail(const QString& what);
    void discard();

    QString m_target;
    QString m_work;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_columnInsert = nullptr;
    bool m_bindFailed = false;
    QString m_error;
};

} // namespace supplink
