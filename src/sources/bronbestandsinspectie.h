#pragma once
// Inspecting a source file without importing anything: its kind from the
// first bytes, the layout of a delimited text, the facts of a workbook that
// the supplier-layout tests need, and the version record of a database of the
// design product. The routines never report an error: each stops quietly and
// leaves its outputs as far as it had set them.

#include <QString>
#include <QVariant>
#include <optional>

namespace supplink {

// File-kind codes of BepaalBestandsType.
namespace BestandsType {
constexpr qint32 Leeg = -1;
constexpr qint32 Tekst = 0;
constexpr qint32 Binair = 1;
constexpr qint32 Jet = 2;
constexpr qint32 SQLite = 3;
} // namespace BestandsType

// The kind of the file from its first 100 bytes: empty, text, binary (a workbook,
// in practice), a Jet database or an SQLite database. A file that cannot be
// opened counts as text.
qint32 BepaalBestandsType(const QString& path);

// The layout assumed for a text whose layout is not looked at: ";", quoted, 6 columns, no repeats.
void StandaardCSVInstellingen(const QString& path, QString& separator, bool& quoted, qint32& columns,
                              bool& repeated);

// Finds the separator ("," or ";") and layout of a delimited text from its
// first line, and whether two consecutive lines start with the same value.
void BepaalCSVIndeling(const QString& path, bool& isCSV, QString& separator, bool& quoted, qint32& columns,
                       bool& repeated);

// Opens a workbook with its first row as data and reads the column count and
// first row (each cell preceded by "|") of its first table, whether two
// consecutive rows start with the same value, and the tables it lists.
void LeesExcelKolommen(const QString& path, bool& isExcel, qint32& columns, QString& firstRow, bool& repeated,
                       qint32& tableCount, QString& tableNames);

// Reads the version record SysDBInfo of a Jet or SQLite database of the design
// product: the first row's DBType, VerMajor and VerMinor, and the AppType of
// every row appended to appType, joined by "|".
void LeesDBInfoJet(const QString& path, bool& opened, QString& appType, QString& dbType, qint32& verMajor,
                   qint32& verMinor);
void LeesDBInfoSQLite(const QString& path, bool& opened, QString& appType, QString& dbType, qint32& verMajor,
                      qint32& verMinor);

// A value read as a 32-bit integer the way the version and template readers
// take them: whole numbers, or a decimal number rounded half to even; no value
// for anything else (null, text, out of range).
std::optional<qint32> NaarLong(const QVariant& value);

} // namespace supplink
