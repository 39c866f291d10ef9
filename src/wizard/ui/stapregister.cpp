#include "wizard/ui/stapregister.h"

#include "wizard/plaatshouders.h"
#include "wizard/ui/usrstapbackup.h"
#include "wizard/ui/usrstapresultaat.h"
#include "wizard/ui/usrtransfer.h"

namespace supplink {

// One line per step view; a step that is built replaces its placeholder here.
QList<StapRegistratie> StapRegister()
{
    return {
        {{1}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapWelkom
        {{2}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectBronBestanden3
        {{3}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectDoelBestanden
        {{4}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrImportOpties
        {{5, 6, 12, 13, 14}, maakPlaatshouder<AlgemeneStapNietBeschikbaar>}, // usrStapSelectAlgemeen
        {{7}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSTabellen
        {{8}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSKeuzes
        {{9}, maakPlaatshouder<StapNietBeschikbaar>},                     // usrStapSelectHSCombies
        {{10}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectArtikelGroepen
        {{11}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectArtikelen
        {{15}, maakPlaatshouder<StapNietBeschikbaar>},                    // usrStapSelectSponningFiguren
        {{16}, maakStap<usrStapBackup>},                                  // usrStapBackup
        {{17}, maakStap<usrTransfer>},                                    // usrTransfer
        {{18}, maakStap<usrStapResultaat>},                               // usrStapResultaat
    };
}

} // namespace supplink
