#include "selection/ui/usrstapselectalgemeen.h"

namespace supplink {

usrStapSelectAlgemeen::usrStapSelectAlgemeen(QWidget* parent) : usrSelectieStap(parent)
{
    Koppel(m_model.sjabloon());
}

usrStapSelectAlgemeen::~usrStapSelectAlgemeen() = default;

} // namespace supplink
