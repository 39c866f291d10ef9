#pragma once
// The description of one source file of a supplier delivery: where it is,
// what it is (workbook, CSV text, XML material export, Jet or SQLite database
// of the design product), which kind of data it carries, how a text or sheet
// is laid out, which source column feeds which target field, and which types
// the user chose. Its template file keeps it per supplier (bronsjablonen.h).

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace supplink {

// Kinds of data of a source (Soort).
namespace BronSoort {
constexpr qint32 NietBepaald = -1;
constexpr qint32 Artikelen = 0;
constexpr qint32 TabellenCombies = 1;
constexpr qint32 Bibliotheek = 2;
constexpr qint32 WKV = 3;
} // namespace BronSoort

class clsBron2
{
public:
    clsBron2();
    // Deletes the CSV file made from an XML export.
    ~clsBron2();
    clsBron2(const clsBron2&) = delete;
    clsBron2& operator=(const clsBron2&) = delete;

    bool Geselecteerd = true;
    QVariant Grootte; // bytes as the file system reports them; the saved text after a template load
    QDateTime LaatstGewijzigd;
    QString BestandsNaam;
    qint32 Soort = BronSoort::NietBepaald;
    bool IsOnbekend = false;
    bool IsSQLite = false;
    bool IsJetDatabase = false;
    bool IsExcel = false;
    bool IsCSV = false; // also set for an XML export, which is read as its CSV conversion
    QString Scheidingsteken;
    bool MetAanhalingstekens = false;
    qint32 AantalKolommen = 0;
    QString KolomKoppen; // the cells of a workbook's first row, each preceded by "|"
    bool EersteKolomHerhaald = false;
    qint32 AantalSheets = 0;
    QString SheetNamen; // each table name preceded by "|"
    QString AppType;    // the AppType of every SysDBInfo row, joined by "|"
    QString DBType;
    qint32 VerMajor = 0;
    qint32 VerMinor = 0;
    bool EersteRijImporteren = false;
    QList<qint32> KolomSoorten; // per source column a target-field code, 0: not imported
    qint32 ArtikelType = 0;
    QString TypeSelectie; // the chosen type codes, joined by ";"
    QString Extensie;
    qint32 CombiType = 0;
    QString BronPad;
    // Why the file was not taken: an SQLite database that another program holds or that is damaged (one
    // message naming the file). Empty otherwise; not kept in the template.
    QString Weigering;

    // The file to read: BronPad, or for an XML export its CSV conversion, made at the first call
    // (empty text when the conversion failed; the user is told why once).
    QString Path();
    bool ArtikelGroepSelectieMogelijk() const;
    // Whether BronPad names a file; fills the file facts when it does.
    bool FileExists();
    // Takes a file and describes it, from its saved template when there is one; false when the file
    // does not exist, its format is not recognised, or it is an SQLite database that cannot be read now
    // (Weigering says why). A template of a database whose kind was not known is not trusted: the
    // database is read again (LeesDatabaseOpnieuw).
    bool AddBestand(const QString& path);
    // A database of the design product without a kind: its version record was not read when it was
    // described (the file may have been held or damaged then, or it has no version record).
    bool DatabaseZonderSoort() const;
    // Reads such a database's version record and kind again. False, with Weigering set, when the file is
    // an SQLite database that another program holds or that is damaged; the description is then as it was.
    bool LeesDatabaseOpnieuw();
    QString FormatDescription() const;
    // Whether the file is an XML material export (read as its CSV conversion, whose lengths are
    // millimetres already).
    bool IsXMLExport() const { return IsXML; }
    QString SoortDescription() const;
    // The 1-based position of the first source column of the kind, 0 when none.
    qint32 GetColumnFor(qint32 kind) const;
    // Writes the template file; true when it was written completely (a failure is reported and
    // leaves a file that was there before as it was).
    bool Save(const QString& path);
    // Reads a template file into the fields; what cannot be read keeps its value.
    void Load(const QString& path);
    bool Holonite() const;
    void HoloniteColumns();
    bool Deceuninck() const;
    qint32 DeceuninckType() const;
    void DeceuninckColumns();
    bool AlleenPrijsUpdate() const;
    bool MatchArtikelOpBestelcode() const;
    bool Minimaal35Formaat() const;

private:
    void FillProperties();
    bool CheckForXML();
    void FillSoort();
    QString CheckForTemplate();

    bool IsXML = false;
    QString XMLWerkPad;
    bool m_xmlOmzettingMislukt = false;
};

} // namespace supplink
