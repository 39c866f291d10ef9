#pragma once
// The generic selection step: one model that serves wizard steps 5, 6, 12, 13
// and 14, each listing the rows of one library table of the chosen library
// sources (sill combinations, post combinations, pane, edge and element
// groove tables). The main window enters it with the step's pair of
// collections and five values (StapBesturing passes them):
//
//     step  vName               vDistinctQRY (SELECT DISTINCT ID, Code, Description FROM ...)  history
//      5    "Laagrelief"        TreshHoldCombi                                                    8
//      6    "Neuten"            TreshHoldCombiExt                                                 9
//     12    "Vaksponningen"     PaneGrooveTable                                                   5
//     13    "Randsponningen"    EdgeGroove                                                        6
//     14    "Elementsponningen" OuterGrooveTable                                                  7
//   vBronType is 2 (library sources) for all five. vName is the list name, the
//   settings value of the splitter and the documentation workbook's name.
//
// On entering with an empty "all" collection the step reads the table from
// every chosen source of kind vBronType that is a Jet or SQLite database
// (supplier files add nothing), marks the items through the import history
// and shows them; with a kept collection it shows that collection again and
// reads nothing. Next is enabled while an item is ticked. Finish leaves the
// user's choice in ColItems and ColItemsGeselecteerd, which the window takes
// over into the step's pair.

#include "selection/bibliotheeklezer.h"
#include "selection/selectiestap.h"
#include "start/stap.h"

#include <memory>

namespace supplink {

class StapSelectAlgemeen : public AlgemeneSelectieStap, private SelectieBeleid
{
    Q_OBJECT
public:
    explicit StapSelectAlgemeen(QObject* parent = nullptr);
    ~StapSelectAlgemeen() override;

    using AlgemeneSelectieStap::Init;
    void Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32 vHistoryID,
              const QString& vDistinctQRY, qint32 vBronType, const QString& vName) override;
    void Finish() override;
    // Empties the collections and the six values (history type and source kind -1).
    void Clear() override;
    ItemCollection ColItems() const override { return m_alle; }
    ItemCollection ColItemsGeselecteerd() const override { return m_geselecteerd; }

    qint32 HistoryID() const { return m_historyId; }
    const QString& DistinctQRY() const { return m_query; }
    qint32 BronType() const { return m_bronType; }
    const QString& Naam() const { return m_naam; }

    SelectieSjabloon& sjabloon() { return m_sjabloon; }
    // The reader of the library tables (default: the program's own).
    void setLezer(std::shared_ptr<BibliotheekLezer> lezer);

private:
    QString LijstNaam() const override { return m_naam; }
    QString SplitterNaam() const override { return m_naam; }
    qint32 HistoryType() const override { return m_historyId; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;

    ItemCollection m_alle;
    ItemCollection m_geselecteerd;
    qint32 m_historyId = -1;
    QString m_query;
    qint32 m_bronType = -1;
    QString m_naam;
    std::shared_ptr<BibliotheekLezer> m_lezer;
    SelectieSjabloon m_sjabloon;
};

} // namespace supplink
