#include "selection/selectiestap.h"

#include "database/itemstatus.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "start/stap.h"

#include <QScopedValueRollback>

namespace supplink {

namespace {

const QString kSplitterSectie = QStringLiteral("Splitter");

} // namespace

bool SelectieBeleid::KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const
{
    Q_UNUSED(lijst);
    for (const std::shared_ptr<clsItem>& item : alle) {
        if (item && item->Selected)
            return true;
    }
    return false;
}

SelectieSjabloon::SelectieSjabloon(Stap& stap, SelectieBeleid& beleid)
    : m_stap(stap), m_beleid(beleid), m_historie(UpdateItemsUitDoel)
{
    connect(&m_lijst, &GroepenLijst::ItemClick, this, &SelectieSjabloon::OpItemClick);
    connect(&m_lijst, &GroepenLijst::ItemCheck, this, &SelectieSjabloon::OpItemCheck);
    connect(&m_lijst, &GroepenLijst::BatchUpdateDone, this, &SelectieSjabloon::OpBatchUpdateDone);
    connect(&m_lijst, &GroepenLijst::GroupChange, this, &SelectieSjabloon::OpGroupChange);
}

SelectieSjabloon::~SelectieSjabloon() = default;

DocumentatieStaat& SelectieSjabloon::documentatie()
{
    // One state per list and supplier: the generic step serves five lists, and another supplier has
    // other workbooks.
    const std::shared_ptr<clsLeverancier> leverancier = globals().gLeverancier;
    const QString sleutel =
        (leverancier ? leverancier->MainFolder : QString()) + QLatin1Char('\n') + m_beleid.LijstNaam();
    std::shared_ptr<DocumentatieStaat>& staat = m_documentatie[sleutel];
    if (!staat)
        staat = std::make_shared<DocumentatieStaat>();
    return *staat;
}

void SelectieSjabloon::ZetCollecties(ItemCollection& alle, ItemCollection& geselecteerd)
{
    m_alle = &alle;
    m_geselecteerd = &geselecteerd;
}

void SelectieSjabloon::setHistorieMarkering(HistorieMarkering markering)
{
    m_historie = markering ? std::move(markering) : HistorieMarkering(UpdateItemsUitDoel);
}

void SelectieSjabloon::Betreden()
{
    if (m_alle->isEmpty()) {
        FillListView();
        HerstelSplitter();
    }
    BepaalKanVerder();
}

void SelectieSjabloon::FillListView()
{
    const QScopedValueRollback<bool> vullen(m_vullen, true);
    try {
        m_lijst.Init(m_beleid.LijstNaam(), true);
        m_lijst.AddGroups();
        // The readers may give the event loop a turn: the list of sources is taken as it stands now.
        const QList<std::shared_ptr<clsBron2>> bronnen = globals().gBronnenGeselecteerd;
        for (const std::shared_ptr<clsBron2>& bron : bronnen) {
            if (!bron)
                continue;
            if (m_beleid.MeldtVoortgang())
                Status(QStringLiteral("Inlezen bestand ") + bron->BestandsNaam);
            try {
                m_beleid.ToevoegenAanList(*bron, *m_alle);
            } catch (const std::exception& fout) {
                // What was read before the error stays; the next source is still read.
                ShowError(QStringLiteral("ToevoegenAanList"), fout);
            }
            if (m_beleid.MeldtVoortgang())
                Status(QString());
        }
        m_beleid.MarkeerVerplicht(*m_alle);
        if (m_beleid.HistoryType() >= 0)
            MarkeerHistorie(m_beleid.HistoryType());
        m_lijst.ToevoegenOnderdelen(*m_alle, Groep::Alle);
        m_beleid.ToevoegenGroepen(m_lijst);
        m_lijst.Finish();
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("FillListView"), fout);
    }
}

void SelectieSjabloon::ToonBewaard()
{
    const QScopedValueRollback<bool> vullen(m_vullen, true);
    m_lijst.Init(m_beleid.LijstNaam(), true);
    m_lijst.AddGroups();
    m_lijst.ToevoegenOnderdelen(*m_alle, Groep::Alle);
    m_beleid.ToevoegenGroepen(m_lijst);
    m_lijst.Finish();
}

void SelectieSjabloon::MarkeerHistorie(qint32 historyType)
{
    if (m_beleid.MeldtVoortgang())
        Status(QStringLiteral("Controle historische gegevens"));
    m_historie(historyType, *m_alle);
    if (m_beleid.MeldtVoortgang())
        Status(QString());
}

void SelectieSjabloon::HerstelSplitter()
{
    const QString standaard = m_splitter >= 0 ? QString::number(m_splitter) : QString();
    bool ok = false;
    const int positie = CurrentUser_HaalOp(kSplitterSectie, m_beleid.SplitterNaam(), standaard).trimmed().toInt(&ok);
    // A value that is no position leaves the splitter where it is.
    if (!ok || positie < 0)
        return;
    m_splitter = positie;
    emit SplitterHersteld(positie);
}

void SelectieSjabloon::BewaarSplitter()
{
    if (m_splitter >= 0)
        CurrentUser_BrengWeg(kSplitterSectie, m_beleid.SplitterNaam(), QString::number(m_splitter).trimmed());
}

void SelectieSjabloon::Finish()
{
    m_lijst.UpdateCollectionFromList(*m_alle, *m_geselecteerd, false, true);
    ItemCollection geselecteerd;
    for (const std::shared_ptr<clsItem>& item : *m_alle) {
        if (item && item->Selected)
            geselecteerd.append(item);
    }
    *m_geselecteerd = geselecteerd;
    m_lijst.SaveSettings();
    BewaarSplitter();
}

void SelectieSjabloon::BepaalKanVerder()
{
    if (m_beleid.WachtOpBatch() && m_lijst.BatchUpdateInProgress())
        return;
    emit m_stap.KanVerder(m_beleid.KanVerder(*m_alle, m_lijst.lijst()));
}

void SelectieSjabloon::Status(const QString& tekst)
{
    emit m_stap.StatusTekst(tekst);
}

void SelectieSjabloon::ToonInformatie(const LijstRij& rij)
{
    if (!ShowInfo(rij.Code, m_beleid.LijstNaam(), documentatie(), m_paneel))
        m_paneel.SetOmschrijvingTekst(rij.Omschrijving);
}

void SelectieSjabloon::Toon(const LijstRij& rij)
{
    if (!m_beleid.ToonRij(rij))
        ToonInformatie(rij);
}

void SelectieSjabloon::OpItemClick(int rij)
{
    if (rij >= 0 && rij < m_lijst.lijst().RijAantal())
        Toon(m_lijst.lijst().Rij(rij));
    if (m_beleid.KlikBepaaltKanVerder())
        BepaalKanVerder();
}

void SelectieSjabloon::OpItemCheck(int rij)
{
    const SelectieLijst& lijst = m_lijst.lijst();
    if (rij < 0 || rij >= lijst.RijAantal())
        return;
    const LijstRij& r = lijst.Rij(rij);
    // During a batch the rows are not shown one by one; the batch's end shows the current row.
    if (!lijst.BatchUpdateInProgress())
        Toon(r);
    ItemCollection& alle = *m_alle;
    const auto zet = [&](qint32 tag) {
        if (tag >= 1 && tag <= alle.size() && alle.at(tag - 1))
            alle.at(tag - 1)->Selected = r.Aangevinkt;
    };
    zet(r.Tag);
    for (const qint32 tag : r.ZelfdeCode)
        zet(tag);
    BepaalKanVerder();
}

void SelectieSjabloon::OpBatchUpdateDone()
{
    const SelectieLijst& lijst = m_lijst.lijst();
    if (const int huidig = lijst.HuidigeRij(); huidig >= 0)
        Toon(lijst.Rij(huidig));
    if (!m_beleid.WachtOpBatch())
        return;
    m_lijst.UpdateCollectionFromList(*m_alle, *m_geselecteerd, true);
    BepaalKanVerder();
}

void SelectieSjabloon::OpGroupChange(qint32 groep)
{
    if (m_vullen)
        return;
    m_lijst.UpdateCollectionFromList(*m_alle, *m_geselecteerd, true);
    m_lijst.ToevoegenOnderdelen(*m_alle, groep);
    m_lijst.Finish();
}

} // namespace supplink
