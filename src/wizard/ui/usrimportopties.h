#pragma once
// The view of step 4, the import options (model: StapImportOpties): eight
// check boxes and the three option buttons of the article mode in four
// frames (product table, options database, work preparation, library). It
// shows the model's state after every change and passes the user's clicks
// on; the model decides what may be ticked and which buttons are enabled.

#include "wizard/stapimportopties.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace supplink {

class usrImportOpties : public QWidget
{
    Q_OBJECT
public:
    explicit usrImportOpties(QWidget* parent);
    ~usrImportOpties() override;

    StapImportOpties& stap() { return m_model; }

    // The controls by the model's numbering (chkImportArtikelen ... chkImportLibHangSluitKeuzes,
    // optAlleenPrijzen, optAlleenNieuweArtikelen, optArtBeide) and the four frames.
    QCheckBox* vak(StapImportOpties::Vak vak) const { return m_vakken.at(vak); }
    QRadioButton* optie(StapImportOpties::Optie optie) const { return m_opties.at(optie); }
    QGroupBox* kader(StapImportOpties::Kader kader) const { return m_kaders.at(kader); }

private:
    void Toon();

    StapImportOpties m_model;
    std::array<QCheckBox*, StapImportOpties::AantalVakken> m_vakken{};
    std::array<QRadioButton*, StapImportOpties::AantalOpties> m_opties{};
    std::array<QGroupBox*, StapImportOpties::AantalKaders> m_kaders{};
    bool m_bezig = false; // the view itself is changing the controls
};

} // namespace supplink
