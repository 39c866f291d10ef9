#pragma once
// The checkable list control of the selection steps: a sortable list with a
// check box per row (lv), the buttons "&Alles Selecteren", "&Niets
// Selecteren" and "&Selectie Omdraaien", and the popup "Selectie" with the
// same three entries on a right click. A thin window over SelectieLijst,
// which holds the rows, the ticks, the sort and the column widths: the window
// shows the model and passes clicks, ticks, double clicks, header clicks and
// column widths on. While the user has no width of their own for the code
// column, the window makes it wide enough for the longest code of the list
// (never narrower than its default); while the user has none for the
// description column, it takes the room the other columns leave in the list
// (never narrower than its default either).

#include <QWidget>

class QAction;
class QMenu;
class QPushButton;
class QTreeView;

namespace supplink {

class SelectieLijst;

class usrListView : public QWidget
{
    Q_OBJECT
public:
    // The model is not owned and must outlive the window.
    explicit usrListView(SelectieLijst& lijst, QWidget* parent = nullptr);

    SelectieLijst& model() { return m_lijst; }

    QTreeView* lv = nullptr;
    QPushButton* cmdSelAlles = nullptr;
    QPushButton* cmdSelNiets = nullptr;
    QPushButton* cmdSelOmdraaien = nullptr;
    QMenu* popupSel = nullptr;
    QAction* popupSelAlles = nullptr;
    QAction* popupSelNiets = nullptr;
    QAction* popupSelOmdraaien = nullptr;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Applies the model's columns: widths and the sort indicator.
    void ToonKolommen();
    // Widens the code column to the widest code of the rows van..tot, unless its width is the user's.
    void PasCodeKolomAan(int van, int tot);
    // Widens the description column to the room left beside the other columns, unless its width is the
    // user's.
    void PasOmschrijvingAan();
    void ToonHuidigeRij(int rij);
    // A batch with the busy pointer.
    template <class Actie>
    void Batch(Actie actie);

    SelectieLijst& m_lijst;
    bool m_toonKolommen = false;
    bool m_toonHuidig = false;
    bool m_reset = false;
    bool m_muis = false; // a mouse button is down over the rows: the click reports the row
};

} // namespace supplink
