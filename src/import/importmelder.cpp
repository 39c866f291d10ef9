#include "import/importmelder.h"

namespace supplink {

void ImportMelder::Voortgang(const QString& actie, const QString& omschrijving) const
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, omschrijving);
}

void ImportMelder::Regel(const QString& actie, const ArtikelRegel& regel) const
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, RegelOmschrijving(regel));
}

void ImportMelder::HoofdActie(const QString& actie) const
{
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActie(actie);
}

void ImportMelder::HoofdActieDone() const
{
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActieDone();
}

void ImportMelder::Totaal(qint32 totaal) const
{
    if (m_ontvanger)
        m_ontvanger->VoortgangTotaal(totaal);
}

void ImportMelder::Huidig(qint32 huidig) const
{
    if (m_ontvanger)
        m_ontvanger->VoortgangHuidig(huidig);
}

void ImportMelder::MeldFout(const QString& melding, const QString& detail)
{
    Voortgang(melding, detail);
    TelFout();
}

void ImportMelder::TelNieuw()
{
    ++m_nieuw;
    if (m_ontvanger)
        m_ontvanger->NieuwOnderdeel(m_nieuw);
}

void ImportMelder::TelBestaand()
{
    ++m_bestaand;
    if (m_ontvanger)
        m_ontvanger->BestaandOnderdeel(m_bestaand);
}

void ImportMelder::TelFout()
{
    ++m_fouten;
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(m_fouten);
}

QString ImportMelder::RegelOmschrijving(const ArtikelRegel& regel)
{
    static const QString scheiding = QStringLiteral(" ; ");
    qsizetype lengte = 0;
    for (const auto& kolom : regel)
        lengte += kolom.size() + scheiding.size();
    QString tekst;
    tekst.reserve(lengte);
    for (const auto& kolom : regel) {
        tekst += kolom;
        tekst += scheiding;
    }
    return tekst;
}

} // namespace supplink
