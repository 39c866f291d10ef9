#pragma once
// The selection-step template: what every selection step of the wizard (steps
// 5 to 15) does the same way, without a window. A step reads the candidate
// parts of every chosen source into its "all" collection, marks them (required
// parts, then the import history against the target), shows them in the list
// with group selector (GroepenLijst) beside the information panel
// (InformatiePaneel), keeps the items' ticks in step with the list's, tells
// the main window whether Next may be enabled, and on leaving writes the ticks
// back into its pair of collections. usrSelectieStap (selection/ui) is the
// window over it: the list, the panel and a splitter between them.
//
// A step is a Stap (start/stap.h) that implements the extension
// points of SelectieBeleid and holds one SelectieSjabloon over itself:
//
//     // The hardware-tables step (7): list "HSTabellen", history type 2, its own splitter value,
//     // a reader per source kind, no status texts, Next as the template.
//     class StapSelectHSTabellen : public Stap, private SelectieBeleid
//     {
//         Q_OBJECT
//     public:
//         explicit StapSelectHSTabellen(QObject* parent = nullptr) : Stap(parent), m_sjabloon(*this, *this)
//         {
//             m_sjabloon.ZetCollecties(globals().gColHSTabellen, globals().gColHSTabellenGeselecteerd);
//         }
//         void Init() override { m_sjabloon.Betreden(); }   // fills only while "all" is empty
//         void Finish() override { m_sjabloon.Finish(); }
//         SelectieSjabloon& sjabloon() { return m_sjabloon; }
//
//     private:
//         QString LijstNaam() const override { return QStringLiteral("HSTabellen"); }
//         QString SplitterNaam() const override { return QStringLiteral("hstabellensplitter1pos"); }
//         qint32 HistoryType() const override { return 2; }
//         bool MeldtVoortgang() const override { return false; }
//         void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override
//         {
//             if (bron.Soort == BronSoort::TabellenCombies && bron.IsJetDatabase)
//                 m_lezers->Tabellen(bron.Path(), alle);   // the step's own reader interface
//         }
//         SelectieSjabloon m_sjabloon;
//     };
//
// and its view, in selection/ui, is a usrSelectieStap that owns the model:
//
//     class usrStapSelectHSTabellen : public usrSelectieStap
//     {
//     public:
//         explicit usrStapSelectHSTabellen(QWidget* parent) : usrSelectieStap(parent)
//         { Koppel(m_model.sjabloon()); }
//         StapSelectHSTabellen& stap() { return m_model; }
//     private:
//         StapSelectHSTabellen m_model;
//     };
//
// registered with one line in wizard/ui/stapregister.cpp ({{7}, maakStap<usrStapSelectHSTabellen>}).
//
// The extension points (SelectieBeleid), with what the template does when a step keeps the default:
//   LijstNaam          list name: the list's settings and the documentation workbook "<name>.xls"
//   SplitterNaam       value under "Splitter" for the splitter position
//   HistoryType        type for UpdateItemsUitDoel after reading; -1: the step marks itself (per
//                      source, through MarkeerHistorie, as the combinations step does)
//   MeldtVoortgang     status texts "Inlezen bestand <file name>" around each source and
//                      "Controle historische gegevens" around the history (default on)
//   ToevoegenAanList   reads one chosen source into "all" (the step picks the reader by Soort,
//                      IsJetDatabase, IsSQLite, CombiType, Minimaal35Formaat ...); an exception is
//                      reported as "ToevoegenAanList" and the next source is read
//   MarkeerVerplicht   after every source, before the history: sets Required and Selected (raise
//                      your own status texts through Status)
//   ToevoegenGroepen   the step's own groups (AddGroup) after the rows of "(Alle)"
//   KanVerder          the Next rule (default: an item of "all" is Selected); SelectieLijst's
//                      AantalAangevinkt and RijAantal serve rules on rows
//   WachtOpBatch       default on: Next is not evaluated while a batch runs but once on
//                      BatchUpdateDone, which copies the list's ticks back first; off: evaluated on
//                      every row's tick and BatchUpdateDone copies nothing
//   KlikBepaaltKanVerder  whether a click on a row evaluates Next (default on)
//   ToonRij            shows a clicked or ticked row itself (the groove-figure preview); false
//                      (default): the supplier's documentation (ShowInfo), else the row's description
// During a batch the rows are not shown one by one: the current row is shown once when it ends.
//
// Building blocks a step may call: Betreden (Init of a dedicated step: fill while "all" is empty and
// then restore the splitter; Next), FillListView, ToonBewaard, HerstelSplitter, Finish, BepaalKanVerder,
// Status, MarkeerHistorie, ToonInformatie; lijst(), paneel() and documentatie() for the rest. Tests
// replace the history marking (setHistorieMarkering) and drive the list through GroepenLijst and
// SelectieLijst as the window does.

#include "selection/documentatie.h"
#include "selection/groepenlijst.h"
#include "selection/informatiepaneel.h"
#include "start/items.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace supplink {

class clsBron2;
class Stap;
class SelectieSjabloon;

// The extension points of a selection step (see the header note).
class SelectieBeleid
{
public:
    virtual ~SelectieBeleid() = default;

    virtual QString LijstNaam() const = 0;
    virtual QString SplitterNaam() const = 0;
    virtual qint32 HistoryType() const = 0;
    virtual bool MeldtVoortgang() const { return true; }

    virtual void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) = 0;
    virtual void MarkeerVerplicht(ItemCollection& alle) { Q_UNUSED(alle); }
    virtual void ToevoegenGroepen(GroepenLijst& lijst) { Q_UNUSED(lijst); }

    virtual bool KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const;
    virtual bool WachtOpBatch() const { return true; }
    virtual bool KlikBepaaltKanVerder() const { return true; }
    virtual bool ToonRij(const LijstRij& rij)
    {
        Q_UNUSED(rij);
        return false;
    }
};

// Marks items against the target of a history type (default: UpdateItemsUitDoel).
using HistorieMarkering = std::function<void(qint32 historyType, const ItemCollection& items)>;

class SelectieSjabloon : public QObject
{
    Q_OBJECT
public:
    // The step raises KanVerder and StatusTekst; the policy gives the step's own parts. Neither is owned.
    SelectieSjabloon(Stap& stap, SelectieBeleid& beleid);
    ~SelectieSjabloon() override;

    GroepenLijst& lijst() { return m_lijst; }
    InformatiePaneel& paneel() { return m_paneel; }
    // The documentation state of the current list name and supplier.
    DocumentatieStaat& documentatie();

    // Where the step keeps its pair (program-wide variables or members); they must outlive the template.
    void ZetCollecties(ItemCollection& alle, ItemCollection& geselecteerd);
    ItemCollection& Alle() { return *m_alle; }
    ItemCollection& Geselecteerd() { return *m_geselecteerd; }

    // Init of a dedicated step: while "all" is empty FillListView and the splitter from the settings;
    // then Next.
    void Betreden();
    // Reads every chosen source, marks the items, shows "(Alle)".
    void FillListView();
    // Shows the kept "all" collection under "(Alle)" in a list made anew, without reading a source.
    void ToonBewaard();
    // The splitter position from the settings (default: where it is).
    void HerstelSplitter();
    // Leaves the step forward: the ticks into the items, "selected" rebuilt in the order of "all", the
    // list's column widths and the splitter position saved.
    void Finish();
    // Raises KanVerder by the step's rule (not while a batch runs, unless the step wants it per row).
    void BepaalKanVerder();
    // Raises StatusTekst.
    void Status(const QString& tekst);
    // Marks "all" against the history (with the status texts when the step reports its progress).
    void MarkeerHistorie(qint32 historyType);
    // Shows a row in the panel: the supplier's documentation of its code, else its description.
    void ToonInformatie(const LijstRij& rij);
    // True while FillListView runs (group changes are ignored then).
    bool Vullen() const { return m_vullen; }

    // The splitter position in twips (-1: unknown); the window reports where the user puts it.
    int SplitterPositie() const { return m_splitter; }
    void ZetSplitterPositie(int twips) { m_splitter = twips; }

    void setHistorieMarkering(HistorieMarkering markering);

signals:
    // The splitter is to stand here (twips).
    void SplitterHersteld(int twips);

private:
    void OpItemClick(int rij);
    void OpItemCheck(int rij);
    void OpBatchUpdateDone();
    void OpGroupChange(qint32 groep);
    void Toon(const LijstRij& rij);
    void BewaarSplitter();

    Stap& m_stap;
    SelectieBeleid& m_beleid;
    GroepenLijst m_lijst;
    InformatiePaneel m_paneel;
    QHash<QString, std::shared_ptr<DocumentatieStaat>> m_documentatie;
    ItemCollection m_eigenAlle;
    ItemCollection m_eigenGeselecteerd;
    ItemCollection* m_alle = &m_eigenAlle;
    ItemCollection* m_geselecteerd = &m_eigenGeselecteerd;
    bool m_vullen = false;
    int m_splitter = -1;
    HistorieMarkering m_historie;
};

} // namespace supplink
