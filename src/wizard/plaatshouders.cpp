#include "wizard/plaatshouders.h"

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

} // namespace supplink
