#include "import/clsimportbestand.h"

#include "database/clsconnectie.h"
#include "database/clspt.h"
#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "import/artikelimportplan.h"
#include "import/artikelschrijver.h"
#include "import/artikelsleutels.h"
#include "import/standaardimportplan.h"
#include "platform/codecompare.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"

namespace supplink {

namespace {

constexpr qint32 kKindCode = 1;

} // namespace

clsImportBestand::clsImportBestand()
    : m_run(std::make_shared<RunContext>()),
      m_lezer(m_melder)
{
    m_lezer.SetRunContext(m_run);
}

clsImportBestand::~clsImportBestand() = default;

void clsImportBestand::SetImportPlan(std::optional<ScriptBlok> plan)
{
    m_importPlan = std::move(plan);
}

void clsImportBestand::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
    m_lezer.SetRunContext(m_run);
}

QString clsImportBestand::DatumTekst(const QString& waarde)
{
    return ArtikelSchrijver::DatumTekst(waarde);
}

bool clsImportBestand::InlezenBestand(clsBron2& bron, bool alleenLijst)
{
    return inlezen(bron, alleenLijst, false);
}

bool clsImportBestand::InlezenBestandArtikelGroepen(clsBron2& bron, bool alleenLijst)
{
    return inlezen(bron, alleenLijst, true);
}

bool clsImportBestand::inlezen(clsBron2& bron, bool alleenLijst, bool groepen)
{
    RunScope scope(*m_run);
    const auto modus = !alleenLijst ? ArtikelBestandLezer::Modus::Overzetten
                       : groepen    ? ArtikelBestandLezer::Modus::LijstArtikelGroepen
                                    : ArtikelBestandLezer::Modus::LijstArtikelen;
    return m_lezer.Lees(bron, modus, colItemsDistinct());
}

bool clsImportBestand::OverzettenBestand(clsBron2& bron, const QString& doelPad)
{
    RunScope scope(*m_run);
    bool result = false;
    SetImportPlan(CreateImportSetFromBronAndDoel(bron));
    if (!m_importPlan) {
        // Shown by the plan's builder; the driver learns of it only by the count.
        m_melder.TelFout();
    } else {
        m_melder.HoofdActieDone();
        if (inlezen(bron, false, false)) {
            m_melder.HoofdActieDone();
            if (OpenenProductentabel(doelPad)) {
                m_melder.HoofdActieDone();
                result = OverzettenArtikelen(bron, *m_pt, m_lezer.GelezenRegels());
            }
            SluitenProductentabel();
        }
    }
    m_melder.HoofdActieDone();
    return result;
}

bool clsImportBestand::OpenenProductentabel(const QString& doelPad)
{
    m_melder.HoofdActie(QStringLiteral("Openen productentabel"));
    const QString doel = SQLServerOmschrijving(doelPad); // never the password
    m_melder.Voortgang(QStringLiteral("Doel bestand"), doel);
    m_pt = std::make_unique<clsPT>();
    if (!m_pt->Connect(doelPad)) {
        m_melder.Voortgang(QStringLiteral("Openen productentabel mislukt! '") + doel + QStringLiteral("'"),
                           QString());
        m_melder.TelFout();
        return false;
    }
    return true;
}

void clsImportBestand::SluitenProductentabel()
{
    m_melder.HoofdActie(QStringLiteral("Sluiten productentabel"));
    // Closing is quiet: it never throws.
    if (m_pt && m_pt->cnPT)
        m_pt->cnPT->SluitenConnectie();
}

bool clsImportBestand::OnderdeelGeselecteerd(const QString& code) const
{
    if (!ColItemsGeselecteerd)
        return false;
    if (ColItemsGeselecteerd->isEmpty())
        return true;
    return m_geselecteerdeCodes.contains(foldCode(code));
}

bool clsImportBestand::ControleerRegel(const Stap& stap, const ArtikelRegel& regel)
{
    const auto& velden = stap.plan.Velden();
    for (qint32 k = 1; k <= velden.size(); ++k) {
        const PlanVeld& veld = velden.at(k - 1);
        if (k > regel.size()) {
            const QString tekst = QStringLiteral("Het leveranciers bestand bevat te weinig kolommen (") +
                                  QString::number(regel.size()) + QStringLiteral(")!");
            ToonFout(tekst);
            m_melder.Regel(tekst, regel);
            m_melder.Voortgang(QStringLiteral("Importplan"), stap.plan.Tekst());
            m_melder.TelFout();
            m_melder.Stop();
            return false;
        }
        if (veld.verplicht && regel.at(k - 1).isEmpty()) {
            m_melder.Regel(QStringLiteral("Verplicht veld niet ingevuld!") + veld.doel, regel);
            m_melder.TelFout();
            m_melder.Stop();
            return false;
        }
    }
    return true;
}

bool clsImportBestand::OverzettenArtikelen(const clsBron2& bron, clsPT& pt, const QList<ArtikelRegel>& regels)
{
    RunScope scope(*m_run);
    // The plan as it is now is the plan of this whole step.
    const ArtikelImportPlan plan(m_importPlan ? *m_importPlan : ScriptBlok());
    ArtikelSleutels sleutels(pt, plan, m_melder);
    sleutels.SetCijferBron(m_cijferBron);
    ArtikelSchrijver schrijver(pt, plan, bron, sleutels, m_melder);
    return overzetten(Stap{bron, pt, plan, sleutels, schrijver, regels});
}

bool clsImportBestand::overzetten(const Stap& stap)
{
    // The selected codes as codes compare (the list step found them without regard to case as well).
    m_geselecteerdeCodes.clear();
    if (ColItemsGeselecteerd) {
        for (const auto& item : *ColItemsGeselecteerd) {
            if (item)
                m_geselecteerdeCodes.insert(foldCode(item->Code));
        }
    }
    try {
        const auto opties = globals().gImportOpties;
        const bool prijzen = opties && opties->DoorvoerenPrijsWijzigingen;
        const bool nieuw = opties && opties->NieuweArtikelenToevoegen;
        if (prijzen && nieuw)
            m_melder.HoofdActie(
                QStringLiteral("Productentabel, nieuwe artikelen toevoegen en prijswijzigingen doorvoeren"));
        else if (nieuw)
            m_melder.HoofdActie(QStringLiteral("Productentabel, nieuwe artikelen toevoegen"));
        else if (prijzen)
            m_melder.HoofdActie(QStringLiteral("Productentabel, prijswijzigingen doorvoeren"));
        else
            m_melder.HoofdActie(QStringLiteral("Productentabel, (Geen acties geselecteerd)"));

        qint32 groepId = -1;
        qint32 leverancierId = -1;
        if (const ScriptRegelPtr& ui = stap.plan.UiSelecteren()) {
            bool geannuleerd = false;
            if (HeeftJa(*ui, 2) &&
                (!stap.pt.SelecteerLeverancierUI(leverancierId, geannuleerd) || geannuleerd))
                return false;
            if (HeeftJa(*ui, 1)) {
                if (!stap.pt.SelecteerArtikelGroepUI(groepId, geannuleerd) || geannuleerd)
                    return false;
                if (groepId == -1) {
                    ToonFout(QStringLiteral("Geen geldige artikelgroep geselecteerd!"));
                    return false;
                }
            }
        }

        const QString& tabel = stap.plan.Tabel();
        if (!stap.pt.OpenTabel(tabel)) {
            // Nothing can be imported: a failure, not an empty success.
            m_melder.Voortgang(QStringLiteral("Openen tabel mislukt! '") + tabel + QStringLiteral("'"),
                               QString());
            m_melder.TelFout();
            return false;
        }
        return overzettenInTransactie(stap, groepId, leverancierId, prijzen, nieuw);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
        return false;
    }
}

bool clsImportBestand::overzettenInTransactie(const Stap& stap, qint32 groepId, qint32 leverancierId,
                                              bool prijzen, bool nieuw)
{
    // On SQL Server the import is all or nothing: a cancel or an error rolls every change back. A
    // product-table file (the run's work copy) keeps what was written before the run stopped; the
    // transaction only spares a disk flush per article there.
    clsPT& pt = stap.pt;
    const DbConnection db = pt.cnPT->Connection();
    const bool metTransactie = db && (pt.IsSQLServer || pt.cnPT->isSQLite());
    const qint32 foutenVooraf = m_melder.AantalFouten();
    std::optional<Transaction> transactie;
    try {
        transactie.emplace(db, metTransactie);
    } catch (const std::exception& e) {
        // Without its transaction nothing is written.
        ShowError(QString(), e);
        m_melder.TelFout();
        return false;
    }
    bool result = false;
    try {
        result = overzettenRegels(stap, groepId, leverancierId, prijzen, nieuw);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    if (!transactie->active())
        return result;
    try {
        if (pt.IsSQLServer && (!result || Geannuleerd() || m_melder.AantalFouten() > foutenVooraf)) {
            transactie->rollback();
            m_melder.Voortgang(QStringLiteral("Wijzigingen in de productentabel teruggedraaid"), QString());
            return false;
        }
        transactie->commit();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
        return false;
    }
    return result;
}

bool clsImportBestand::overzettenRegels(const Stap& stap, qint32 groepId, qint32 leverancierId, bool prijzen,
                                        bool nieuw)
{
    ArtikelSchrijver& schrijver = stap.schrijver;
    qint32 voortgang = 0;
    const qint32 codeKolom = stap.bron.GetColumnFor(kKindCode);
    auto codeVan = [codeKolom](const ArtikelRegel& regel) {
        if (codeKolom < 1 || codeKolom > regel.size())
            throw AppError(9, QStringLiteral("Geen kolom voor de artikelcode"));
        return regel.at(codeKolom - 1);
    };

    for (const ArtikelRegel& regel : stap.regels) {
        if (Geannuleerd())
            return false;
        ++voortgang;
        m_melder.Huidig(voortgang);
        if (!OnderdeelGeselecteerd(codeVan(regel))) {
            m_melder.Regel(QStringLiteral("Artikel overgeslagen (niet geselecteerd)"), regel);
            m_run->yield();
            continue;
        }
        if (ControleerRegel(stap, regel)) {
            if (!schrijver.ZoekArtikel(regel, false)) {
                m_melder.TelNieuw();
                if (!nieuw)
                    m_melder.Regel(QStringLiteral("Geen nieuw artikel toegevoegd (alleen prijswijzigingen)"),
                                   regel);
                else if (schrijver.VoegArtikelToe(regel, groepId, leverancierId))
                    m_melder.Regel(QStringLiteral("Nieuw artikel"), regel);
                else
                    m_melder.TelFout();
            } else {
                m_melder.TelBestaand();
                if (!prijzen) {
                    m_melder.Regel(
                        QStringLiteral("Geen prijswijziging doorgevoerd voor bestaand artikel (alleen "
                                       "nieuwe artikelen toevoegen)"),
                        regel);
                } else if (!schrijver.BijwerkenArtikel(regel)) {
                    m_melder.TelFout();
                } else {
                    m_melder.Regel(QStringLiteral("Prijscontrole artikel"), regel);
                    while (!Geannuleerd() && schrijver.ZoekVolgendArtikel(regel)) {
                        if (schrijver.BijwerkenArtikel(regel))
                            m_melder.Regel(QStringLiteral("Prijscontrole artikel"), regel);
                        else
                            m_melder.TelFout();
                    }
                }
            }
        }
        if (Geannuleerd())
            return false;
        m_run->yield();
    }

    if (!nieuw) {
        m_melder.HoofdActie(QStringLiteral(
            "Overgeslagen Links/Rechts verwijzingen aanmaken (alleen prijswijzigingen doorvoeren)"));
        return true;
    }
    m_melder.HoofdActie(QStringLiteral("Links/Rechts verwijzingen aanmaken"));
    // The links are searched among every article, also those a unique-row lookup filtered out.
    stap.pt.rsPT->setFilter(QString());
    for (const ArtikelRegel& regel : stap.regels) {
        if (Geannuleerd())
            return false;
        if (!OnderdeelGeselecteerd(codeVan(regel))) {
            m_melder.Regel(QStringLiteral("Overgeslagen"), regel);
            m_run->yield();
            continue;
        }
        m_melder.Regel(QStringLiteral("Links/Rechts controle artikel"), regel);
        ++voortgang;
        m_melder.Huidig(voortgang);
        stap.sleutels.MaakLinksRechtsVerwijzingen(regel);
        if (Geannuleerd())
            return false;
        m_run->yield();
    }
    return true;
}

} // namespace supplink
