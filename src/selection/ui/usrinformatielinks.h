#pragma once
// The information panel beside the list of a selection step: the description
// (rtOms) above, and below it either the supplier's documentation links
// (lvLinks, name in bold blue and target, with the button "Open"; a double
// click opens too, Ctrl+C copies the chosen link's target) or, in the
// groove-figure step, the profile preview. A thin window over
// InformatiePaneel.

#include <QWidget>

class QFrame;
class QPushButton;
class QSplitter;
class QTextEdit;
class QTreeWidget;

namespace supplink {

class InformatiePaneel;
class usrProfilePreview;

class usrInformatieLinks : public QWidget
{
    Q_OBJECT
public:
    // The model is not owned and must outlive the window.
    explicit usrInformatieLinks(InformatiePaneel& paneel, QWidget* parent = nullptr);

    InformatiePaneel& model() { return m_paneel; }

    QSplitter* Splitter1 = nullptr;
    QFrame* fraOmschrijving = nullptr;
    QTextEdit* rtOms = nullptr;
    QFrame* fraLinks = nullptr;
    QTreeWidget* lvLinks = nullptr;
    QPushButton* cmdOpen = nullptr;
    QFrame* fraPreview = nullptr;
    usrProfilePreview* Preview = nullptr;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void ToonLinks();
    void ToonKeuze();
    void ToonPreviewVorm();
    void ToonProfiel();

    InformatiePaneel& m_paneel;
    bool m_toonLinks = false;
};

} // namespace supplink
