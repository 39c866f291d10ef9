#include "wizard/ui/usrstapselectleverancier.h"

#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace supplink {

usrStapSelectLeverancier::usrStapSelectLeverancier(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrStapSelectLeverancier"));
    lvLeveranciers = new QTreeWidget(this);
    lvLeveranciers->setObjectName(QStringLiteral("lvLeveranciers"));
    lvLeveranciers->setRootIsDecorated(false);
    lvLeveranciers->setUniformRowHeights(true);
    lvLeveranciers->setHeaderLabels({QStringLiteral("Zuzedavezive")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvLeveranciers);

    connect(&m_model, &StapSelectLeverancier::RijenGewijzigd, this, &usrStapSelectLeverancier::VulLijst);
    connect(lvLeveranciers, &QTreeWidget::itemChanged, this, &usrStapSelectLeverancier::VinkGewijzigd);
    connect(lvLeveranciers, &QTreeWidget::itemDoubleClicked, this, [this] { m_model.DubbelKlik(); });
}

usrStapSelectLeverancier::~usrStapSelectLeverancier() = default;

void usrStapSelectLeverancier::VulLijst()
{
    const QScopedValueRollback vult(m_vult, true);
    lvLeveranciers->clear();
    for (const StapSelectLeverancier::Rij& rij : m_model.Rijen()) {
        auto* item = new QTreeWidgetItem(lvLeveranciers, QStringList{rij.tekst});
        item->setData(0, Qt::UserRole, rij.sleutel);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, rij.aangevinkt ? Qt::Checked : Qt::Unchecked);
    }
}

void usrStapSelectLeverancier::VinkGewijzigd(QTreeWidgetItem* rij, int kolom)
{
    if (m_vult || kolom != 0)
        return;
    m_model.ZetAangevinkt(lvLeveranciers->indexOfTopLevelItem(rij), rij->checkState(0) == Qt::Checked);
}

void usrStapSelectLeverancier::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    lvLeveranciers->setColumnWidth(0, lvLeveranciers->viewport()->width());
}

} // namespace supplink
