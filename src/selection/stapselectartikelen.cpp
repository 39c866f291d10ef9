#include "selection/stapselectartikelen.h"

#include "platform/codecompare.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"

#include <QSet>

namespace supplink {

// ---- Article groups (step 10) ----

StapSelectArtikelGroepen::StapSelectArtikelGroepen(QObject* parent)
    : EigenSelectieStap(globals().gColArtikelGroepen, globals().gColArtikelGroepenGeselecteerd, parent)
{
}

void StapSelectArtikelGroepen::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    if (bron.Soort != BronSoort::Artikelen)
        return;
    if (bron.IsJetDatabase) {
        m_lezers->PtArtikelGroepen(bron.Path(), bron.TypeSelectie, alle);
    } else if (bron.IsSQLite) {
        ui().messageBox(QStringLiteral("OPTIONAL: SQLITE: ARTIKELGROEPEN: SOURCE=SQLITE: UNSUPPORTED"), MsgBox::OkOnly,
                        QString::fromUtf8(kProgramTitle));
    } else {
        m_lezers->BestandArtikelGroepen(bron, alle);
    }
}

bool StapSelectArtikelGroepen::KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const
{
    Q_UNUSED(alle);
    Q_UNUSED(lijst);
    // The groups only narrow the articles of the next step: none need be ticked.
    return true;
}

// ---- Articles (step 11) ----

StapSelectArtikelen::StapSelectArtikelen(QObject* parent)
    : EigenSelectieStap(globals().gColArtikelen, globals().gColArtikelenGeselecteerd, parent)
{
}

void StapSelectArtikelen::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    if (bron.Soort != BronSoort::Artikelen)
        return;
    if (bron.IsJetDatabase || bron.IsSQLite)
        m_lezers->PtArtikelen(bron.Path(), bron.TypeSelectie, alle);
    else
        m_lezers->BestandArtikelen(bron, alle);
}

VerplichtCollectie StapSelectArtikelen::VerplichteArtikelen()
{
    const ProgramState& g = globals();
    VerplichtCollectie verplicht;
    // An empty selection of combinations requires nothing (as a step that was not shown).
    const ItemCollection* combinaties = g.gColHSCombiesGeselecteerd.isEmpty() ? nullptr : &g.gColHSCombiesGeselecteerd;
    const QList<std::shared_ptr<clsBron2>> bronnen = g.gBronnenGeselecteerd;
    for (const std::shared_ptr<clsBron2>& bron : bronnen) {
        if (!bron)
            continue;
        if (bron->Soort == BronSoort::TabellenCombies) {
            if (!bron->IsJetDatabase && !bron->IsSQLite) {
                const ItemCollection& gekozen = !g.gColHSTabellenGeselecteerd.isEmpty() ? g.gColHSTabellenGeselecteerd
                                                                                        : g.gColHSCombiesGeselecteerd;
                m_lezers->HangSluitArtikelenVerplicht(*bron, gekozen, verplicht);
            } else {
                m_lezers->OptArtikelenVerplicht(bron->Path(), combinaties, verplicht);
            }
        } else if (bron->Soort == BronSoort::Bibliotheek && bron->IsJetDatabase) {
            m_lezers->LaagreliefArtikelenVerplicht(bron->Path(), g.gColLaagreliefGeselecteerd, verplicht);
            m_lezers->NeutArtikelenVerplicht(bron->Path(), g.gColNeutenGeselecteerd, verplicht);
        }
    }
    return verplicht;
}

void StapSelectArtikelen::MarkeerVerplicht(ItemCollection& alle)
{
    m_sjabloon.Status(QStringLiteral("Controle verplichte artikelen"));
    const VerplichtCollectie verplicht = VerplichteArtikelen();
    QSet<QString> vereist;
    if (verplicht) {
        for (const std::shared_ptr<clsItem>& item : std::as_const(*verplicht)) {
            if (item)
                vereist.insert(foldCode(item->Code));
        }
    }
    const ItemCollection& groepen = globals().gColArtikelGroepenGeselecteerd;
    for (const std::shared_ptr<clsItem>& artikel : alle) {
        if (!artikel)
            continue;
        // Without required codes the flags the reader set stay as they are.
        if (!vereist.isEmpty()) {
            const bool nodig = vereist.contains(foldCode(artikel->Code)) ||
                               (!artikel->CodeGespiegeld.isEmpty() && vereist.contains(foldCode(artikel->CodeGespiegeld)));
            artikel->Selected = nodig;
            artikel->Required = nodig;
        }
        if (artikel->Selected)
            continue;
        for (const std::shared_ptr<clsItem>& groep : groepen) {
            if (groep && (groep->Description == artikel->GroepOmschrijving ||
                          (artikel->Groep != 0 && artikel->Groep == groep->ID))) {
                artikel->Selected = true;
                break;
            }
        }
    }
    m_sjabloon.Status(QString());
}

void StapSelectArtikelen::ToevoegenGroepen(GroepenLijst& lijst)
{
    try {
        for (const std::shared_ptr<clsItem>& groep : std::as_const(globals().gColArtikelGroepen)) {
            if (groep)
                lijst.AddGroup(groep->ID, groep->Code.trimmed(), groep->Description.trimmed());
        }
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("ToevoegenGroepen"), fout);
    }
}

} // namespace supplink
