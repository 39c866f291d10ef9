#pragma once
// The window of the generic selection step (steps 5, 6, 12, 13 and 14): the
// selection-step window over StapSelectAlgemeen, which it owns.

#include "selection/stapselectalgemeen.h"
#include "selection/ui/usrselectiestap.h"

namespace supplink {

class usrStapSelectAlgemeen : public usrSelectieStap
{
    Q_OBJECT
public:
    explicit usrStapSelectAlgemeen(QWidget* parent = nullptr);
    ~usrStapSelectAlgemeen() override;

    StapSelectAlgemeen& stap() { return m_model; }

private:
    StapSelectAlgemeen m_model;
};

} // namespace supplink
