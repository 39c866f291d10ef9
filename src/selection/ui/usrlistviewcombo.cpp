#include "selection/ui/usrlistviewcombo.h"

#include "selection/groepenlijst.h"
#include "selection/ui/usrlistview.h"
#include "start/sharedroutines.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace supplink {

usrListViewCombo::usrListViewCombo(GroepenLijst& model, QWidget* parent) : QWidget(parent), m_lijst(model)
{
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    cbGroups = new QComboBox(Splitter1);
    cbGroups->setObjectName(QStringLiteral("cbGroups"));
    cbGroups->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbGroups->setMinimumContentsLength(18);
    txtInfo = new QPlainTextEdit(Splitter1);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    txtInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtInfo->setFocusPolicy(Qt::NoFocus);
    // One line, as high as the drop-down beside it, the text in the middle.
    const int hoogte = cbGroups->sizeHint().height();
    txtInfo->setFixedHeight(hoogte);
    const int rand = 2 * txtInfo->frameWidth() + txtInfo->fontMetrics().height();
    txtInfo->document()->setDocumentMargin(std::max(1, (hoogte - rand) / 2));
    Splitter1->addWidget(cbGroups);
    Splitter1->addWidget(txtInfo);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setFixedHeight(cbGroups->sizeHint().height());

    lijst = new usrListView(m_lijst.lijst(), this);
    lijst->setObjectName(QStringLiteral("usrListView"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(TwipsNaarPixels(60));
    layout->addWidget(Splitter1);
    layout->addWidget(lijst, 1);

    connect(cbGroups, &QComboBox::activated, this, [this](int index) { m_lijst.KiesGroep(index); });
    connect(&m_lijst, &GroepenLijst::GroepenGewijzigd, this, &usrListViewCombo::ToonGroepen);
    connect(&m_lijst, &GroepenLijst::InfoTekstGewijzigd, txtInfo, &QPlainTextEdit::setPlainText);
    ToonGroepen();
    txtInfo->setPlainText(m_lijst.InfoTekst());
}

void usrListViewCombo::ToonGroepen()
{
    const QSignalBlocker stil(cbGroups);
    cbGroups->clear();
    for (const GroepenLijst::GroepKeuze& groep : m_lijst.Groepen())
        cbGroups->addItem(groep.Omschrijving, groep.Nummer);
    cbGroups->setCurrentIndex(m_lijst.GekozenGroep());
}

} // namespace supplink
