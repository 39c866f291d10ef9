#pragma once
// The view of step 3, the target files (model: StapSelectDoelBestanden): the
// list of needed targets (columns "Soort" and "Bestand") above, split from
// the history of the selected target ("Historie") and the text of the
// selected run beside it; below, right-aligned, "&Verbinden" and "&Bladeren".
// It shows the model's state after every change and passes clicks,
// double-clicks, the Delete key in the history, column widths and splitter
// moves on. The SQL Server connection dialog it opens for the model is shown
// modally through ToonModaal.

#include "wizard/stapselectdoelbestanden.h"

#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;

namespace supplink {

class usrStapSelectDoelBestanden : public QWidget, private DoelVensters
{
    Q_OBJECT
public:
    explicit usrStapSelectDoelBestanden(QWidget* parent);
    ~usrStapSelectDoelBestanden() override;

    StapSelectDoelBestanden& stap() { return m_model; }

    QGroupBox* Frame2 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QTreeWidget* lv = nullptr;
    QTreeWidget* lvHistory = nullptr;
    QPlainTextEdit* rtOms = nullptr;
    QPushButton* cmdBlader = nullptr;
    QPushButton* cmdVerbind = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QString> ToonSqlServerDialoog(const QString& sqlAuthenticatie) override;

    void Toon();
    void ToonKolommen();
    void ToonSplitters();
    void ToonSplitter(QSplitter* splitter);
    void ZetHistorieKolom();

    StapSelectDoelBestanden m_model;
    bool m_bezig = false; // the view itself is changing its controls
};

} // namespace supplink
