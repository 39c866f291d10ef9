#pragma once
// The view of the supplier list step: one list "Zuzedavezive" with a tick per
// supplier of a product-table database, as wide as the control. A thin view
// over StapSelectLeverancier (wizard/stapselectleverancier.h), which reads
// the suppliers and hands back the ticked ones; no step of the wizard shows it.

#include "wizard/stapselectleverancier.h"

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace supplink {

class usrStapSelectLeverancier : public QWidget
{
    Q_OBJECT
public:
    explicit usrStapSelectLeverancier(QWidget* parent);
    ~usrStapSelectLeverancier() override;

    StapSelectLeverancier& stap() { return m_model; }

    QTreeWidget* lvLeveranciers = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void VulLijst();
    void VinkGewijzigd(QTreeWidgetItem* rij, int kolom);

    StapSelectLeverancier m_model;
    bool m_vult = false;
};

} // namespace supplink
