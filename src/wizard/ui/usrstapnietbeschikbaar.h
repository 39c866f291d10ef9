#pragma once
// The view of a step that is not built yet: it says so, and nothing else. It
// owns its placeholder model (wizard/plaatshouders.h), which lets the user go
// on without choosing or changing anything.

#include "wizard/stap.h"

#include <QWidget>
#include <memory>

class QLabel;

namespace supplink {

class usrStapNietBeschikbaar : public QWidget
{
    Q_OBJECT
public:
    usrStapNietBeschikbaar(QWidget* parent, std::unique_ptr<Stap> model);
    ~usrStapNietBeschikbaar() override;

    Stap& stap() { return *m_model; }

    QLabel* Label1 = nullptr;

private:
    std::unique_ptr<Stap> m_model;
};

} // namespace supplink
