#pragma once
// The base of the dedicated selection steps (hardware tables, choices and
// combinations, article groups, articles, groove figures): a Stap that holds
// the selection-step template over its own extension points (SelectieBeleid)
// and keeps its pair of collections in the program-wide variables. Entering
// fills the list while the step's "all" collection is empty (going back past
// the step empties it) and otherwise shows the kept list with the user's
// ticks; leaving forward writes the ticks back.
//
//     class StapSelectHSKeuzes : public EigenSelectieStap
//     {
//     public:
//         StapSelectHSKeuzes() : EigenSelectieStap(globals().gColHSKeuzes, globals().gColHSKeuzesGeselecteerd) {}
//     private:
//         QString LijstNaam() const override { return QStringLiteral("HSKeuzes"); }
//         ...                                   // the other extension points of selectiestap.h
//     };
//
// Its view is a usrEigenSelectieStap (selection/ui/usreigenselectiestap.h).

#include "selection/selectiestap.h"
#include "start/stap.h"

namespace supplink {

class EigenSelectieStap : public Stap, protected SelectieBeleid
{
    Q_OBJECT
public:
    // The step fills only while it is empty: going back and forth keeps the user's ticks.
    void Init() override { m_sjabloon.Betreden(); }
    void Finish() override { m_sjabloon.Finish(); }
    SelectieSjabloon& sjabloon() { return m_sjabloon; }

protected:
    // The pair lives in the program-wide variables (globals()), which outlive the step.
    EigenSelectieStap(ItemCollection& alle, ItemCollection& geselecteerd, QObject* parent)
        : Stap(parent), m_sjabloon(*this, *this)
    {
        m_sjabloon.ZetCollecties(alle, geselecteerd);
    }

    SelectieSjabloon m_sjabloon;
};

} // namespace supplink
