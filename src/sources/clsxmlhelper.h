#pragma once
// The reader of a supplier's XML material export: the articles ("item"
// elements) of its MATERIALS element as rows under titles of the target-field
// catalogue, and the conversion of an export into a CSV file that the program
// then reads as the source.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class QTextStream;
class QXmlStreamReader;

namespace supplink {

class clsXMLHelper
{
public:
    // Parses the document and reads its titles and rows; false when the file cannot be read or parsed
    // or holds no MATERIALS element (Foutmelding then says why). Without loadAll only the first 100
    // children of MATERIALS are read.
    bool LoadFile(const QString& path, bool loadAll);
    // The same for a document already in memory; name is the file name the messages use.
    bool LoadData(const QByteArray& data, bool loadAll, const QString& name = QString());

    qint32 ColumnCount() const { return qint32(m_titels.size()); }
    qint32 RowCount() const { return qint32(m_rijen.size()); }
    const QStringList& GetColumnCollection() const { return m_titels; }
    // Row 1 to RowCount; no value for any other number. Cells are texts, lengths doubles.
    std::optional<QVariantList> GetRowCollection(qint32 row) const;

    // Why the last load failed, in Dutch for the user; empty after a successful load.
    const QString& Foutmelding() const { return m_fout; }

private:
    struct Kind
    {
        QString naam;
        QString tekst;
    };

    bool LoadFileData(QXmlStreamReader& reader);
    bool FindOurStart(QXmlStreamReader& reader);
    void LoadRows(QXmlStreamReader& reader);
    void GetHeader(const QList<Kind>& kinderen);
    void GetRow(const QList<Kind>& kinderen);
    void AddRow(const QVariantList& rij);

    static bool IsDirectColumn(const QString& naam);
    static bool IsMaterialNumberColumn(const QString& naam);
    static bool IsColorColumn(const QString& naam);
    static bool IsLengthColumn(const QString& naam);
    static QString GetColumnTitle(const QString& naam);
    static QString GetArticleType(const QString& materiaalnummer);
    static QString GetColorMass(const QString& kleur);
    static QString GetFoilOutside(const QString& kleur);
    static QString GetFoilInside(const QString& kleur);
    static QString CheckFoilCode(const QString& code);

    QStringList m_titels;
    QList<QVariantList> m_rijen;
    bool m_allesLaden = false;
    QString m_naam;
    QString m_fout;
};

// Converts an XML material export into a CSV file: a title line, then one line per article. The CSV
// file is replaced only when it has been written completely; on failure it is left as it was and
// foutmelding (when given) says why.
bool DumpXMLtoCSV(const QString& xmlPath, const QString& csvPath, QString* foutmelding = nullptr);

// Writes one CSV line: every value between double quotes, separated by ";", ended by CR LF.
void SchrijfCSVRegel(QTextStream& stream, const QVariantList& values);

// The leading number of a text, as the length of an export is read: blanks are skipped, "." is the
// decimal point, an exponent may follow; 0 when the text does not start with a number.
double LeesVoorloopGetal(const QString& text);

} // namespace supplink
