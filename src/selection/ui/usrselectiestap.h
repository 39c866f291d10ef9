#pragma once
// The window of a selection step: a frame (Frame2) holding a splitter
// (Splitter1) with the list with group selector (usrListView, a
// usrListViewCombo) in one pane and the information panel
// (usrInformatieLinks) in the other. Thin over the step's SelectieSjabloon:
// the splitter stands where the template says and tells it where the user
// puts it. A step's view derives from it, owns its model and links the two
// once the model is made:
//
//     class usrStapSelectAlgemeen : public usrSelectieStap
//     {
//     public:
//         explicit usrStapSelectAlgemeen(QWidget* parent) : usrSelectieStap(parent)
//         { Koppel(m_model.sjabloon()); }
//         StapSelectAlgemeen& stap() { return m_model; }
//     private:
//         StapSelectAlgemeen m_model;
//     };

#include <QWidget>

class QFrame;
class QSplitter;

namespace supplink {

class SelectieSjabloon;
class usrInformatieLinks;
class usrListViewCombo;

class usrSelectieStap : public QWidget
{
    Q_OBJECT
public:
    explicit usrSelectieStap(QWidget* parent = nullptr);

    QFrame* Frame2 = nullptr;
    QSplitter* Splitter1 = nullptr;
    usrListViewCombo* lijst = nullptr;         // usrListView
    usrInformatieLinks* informatie = nullptr;  // usrInformatieLinks

protected:
    // Builds the list and the panel over the step's template (once).
    void Koppel(SelectieSjabloon& sjabloon);
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ZetSplitter(int twips);
    void PasSplitterToe();

    SelectieSjabloon* m_sjabloon = nullptr;
    int m_gewenst = -1; // a position (twips) to apply once the splitter has its size
};

} // namespace supplink
