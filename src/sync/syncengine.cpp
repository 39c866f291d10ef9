#include "sync/syncengine.h"

#include "database/clsconnectie.h"

namespace supplink {

void SyncEngine::RaiseVoortgang(const QString& actie, const QString& omschrijving)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, omschrijving);
}

void SyncEngine::RaiseFoutOpgetreden(qint32 aantal)
{
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(aantal);
}

void SyncEngine::RaiseHuidigeHoofdActie(const QString& actie)
{
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActie(actie);
}

void SyncEngine::RaiseHuidigeHoofdActieDone()
{
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActieDone();
}

void SyncEngine::RaiseVoortgangTotaal(qint32 totaal)
{
    if (m_ontvanger)
        m_ontvanger->VoortgangTotaal(totaal);
}

} // namespace supplink
