#include "wizard/ui/stapregister.h"

#include "selection/ui/usreigenselectiestap.h"
#include "selection/ui/usrstapselectalgemeen.h"
#include "wizard/plaatshouders.h"

namespace supplink {

// One line per step view; a step that is built replaces its placeholder here.
QList<StapRegistratie> StapRegister()
{
    return {
        {{1}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapWelkom
        {{2}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectBronBestanden3
        {{3}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectDoelBestanden
        {{4}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrImportOpties
        {{5, 6, 12, 13, 14}, maakStap<usrStapSelectAlgemeen>},            // usrStapSelectAlgemeen
        {{7}, maakStap<usrStapSelectHSTabellen>},                         // usrStapSelectHSTabellen
        {{8}, maakStap<usrStapSelectHSKeuzes>},                           // usrStapSelectHSKeuzes
        {{9}, maakStap<usrStapSelectHSCombies>},                          // usrStapSelectHSCombies
        {{10}, maakStap<usrStapSelectArtikelGroepen>},                    // usrStapSelectArtikelGroepen
        {{11}, maakStap<usrStapSelectArtikelen>},                         // usrStapSelectArtikelen
        {{15}, maakStap<usrStapSelectSponningFiguren>},                   // usrStapSelectSponningFiguren
        {{16}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapBackup
        {{17}, maakPlaatshouder<TransferNietBeschikbaar>},                // usrTransfer
        {{18}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapResultaat
    };
}

} // namespace supplink
