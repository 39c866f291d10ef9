#include "selection/selectielezers.h"

#include "import/clsimportbestand.h"
#include "import/clsimportbestandhangsluit.h"
#include "selection/clsprofile.h"
#include "sources/clsbron2.h"
#include "sync/clssynclib.h"
#include "sync/clssyncopt.h"
#include "sync/clssyncpt.h"
#include "sync/clssyncshapes.h"
#include "sources/voorwaarden.h"

namespace supplink {

namespace {

// A listing reading: the reader appends to the step's collection; what it appended stays, also when it
// answers false or throws.
template <class Lezer, class Lezing>
bool LeesLijst(Lezer& lezer, ItemCollection& alle, Lezing lezing)
{
    const auto gedeeld = std::make_shared<ItemCollection>(alle);
    lezer.SetColItemsDistinct(gedeeld);
    bool gelezen = false;
    try {
        gelezen = lezing();
    } catch (...) {
        alle = *gedeeld;
        throw;
    }
    const std::shared_ptr<ItemCollection>& gevuld = lezer.ColItemsDistinct();
    alle = gelezen && gevuld ? *gevuld : *gedeeld;
    return gelezen;
}

// A required-items reading: the reader gets the collection built so far (none: it starts one); only when
// it answers true is its collection taken back.
template <class Lezer, class Lezing>
bool LeesVerplicht(Lezer& lezer, VerplichtCollectie& verplicht, Lezing lezing)
{
    lezer.SetColItemsDistinct(verplicht);
    const bool gelezen = lezing();
    if (gelezen)
        verplicht = lezer.ColItemsDistinct();
    return gelezen;
}

// The combinations of a source and, on the same engine, those a selection requires.
template <class Engine>
bool CombiesMetVerplicht(Engine& engine, const QString& pad, const auto& selectie, ItemCollection& alle,
                         std::optional<ItemCollection>& verplicht)
{
    const bool gelezen = LeesLijst(engine, alle, [&] { return engine.LocksHingesCombiDistinct(pad); });
    verplicht.reset();
    if (engine.LocksHingesCombiVerplichtDistinct(selectie))
        verplicht = engine.ColItemsDistinct() ? *engine.ColItemsDistinct() : ItemCollection();
    return gelezen;
}

class ProgrammaHangSluitLezers final : public HangSluitLezers
{
public:
    bool OptTabellen(const QString& pad, ItemCollection& alle) override
    {
        clsSyncOpt engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestandTabellen(pad); });
    }
    bool OptKeuzes(const QString& pad, ItemCollection& alle) override
    {
        clsSyncOpt engine;
        return LeesLijst(engine, alle, [&] { return engine.CustomLHCombiDistinct(pad); });
    }
    bool OptCombies(const QString& pad, const ItemCollection& tabellen, ItemCollection& alle,
                    std::optional<ItemCollection>& verplicht) override
    {
        clsSyncOpt engine;
        return CombiesMetVerplicht(engine, pad, &tabellen, alle, verplicht);
    }
    bool LibKeuzes(const QString& pad, ItemCollection& alle) override
    {
        clsSyncLIB engine;
        return LeesLijst(engine, alle, [&] { return engine.CustomLHCombiDistinct(pad); });
    }
    bool LibCombies(const QString& pad, const ItemCollection& keuzes, ItemCollection& alle,
                    std::optional<ItemCollection>& verplicht) override
    {
        clsSyncLIB engine;
        return CombiesMetVerplicht(engine, pad, std::optional<ItemCollection>(keuzes), alle, verplicht);
    }
    bool Bestand(clsBron2& bron, ItemCollection& alle) override
    {
        clsImportBestandHangSluit engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestand(bron, true); });
    }
    bool DoelNieuweFormaatCombies() override { return IsDoelNieuweFormaatCombies(); }
};

class ProgrammaArtikelLezers final : public ArtikelLezers
{
public:
    bool PtArtikelGroepen(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        clsSyncPT engine;
        return LeesLijst(engine, alle, [&] {
            return engine.InlezenBestandArtikelGroepen(pad, QStringLiteral("True"), types);
        });
    }
    bool PtArtikelen(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        clsSyncPT engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestandArtikelen(pad, types); });
    }
    bool BestandArtikelGroepen(clsBron2& bron, ItemCollection& alle) override
    {
        clsImportBestand engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestandArtikelGroepen(bron, true); });
    }
    bool BestandArtikelen(clsBron2& bron, ItemCollection& alle) override
    {
        clsImportBestand engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestand(bron, true); });
    }
    bool HangSluitArtikelenVerplicht(clsBron2& bron, const ItemCollection& gekozen,
                                     VerplichtCollectie& verplicht) override
    {
        clsImportBestandHangSluit engine;
        return LeesVerplicht(engine, verplicht, [&] {
            return engine.LocksHingesArtikelVerplichtDistinct(bron, std::make_shared<ItemCollection>(gekozen));
        });
    }
    bool OptArtikelenVerplicht(const QString& pad, const ItemCollection* combinaties,
                               VerplichtCollectie& verplicht) override
    {
        clsSyncOpt engine;
        return LeesVerplicht(engine, verplicht,
                             [&] { return engine.LocksHingesArtikelVerplichtDistinct(pad, combinaties); });
    }
    bool LaagreliefArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                      VerplichtCollectie& verplicht) override
    {
        clsSyncLIB engine;
        return LeesVerplicht(engine, verplicht,
                             [&] { return engine.LaagreliefArtikelenVerplichtDistinct(pad, gekozen); });
    }
    bool NeutArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                VerplichtCollectie& verplicht) override
    {
        clsSyncLIB engine;
        return LeesVerplicht(engine, verplicht,
                             [&] { return engine.NeutArtikelenVerplichtDistinct(pad, gekozen); });
    }
};

class ProgrammaSponningFiguurLezers final : public SponningFiguurLezers
{
public:
    bool Figuren(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        clsSyncSHAPES engine;
        return LeesLijst(engine, alle, [&] { return engine.InlezenBestand(pad, types); });
    }
    bool SponningFigurenVerplicht(const QString& pad, const ItemCollection& gekozen, qint32 soort,
                                  VerplichtCollectie& verplicht) override
    {
        clsSyncLIB engine;
        return LeesVerplicht(engine, verplicht,
                             [&] { return engine.SponningFigurenVerplichtDistinct(pad, gekozen, soort); });
    }
    std::shared_ptr<clsProfile> Profiel(const QString& pad, const QString& code) override
    {
        return LoadProfileFromDatabases({pad}, code);
    }
};

} // namespace

std::shared_ptr<HangSluitLezers> MaakHangSluitLezers()
{
    return std::make_shared<ProgrammaHangSluitLezers>();
}

std::shared_ptr<ArtikelLezers> MaakArtikelLezers()
{
    return std::make_shared<ProgrammaArtikelLezers>();
}

std::shared_ptr<SponningFiguurLezers> MaakSponningFiguurLezers()
{
    return std::make_shared<ProgrammaSponningFiguurLezers>();
}

} // namespace supplink
