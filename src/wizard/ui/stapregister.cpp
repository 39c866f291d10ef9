#include "wizard/ui/stapregister.h"

#include "selection/ui/usrstapselectalgemeen.h"
#include "wizard/plaatshouders.h"
#include "wizard/ui/usrimportopties.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"
#include "wizard/ui/usrwelkom.h"

namespace supplink {

// One line per step view; a step that is built replaces its placeholder here.
QList<StapRegistratie> StapRegister()
{
    return {
        {{1}, maakStap<usrWelkom>},                                       // usrStapWelkom
        {{2}, maakStap<usrStapSelectBronBestanden3>},                     // usrStapSelectBronBestanden3
        {{3}, maakStap<usrStapSelectDoelBestanden>},                      // usrStapSelectDoelBestanden
        {{4}, maakStap<usrImportOpties>},                                 // usrImportOpties
        {{5, 6, 12, 13, 14}, maakStap<usrStapSelectAlgemeen>},            // usrStapSelectAlgemeen
        {{7}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSTabellen
        {{8}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSKeuzes
        {{9}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSCombies
        {{10}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectArtikelGroepen
        {{11}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectArtikelen
        {{15}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectSponningFiguren
        {{16}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapBackup
        {{17}, maakPlaatshouder<TransferNietBeschikbaar>},                // usrTransfer
        {{18}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapResultaat
    };
}

} // namespace supplink
