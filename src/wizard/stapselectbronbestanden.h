#pragma once
// Step 2 of the wizard ("Selecteer bronbestanden"), without a window: the
// supplier's source files as a list of checkable rows. A file the user adds
// is recognised and described (clsBron2), set up through the dialog that fits
// it (type selection for a database of the design product, a message for the
// fixed Holonite and Deceuninck workbooks, the column mapping for any other
// file) and listed checked; an SQLite database that another program holds
// or that is damaged is not taken, and the user is told which and why. A
// database saved without a kind is read again when its definition is loaded.
// Its facts can be shown in a report. Finish makes
// the checked sources the wizard's sources (globals().gBronnenGeselecteerd)
// and saves every listed source as the supplier's source definitions, which
// the next first entry loads again.
//
// State: globals().gBronnen holds every description the step knows, in the
// order added (a deleted row's description stays in it); each row points to
// its description by its 1-based position there (the row's key "K" + n).
// The list is built on the first entry (while gBronnen is empty) and kept as
// the user leaves it until the main window empties gBronnen (Back past this
// step).
//
// The dialogs and the report are windows: the view hands them in as
// BronVensters. The view shows rijen after every LijstGewijzigd and passes
// the user's actions on:
//
//     StapSelectBronBestanden stap;
//     stap.setVensters(&vensters);
//     stap.Init();                 // loads the supplier's definitions on the first entry
//     stap.cmdBlader_Click();      // "&Toevoegen": the open dialog (UI services), then the set-up
//     stap.VinkRij(0, false);      // the user unchecks the first row
//     stap.Finish();               // gBronnenGeselecteerd, the definitions saved
//
// Column widths are kept in twips in section "Columns", values
// "bronbestanden" + column number + "width" (LijstKolommen).

#include "sources/typeselectie.h"
#include "wizard/lijstkolommen.h"
#include "start/stap.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace supplink {

class clsBron2;

// What the source step shows in windows of its own.
class BronVensters
{
public:
    virtual ~BronVensters() = default;
    // The column-mapping dialog, always shown; true when the user accepted (the mapping is then in the
    // description).
    virtual bool ToonKolomWizard(clsBron2& bron) = 0;
    // The type-selection dialog of the kind: it counts (a counting failure throws AppError), is shown
    // when it has a choice to offer or when tonen is set, and answers whether the types were accepted.
    virtual bool ToonTypeWizard(TypeSelectieSoort soort, clsBron2& bron, bool tonen) = 0;
    // The report window with the caption and the lines, shown modally.
    virtual void ToonRapport(const QString& titel, const QStringList& regels) = 0;
};

class StapSelectBronBestanden : public Stap
{
    Q_OBJECT
public:
    // One row of the list.
    struct Rij
    {
        qint32 positie = 0;   // 1-based position of the description in globals().gBronnen
        QString bestand;      // column "Bestand": the file name
        QString map;          // column "Folder": the full path (also the row's tag)
        QString type;         // column "Type": FormatDescription
        bool aangevinkt = false;
        bool geselecteerd = false;
    };

    static constexpr int kAantalKolommen = 3;

    explicit StapSelectBronBestanden(QObject* parent = nullptr);

    static QStringList KolomTitels();
    // The message of a refused file: the reason, an empty line, the sentence, an empty line and the path.
    static QString WeigeringTekst(const QString& path);
    // The lines of the report on a source's facts, in order.
    static QStringList Eigenschappen(const clsBron2& bron);
    // The dialog a database source is set up with, by its DBType; none for any other DBType.
    static std::optional<TypeSelectieSoort> TypeDialoog(const clsBron2& bron);

    void setVensters(BronVensters* vensters) { m_vensters = vensters; }
    // The list's width in twips, passed on whenever the list is resized: a column whose width is not
    // stored in the settings takes its share of it the first time it is known.
    void ZetLijstBreedte(int twips) { m_kolommen.ZetLijstBreedte(twips); }

    void Init() override;
    void Finish() override;

    // "&Toevoegen": the open dialog, then each chosen file added and set up.
    void cmdBlader_Click();
    // "&Import Definitie": the current row's source set up again.
    void cmdSetup_Click();
    // "&Eigenschappen": the current row's facts in the report window.
    void cmdProperties_Click();
    // The user selected rows (list positions) with the current row among them (-1: none); the current row
    // counts as clicked.
    void ZetSelectie(const QList<int>& rijen, int huidig);
    // The user checked or unchecked a row.
    void VinkRij(int rij, bool aangevinkt);
    // A key in the list: Delete without Shift, Ctrl or Alt removes the selected rows.
    void ToetsInLijst(int toets, Qt::KeyboardModifiers modifiers);
    // The user resized a column.
    void ZetKolomBreedte(int kolom, int twips) { m_kolommen.ZetBreedte(kolom, twips); }

    // Sets a source up (InstellenBron): the type dialog of a database source, the message of a fixed
    // layout, or the column mapping. forceer shows the article-type dialog also without a choice to make.
    bool InstellenBron(clsBron2& bron, bool forceer);

    const QList<Rij>& rijen() const { return m_rijen; }
    int huidigeRij() const { return m_huidig; }
    bool SetupAan() const { return m_setupAan; }
    // Column widths in twips; -1 for a column still waiting for the list's width.
    const QList<int>& kolomBreedtes() const { return m_kolommen.breedtes(); }
    // The description of a row (none for a row outside the list).
    std::shared_ptr<clsBron2> BronVanRij(int rij) const;

signals:
    // Rows, their checks or selection, the current row, the set-up button or the column widths changed.
    void LijstGewijzigd();

private:
    void LadenBestanden();
    // The reason a database could not be read (bron.Weigering), in a message box.
    void MeldWeigering(const clsBron2& bron);
    void ToevoegenAanLijst(const std::shared_ptr<clsBron2>& bron);
    void SelecteerRij(int rij);
    void KlikRij();
    bool BestandInLijst(const QString& path) const;
    void VoegBestandToe(const QString& path);
    void OpslaanBestanden();
    void MeldKanVerder();

    BronVensters* m_vensters = nullptr;
    QList<Rij> m_rijen;
    int m_huidig = -1;
    bool m_setupAan = false;
    LijstKolommen m_kolommen;
};

} // namespace supplink
