#pragma once
// The program's own register with steps 1 to 4 as placeholders, for window
// tests of a later step: the test puts the supplier, sources, targets and
// options in globals() itself, and Next walks straight to the step it is about
// (the placeholders change nothing of what the test set).
//
//     globals().gBronnenGeselecteerd = {bron};  globals().gImportOpties = opties;
//     frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());

#include "wizard/plaatshouders.h"
#include "wizard/ui/stapregister.h"

namespace supplink::test {

inline QList<StapRegistratie> RegisterMetVasteInvoer()
{
    QList<StapRegistratie> stappen = StapRegister();
    for (StapRegistratie& registratie : stappen) {
        if (registratie.stappen.size() == 1 && registratie.stappen.first() <= 4)
            registratie.maak = maakPlaatshouder<StapNietBeschikbaar>;
    }
    return stappen;
}

} // namespace supplink::test
