#pragma once
// Step 4 of the wizard ("Importeer mogelijkheden"), without a window: which
// kinds of data the chosen sources offer, ticked by default, which the user
// leaves ticked, and how articles are treated (prices only, new articles only,
// or both). Finish writes the choice into a new import-options object
// (globals().gImportOpties); the main window decides from it which selection
// steps to show, the transfer what to import. The article mode is remembered
// per supplier (section "opties\" + supplier code, value "artikelopties").
//
// The view (usrImportOpties) shows eight check boxes and three option buttons
// from vak() and optie() after every Gewijzigd, and passes the user's clicks
// on with ZetVak and ZetOptie:
//
//     StapImportOpties stap;
//     stap.Init();                                   // defaults from the sources (first entry only)
//     stap.ZetVak(StapImportOpties::Shapes, false);  // the user unticks a box
//     stap.Finish();                                 // globals().gImportOpties
//
// The defaults are rebuilt only while globals().gImportOpties is empty (first
// entry, or after Back from this step); otherwise the controls keep the state
// the user left them in.

#include "start/stap.h"

#include <array>

namespace supplink {

class StapImportOpties : public Stap
{
    Q_OBJECT
public:
    // The eight check boxes, in the order of their click handlers.
    enum Vak {
        Artikelen,           // chkImportArtikelen
        Tabellen,            // chkImportTabellen
        HSKeuzes,            // chkImportHSKeuzes
        Shapes,              // chkImportShapes
        LibPane,             // chkImportLibPane
        LibLaagrelief,       // chkImportLibLaagrelief
        LibHangSluitCombies, // chkImportLibHangSluitCombies
        LibHangSluitKeuzes,  // chkImportLibHangSluitKeuzes
        AantalVakken
    };
    // The three option buttons of the article mode ("1", "2", "3").
    enum Optie {
        AlleenPrijzen,         // optAlleenPrijzen
        AlleenNieuweArtikelen, // optAlleenNieuweArtikelen
        ArtBeide,              // optArtBeide
        AantalOpties
    };
    // The four frames the controls sit in.
    enum Kader { KaderArtikelen, KaderOnderhoud, KaderWerkvoorbereiding, KaderBibliotheek, AantalKaders };

    // A control's state: enabled, and ticked (check box) or switched on (option button).
    struct Bediening
    {
        bool aan = false;
        bool gekozen = false;
    };

    using Stap::Stap;

    static QString VakTekst(Vak vak);
    static QString OptieTekst(Optie optie);
    static QString KaderTekst(Kader kader);
    static Kader KaderVan(Vak vak);
    // The settings section of the article mode for a supplier code.
    static QString OptiesSectie(const QString& leverancier);

    void Init() override;
    void Finish() override;

    // The user ticks or unticks a box: its click handler runs.
    void ZetVak(Vak vak, bool aangevinkt);
    // The user switches an option button on; the other two go off.
    void ZetOptie(Optie optie);

    const Bediening& vak(Vak vak) const { return m_vakken.at(vak); }
    const Bediening& optie(Optie optie) const { return m_opties.at(optie); }
    // At least one check box is ticked.
    bool IetsAangevinkt() const;

signals:
    // Some control's state changed; the view shows them again.
    void Gewijzigd();

private:
    void Reset();
    void ZetStandaarden();
    void VakGeklikt(Vak vak);
    QString LeesArtikelModus() const;
    void BewaarArtikelModus(const QString& modus) const;

    std::array<Bediening, AantalVakken> m_vakken{};
    std::array<Bediening, AantalOpties> m_opties{};
};

} // namespace supplink
