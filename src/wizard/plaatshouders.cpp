#include "wizard/plaatshouders.h"

#include "platform/uiservices.h"
#include "start/globals.h"

namespace supplink {

QString NietBeschikbaarTekst()
{
    return QStringLiteral("Deze stap is nog niet beschikbaar.");
}

void StapNietBeschikbaar::Init()
{
    emit KanVerder(true);
}

void AlgemeneStapNietBeschikbaar::Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32, const QString&,
                                        qint32, const QString&)
{
    m_alle = vCol;
    m_geselecteerd = vColGeselecteerd;
    emit KanVerder(true);
}

void AlgemeneStapNietBeschikbaar::Clear()
{
    m_alle.clear();
    m_geselecteerd.clear();
}

void TransferNietBeschikbaar::StartTransfer()
{
    ui().messageBox(QStringLiteral("Het overzetten van gegevens is in deze versie nog niet beschikbaar.\r\n"
                                   "Er zijn geen wijzigingen aangebracht in uw bestanden!"),
                    MsgBox::OkOnly | MsgBox::Information, QString::fromUtf8(kProgramTitle));
    emit KanVerder(true);
}

} // namespace supplink
