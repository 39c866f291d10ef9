#pragma once
// What the dedicated selection steps ask of the synchronisation engines and
// the supplier-file imports: three small interfaces, one per group of steps,
// so that tests script the answers. The program's own (Maak...Lezers) make an
// engine or import for each call, hand it the step's collection, call the one
// reader and release the engine at once (each reading opens its source and
// closes it again).
//
// Two kinds of call:
//   - listing readers append to the step's "all" collection; the items
//     appended stay also when the reader answers false (the list is then
//     incomplete, and the failure has been shown);
//   - required-items readers build one collection over the sources
//     (VerplichtCollectie: none until the first reader starts it). Each is
//     handed the collection built so far; when it answers true the step takes
//     the reader's collection back, so a reader that fails leaves the
//     collection as it was (items it appended to an existing collection stay).
//
//     std::shared_ptr<ArtikelLezers> lezers = MaakArtikelLezers();
//     VerplichtCollectie verplicht;                       // none yet
//     lezers->OptArtikelenVerplicht(bron.Path(), &combinaties, verplicht);
//     lezers->LaagreliefArtikelenVerplicht(bib.Path(), dorpels, verplicht);
//     if (verplicht && !verplicht->isEmpty()) ...

#include "start/items.h"

#include <QString>
#include <memory>
#include <optional>

namespace supplink {

class clsBron2;
class clsProfile;

// The required items built over the sources; none until a reader started it.
using VerplichtCollectie = std::shared_ptr<ItemCollection>;

// The hardware steps: tables (7), choices (8) and combinations (9).
class HangSluitLezers
{
public:
    virtual ~HangSluitLezers() = default;

    // The hardware tables of an options database (clsSyncOpt InlezenBestandTabellen).
    virtual bool OptTabellen(const QString& pad, ItemCollection& alle) = 0;
    // The hardware choices of an options database (clsSyncOpt CustomLHCombiDistinct).
    virtual bool OptKeuzes(const QString& pad, ItemCollection& alle) = 0;
    // The hardware combinations of an options database (clsSyncOpt LocksHingesCombiDistinct) and, on the
    // same source, the combinations the ticked tables of `tabellen` require (LocksHingesCombiVerplichtDistinct):
    // `verplicht` holds them when that query succeeded and stays empty (no value) when it failed.
    virtual bool OptCombies(const QString& pad, const ItemCollection& tabellen, ItemCollection& alle,
                            std::optional<ItemCollection>& verplicht) = 0;
    // The hardware choices of a library (clsSyncLIB CustomLHCombiDistinct).
    virtual bool LibKeuzes(const QString& pad, ItemCollection& alle) = 0;
    // The hardware combinations of a library (clsSyncLIB LocksHingesCombiDistinct) and those the ticked
    // choices of `keuzes` require (LocksHingesCombiVerplichtDistinct), as OptCombies.
    virtual bool LibCombies(const QString& pad, const ItemCollection& keuzes, ItemCollection& alle,
                            std::optional<ItemCollection>& verplicht) = 0;
    // The distinct codes of a supplier's hardware file (clsImportBestandHangSluit InlezenBestand).
    virtual bool Bestand(clsBron2& bron, ItemCollection& alle) = 0;
    // Whether the targets keep hardware combinations in the new format (IsDoelNieuweFormaatCombies).
    virtual bool DoelNieuweFormaatCombies() = 0;
};

// The article-group step (10) and the article step (11).
class ArtikelLezers
{
public:
    virtual ~ArtikelLezers() = default;

    // The article groups and the articles of the types (";"-separated) in a product table (clsSyncPT
    // InlezenBestandArtikelGroepen, InlezenBestandArtikelen).
    virtual bool PtArtikelGroepen(const QString& pad, const QString& types, ItemCollection& alle) = 0;
    virtual bool PtArtikelen(const QString& pad, const QString& types, ItemCollection& alle) = 0;
    // The article groups and the articles of a supplier's article file (clsImportBestand, list mode).
    virtual bool BestandArtikelGroepen(clsBron2& bron, ItemCollection& alle) = 0;
    virtual bool BestandArtikelen(clsBron2& bron, ItemCollection& alle) = 0;

    // Required articles. Of a supplier's hardware file: the articles the chosen tables or combinations use
    // (clsImportBestandHangSluit LocksHingesArtikelVerplichtDistinct).
    virtual bool HangSluitArtikelenVerplicht(clsBron2& bron, const ItemCollection& gekozen,
                                             VerplichtCollectie& verplicht) = 0;
    // Of an options database: the articles of the chosen combinations (clsSyncOpt
    // LocksHingesArtikelVerplichtDistinct; no collection: nothing is required).
    virtual bool OptArtikelenVerplicht(const QString& pad, const ItemCollection* combinaties,
                                       VerplichtCollectie& verplicht) = 0;
    // Of a library: the articles of the chosen sill or post combinations (clsSyncLIB
    // LaagreliefArtikelenVerplichtDistinct, NeutArtikelenVerplichtDistinct).
    virtual bool LaagreliefArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                              VerplichtCollectie& verplicht) = 0;
    virtual bool NeutArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                        VerplichtCollectie& verplicht) = 0;
};

// The groove-figure step (15).
class SponningFiguurLezers
{
public:
    virtual ~SponningFiguurLezers() = default;

    // The groove shapes of the types (";"-separated) in a work-preparation database (clsSyncSHAPES
    // InlezenBestand); the type is each item's Groep.
    virtual bool Figuren(const QString& pad, const QString& types, ItemCollection& alle) = 0;
    // The groove shapes the chosen library parts of a kind use (clsSyncLIB SponningFigurenVerplichtDistinct;
    // kinds: 1 pane-groove tables, 2 edge grooves, 3 element-groove tables, 4 sill combinations).
    virtual bool SponningFigurenVerplicht(const QString& pad, const ItemCollection& gekozen, qint32 soort,
                                          VerplichtCollectie& verplicht) = 0;
    // The outline of a groove shape from one work-preparation database, opened for this attempt only and
    // closed after it. None when the database does not hold the shape, cannot be opened or cannot be read;
    // a failure here is not reported (a preview simply keeps what it showed).
    virtual std::shared_ptr<clsProfile> Profiel(const QString& pad, const QString& code) = 0;
};

// The program's readers.
std::shared_ptr<HangSluitLezers> MaakHangSluitLezers();
std::shared_ptr<ArtikelLezers> MaakArtikelLezers();
std::shared_ptr<SponningFiguurLezers> MaakSponningFiguurLezers();

// The readers a step holds: the program's own until a test gives it scripted ones.
//
//     class StapSelectArtikelen : public EigenSelectieStap, public MetLezers<ArtikelLezers, MaakArtikelLezers>
template <class Lezers, std::shared_ptr<Lezers> (*ProgrammaLezers)()>
class MetLezers
{
public:
    // Scripted readers; none: the program's own again.
    void setLezers(std::shared_ptr<Lezers> lezers) { m_lezers = lezers ? std::move(lezers) : ProgrammaLezers(); }

protected:
    std::shared_ptr<Lezers> m_lezers = ProgrammaLezers();
};

} // namespace supplink
