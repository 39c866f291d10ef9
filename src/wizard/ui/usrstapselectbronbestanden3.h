#pragma once
// The view of step 2, the source files (model: StapSelectBronBestanden): the
// list of source files with check boxes and the columns "Bestand", "Folder"
// and "Type", and below it, right-aligned, "&Eigenschappen", "&Import
// Definitie" and "&Toevoegen". It shows the model's rows after every change
// and passes the user's clicks, checks, selection, Delete key and column
// widths on. It also opens the windows the model asks for: the type-selection
// dialogs, the column-mapping dialog and the report of a source's facts, each
// shown modally through ToonModaal (tests fill them in or close them there).

#include "wizard/stapselectbronbestanden.h"

#include <QWidget>

class QGroupBox;
class QPushButton;
class QTreeWidget;

namespace supplink {

class usrStapSelectBronBestanden3 : public QWidget, private BronVensters
{
    Q_OBJECT
public:
    explicit usrStapSelectBronBestanden3(QWidget* parent);
    ~usrStapSelectBronBestanden3() override;

    StapSelectBronBestanden& stap() { return m_model; }

    QGroupBox* Frame2 = nullptr;
    QTreeWidget* lvBestanden = nullptr;
    QPushButton* cmdBlader = nullptr;
    QPushButton* cmdSetup = nullptr;
    QPushButton* cmdProperties = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ToonKolomWizard(clsBron2& bron) override;
    bool ToonTypeWizard(TypeSelectieSoort soort, clsBron2& bron, bool tonen) override;
    void ToonRapport(const QString& titel, const QStringList& regels) override;

    void ToonLijst();
    void ToonKolommen();
    void SelectieGewijzigd();

    StapSelectBronBestanden m_model;
    bool m_bezig = false; // the view itself is changing the list
};

} // namespace supplink
