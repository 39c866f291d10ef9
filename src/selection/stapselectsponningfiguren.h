#pragma once
// The groove-figure step (15) of the wizard: the groove shapes of the chosen
// work-preparation databases (list "Sponningfiguren", history type 4,
// splitter value "sponningfigurensplitter1pos"), with the status texts
// "Inlezen bestand <name>", "Controle verplichte sponningfiguren" and
// "Controle historische gegevens".
//
// When the import options take anything of the library, the figures that the
// chosen library parts use are ticked and locked: per library database the
// pane-groove tables (kind 1) when its chosen types contain the digit 1, the
// edge grooves (2) for a 2, the element-groove tables (3) for a 3 (a plain
// substring test on the text: "12" asks both 1 and 2), and always the sill
// combinations (4). The group selector offers the four groove kinds: 1
// "Vaksponningen", 2 "Elementsponningen", 3 "Randsponningen", 4
// "Muursponningen" (a figure's type is its group).
//
// The information panel shows a drawn preview of the figure clicked or
// ticked last instead of the supplier's documentation: the first chosen
// work-preparation database that holds the figure gives its outline, each
// database opened for its attempt and closed after it. A figure no database
// yields, or an error on the way, leaves the preview as it was, quietly. A
// batch of ticks draws once, at its end. A click does not evaluate Next.
//
// Reads through SponningFiguurLezers (selectielezers.h); tests give it
// scripted ones with setLezers.

#include "selection/eigenselectiestap.h"
#include "selection/selectielezers.h"

#include <memory>

namespace supplink {

class StapSelectSponningFiguren : public EigenSelectieStap,
                                  public MetLezers<SponningFiguurLezers, MaakSponningFiguurLezers>
{
    Q_OBJECT
public:
    explicit StapSelectSponningFiguren(QObject* parent = nullptr);

    // Switches the panel to the preview (on every entry), then enters as every dedicated step.
    void Init() override;
    // Shows the outline of a figure in the panel's preview.
    void ToonPreview(const QString& code);

private:
    QString LijstNaam() const override { return QStringLiteral("Sponningfiguren"); }
    QString SplitterNaam() const override { return QStringLiteral("sponningfigurensplitter1pos"); }
    qint32 HistoryType() const override { return 4; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    void MarkeerVerplicht(ItemCollection& alle) override;
    void ToevoegenGroepen(GroepenLijst& lijst) override;
    bool KlikBepaaltKanVerder() const override { return false; }
    bool ToonRij(const LijstRij& rij) override;

    void SamenStellenVerplichteFiguren(ItemCollection& alle);
};

} // namespace supplink
