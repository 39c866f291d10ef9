#pragma once
// The step register: which view, with which model, holds which step of the
// wizard. The main window builds every registered view once, puts it into its
// step area and hands its model (stap.h) to the step sequence (StapBesturing).
//
// A step's view is a QWidget made with its parent alone that offers its model
// as stap() (the StapWeergave concept below); maakStap<View> builds it. Each
// step has one line in stapregister.cpp:
//
//     {{16}, maakStap<usrStapBackup>},            // usrStapBackup
//
// One view may serve several steps: the generic selection step serves 5, 6,
// 12, 13 and 14 ({{5, 6, 12, 13, 14}, maakStap<usrStapSelectAlgemeen>}), and
// its model must be an AlgemeneSelectieStap; the model of step 17 must be a
// TransferStap. Every step from 1 to 18 has exactly one registration; the
// main window refuses to start otherwise (ControleerStappen).

#include "start/stap.h"

#include <QList>
#include <QWidget>
#include <concepts>
#include <functional>

namespace supplink {

// What a registration builds: the view for the step area and the model it shows (owned by the view,
// directly or through its children).
struct StapOnderdelen
{
    QWidget* weergave = nullptr;
    Stap* stap = nullptr;
};

using StapMaker = std::function<StapOnderdelen(QWidget* parent)>;

struct StapRegistratie
{
    QList<int> stappen; // the step numbers the view serves
    StapMaker maak;
};

// The view of a step: a widget made with its parent, offering its model.
template <class View>
concept StapWeergave = std::derived_from<View, QWidget> && std::constructible_from<View, QWidget*> &&
                       requires(View& view) {
                           { view.stap() } -> std::convertible_to<Stap&>;
                       };

template <StapWeergave View>
StapOnderdelen maakStap(QWidget* parent)
{
    auto* view = new View(parent);
    return {view, &static_cast<Stap&>(view->stap())};
}

// The program's register.
QList<StapRegistratie> StapRegister();

} // namespace supplink
