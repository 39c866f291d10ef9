#pragma once
// The article-group step (10) and the article step (11) of the wizard.
//
// StapSelectArtikelGroepen lists the article groups of the chosen article
// sources (list "ArtikelGroepen", history type 1, splitter value
// "artikelgroepensplitter1pos"): of a Jet product table through the
// product-table engine, of a supplier's article file through the article
// import; an SQLite product table gives the message "OPTIONAL: SQLITE:
// ARTIKELGROEPEN: SOURCE=SQLITE: UNSUPPORTED" and no groups. Next is always
// enabled (no group needs to be ticked). It raises no status texts.
//
// StapSelectArtikelen lists the articles (list "Artikelen", history type 0,
// splitter value "artikelensplitter1pos") of product tables (Jet or SQLite,
// the source's chosen types) and of supplier article files, with the status
// texts "Inlezen bestand <name>", "Controle verplichte artikelen" and
// "Controle historische gegevens". Before the history it ticks and locks the
// articles that the chosen hardware, sill and post selections require (by
// code or by the code of the mirrored article) and ticks the articles of the
// chosen article groups; the article groups are offered as groups of the
// group selector. Next is enabled while an article is ticked (once per
// batch).
//
// Both read through ArtikelLezers (selectielezers.h); tests give them
// scripted ones with setLezers.

#include "selection/eigenselectiestap.h"
#include "selection/selectielezers.h"

#include <memory>

namespace supplink {

class StapSelectArtikelGroepen : public EigenSelectieStap, public MetLezers<ArtikelLezers, MaakArtikelLezers>
{
    Q_OBJECT
public:
    explicit StapSelectArtikelGroepen(QObject* parent = nullptr);

private:
    QString LijstNaam() const override { return QStringLiteral("ArtikelGroepen"); }
    QString SplitterNaam() const override { return QStringLiteral("artikelgroepensplitter1pos"); }
    qint32 HistoryType() const override { return 1; }
    bool MeldtVoortgang() const override { return false; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    bool KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const override;
};

class StapSelectArtikelen : public EigenSelectieStap, public MetLezers<ArtikelLezers, MaakArtikelLezers>
{
    Q_OBJECT
public:
    explicit StapSelectArtikelen(QObject* parent = nullptr);

private:
    QString LijstNaam() const override { return QStringLiteral("Artikelen"); }
    QString SplitterNaam() const override { return QStringLiteral("artikelensplitter1pos"); }
    qint32 HistoryType() const override { return 0; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    void MarkeerVerplicht(ItemCollection& alle) override;
    void ToevoegenGroepen(GroepenLijst& lijst) override;

    // The article codes the chosen hardware, sill and post selections require; none when no reader
    // answered.
    VerplichtCollectie VerplichteArtikelen();
};

} // namespace supplink
