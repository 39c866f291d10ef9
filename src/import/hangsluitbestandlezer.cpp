#include "import/hangsluitbestandlezer.h"

#include "platform/uiservices.h"
#include "sources/bronbestandsinspectie.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "start/veldcatalogus.h"

#include <cmath>
#include <limits>

namespace supplink {

namespace {

constexpr qint32 kSubscriptOutOfRange = 9;
constexpr qint32 kOverloop = 6;
constexpr qint32 kTypeMismatch = 13;
const QString kCrLf = QStringLiteral("\r\n");
const QString kRoutineVerwerkRegel = QStringLiteral("clsImportBestandHangSluit.VerwerkRegel");

// Column kinds of the hardware fields (the target-field catalogue).
namespace Kolom {
constexpr qint32 Code = 1;
constexpr qint32 Omschrijving = 2;
constexpr qint32 ArtikelCode = 101;
constexpr qint32 ArtikelOmschrijving = 102;
constexpr qint32 BreedteVan = 103;
constexpr qint32 BreedteTot = 104;
constexpr qint32 HoogteVan = 105;
constexpr qint32 HoogteTot = 106;
constexpr qint32 Aantal = 107;
constexpr qint32 Positie = 108;
constexpr qint32 Bemating = 109;
constexpr qint32 Oorsprong = 110;
constexpr qint32 X = 111;
constexpr qint32 Y = 112;
constexpr qint32 CalculatieLengte = 113;
constexpr qint32 AfdrukLengte = 115;
constexpr qint32 AfdrukBreedte = 117;
constexpr qint32 CombiCode = 118;
} // namespace Kolom

// A whole-number column as NzLong takes it, by the program's number rules: an empty field (or one of
// blanks only) is 0; a text that is no number, or a number that does not fit in 32 bits, is an error of
// the row, never a quiet 0 written as a limit or a count.
qint32 geheelGetal(const QString& tekst, qint32 kolom)
{
    if (tekst.trimmed().isEmpty())
        return 0;
    const std::optional<double> getal = LeesGetal(tekst);
    if (!getal)
        throw AppError(kTypeMismatch, QStringLiteral("Geen getal in de kolom '") + VeldNaam(kolom) +
                                          QStringLiteral("': '") + tekst + QLatin1Char('\''));
    const std::optional<qint32> geheel = AfrondenLong(*getal);
    if (!geheel)
        throw AppError(kOverloop, QStringLiteral("Overloop: '") + tekst + QLatin1Char('\''));
    return *geheel;
}

// Y for an options database: "0" for a text that is empty or no number by IsGetal, else its number
// times ten as a single-precision number, written with "." as decimal sign ("2,5" gives "25").
QString yWaarde(const QString& tekst)
{
    if (!HangSluitBestandLezer::IsGetal(tekst))
        return QStringLiteral("0");
    const std::optional<double> getal = LeesGetal(tekst, 1);
    if (!getal)
        throw AppError(kTypeMismatch, QStringLiteral("Geen getal: '") + tekst + QLatin1Char('\''));
    if (std::fabs(*getal) > double(std::numeric_limits<float>::max()))
        throw AppError(kOverloop, QStringLiteral("Overloop: '") + tekst + QLatin1Char('\''));
    const float enkel = float(*getal);
    if (enkel == 0.0f)
        return QStringLiteral("0"); // also for "-0"
    return QString::number(double(enkel), 'G', 7).trimmed();
}

} // namespace

HangSluitBestandLezer::HangSluitBestandLezer(ImportMelder& melder)
    : m_melder(melder), m_run(std::make_shared<RunContext>())
{
}

void HangSluitBestandLezer::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
}

bool HangSluitBestandLezer::Lees(clsBron2& bron, Modus modus, ItemCollection& distinct,
                                 const ItemCollection& verplicht)
{
    m_bron = &bron;
    m_modus = modus;
    m_distinct = &distinct;
    m_verplicht = &verplicht;
    m_regels.clear();
    const QString path = bron.Path();
    switch (BepaalBestandsType(path)) {
    case BestandsType::Tekst:
        return InezelenCSVBestand(path);
    case BestandsType::Binair:
        return InlezenExcelBestand(path);
    case BestandsType::Leeg:
        m_melder.MeldFout(QStringLiteral("Bestandstype niet vastgesteld"), path);
        return false;
    case BestandsType::Jet:
        m_melder.MeldFout(QStringLiteral("Bestandstype Jet fout voor CSV import"), path);
        return false;
    default:
        // An SQLite database (or any other kind) is refused with a message too, not in silence.
        m_melder.MeldFout(QStringLiteral("Bestandstype SQLite fout voor CSV import"), path);
        return false;
    }
}

bool HangSluitBestandLezer::InezelenCSVBestand(const QString& path)
{
    BronBestandLezer::Regels regels;
    regels.eersteRijOverslaan = !m_bron->EersteRijImporteren;
    BronBestandLezer lezer(*this, regels, m_run);
    m_lezer = &lezer;
    m_excel = false;
    m_routine = QStringLiteral("clsImportBestandHangSluit.InezelenCSVBestand");
    const BronBestandLezer::Uitkomst uitkomst = lezer.LeesCSV(path);
    m_lezer = nullptr;
    switch (uitkomst) {
    case BronBestandLezer::Uitkomst::Afgebroken:
        m_regels.clear();
        return false;
    case BronBestandLezer::Uitkomst::Leeg:
        m_melder.HoofdActie(QStringLiteral("Sluiten bestand leverancier"));
        if (m_regels.isEmpty() && m_distinct->isEmpty())
            ui().messageBox(QStringLiteral("Geen onderdelen aangetroffen in ") + path + QStringLiteral(" !"),
                            MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
        return false;
    case BronBestandLezer::Uitkomst::Voltooid:
        break;
    }
    return BevatGegevens();
}

bool HangSluitBestandLezer::InlezenExcelBestand(const QString& path)
{
    BronBestandLezer::Regels regels;
    regels.eersteRijOverslaan = !m_bron->EersteRijImporteren;
    regels.excelCellenTrimmen = false;
    regels.excelRijFoutStopt = true;
    // A missing workbook is one that does not open.
    regels.excelZoeken = false;
    BronBestandLezer lezer(*this, regels, m_run);
    m_lezer = &lezer;
    m_excel = true;
    m_routine = QStringLiteral("clsImportBestandHangSluit.InlezenExcelBestand");
    const BronBestandLezer::Uitkomst uitkomst = lezer.LeesExcel(path);
    m_lezer = nullptr;
    if (uitkomst != BronBestandLezer::Uitkomst::Voltooid) {
        m_regels.clear();
        return false;
    }
    m_melder.HoofdActie(QStringLiteral("Sluiten bestand leverancier"));
    if (lezer.RegelNummer() == 0) {
        // The sheet's only row was its title row: nothing to take, said as for a file without data.
        m_melder.MeldFout(QStringLiteral(
            "Het ophalen van tabel gegevens uit het bronbestand is mislukt, het bestand bevat geen "
            "gegevens die omgezet kunnen worden naar een tabel."));
        return false;
    }
    return true;
}

QStringList HangSluitBestandLezer::CorrectForSupplier(const clsBron2& bron, const QStringList& rij)
{
    const QString& prefix = globals().gLeverancierPrefix;
    if (prefix.isEmpty())
        return rij;
    QStringList gecorrigeerd = rij;
    for (const qint32 kolom : {bron.GetColumnFor(Kolom::Code), bron.GetColumnFor(Kolom::ArtikelCode)}) {
        if (kolom >= 1 && kolom <= gecorrigeerd.size() && !gecorrigeerd.at(kolom - 1).isEmpty())
            gecorrigeerd[kolom - 1] = prefix + gecorrigeerd.at(kolom - 1);
    }
    return gecorrigeerd;
}

bool HangSluitBestandLezer::IsLegeRegel(const QStringList& rij)
{
    for (const QString& veld : rij) {
        if (!veld.trimmed().isEmpty())
            return false;
    }
    return true;
}

bool HangSluitBestandLezer::IsGetal(const QString& tekst)
{
    static const QString tekens = QStringLiteral("01234567890.,-+");
    const QString t = tekst.trimmed();
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        if (!tekens.contains(c))
            return false;
    }
    return true;
}

HangSluitRegelPtr HangSluitBestandLezer::MaakRegel(const clsBron2& bron, const QStringList& rij,
                                                   bool bibliotheek)
{
    auto regel = std::make_shared<clsHangSluitRegel>();
    const QList<qint32>& soorten = bron.KolomSoorten;
    for (qsizetype i = 0; i < soorten.size(); ++i) {
        if (i >= rij.size())
            throw AppError(kSubscriptOutOfRange,
                           QStringLiteral("Het bronbestand bevat te weinig kolommen (%1), de indeling %2.")
                               .arg(rij.size())
                               .arg(soorten.size()));
        const QString& waarde = rij.at(i);
        switch (soorten.at(i)) {
        case Kolom::Code:
            regel->SetCode(waarde);
            break;
        case Kolom::Omschrijving:
            regel->SetOmschrijving(waarde);
            break;
        case Kolom::ArtikelCode:
            regel->ArtikelCode = waarde;
            break;
        case Kolom::ArtikelOmschrijving:
            regel->ArtikelOmschrijving = waarde;
            break;
        case Kolom::BreedteVan:
            regel->BreedteVan = geheelGetal(waarde, Kolom::BreedteVan);
            break;
        case Kolom::BreedteTot:
            regel->BreedteTot = geheelGetal(waarde, Kolom::BreedteTot);
            break;
        case Kolom::HoogteVan:
            regel->HoogteVan = geheelGetal(waarde, Kolom::HoogteVan);
            break;
        case Kolom::HoogteTot:
            regel->HoogteTot = geheelGetal(waarde, Kolom::HoogteTot);
            break;
        case Kolom::Aantal:
            regel->AantalStuks = geheelGetal(waarde, Kolom::Aantal);
            break;
        case Kolom::Positie:
            regel->Positie = geheelGetal(waarde, Kolom::Positie);
            break;
        case Kolom::Bemating:
            regel->Bemating = geheelGetal(waarde, Kolom::Bemating);
            break;
        case Kolom::Oorsprong:
            regel->Oorsprong = geheelGetal(waarde, Kolom::Oorsprong);
            break;
        case Kolom::X:
            regel->X = waarde.isEmpty() ? QStringLiteral("0") : waarde;
            break;
        case Kolom::Y:
            if (bibliotheek)
                regel->Y = waarde.isEmpty() ? QStringLiteral("0") : waarde;
            else
                regel->Y = yWaarde(waarde);
            break;
        case Kolom::CalculatieLengte:
            regel->CalculatieLengte = waarde;
            break;
        case Kolom::AfdrukLengte:
            regel->AdrukLengte = waarde;
            break;
        case Kolom::AfdrukBreedte:
            regel->AfdrukBreedte = waarde;
            break;
        case Kolom::CombiCode:
            regel->HangEnSluitwerkCombiCode = waarde;
            break;
        default:
            break; // not imported (0, and the ignored columns 114 and 116)
        }
    }
    return regel;
}

bool HangSluitBestandLezer::VerwerkRegel(const QStringList& invoer)
{
    try {
        const QStringList rij = CorrectForSupplier(*m_bron, invoer);
        if (rij.isEmpty() || IsLegeRegel(rij))
            return true;
        const HangSluitRegelPtr regel = MaakRegel(*m_bron, rij, globals().gBibliotheekModus);
        switch (m_modus) {
        case Modus::Overzetten:
            m_regels.append(regel);
            break;
        case Modus::Distinct:
            if (!ZitIncolItemsDistinct(regel->Code())) {
                auto item = std::make_shared<clsItem>();
                item->Code = regel->Code();
                item->Description = regel->Omschrijving();
                m_distinct->append(item);
            }
            break;
        case Modus::Verplicht:
            // Once for every line that uses the article: the selection step takes each code once.
            if (ZitInColItemsVerplicht(regel->Code())) {
                auto item = std::make_shared<clsItem>();
                item->Code = regel->ArtikelCode;
                m_distinct->append(item);
            }
            break;
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(kRoutineVerwerkRegel, e);
        return false;
    }
}

bool HangSluitBestandLezer::ZitIncolItemsDistinct(const QString& code) const
{
    for (const auto& item : *m_distinct) {
        if (item && item->Code.compare(code, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool HangSluitBestandLezer::ZitInColItemsVerplicht(const QString& code) const
{
    for (const auto& item : *m_verplicht) {
        if (item && item->Code == code)
            return true;
    }
    return false;
}

bool HangSluitBestandLezer::BevatGegevens()
{
    if (!m_regels.isEmpty() || !m_distinct->isEmpty())
        return true;
    m_melder.MeldFout(QStringLiteral(
        "Het ophalen van tabel gegevens uit het bronbestand is mislukt, het bestand bevat geen "
        "gegevens die omgezet kunnen worden naar een tabel."));
    return false;
}

void HangSluitBestandLezer::Begin(const QString& path)
{
    m_melder.HoofdActie(QStringLiteral("Inlezen bestand leverancier"));
    m_melder.Voortgang(QStringLiteral("Bronbestand"), path);
}

void HangSluitBestandLezer::NietGevonden(const QString& path)
{
    m_melder.Voortgang(QStringLiteral("Niet gevonden"), path);
    m_melder.MeldFout(QStringLiteral("Bestand '") + path + QStringLiteral("' niet gevonden!"));
}

void HangSluitBestandLezer::OpenenMislukt(const QString& path)
{
    // Reported and counted, where the workbook would otherwise fail in silence.
    m_melder.MeldFout(QStringLiteral("Openen bestand mislukt! '") + path + QLatin1Char('\''));
}

void HangSluitBestandLezer::GeenBladen(const QString&)
{
    m_melder.MeldFout(QStringLiteral("Geen sheet gevonden in het werkblad."));
}

void HangSluitBestandLezer::GeenRijen(const QString& blad)
{
    m_melder.MeldFout(QStringLiteral("Geen records in worksheet ") + blad);
    m_melder.HoofdActie(QStringLiteral("Sluiten bestand leverancier"));
}

bool HangSluitBestandLezer::SplitsFout(QStringView, const QString&)
{
    // Only an empty line fails to split, and those are passed over before.
    return false;
}

void HangSluitBestandLezer::LeesFout(const std::exception& fout)
{
    ShowError(m_routine, fout);
    m_melder.TelFout();
}

bool HangSluitBestandLezer::Rij(const QStringList& velden)
{
    if (VerwerkRegel(velden))
        return true;
    if (m_excel) {
        // Shown by VerwerkRegel; the failed row still counts for the run.
        m_melder.TelFout();
    } else {
        const QString regel = m_lezer ? m_lezer->HuidigeRegel().toString() : QString();
        m_melder.MeldFout(QStringLiteral("Fout in regel:") + kCrLf + kCrLf + regel + kCrLf + kCrLf +
                          QStringLiteral("Importeren afgebroken!"));
    }
    return false;
}

} // namespace supplink
