#pragma once
// The program's own register with steps 1 to 4 replaced by fixed input, for
// window tests of a later step: the test puts the supplier, sources, targets
// and options in globals() itself, and Next walks straight to the step it is
// about (the fixed-input steps change nothing of what the test set).
//
//     globals().gBronnenGeselecteerd = {bron};  globals().gImportOpties = opties;
//     frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());

#include "start/stap.h"
#include "wizard/ui/stapregister.h"

#include <QWidget>

namespace supplink::test {

// A step that keeps what the test put into the program-wide state: it chooses nothing, changes nothing
// and lets the window go on at once. It declares no signals of its own, so it needs no Q_OBJECT.
class VasteInvoerStap : public Stap
{
public:
    using Stap::Stap;
    void Init() override { emit KanVerder(true); }
};

// An empty view that owns its fixed-input step.
inline StapOnderdelen MaakVasteInvoer(QWidget* parent)
{
    auto* view = new QWidget(parent);
    return {view, new VasteInvoerStap(view)};
}

inline QList<StapRegistratie> RegisterMetVasteInvoer()
{
    QList<StapRegistratie> stappen = StapRegister();
    for (StapRegistratie& registratie : stappen) {
        if (registratie.stappen.size() == 1 && registratie.stappen.first() <= 4)
            registratie.maak = MaakVasteInvoer;
    }
    return stappen;
}

} // namespace supplink::test
