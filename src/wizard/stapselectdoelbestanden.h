#pragma once
// Step 3 of the wizard ("Selecteer doelbestanden"), without a window: from
// the sources chosen in step 2 it decides which target databases the
// transfer needs (globals().gDoelBestanden, one clsDoelBestand per kind),
// fills in the target the user last used for the supplier, lets the user pick
// a file or connect the product table to SQL Server (an SQLite database that
// another program holds or that is damaged is not taken: the user is told
// which and why, and the row stays as it was), and shows the import
// history stored in the selected target, whose entries the user may delete.
// It also settles library mode (globals().gBibliotheekModus): hardware from a
// supplier's file goes into the options database or into the library, as the
// user answers here.
//
// The targets and the list are built on the first entry (while gDoelBestanden
// is empty) and kept until the main window empties gDoelBestanden (Back past
// this step); the library question is asked only while they are built.
// Finish marks every target that has a path as chosen and remembers the
// paths per supplier (section "doelen\" + supplier code, one value per
// target description; an SQL Server target as "*" and its description,
// password included: the settings file is readable by its owner only).
//
// The SQL Server dialog is a window: the view hands it in as DoelVensters.
// The view shows rijen(), historie() and Omschrijving() after every
// Gewijzigd and passes the user's actions on:
//
//     StapSelectDoelBestanden stap;
//     stap.setVensters(&vensters);
//     stap.Init();                // the needed targets, remembered paths, the first row's history
//     stap.KlikRij(1);            // the second target: its history, the buttons
//     stap.cmdBlader_Click();     // "&Bladeren": the open dialog (UI services)
//     stap.Finish();
//
// Layout settings: section "Columns", values "doelbestanden" + column number +
// "width" (twips, LijstKolommen); section "Splitter", "doelbestandensplitter1pos" and
// "doelbestandensplitter2pos" (the first pane's share of a splitter, per cent).

#include "wizard/lijstkolommen.h"
#include "start/stap.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace supplink {

class clsDoelBestand;

// What the target step shows in windows of its own.
class DoelVensters
{
public:
    virtual ~DoelVensters() = default;
    // The SQL Server connection dialog showing the description; the dialog's description when the user
    // accepted, none otherwise.
    virtual std::optional<QString> ToonSqlServerDialoog(const QString& sqlAuthenticatie) = 0;
};

class StapSelectDoelBestanden : public Stap
{
    Q_OBJECT
public:
    // One row of the target list.
    struct Rij
    {
        qint32 positie = 0; // 1-based position of the descriptor in globals().gDoelBestanden
        QString soort;      // column "Soort": the target's description
        QString bestand;    // column "Bestand": the path as shown (an SQL Server target without password)
    };
    // One row of the history list.
    struct HistorieRij
    {
        QString tekst; // the run's description
        QString tag;   // the run's info, shown below when the row is selected
    };

    static constexpr int kAantalKolommen = 2;

    explicit StapSelectDoelBestanden(QObject* parent = nullptr);

    static QStringList KolomTitels();
    static QString BibliotheekVraag();
    // The settings section of the remembered targets for a supplier code.
    static QString DoelenSectie(const QString& leverancier);
    // The open dialog's filter for a target: description (*.code)|*.code|Alle bestanden, (*.*)|*.*
    static QString BestandFilter(const clsDoelBestand& doel);

    void setVensters(DoelVensters* vensters) { m_vensters = vensters; }
    // The list's width in twips, passed on whenever the list is resized: a column whose width is not
    // stored in the settings takes its share of it the first time it is known.
    void ZetLijstBreedte(int twips) { m_kolommen.ZetLijstBreedte(twips); }

    void Init() override;
    void Finish() override;

    // A click on a target row (-1: no row selected).
    void KlikRij(int rij);
    // A double-click on a target row (-1: no row).
    void DubbelKlikRij(int rij);
    // "&Bladeren": a file for the selected target.
    void cmdBlader_Click();
    // "&Verbinden": the SQL Server connection of the selected target.
    void cmdVerbind_Click();
    // A click on a history row.
    void KlikHistorie(int rij);
    // A key in the history list: Delete without Shift, Ctrl or Alt deletes the selected run from the
    // selected target.
    void ToetsInHistorie(int toets, Qt::KeyboardModifiers modifiers);
    // The user resized a column or moved a splitter.
    void ZetKolomBreedte(int kolom, int twips) { m_kolommen.ZetBreedte(kolom, twips); }
    void ZetSplitterPositie(int splitter, int procent);

    const QList<Rij>& rijen() const { return m_rijen; }
    int huidigeRij() const { return m_huidig; }
    const QList<HistorieRij>& historie() const { return m_historie; }
    int huidigeHistorie() const { return m_historieHuidig; }
    // The text of the selected run (rtOms).
    const QString& Omschrijving() const { return m_omschrijving; }
    bool BladerAan() const { return m_bladerAan; }
    bool VerbindAan() const { return m_verbindAan; }
    // Column widths in twips; -1 for a column still waiting for the list's width.
    const QList<int>& kolomBreedtes() const { return m_kolommen.breedtes(); }
    // The splitters' positions: the first pane's share in per cent (1: targets above the history, 2:
    // history beside the run's text).
    int SplitterPositie(int splitter) const;
    // Every row has a target.
    bool AllesGekozen() const;
    std::shared_ptr<clsDoelBestand> DoelVanRij(int rij) const;

signals:
    // Rows, the selection, the history, the run's text, the buttons or the layout changed.
    void Gewijzigd();

private:
    void MaakDoelen();
    void VulLijst();
    void ZetLayout();
    void ToonHistory(int rij);
    void ZetKnoppen();
    void ToonPad(int rij);
    QString Leverancier() const;

    DoelVensters* m_vensters = nullptr;
    QList<Rij> m_rijen;
    int m_huidig = -1;
    QList<HistorieRij> m_historie;
    int m_historieHuidig = -1;
    QString m_omschrijving;
    bool m_bladerAan = false;
    bool m_verbindAan = false;
    LijstKolommen m_kolommen;
    int m_splitter1 = 35;
    int m_splitter2 = 25;
};

} // namespace supplink
