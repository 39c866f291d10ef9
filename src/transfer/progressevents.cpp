#include "transfer/progressevents.h"

namespace supplink {

void VoortgangDoorgever::Voortgang(const QString& actie, const QString& omschrijving)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, omschrijving);
}

void VoortgangDoorgever::NieuwOnderdeel(qint32& aantal)
{
    if (m_ontvanger)
        m_ontvanger->NieuwOnderdeel(aantal);
}

void VoortgangDoorgever::BestaandOnderdeel(qint32& aantal)
{
    if (m_ontvanger)
        m_ontvanger->BestaandOnderdeel(aantal);
}

void VoortgangDoorgever::FoutOpgetreden(qint32& aantal)
{
    if (BijFout)
        BijFout();
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(aantal);
}

void VoortgangDoorgever::VoortgangPlus1()
{
    if (!RijenTellen)
        return;
    ++m_rijTeller;
    if (m_ontvanger)
        m_ontvanger->VoortgangHuidig(m_rijTeller);
}

} // namespace supplink
