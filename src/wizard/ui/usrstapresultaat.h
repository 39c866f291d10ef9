#pragma once
// The view of step 18, the result: the log shown in a read-only text box, the
// button that switches between the overview and the detailed log, and the
// button that saves the detailed log; thin over the window-free result step
// (wizard/stapresultaat.h).

#include "wizard/stapresultaat.h"

#include <QWidget>

class QFrame;
class QPlainTextEdit;
class QPushButton;

namespace supplink {

class usrStapResultaat : public QWidget
{
    Q_OBJECT
public:
    explicit usrStapResultaat(QWidget* parent);
    ~usrStapResultaat() override;

    StapResultaat& stap() { return m_model; }

    QFrame* Frame2 = nullptr;
    QPlainTextEdit* rt = nullptr;
    QPushButton* cmdDetails = nullptr;
    QPushButton* cmdSaveLog = nullptr;

private:
    void Toon();

    StapResultaat m_model;
    QString m_getoond; // the text rt was given last
};

} // namespace supplink
