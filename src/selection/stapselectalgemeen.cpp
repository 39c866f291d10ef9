#include "selection/stapselectalgemeen.h"

#include "sources/clsbron2.h"

namespace supplink {

StapSelectAlgemeen::StapSelectAlgemeen(QObject* parent)
    : AlgemeneSelectieStap(parent), m_lezer(MaakBibliotheekLezer()), m_sjabloon(*this, *this)
{
    m_sjabloon.ZetCollecties(m_alle, m_geselecteerd);
}

StapSelectAlgemeen::~StapSelectAlgemeen() = default;

void StapSelectAlgemeen::setLezer(std::shared_ptr<BibliotheekLezer> lezer)
{
    m_lezer = lezer ? std::move(lezer) : MaakBibliotheekLezer();
}

void StapSelectAlgemeen::Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32 vHistoryID,
                              const QString& vDistinctQRY, qint32 vBronType, const QString& vName)
{
    m_alle = vCol;
    m_geselecteerd = vColGeselecteerd;
    m_historyId = vHistoryID;
    m_query = vDistinctQRY;
    m_bronType = vBronType;
    m_naam = vName;

    // The one list serves five steps: it is made anew for this one, from the sources only while the
    // step's collection is empty.
    if (m_alle.isEmpty())
        m_sjabloon.FillListView();
    else
        m_sjabloon.ToonBewaard();
    m_sjabloon.HerstelSplitter();
    // The window's pair follows what the step holds.
    vCol = m_alle;
    vColGeselecteerd = m_geselecteerd;
    m_sjabloon.BepaalKanVerder();
}

void StapSelectAlgemeen::Finish()
{
    m_sjabloon.Finish();
}

void StapSelectAlgemeen::Clear()
{
    m_alle.clear();
    m_geselecteerd.clear();
    m_naam.clear();
    m_query.clear();
    m_historyId = -1;
    m_bronType = -1;
}

void StapSelectAlgemeen::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    if (bron.Soort != m_bronType)
        return;
    // Supplier files (neither database kind) add nothing here.
    if (bron.IsJetDatabase)
        m_lezer->LeesJet(bron.Path(), m_query, alle);
    else if (bron.IsSQLite)
        m_lezer->LeesSQLite(bron.Path(), m_query, alle);
}

} // namespace supplink
