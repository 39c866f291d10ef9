#include "sources/clsbron2.h"

#include "database/databaseroutines.h"
#include "sources/bronbestandsinspectie.h"
#include "sources/bronsjablonen.h"
#include "sources/clsxmlhelper.h"
#include "sources/tekstbestand.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <functional>

namespace supplink {

namespace {

// Lines 28 to 69 of a template are reserved, each "-2".
constexpr int kEersteGereserveerd = 28;
constexpr int kEersteKolomSoort = 70;
const QString kGereserveerd = QStringLiteral("-2");
const QString kDatumVorm = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The Holonite workbook's fourteen columns.
const QList<qint32> kHoloniteKolommen = {24, 1, 2, 11, 9, 10, 13, 0, 20, 33, 34, 14, 0, 0};
// The two Deceuninck layouts.
const QList<qint32> kDeceuninck9Kolommen = {1, 0, 0, 0, 0, 0, 0, 0, 9, 2, 0, 0, 10};
const QList<qint32> kDeceuninck6Kolommen = {1, 0, 0, 0, 0, 9, 2, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0};

// The template's forms of the values.
QString tekstRegel(const QString& tekst)
{
    // One value per line: a line break inside a value would shift every line after it.
    QString regel = tekst;
    regel.replace(QLatin1String("\r\n"), QLatin1String(" "));
    regel.replace(QLatin1Char('\r'), QLatin1Char(' '));
    regel.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return regel;
}
QString boolRegel(bool waarde)
{
    return waarde ? QStringLiteral("-1") : QStringLiteral("0");
}
QString getalRegel(qint32 waarde)
{
    return QString::number(waarde);
}
QString datumRegel(const QDateTime& waarde)
{
    return waarde.isValid() ? waarde.toString(kDatumVorm) : QString();
}

bool leesBool(const QString& regel)
{
    return regel.trimmed() != QLatin1String("0");
}
std::optional<QDateTime> leesDatum(const QString& regel)
{
    const QString tekst = regel.trimmed();
    QDateTime datum = QDateTime::fromString(tekst, kDatumVorm);
    if (!datum.isValid())
        datum = QDateTime::fromString(tekst, Qt::ISODate);
    if (!datum.isValid())
        datum = QLocale::system().toDateTime(tekst, QLocale::ShortFormat);
    if (!datum.isValid())
        return std::nullopt;
    return datum;
}

} // namespace

clsBron2::clsBron2() : LaatstGewijzigd(NulDatum()) {}

clsBron2::~clsBron2()
{
    if (!XMLWerkPad.isEmpty())
        VerwijderBestand(XMLWerkPad);
}

QString clsBron2::Path()
{
    if (!IsXML)
        return BronPad;
    if (!XMLWerkPad.isEmpty())
        return XMLWerkPad;
    if (m_xmlOmzettingMislukt)
        return QString();

    // The conversion runs once; when it fails nothing is left that could pass for its result.
    m_xmlOmzettingMislukt = true;
    const QString werkPad = GetTempFileNaam();
    QString fout;
    if (werkPad.isEmpty()) {
        fout = QStringLiteral("Er kan geen tijdelijk bestand worden aangemaakt voor de omzetting van '%1'.")
                   .arg(QDir::toNativeSeparators(BronPad));
    } else if (!DumpXMLtoCSV(BronPad, werkPad, &fout)) {
        VerwijderBestand(werkPad);
    } else {
        m_xmlOmzettingMislukt = false;
        XMLWerkPad = werkPad;
        BepaalCSVIndeling(XMLWerkPad, IsCSV, Scheidingsteken, MetAanhalingstekens, AantalKolommen,
                          EersteKolomHerhaald);
        return XMLWerkPad;
    }
    ToonFout(fout);
    return QString();
}

bool clsBron2::ArtikelGroepSelectieMogelijk() const
{
    if (IsJetDatabase)
        return DBType.toUpper() == QLatin1String("PT");
    return KolomSoorten.contains(4);
}

bool clsBron2::FileExists()
{
    try {
        const QFileInfo info(BronPad);
        if (BronPad.isEmpty() || !info.isFile())
            return false;
        BestandsNaam = info.fileName();
        Grootte = info.size();
        // Whole seconds, as the template keeps them.
        const QDateTime gewijzigd = info.lastModified();
        LaatstGewijzigd = gewijzigd.addMSecs(-gewijzigd.time().msec());
        Extensie = info.suffix();
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("FileExists"), e);
        return false;
    }
}

bool clsBron2::AddBestand(const QString& path)
{
    BronPad = path;
    if (!FileExists())
        return false;
    Weigering.clear();
    const QString sjabloon = CheckForTemplate();
    if (!sjabloon.isEmpty()) {
        Load(sjabloon);
        return !DatabaseZonderSoort() || LeesDatabaseOpnieuw();
    }
    FillProperties();
    if (IsOnbekend || !Weigering.isEmpty())
        return false;
    FillSoort();
    return true;
}

bool clsBron2::DatabaseZonderSoort() const
{
    return (IsJetDatabase || IsSQLite) && Soort == BronSoort::NietBepaald && DBType.isEmpty();
}

bool clsBron2::LeesDatabaseOpnieuw()
{
    Weigering.clear();
    const qint32 type = BepaalBestandsType(BronPad);
    if (type != BestandsType::SQLite && type != BestandsType::Jet)
        return true; // no database by its first bytes (now): nothing to read again
    const bool sqlite = type == BestandsType::SQLite;
    if (sqlite) {
        Weigering = SQLiteBestandWeigering(BronPad);
        if (!Weigering.isEmpty())
            return false;
    }
    QString appType;
    QString dbType;
    qint32 verMajor = 0;
    qint32 verMinor = 0;
    bool geopend = false;
    if (sqlite)
        LeesDBInfoSQLite(BronPad, geopend, appType, dbType, verMajor, verMinor);
    else
        LeesDBInfoJet(BronPad, geopend, appType, dbType, verMajor, verMinor);
    IsSQLite = sqlite;
    IsJetDatabase = !sqlite;
    AppType = appType;
    DBType = dbType;
    VerMajor = verMajor;
    VerMinor = verMinor;
    FillSoort();
    return true;
}

void clsBron2::FillProperties()
{
    try {
        switch (BepaalBestandsType(BronPad)) {
        case BestandsType::Tekst:
            if (!CheckForXML()) {
                BepaalCSVIndeling(BronPad, IsCSV, Scheidingsteken, MetAanhalingstekens, AantalKolommen,
                                  EersteKolomHerhaald);
                if (!IsCSV)
                    IsOnbekend = true;
            }
            break;
        case BestandsType::Binair:
            LeesExcelKolommen(BronPad, IsExcel, AantalKolommen, KolomKoppen, EersteKolomHerhaald,
                              AantalSheets, SheetNamen);
            if (Holonite())
                EersteRijImporteren = false;
            if (Deceuninck())
                EersteRijImporteren = false;
            if (!IsExcel)
                IsOnbekend = true;
            break;
        case BestandsType::Jet: {
            bool geopend = false;
            LeesDBInfoJet(BronPad, geopend, AppType, DBType, VerMajor, VerMinor);
            IsJetDatabase = true;
            break;
        }
        case BestandsType::SQLite: {
            IsSQLite = true;
            // A database that cannot be read now is not taken: described without its version record it
            // would pass for a database of no known kind and be left out of every transfer.
            Weigering = SQLiteBestandWeigering(BronPad);
            if (!Weigering.isEmpty())
                break;
            bool geopend = false;
            LeesDBInfoSQLite(BronPad, geopend, AppType, DBType, VerMajor, VerMinor);
            break;
        }
        default:
            IsOnbekend = true;
            break;
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("FillProperties"), e);
    }
}

bool clsBron2::CheckForXML()
{
    if (QFileInfo(BronPad).suffix().toUpper() != QLatin1String("XML"))
        return false;
    IsXML = true;
    IsCSV = true;
    StandaardCSVInstellingen(BronPad, Scheidingsteken, MetAanhalingstekens, AantalKolommen,
                             EersteKolomHerhaald);
    return true;
}

void clsBron2::FillSoort()
{
    try {
        if (IsJetDatabase || IsSQLite) {
            const QString type = DBType.toUpper();
            if (type == QLatin1String("PT"))
                Soort = BronSoort::Artikelen;
            else if (type == QLatin1String("OPTIONS"))
                Soort = BronSoort::TabellenCombies;
            else if (type == QLatin1String("LIBRARY"))
                Soort = BronSoort::Bibliotheek;
            else if (type == QLatin1String("SHAPES"))
                Soort = BronSoort::WKV;
            return;
        }
        if (!IsExcel && !IsCSV)
            return;
        if (Holonite() || Deceuninck())
            Soort = BronSoort::Artikelen;
        else if (AantalKolommen == 3 || AantalKolommen == 14 || AantalKolommen == 15)
            Soort = BronSoort::TabellenCombies;
        else
            Soort = BronSoort::Artikelen;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("FillSoort"), e);
    }
}

QString clsBron2::FormatDescription() const
{
    if (IsJetDatabase || IsSQLite)
        return QStringLiteral("Bvq");
    if (IsExcel)
        return QStringLiteral("XLS");
    if (IsXML)
        return QStringLiteral("XML");
    if (IsCSV)
        return QStringLiteral("CSV");
    if (IsOnbekend)
        return QStringLiteral("Onbekend");
    return QString();
}

QString clsBron2::SoortDescription() const
{
    switch (Soort) {
    case BronSoort::Artikelen:
        return QStringLiteral("Artikelen");
    case BronSoort::TabellenCombies:
        return QStringLiteral("Tabellen/Combies");
    case BronSoort::Bibliotheek:
        return QStringLiteral("Bibliotheek");
    case BronSoort::WKV:
        return QStringLiteral("WKV");
    default:
        return QStringLiteral("Onbekend");
    }
}

qint32 clsBron2::GetColumnFor(qint32 kind) const
{
    const qsizetype positie = KolomSoorten.indexOf(kind);
    return positie < 0 ? 0 : qint32(positie + 1);
}

bool clsBron2::Save(const QString& path)
{
    try {
        QStringList regels;
        regels << tekstRegel(BronPad) << tekstRegel(Grootte.toString()) << datumRegel(LaatstGewijzigd)
               << tekstRegel(BestandsNaam) << getalRegel(Soort) << boolRegel(IsOnbekend)
               << boolRegel(IsJetDatabase) << boolRegel(IsExcel) << boolRegel(IsCSV)
               << tekstRegel(Scheidingsteken) << boolRegel(MetAanhalingstekens) << getalRegel(AantalKolommen)
               << boolRegel(EersteKolomHerhaald) << tekstRegel(AppType) << tekstRegel(DBType)
               << getalRegel(VerMajor) << getalRegel(VerMinor) << boolRegel(EersteRijImporteren)
               << getalRegel(ArtikelType) << boolRegel(Geselecteerd) << tekstRegel(TypeSelectie)
               << getalRegel(CombiType) << boolRegel(IsXML) << getalRegel(AantalSheets)
               << tekstRegel(SheetNamen) << tekstRegel(KolomKoppen) << boolRegel(IsSQLite);
        for (int regel = kEersteGereserveerd; regel < kEersteKolomSoort; ++regel)
            regels << kGereserveerd;
        for (const qint32 soort : KolomSoorten)
            regels << getalRegel(soort);

        QByteArray inhoud;
        for (const QString& regel : regels)
            inhoud += regel.toUtf8() + "\r\n";

        // The file takes the new text only once it has been written completely.
        if (!SchrijfBestandVolledig(path, inhoud)) {
            throw AppError(ErrorNumber::FileAccess,
                           QStringLiteral("Het sjabloon '%1' kan niet worden geschreven.")
                               .arg(QDir::toNativeSeparators(path)));
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("clsBron.Save"), e);
        return false;
    }
}

void clsBron2::Load(const QString& path)
{
    const std::optional<QString> inhoud = LeesTekstBestand(path);
    if (!inhoud)
        return;
    QStringList regels;
    RegelLezer lezer(*inhoud);
    QStringView regel;
    while (lezer.volgende(regel))
        regels.append(regel.toString());

    const auto lees = [&regels](int nummer, const std::function<void(const QString&)>& zet) {
        if (nummer <= regels.size())
            zet(regels[nummer - 1]);
    };
    const auto tekst = [](QString& veld) { return [&veld](const QString& r) { veld = r; }; };
    const auto vlag = [](bool& veld) { return [&veld](const QString& r) { veld = leesBool(r); }; };
    const auto getal = [](qint32& veld) {
        return [&veld](const QString& r) {
            if (const std::optional<qint32> waarde = NaarLong(r))
                veld = *waarde;
        };
    };

    lees(1, tekst(BronPad));
    lees(2, [this](const QString& r) { Grootte = r; });
    lees(3, [this](const QString& r) {
        if (const std::optional<QDateTime> datum = leesDatum(r))
            LaatstGewijzigd = *datum;
    });
    lees(4, tekst(BestandsNaam));
    lees(5, getal(Soort));
    lees(6, vlag(IsOnbekend));
    lees(7, vlag(IsJetDatabase));
    lees(8, vlag(IsExcel));
    lees(9, vlag(IsCSV));
    lees(10, tekst(Scheidingsteken));
    lees(11, vlag(MetAanhalingstekens));
    lees(12, getal(AantalKolommen));
    lees(13, vlag(EersteKolomHerhaald));
    lees(14, tekst(AppType));
    lees(15, tekst(DBType));
    lees(16, getal(VerMajor));
    lees(17, getal(VerMinor));
    lees(18, vlag(EersteRijImporteren));
    lees(19, getal(ArtikelType));
    lees(20, vlag(Geselecteerd));
    lees(21, [this](const QString& r) { TypeSelectie = r == kGereserveerd ? QString() : r; });
    lees(22, [this](const QString& r) {
        if (const std::optional<qint32> waarde = NaarLong(r))
            CombiType = *waarde == -2 ? 0 : *waarde;
    });
    lees(23, [this](const QString& r) { IsXML = r.trimmed() == QLatin1String("-1"); });
    lees(24, getal(AantalSheets));
    lees(25, tekst(SheetNamen));
    lees(26, tekst(KolomKoppen));
    lees(27, vlag(IsSQLite));

    KolomSoorten.clear();
    for (qsizetype nummer = kEersteKolomSoort; nummer <= regels.size(); ++nummer) {
        // A line that is no number keeps its place as a column that is not imported, so that the
        // columns after it keep theirs.
        KolomSoorten.append(NaarLong(regels[nummer - 1]).value_or(0));
    }
}

QString clsBron2::CheckForTemplate()
{
    try {
        const QString pad = BronDefinitieMap(HuidigeLeverancierNaam());
        if (pad.isEmpty())
            return QString();
        const QDir map(pad);
        if (!map.exists())
            return QString();
        // Every file of the folder, whatever its name, in the order the source step loads them.
        for (const QString& naam : SjabloonBestanden(pad, false)) {
            const QString bestandsPad = map.filePath(naam);
            // Decoded whole, as Load decodes it: the first line found here is the source path Load reads.
            const std::optional<QString> inhoud = LeesTekstBestand(bestandsPad);
            if (!inhoud || inhoud->isEmpty()) {
                throw AppError(ErrorNumber::InputPastEnd,
                               QStringLiteral("Het sjabloon '%1' kan niet worden gelezen.")
                                   .arg(QDir::toNativeSeparators(bestandsPad)));
            }
            RegelLezer lezer(*inhoud);
            QStringView eerste;
            if (lezer.volgende(eerste) && eerste == BronPad)
                return QDir::toNativeSeparators(bestandsPad);
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("CheckForTemplate"), e);
    }
    return QString();
}

bool clsBron2::Holonite() const
{
    const QString namen = SheetNamen.toLower();
    return AantalSheets >= 3 && namen.contains(QLatin1String("dorpels")) &&
           namen.contains(QLatin1String("neuten")) && namen.contains(QLatin1String("bewerkingen"));
}

void clsBron2::HoloniteColumns()
{
    KolomSoorten = kHoloniteKolommen;
}

qint32 clsBron2::DeceuninckType() const
{
    if (!IsExcel)
        return 0;
    const bool kleurEnArtikel =
        KolomKoppen.contains(QLatin1String("Kleur")) && KolomKoppen.contains(QLatin1String("Artikel"));
    if (kleurEnArtikel && KolomKoppen.contains(QLatin1String("Divisie")))
        return 9;
    if (kleurEnArtikel && KolomKoppen.contains(QLatin1String("EAN code")))
        return 6;
    return 0;
}

bool clsBron2::Deceuninck() const
{
    return DeceuninckType() > 0;
}

void clsBron2::DeceuninckColumns()
{
    switch (DeceuninckType()) {
    case 9:
        KolomSoorten = kDeceuninck9Kolommen;
        break;
    case 6:
        KolomSoorten = kDeceuninck6Kolommen;
        break;
    default:
        KolomSoorten = QList<qint32>();
        break;
    }
}

bool clsBron2::AlleenPrijsUpdate() const
{
    return Deceuninck();
}

bool clsBron2::MatchArtikelOpBestelcode() const
{
    return Deceuninck();
}

bool clsBron2::Minimaal35Formaat() const
{
    // Of the 3 versions only 3.50 itself counts (a minor version of exactly 50).
    return AppType == QLatin1String("VELMORA") && (VerMajor > 3 || (VerMajor == 3 && VerMinor == 50));
}

} // namespace supplink
