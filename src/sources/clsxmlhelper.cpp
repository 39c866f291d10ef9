#include "sources/clsxmlhelper.h"

#include "sources/tekstbestand.h"
#include "start/errors.h"
#include "start/veldcatalogus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextStream>
#include <QXmlStreamReader>

#include <cmath>

namespace supplink {

namespace {

const QString kWikkelExport = QStringLiteral("rfc:ZVXI_RFC_OUT_JOPPS");
const QString kWikkelData = QStringLiteral("RFCDATA");
const QString kMaterialen = QStringLiteral("MATERIALS");
const QString kArtikel = QStringLiteral("item");
const QString kProfielcode = QStringLiteral("Kunststof Profielcode");
const QString kTypeProfiel = QStringLiteral("19");

// Children of MATERIALS read when not everything is loaded.
constexpr int kVoorbeeldKnopen = 100;

// Type mismatch: the material number is no whole number.
constexpr qint32 kFoutTypeMismatch = 13;

bool isNaam(const QString& naam, QLatin1String verwacht)
{
    return naam.compare(verwacht, Qt::CaseInsensitive) == 0;
}

// Skips the element the reader stands on, with all it holds.
void slaElementOver(QXmlStreamReader& reader)
{
    int diepte = 1;
    while (diepte > 0 && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            ++diepte;
            break;
        case QXmlStreamReader::EndElement:
            --diepte;
            break;
        default:
            break;
        }
    }
}

// The text of the element the reader stands on, that of its child elements included. Text that is
// only white space between the markup does not count, as the document is read without it.
QString elementTekst(QXmlStreamReader& reader)
{
    QString tekst;
    int diepte = 1;
    while (diepte > 0 && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            ++diepte;
            break;
        case QXmlStreamReader::EndElement:
            --diepte;
            break;
        case QXmlStreamReader::Characters:
            if (reader.isCDATA() || !reader.isWhitespace())
                tekst += reader.text();
            break;
        default:
            break;
        }
    }
    return tekst;
}

// A document without a byte-order mark or declared encoding whose bytes are no UTF-8 is taken as
// Windows-1252 text, as every other text file the program reads.
bool heeftEigenCodering(const QByteArray& data)
{
    if (data.startsWith("\xEF\xBB\xBF") || data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return true;
    if (data.startsWith("<?xml")) {
        const qsizetype einde = data.indexOf("?>");
        if (data.left(einde < 0 ? data.size() : einde).contains("encoding"))
            return true;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString proef = utf8.decode(data); // the bytes are decoded only when taken as a QString
    return !utf8.hasError();
}

QString uitleg(QXmlStreamReader::Error fout)
{
    switch (fout) {
    case QXmlStreamReader::PrematureEndOfDocumentError:
        return QStringLiteral("het document houdt voortijdig op");
    case QXmlStreamReader::UnexpectedElementError:
        return QStringLiteral("er staat een onverwacht element in");
    default:
        return QStringLiteral("de opbouw van het document klopt niet");
    }
}

// A cell as text: nothing for a null, numbers with "." as decimal point, whatever the settings of the
// machine, so that the import reads them back the same everywhere.
QString celTekst(const QVariant& waarde)
{
    if (!waarde.isValid() || waarde.isNull())
        return QString();
    if (waarde.typeId() == QMetaType::Double) {
        const double getal = waarde.toDouble();
        return std::isfinite(getal) ? QString::number(getal, 'g', 15) : QString();
    }
    return waarde.toString();
}

} // namespace

double LeesVoorloopGetal(const QString& text)
{
    QByteArray getal;
    bool cijfers = false;
    bool punt = false;
    bool exponent = false;
    qsizetype exponentBegin = -1;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c >= u'0' && c <= u'9') {
            getal.append(char(c.unicode()));
            if (!exponent)
                cijfers = true;
            continue;
        }
        if ((c == u'+' || c == u'-') && (getal.isEmpty() || (exponent && getal.size() == exponentBegin))) {
            getal.append(char(c.unicode()));
            continue;
        }
        if (c == u'.' && !punt && !exponent) {
            punt = true;
            getal.append('.');
            continue;
        }
        if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && cijfers && !exponent) {
            exponent = true;
            getal.append('e');
            exponentBegin = getal.size();
            continue;
        }
        break;
    }
    if (!cijfers)
        return 0;
    // An exponent without digits does not belong to the number.
    if (exponent) {
        qsizetype i = exponentBegin;
        if (i < getal.size() && (getal[i] == '+' || getal[i] == '-'))
            ++i;
        if (i >= getal.size())
            getal.truncate(exponentBegin - 1);
    }
    bool ok = false;
    const double waarde = getal.toDouble(&ok);
    return ok ? waarde : 0;
}

bool clsXMLHelper::LoadFile(const QString& path, bool loadAll)
{
    const QString naam = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        m_titels.clear();
        m_rijen.clear();
        m_fout = QStringLiteral("Het XML-bestand '%1' kan niet worden geopend.").arg(naam);
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_titels.clear();
        m_rijen.clear();
        m_fout = QStringLiteral("Het XML-bestand '%1' kan niet worden gelezen.").arg(naam);
        return false;
    }
    return LoadData(data, loadAll, naam);
}

bool clsXMLHelper::LoadData(const QByteArray& data, bool loadAll, const QString& name)
{
    m_allesLaden = loadAll;
    m_naam = name.isEmpty() ? QStringLiteral("(zonder naam)") : name;
    m_fout.clear();
    m_titels.clear();
    m_rijen.clear();
    try {
        if (data.trimmed().isEmpty()) {
            m_fout = QStringLiteral("Het XML-bestand '%1' is leeg.").arg(m_naam);
            return false;
        }
        QXmlStreamReader reader;
        // Exports use the prefix rfc: without always declaring it; names are compared as written.
        reader.setNamespaceProcessing(false);
        if (heeftEigenCodering(data))
            reader.addData(data);
        else
            reader.addData(DecodeerTekst(data));
        return LoadFileData(reader);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("LoadFile"), e);
        m_fout = QStringLiteral("Het XML-bestand '%1' kan niet worden gelezen.").arg(m_naam);
        return false;
    }
}

bool clsXMLHelper::LoadFileData(QXmlStreamReader& reader)
{
    const bool gevonden = FindOurStart(reader);
    if (reader.hasError()) {
        // A document that does not parse as a whole gives nothing, also not the rows read before the fault.
        m_titels.clear();
        m_rijen.clear();
        m_fout = QStringLiteral("Het XML-bestand '%1' is geen geldig XML-document: %2 (regel %3, kolom %4).")
                     .arg(m_naam, uitleg(reader.error()))
                     .arg(reader.lineNumber())
                     .arg(reader.columnNumber());
        return false;
    }
    if (!gevonden) {
        m_fout =
            QStringLiteral("Het XML-bestand '%1' bevat geen materiaallijst (element MATERIALS).").arg(m_naam);
        return false;
    }
    return true;
}

// Descends from the top through the wrapper elements to the first MATERIALS element and reads it; every
// other element is passed over. The rest of the document is still read, so that a fault in it is found.
bool clsXMLHelper::FindOurStart(QXmlStreamReader& reader)
{
    bool gevonden = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString naam = reader.qualifiedName().toString();
        if (gevonden) {
            slaElementOver(reader);
        } else if (naam == kWikkelExport || naam == kWikkelData) {
            continue; // its children are looked at next
        } else if (naam == kMaterialen) {
            LoadRows(reader);
            gevonden = true;
        } else {
            slaElementOver(reader);
        }
    }
    return gevonden;
}

void clsXMLHelper::LoadRows(QXmlStreamReader& reader)
{
    int knopen = 0;
    bool klaar = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType soort = reader.readNext();
        bool knoop = false;
        switch (soort) {
        case QXmlStreamReader::EndElement:
            return; // the end of MATERIALS
        case QXmlStreamReader::StartElement:
            knoop = true;
            if (klaar || reader.qualifiedName() != kArtikel) {
                slaElementOver(reader);
                break;
            }
            {
                QList<Kind> kinderen;
                while (!reader.atEnd()) {
                    const QXmlStreamReader::TokenType t = reader.readNext();
                    if (t == QXmlStreamReader::EndElement)
                        break;
                    if (t == QXmlStreamReader::StartElement) {
                        Kind kind;
                        kind.naam = reader.qualifiedName().toString();
                        kind.tekst = elementTekst(reader);
                        kinderen.append(std::move(kind));
                    }
                }
                if (reader.hasError())
                    return;
                if (m_titels.isEmpty())
                    GetHeader(kinderen);
                GetRow(kinderen);
            }
            break;
        case QXmlStreamReader::Characters:
            knoop = reader.isCDATA() || !reader.isWhitespace();
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::EntityReference:
            knoop = true;
            break;
        default:
            break;
        }
        if (knoop && !m_allesLaden && !klaar && ++knopen >= kVoorbeeldKnopen)
            klaar = true;
    }
}

void clsXMLHelper::GetHeader(const QList<Kind>& kinderen)
{
    for (const Kind& kind : kinderen) {
        if (IsDirectColumn(kind.naam)) {
            m_titels.append(GetColumnTitle(kind.naam));
        } else if (IsLengthColumn(kind.naam)) {
            m_titels.append(VeldNaam(32));
        } else if (IsColorColumn(kind.naam)) {
            m_titels << QStringLiteral("Kleur massa") << QStringLiteral("Foly Buiten")
                     << QStringLiteral("Foly Binnen");
        } else if (IsMaterialNumberColumn(kind.naam)) {
            m_titels << VeldNaam(1) << VeldNaam(9);
        }
    }
    m_titels.append(VeldNaam(24));
}

void clsXMLHelper::GetRow(const QList<Kind>& kinderen)
{
    try {
        QVariantList rij;
        QString materiaalnummer;
        for (const Kind& kind : kinderen) {
            if (IsDirectColumn(kind.naam)) {
                rij.append(kind.tekst);
            } else if (IsLengthColumn(kind.naam)) {
                const double lengte = LeesVoorloopGetal(kind.tekst);
                if (lengte <= 0 || !std::isfinite(lengte * 1000))
                    rij.append(kind.tekst);
                else
                    rij.append(lengte * 1000);
            } else if (IsColorColumn(kind.naam)) {
                const QString massa = GetColorMass(kind.tekst);
                if (massa.isEmpty()) {
                    rij << QString() << QString() << QString();
                } else {
                    const QString buiten = GetFoilOutside(kind.tekst);
                    const QString binnen = GetFoilInside(kind.tekst);
                    rij << massa << (buiten.isEmpty() ? massa : buiten)
                        << (binnen.isEmpty() ? massa : binnen);
                }
            } else if (IsMaterialNumberColumn(kind.naam)) {
                rij << kind.tekst << kind.tekst;
                materiaalnummer = kind.tekst.size() >= 5 ? kind.tekst.left(4) : kind.tekst;
            }
        }
        const QString artikelType = GetArticleType(materiaalnummer);
        if (!rij.isEmpty() && !celTekst(rij.first()).isEmpty() && !artikelType.isEmpty()) {
            rij.append(artikelType);
            AddRow(rij);
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("GetRow"), e);
    }
}

void clsXMLHelper::AddRow(const QVariantList& rij)
{
    if (celTekst(rij.last()) == kTypeProfiel) {
        m_rijen.append(rij);
        return;
    }
    // Only profiles keep their profile code.
    QVariantList kopie = rij;
    for (qsizetype i = 0; i < kopie.size() && i < m_titels.size(); ++i) {
        if (m_titels[i] == kProfielcode)
            kopie[i] = QString();
    }
    m_rijen.append(std::move(kopie));
}

std::optional<QVariantList> clsXMLHelper::GetRowCollection(qint32 row) const
{
    if (row < 1 || row > RowCount())
        return std::nullopt;
    return m_rijen[row - 1];
}

bool clsXMLHelper::IsDirectColumn(const QString& naam)
{
    return isNaam(naam, QLatin1String("MAKTX_NL")) || isNaam(naam, QLatin1String("NETPRICE")) ||
           isNaam(naam, QLatin1String("PRODH1"));
}

bool clsXMLHelper::IsMaterialNumberColumn(const QString& naam)
{
    return isNaam(naam, QLatin1String("BISMT"));
}

bool clsXMLHelper::IsColorColumn(const QString& naam)
{
    return isNaam(naam, QLatin1String("COLOR"));
}

bool clsXMLHelper::IsLengthColumn(const QString& naam)
{
    return isNaam(naam, QLatin1String("LENGTH"));
}

QString clsXMLHelper::GetColumnTitle(const QString& naam)
{
    if (naam == QLatin1String("MAKTX_NL"))
        return VeldNaam(2);
    if (naam == QLatin1String("NETPRICE"))
        return VeldNaam(10);
    if (naam == QLatin1String("PRODH1"))
        return kProfielcode;
    return naam;
}

QString clsXMLHelper::GetArticleType(const QString& materiaalnummer)
{
    const QString tekst = materiaalnummer.trimmed();
    bool ok = false;
    const int n = tekst.toInt(&ok, 10);
    if (!ok) {
        throw AppError(
            kFoutTypeMismatch,
            tekst.isEmpty()
                ? QStringLiteral("Een artikel zonder materiaalnummer (BISMT) wordt overgeslagen.")
                : QStringLiteral("Het materiaalnummer '%1' is geen geheel getal; het artikel wordt "
                                 "overgeslagen.")
                      .arg(tekst));
    }
    if ((n >= 0 && n <= 3999) || (n >= 4300 && n <= 4399))
        return QStringLiteral("19");
    if (n >= 5000 && n <= 5899)
        return QStringLiteral("18");
    if (n >= 5900 && n <= 5999)
        return QStringLiteral("10");
    if ((n >= 6000 && n <= 6749) || (n >= 6900 && n <= 6998))
        return QStringLiteral("12");
    return QString();
}

namespace {

// The length of a colour code as tested: without leading and trailing spaces.
qsizetype codeLengte(const QString& kleur)
{
    qsizetype begin = 0;
    qsizetype eind = kleur.size();
    while (begin < eind && kleur[begin] == u' ')
        ++begin;
    while (eind > begin && kleur[eind - 1] == u' ')
        --eind;
    return eind - begin;
}

} // namespace

QString clsXMLHelper::GetColorMass(const QString& kleur)
{
    if (codeLengte(kleur) <= 3)
        return QString();
    switch (kleur[3].unicode()) {
    case u'0':
        return QStringLiteral("BE");
    case u'1':
        return QStringLiteral("BC");
    case u'2':
        return QStringLiteral("BRV");
    case u'3':
        return QStringLiteral("GRIJS");
    case u'4':
        return QStringLiteral("TON SABLE");
    case u'5':
        return QStringLiteral("CARAMEL");
    case u'8':
        return QStringLiteral("RECYCLAAT");
    default:
        return QString();
    }
}

QString clsXMLHelper::GetFoilOutside(const QString& kleur)
{
    if (codeLengte(kleur) <= 3)
        return QString();
    const QChar derde = kleur[2];
    if (derde == u'1' || derde == u'2' || derde == u'4')
        return CheckFoilCode(kleur.left(2));
    return QString();
}

QString clsXMLHelper::GetFoilInside(const QString& kleur)
{
    if (codeLengte(kleur) <= 3)
        return QString();
    const QChar derde = kleur[2];
    if (derde == u'2' || derde == u'3')
        return CheckFoilCode(kleur.left(2));
    if (derde == u'4')
        return CheckFoilCode(kleur.mid(4, 2));
    return QString();
}

QString clsXMLHelper::CheckFoilCode(const QString& code)
{
    static const QStringList codes = {
        QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"),
        QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("20"), QStringLiteral("21"),
        QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("25"), QStringLiteral("26"),
        QStringLiteral("27"), QStringLiteral("28"), QStringLiteral("30"), QStringLiteral("31"),
        QStringLiteral("35"), QStringLiteral("38"), QStringLiteral("39")};
    return codes.contains(code) ? code : QString();
}

void SchrijfCSVRegel(QTextStream& stream, const QVariantList& values)
{
    QString regel;
    for (qsizetype i = 0; i < values.size(); ++i) {
        QString tekst = celTekst(values[i]);
        // A line break inside a value would split the article over two lines.
        tekst.replace(QLatin1String("\r\n"), QLatin1String(" "));
        tekst.replace(QLatin1Char('\r'), QLatin1Char(' '));
        tekst.replace(QLatin1Char('\n'), QLatin1Char(' '));
        regel += QLatin1Char('"') + tekst + QLatin1Char('"');
        if (i + 1 < values.size())
            regel += QLatin1Char(';');
    }
    regel += QLatin1String("\r\n");
    stream << regel;
}

bool DumpXMLtoCSV(const QString& xmlPath, const QString& csvPath, QString* foutmelding)
{
    const auto meld = [foutmelding](const QString& tekst) {
        if (foutmelding)
            *foutmelding = tekst;
    };
    try {
        clsXMLHelper helper;
        if (!helper.LoadFile(xmlPath, true)) {
            meld(helper.Foutmelding());
            return false;
        }
        QString tekst;
        {
            QTextStream uit(&tekst);
            QVariantList titels;
            for (const QString& titel : helper.GetColumnCollection())
                titels.append(titel);
            SchrijfCSVRegel(uit, titels);
            for (qint32 r = 1; r <= helper.RowCount(); ++r)
                SchrijfCSVRegel(uit, *helper.GetRowCollection(r));
        }
        // The CSV file takes the new text only once it has been written completely.
        if (!SchrijfBestandVolledig(csvPath, tekst.toUtf8())) {
            meld(QStringLiteral("Het bestand '%1' kan niet volledig worden geschreven.")
                     .arg(QDir::toNativeSeparators(csvPath)));
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("DumpXMLtoCSV"), e);
        meld(QStringLiteral("Het XML-bestand '%1' kan niet worden omgezet.")
                 .arg(QDir::toNativeSeparators(xmlPath)));
        return false;
    }
}

} // namespace supplink
