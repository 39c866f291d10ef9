#pragma once
// The list with group selector of every selection step: the drop-down list of
// groups (cbGroups) and the counts text (txtInfo) side by side in a splitter
// above the checkable list (usrListView). A thin window over GroepenLijst:
// picking an entry is passed on (GroupChange), the entries and the text are
// shown as the model holds them.

#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QSplitter;

namespace supplink {

class GroepenLijst;
class usrListView;

class usrListViewCombo : public QWidget
{
    Q_OBJECT
public:
    // The model is not owned and must outlive the window.
    explicit usrListViewCombo(GroepenLijst& model, QWidget* parent = nullptr);

    GroepenLijst& model() { return m_lijst; }

    QSplitter* Splitter1 = nullptr;
    QComboBox* cbGroups = nullptr;
    QPlainTextEdit* txtInfo = nullptr;
    usrListView* lijst = nullptr; // the inner list (usrListView)

private:
    void ToonGroepen();

    GroepenLijst& m_lijst;
};

} // namespace supplink
