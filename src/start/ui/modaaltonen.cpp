#include "start/ui/modaaltonen.h"

#include <QDialog>

namespace supplink {

namespace {

ModaalTonenFunctie& installed()
{
    static ModaalTonenFunctie functie;
    return functie;
}

} // namespace

void ToonModaal(QDialog& dialog)
{
    if (installed()) {
        installed()(dialog);
        return;
    }
    dialog.exec();
}

void setModaalTonen(ModaalTonenFunctie functie)
{
    installed() = std::move(functie);
}

} // namespace supplink
