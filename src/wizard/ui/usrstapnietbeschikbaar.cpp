#include "wizard/ui/usrstapnietbeschikbaar.h"

#include "wizard/plaatshouders.h"

#include <QLabel>
#include <QVBoxLayout>

namespace supplink {

usrStapNietBeschikbaar::usrStapNietBeschikbaar(QWidget* parent, std::unique_ptr<Stap> model)
    : QWidget(parent), m_model(std::move(model))
{
    setObjectName(QStringLiteral("usrStapNietBeschikbaar"));
    Label1 = new QLabel(NietBeschikbaarTekst(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
}

usrStapNietBeschikbaar::~usrStapNietBeschikbaar() = default;

} // namespace supplink
