#pragma once
// The windows of the dedicated selection steps: each is the selection-step
// window (usrSelectieStap: the list with group selector beside the
// information panel, with a splitter) over the step's model, which it owns.
// One line in wizard/ui/stapregister.cpp puts a window in its step's place:
//
//     {{7}, maakStap<usrStapSelectHSTabellen>},
//
// The groove-figure step's panel shows the profile preview in place of the
// documentation links (the model switches it when the step is entered).

#include "selection/stapselectartikelen.h"
#include "selection/stapselecthangsluit.h"
#include "selection/stapselectsponningfiguren.h"
#include "selection/ui/usrselectiestap.h"

namespace supplink {

template <class Model>
class usrEigenSelectieStap : public usrSelectieStap
{
public:
    explicit usrEigenSelectieStap(QWidget* parent = nullptr) : usrSelectieStap(parent)
    {
        Koppel(m_model.sjabloon());
    }

    Model& stap() { return m_model; }

private:
    Model m_model;
};

// Step 7.
class usrStapSelectHSTabellen final : public usrEigenSelectieStap<StapSelectHSTabellen>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

// Step 8.
class usrStapSelectHSKeuzes final : public usrEigenSelectieStap<StapSelectHSKeuzes>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

// Step 9.
class usrStapSelectHSCombies final : public usrEigenSelectieStap<StapSelectHSCombies>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

// Step 10.
class usrStapSelectArtikelGroepen final : public usrEigenSelectieStap<StapSelectArtikelGroepen>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

// Step 11.
class usrStapSelectArtikelen final : public usrEigenSelectieStap<StapSelectArtikelen>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

// Step 15.
class usrStapSelectSponningFiguren final : public usrEigenSelectieStap<StapSelectSponningFiguren>
{
public:
    using usrEigenSelectieStap::usrEigenSelectieStap;
};

} // namespace supplink
