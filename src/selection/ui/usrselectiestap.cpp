#include "selection/ui/usrselectiestap.h"

#include "selection/selectiestap.h"
#include "selection/ui/usrinformatielinks.h"
#include "selection/ui/usrlistviewcombo.h"
#include "start/sharedroutines.h"

#include <QFrame>
#include <algorithm>
#include <QSplitter>
#include <QVBoxLayout>

namespace supplink {

usrSelectieStap::usrSelectieStap(QWidget* parent) : QWidget(parent)
{
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Splitter1 = new QSplitter(Qt::Horizontal, Frame2);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    const int rand = TwipsNaarPixels(60);
    auto* binnen = new QVBoxLayout(Frame2);
    binnen->setContentsMargins(rand, rand, rand, rand);
    binnen->addWidget(Splitter1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(rand, rand, rand, rand);
    layout->addWidget(Frame2);
}

void usrSelectieStap::Koppel(SelectieSjabloon& sjabloon)
{
    if (m_sjabloon)
        return;
    m_sjabloon = &sjabloon;
    lijst = new usrListViewCombo(sjabloon.lijst(), Splitter1);
    lijst->setObjectName(QStringLiteral("usrListView"));
    informatie = new usrInformatieLinks(sjabloon.paneel(), Splitter1);
    informatie->setObjectName(QStringLiteral("usrInformatieLinks"));
    Splitter1->addWidget(lijst);
    Splitter1->addWidget(informatie);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    connect(&sjabloon, &SelectieSjabloon::SplitterHersteld, this, &usrSelectieStap::ZetSplitter);
    connect(Splitter1, &QSplitter::splitterMoved, this,
            [this](int positie) { m_sjabloon->ZetSplitterPositie(PixelsNaarTwips(positie)); });
    if (sjabloon.SplitterPositie() >= 0)
        ZetSplitter(sjabloon.SplitterPositie());
}

void usrSelectieStap::ZetSplitter(int twips)
{
    m_gewenst = twips;
    PasSplitterToe();
}

void usrSelectieStap::PasSplitterToe()
{
    const int totaal = Splitter1->width() - Splitter1->handleWidth();
    if (!m_sjabloon || !isVisible() || totaal <= 0)
        return;
    if (m_gewenst >= 0) {
        const int links = std::clamp(TwipsNaarPixels(m_gewenst), 1, std::max(1, totaal - 1));
        Splitter1->setSizes({links, totaal - links});
        m_gewenst = -1;
    }
    // Where the splitter stands is its position, also when the user never moved it.
    m_sjabloon->ZetSplitterPositie(PixelsNaarTwips(Splitter1->sizes().value(0)));
}

void usrSelectieStap::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    PasSplitterToe();
}

void usrSelectieStap::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PasSplitterToe();
}

} // namespace supplink
