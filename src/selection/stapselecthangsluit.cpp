#include "selection/stapselecthangsluit.h"

#include "platform/codecompare.h"
#include "sources/clsbron2.h"
#include "start/globals.h"

namespace supplink {

namespace {

// A source that is a database of the design product (Jet or SQLite); neither is a supplier file.
bool IsDatabase(const clsBron2& bron)
{
    return bron.IsJetDatabase || bron.IsSQLite;
}

} // namespace

// ---- Hardware tables (step 7) ----

StapSelectHSTabellen::StapSelectHSTabellen(QObject* parent)
    : HangSluitSelectieStap(globals().gColHSTabellen, globals().gColHSTabellenGeselecteerd, parent)
{
}

void StapSelectHSTabellen::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    if (bron.Soort != BronSoort::TabellenCombies)
        return;
    // The tables of an SQLite options database are not listed.
    if (bron.IsJetDatabase)
        m_lezers->OptTabellen(bron.Path(), alle);
    else if (!bron.IsSQLite)
        m_lezers->Bestand(bron, alle);
}

bool StapSelectHSTabellen::KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const
{
    return alle.isEmpty() || SelectieBeleid::KanVerder(alle, lijst);
}

// ---- Hardware choices (step 8) ----

StapSelectHSKeuzes::StapSelectHSKeuzes(QObject* parent)
    : HangSluitSelectieStap(globals().gColHSKeuzes, globals().gColHSKeuzesGeselecteerd, parent)
{
}

void StapSelectHSKeuzes::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    if (bron.Soort == BronSoort::TabellenCombies) {
        if (IsDatabase(bron))
            m_lezers->OptKeuzes(bron.Path(), alle);
        else if (bron.CombiType == 1)
            m_lezers->Bestand(bron, alle);
    } else if (bron.Soort == BronSoort::Bibliotheek && bron.Minimaal35Formaat()) {
        m_lezers->LibKeuzes(bron.Path(), alle);
    }
}

bool StapSelectHSKeuzes::KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const
{
    Q_UNUSED(alle);
    return lijst.RijAantal() == 0 || lijst.AantalAangevinkt() > 0;
}

// ---- Hardware combinations (step 9) ----

StapSelectHSCombies::StapSelectHSCombies(QObject* parent)
    : HangSluitSelectieStap(globals().gColHSCombies, globals().gColHSCombiesGeselecteerd, parent)
{
}

void StapSelectHSCombies::MarkeerVerplichteCombies(const ItemCollection& verplicht, ItemCollection& alle)
{
    for (const std::shared_ptr<clsItem>& vereist : verplicht) {
        if (!vereist)
            continue;
        for (const std::shared_ptr<clsItem>& item : alle) {
            if (item && codesEqual(item->Code, vereist->Code)) {
                item->Selected = true;
                item->Required = true;
                break;
            }
        }
    }
}

void StapSelectHSCombies::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    std::optional<ItemCollection> verplicht;
    if (bron.Soort == BronSoort::TabellenCombies && !IsDatabase(bron)) {
        // A hardware file lists combinations only for a target that keeps them in the new format.
        if (bron.CombiType == 0 && m_lezers->DoelNieuweFormaatCombies() && m_lezers->Bestand(bron, alle))
            m_sjabloon.MarkeerHistorie(3);
    } else if (bron.Soort == BronSoort::TabellenCombies) {
        // The hardware tables step may not have been shown (a target of the new format): no tables, none
        // ticked, nothing required by them.
        m_lezers->OptCombies(bron.Path(), globals().gColHSTabellen, alle, verplicht);
        // Without the required query's answer the source is not marked at all.
        if (verplicht) {
            MarkeerVerplichteCombies(*verplicht, alle);
            m_sjabloon.MarkeerHistorie(3);
        }
    } else if (bron.Soort == BronSoort::Bibliotheek && bron.IsSQLite && bron.Minimaal35Formaat()) {
        m_lezers->LibCombies(bron.Path(), globals().gColHSKeuzesGeselecteerd, alle, verplicht);
        if (verplicht)
            MarkeerVerplichteCombies(*verplicht, alle);
        m_sjabloon.MarkeerHistorie(11);
    }
}

bool StapSelectHSCombies::KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const
{
    return alle.isEmpty() || lijst.AantalAangevinkt() > 0;
}

} // namespace supplink
