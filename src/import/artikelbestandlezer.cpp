#include "import/artikelbestandlezer.h"

#include "platform/codecompare.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"

namespace supplink {

namespace {

constexpr qint32 kSubscriptOutOfRange = 9;
const QString kCrLf = QStringLiteral("\r\n");

// Field kinds of the column map that the reading uses.
constexpr qint32 kKindCode = 1;
constexpr qint32 kKindOmschrijving = 2;
constexpr qint32 kKindGroep = 4;
constexpr qint32 kKindGespiegeld = 7;
constexpr qint32 kKindOmschrijvingOfferte = 31;

// Column k (1-based) of the line; a column the line lacks is error 9.
const QString& kolom(const ArtikelRegel& regel, qint32 k)
{
    if (k < 1 || k > regel.size())
        throw AppError(kSubscriptOutOfRange, QStringLiteral("Subscript valt buiten het bereik"));
    return regel.at(k - 1);
}

} // namespace

ArtikelBestandLezer::ArtikelBestandLezer(ImportMelder& melder)
    : m_melder(melder), m_run(std::make_shared<RunContext>())
{
}

void ArtikelBestandLezer::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
}

bool ArtikelBestandLezer::Lees(clsBron2& bron, Modus modus, ItemCollection& lijst)
{
    m_bron = &bron;
    m_modus = modus;
    m_lijst = &lijst;
    QString weigering;
    if (bron.IsJetDatabase) {
        weigering = QStringLiteral("Bestandstype Jet fout voor CSV import");
    } else if (bron.IsSQLite) {
        weigering = QStringLiteral("Bestandstype SQLite fout voor CSV import");
    } else if (bron.IsExcel) {
        const QString path = bron.Path();
        if (bron.Holonite()) {
            bron.HoloniteColumns();
            for (const char* sheet : {"dorpels$", "neuten$", "bewerkingen$"}) {
                if (!leesExcel(path, QString::fromLatin1(sheet)))
                    return false;
            }
            return true;
        }
        if (bron.Deceuninck())
            bron.DeceuninckColumns();
        return leesExcel(path, QString());
    } else if (bron.IsCSV) {
        return leesCSV(bron.Path());
    } else {
        weigering = QStringLiteral("Bestandstype niet vastgesteld");
    }
    m_melder.Voortgang(weigering, bron.Path());
    m_melder.TelFout();
    return false;
}

bool ArtikelBestandLezer::leesCSV(const QString& path)
{
    BronBestandLezer::Regels regels;
    regels.eersteRijOverslaan = !m_bron->EersteRijImporteren;
    BronBestandLezer lezer(*this, regels, m_run);
    m_lezer = &lezer;
    const BronBestandLezer::Uitkomst uitkomst = lezer.LeesCSV(path);
    m_lezer = nullptr;
    if (uitkomst == BronBestandLezer::Uitkomst::Afgebroken)
        return false;
    m_melder.HoofdActie(QStringLiteral("Sluiten bestand leverancier"));
    return afsluiten(path, false);
}

bool ArtikelBestandLezer::leesExcel(const QString& path, const QString& blad)
{
    BronBestandLezer::Regels regels;
    regels.eersteRijOverslaan = !m_bron->EersteRijImporteren;
    regels.excelCellenTrimmen = true;
    // A failing row has been reported and counted; the next row follows.
    regels.excelRijFoutStopt = false;
    BronBestandLezer lezer(*this, regels, m_run);
    m_lezer = &lezer;
    const BronBestandLezer::Uitkomst uitkomst = lezer.LeesExcel(path, blad);
    m_lezer = nullptr;
    if (uitkomst == BronBestandLezer::Uitkomst::Afgebroken)
        return false;
    m_melder.HoofdActie(QStringLiteral("Sluiten bestand leverancier"));
    // A sheet whose only row is the title row has no article to give.
    return afsluiten(path, uitkomst == BronBestandLezer::Uitkomst::Voltooid && lezer.RegelNummer() > 0);
}

bool ArtikelBestandLezer::afsluiten(const QString& path, bool gelezen)
{
    if (!m_gelezenRegels.isEmpty() || !m_lijst->isEmpty()) {
        m_melder.Totaal(qint32(m_gelezenRegels.size() * 2));
        return true;
    }
    ui().messageBox(QStringLiteral("Geen artikelen aangetroffen in ") + path + QStringLiteral(" !"),
                    MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
    if (!gelezen)
        m_melder.TelFout();
    return gelezen;
}

void ArtikelBestandLezer::Begin(const QString& path)
{
    m_melder.HoofdActie(QStringLiteral("Inlezen bestand leverancier"));
    m_melder.Voortgang(QStringLiteral("Bron bestand"), path);
}

void ArtikelBestandLezer::NietGevonden(const QString& path)
{
    m_melder.Voortgang(QStringLiteral("Niet gevonden"), path);
    ToonFout(QStringLiteral("Bestand '") + path + QStringLiteral("' niet gevonden!"));
    m_melder.TelFout();
}

void ArtikelBestandLezer::OpenenMislukt(const QString& path)
{
    ToonFout(QStringLiteral("Openen bestand mislukt!") + kCrLf + kCrLf + path);
    m_melder.TelFout();
}

void ArtikelBestandLezer::GeenBladen(const QString&)
{
    ToonFout(QStringLiteral("Geen werkboek gevonden!"));
}

void ArtikelBestandLezer::GeenRijen(const QString&)
{
    ToonFout(QStringLiteral("Geen records gevonden!"));
}

bool ArtikelBestandLezer::SplitsFout(QStringView regel, const QString& fout)
{
    ToonFout(QStringLiteral("Fout in regel:") + kCrLf + kCrLf + regel.toString() + kCrLf + kCrLf +
             QStringLiteral("Importeren afgebroken!") + kCrLf + fout);
    m_melder.TelFout();
    return true;
}

void ArtikelBestandLezer::LeesFout(const std::exception& fout)
{
    ShowError(QString(), fout);
    m_melder.TelFout();
}

bool ArtikelBestandLezer::Rij(const QStringList& velden)
{
    return AfhandelenArtikelRegel(velden);
}

ArtikelRegel ArtikelBestandLezer::CorrectForSupplier(const clsBron2& bron, const ArtikelRegel& regel)
{
    const qint32 codeKolom = bron.GetColumnFor(kKindCode);
    const qint32 gespiegeldKolom = bron.GetColumnFor(kKindGespiegeld);
    const bool deceuninck = bron.Deceuninck();
    const qint32 deceuninckKolom = deceuninck ? bron.DeceuninckType() : 0;
    const QString& prefix = globals().gLeverancierPrefix;

    // Most suppliers need no correction: the line is shared as it is.
    const bool codeKolommen = (codeKolom >= 1 && codeKolom <= regel.size()) ||
                              (gespiegeldKolom >= 1 && gespiegeldKolom <= regel.size());
    if (!deceuninck && (prefix.isEmpty() || !codeKolommen))
        return regel;

    ArtikelRegel gecorrigeerd;
    gecorrigeerd.reserve(regel.size());
    for (qint32 i = 1; i <= regel.size(); ++i) {
        const QString& waarde = regel.at(i - 1);
        if (i != codeKolom && i != gespiegeldKolom)
            gecorrigeerd << waarde;
        else if (deceuninck)
            gecorrigeerd << (i == 1 ? kolom(regel, deceuninckKolom) : waarde);
        else
            gecorrigeerd << (waarde.isEmpty() ? waarde : prefix + waarde);
    }
    return gecorrigeerd;
}

bool ArtikelBestandLezer::ZitIncolItemsDistinct(const QString& code) const
{
    return m_distinctCodes.contains(foldCode(code));
}

void ArtikelBestandLezer::voegToeAanLijst(const std::shared_ptr<clsItem>& item)
{
    m_lijst->append(item);
    m_distinctCodes.insert(foldCode(item->Code));
}

bool ArtikelBestandLezer::AfhandelenArtikelRegel(const ArtikelRegel& invoer)
{
    try {
        const ArtikelRegel regel = CorrectForSupplier(*m_bron, invoer);
        if (regel.isEmpty())
            return true;

        if (m_modus == Modus::Overzetten) {
            m_gelezenRegels.append(regel);
            return true;
        }

        const bool groepen = m_modus == Modus::LijstArtikelGroepen;
        const qint32 groepKolom = m_bron->GetColumnFor(kKindGroep);
        if (groepen && groepKolom > 0) {
            const QString groep = kolom(regel, groepKolom);
            if (ZitIncolItemsDistinct(groep) || groep.isEmpty())
                return true;
            auto item = std::make_shared<clsItem>();
            item->Code = groep;
            item->Description = groep;
            voegToeAanLijst(item);
            return true;
        }

        // Articles (also for groups from a source without a group column).
        const qint32 codeKolom = m_bron->GetColumnFor(kKindCode);
        if (codeKolom == 0) {
            m_melder.Voortgang(groepen ? QStringLiteral("Geen veld artikelgroepcode aanwezig in bestand.")
                                       : QStringLiteral("Geen veld artikelcode aanwezig in bestand."),
                               QString());
            m_melder.TelFout();
            return true;
        }
        const QString code = kolom(regel, codeKolom);
        if (ZitIncolItemsDistinct(code))
            return true;

        auto item = std::make_shared<clsItem>();
        item->Code = code;
        qint32 omschrijvingKolom = m_bron->GetColumnFor(kKindOmschrijving);
        if (omschrijvingKolom == 0)
            omschrijvingKolom = m_bron->GetColumnFor(kKindOmschrijvingOfferte);
        // A source that maps neither description lists its codes without one.
        if (omschrijvingKolom > 0)
            item->Description = kolom(regel, omschrijvingKolom);
        const qint32 gespiegeldKolom = m_bron->GetColumnFor(kKindGespiegeld);
        if (gespiegeldKolom > 0)
            item->CodeGespiegeld = kolom(regel, gespiegeldKolom);
        if (m_bron->ArtikelGroepSelectieMogelijk())
            item->GroepOmschrijving = kolom(regel, groepKolom);
        if (item->Code.isEmpty())
            return true;
        voegToeAanLijst(item);
        return true;
    } catch (const std::exception& e) {
        const AppError fout = AppError::from(e);
        const QString waar =
            fout.number() == kSubscriptOutOfRange
                ? QStringLiteral("Het bronbestand bevat te weinig kolommen op regel (")
                : QStringLiteral("Fout in clsImportBestand.AfhandelenArtikelRegel voor regel (");
        const qint32 regelNummer = m_lezer ? m_lezer->RegelNummer() : 0;
        const QString huidigeRegel = m_lezer ? m_lezer->HuidigeRegel().toString() : QString();
        ShowError(waar + QString::number(regelNummer) + QStringLiteral(")") + kCrLf + huidigeRegel + kCrLf +
                      kCrLf,
                  fout);
        m_melder.TelFout();
        return false;
    }
}

} // namespace supplink
