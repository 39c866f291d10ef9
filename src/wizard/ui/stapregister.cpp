
#include "selection/ui/usreigenselectiestap.h"
#include "selection/ui/usrstapselectalgemeen.h"
#include "wizard/ui/stapregister.h"
#include "wizard/ui/usrimportopties.h"
#include "wizard/ui/usrstapbackup.h"
#include "wizard/ui/usrstapresultaat.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"
#include "wizard/ui/usrtransfer.h"
#include "wizard/ui/usrwelkom.h"

namespace supplink {

// One line per step view.
QList<StapRegistratie> StapRegister()
{
    return {
        {{1}, maakStap<usrWelkom>},                                       // usrStapWelkom
        {{2}, maakStap<usrStapSelectBronBestanden3>},                     // usrStapSelectBronBestanden3
        {{3}, maakStap<usrStapSelectDoelBestanden>},                      // usrStapSelectDoelBestanden
        {{4}, maakStap<usrImportOpties>},                                 // usrImportOpties
        {{5, 6, 12, 13, 14}, maakStap<usrStapSelectAlgemeen>},            // usrStapSelectAlgemeen
        {{7}, maakStap<usrStapSelectHSTabellen>},                         // usrStapSelectHSTabellen
        {{8}, maakStap<usrStapSelectHSKeuzes>},                           // usrStapSelectHSKeuzes
        {{9}, maakStap<usrStapSelectHSCombies>},                          // usrStapSelectHSCombies
        {{10}, maakStap<usrStapSelectArtikelGroepen>},                    // usrStapSelectArtikelGroepen
        {{11}, maakStap<usrStapSelectArtikelen>},                         // usrStapSelectArtikelen
        {{15}, maakStap<usrStapSelectSponningFiguren>},                   // usrStapSelectSponningFiguren
        {{16}, maakStap<usrStapBackup>},                                  // usrStapBackup
        {{17}, maakStap<usrTransfer>},                                    // usrTransfer
        {{18}, maakStap<usrStapResultaat>},                               // usrStapResultaat
    };
}

} // namespace supplink
