#include "wizard/transfertoestand.h"

#include <QElapsedTimer>
#include <cmath>
#include <limits>

namespace supplink {

namespace {

qint64 monotoneMilliseconden()
{
    static QElapsedTimer sinds = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return sinds.elapsed();
}

} // namespace

TransferToestand::TransferToestand() : m_rijen(BeginRijen()), m_klok(monotoneMilliseconden) {}

QList<StatusRij> TransferToestand::BeginRijen()
{
    return {
        {QStringLiteral("bron"), QStringLiteral("Bron bestand:"), {}},
        {QStringLiteral("doel"), QStringLiteral("Doel bestand:"), {}},
        {QStringLiteral("artupdateprijs"), QStringLiteral("Prijzen aanpassen:"), {}},
        {QStringLiteral("artimportnieuw"), QStringLiteral("Artikelen toevoegen:"), {}},
        {QStringLiteral("taboverschrijf"), QStringLiteral("Tabellen overschrijven:"), {}},
        {QStringLiteral("sponimport"), QStringLiteral("Sponningfiguren toevoegen:"), {}},
        {QStringLiteral("bibimport"), QStringLiteral("Bibliotheek importeren:"), {}},
        {QStringLiteral("bezigmet"), QStringLiteral("Bezig met:"), {}},
        {QStringLiteral("huidigeactie"), QStringLiteral("Huidige actie:"), {}},
        {QStringLiteral("artikelomschrijving"), QStringLiteral("Omschrijving:"), {}},
        {QStringLiteral("nieuw"), QStringLiteral("Nieuwe onderdelen:"), {}},
        {QStringLiteral("bestaand"), QStringLiteral("Bestaande onderdelen:"), {}},
        {QStringLiteral("fout"), QStringLiteral("Fouten:"), {}},
    };
}

void TransferToestand::Herstel()
{
    m_rijen = BeginRijen();
    m_rijenbalk = {};
    m_bronbalk = {};
    m_resterend.clear();
    m_startTijd = m_klok();
    emit RijenGewijzigd();
    emit VoortgangGewijzigd();
    ZetAnnulerenZichtbaar(false);
}

int TransferToestand::index(const QString& sleutel) const
{
    for (int i = 0; i < m_rijen.size(); ++i) {
        if (m_rijen.at(i).sleutel == sleutel)
            return i;
    }
    return -1;
}

QString TransferToestand::Waarde(const QString& sleutel) const
{
    const int i = index(sleutel);
    return i < 0 ? QString() : m_rijen.at(i).waarde;
}

QString TransferToestand::Tekst(const QString& sleutel) const
{
    const int i = index(sleutel);
    return i < 0 ? QString() : m_rijen.at(i).tekst;
}

void TransferToestand::Zet(const QString& sleutel, const QString& waarde)
{
    const int i = index(sleutel);
    if (i < 0 || m_rijen.at(i).waarde == waarde)
        return;
    m_rijen[i].waarde = waarde;
    emit RijGewijzigd(i);
}

void TransferToestand::Verwijder(const QString& sleutel)
{
    const int i = index(sleutel);
    if (i < 0)
        return;
    m_rijen.removeAt(i);
    emit RijenGewijzigd();
}

void TransferToestand::ZetTotaal(qint64 totaal)
{
    if (totaal >= 1)
        m_rijenbalk.maximum = int(qMin<qint64>(totaal, std::numeric_limits<int>::max()));
    m_rijenbalk.waarde = qMin(m_rijenbalk.waarde, m_rijenbalk.maximum);
    m_startTijd = m_klok();
    emit VoortgangGewijzigd();
}

bool TransferToestand::ZetHuidig(qint64 huidig)
{
    if (huidig < 0 || huidig > m_rijenbalk.maximum)
        return false;
    m_rijenbalk.waarde = int(huidig);
    if (huidig > 0) {
        const double p = double(huidig) / double(m_rijenbalk.maximum);
        const double verstreken = double(m_klok() - m_startTijd) / 1000.0;
        const qint64 resterend = qRound64(verstreken * (1.0 - p) / p);
        m_resterend = QStringLiteral("Resterende tijd :") + QString::number(resterend) + QStringLiteral(" seconden");
    }
    emit VoortgangGewijzigd();
    return true;
}

void TransferToestand::InitBronnen(int aantal)
{
    m_bronbalk.maximum = qMax(0, aantal);
    m_bronbalk.waarde = 0;
    emit VoortgangGewijzigd();
}

void TransferToestand::VolgendeBron()
{
    m_bronbalk.waarde = qMin(m_bronbalk.waarde + 1, m_bronbalk.maximum);
    emit VoortgangGewijzigd();
}

void TransferToestand::ZetAnnulerenZichtbaar(bool zichtbaar)
{
    if (m_annuleren == zichtbaar)
        return;
    m_annuleren = zichtbaar;
    emit AnnulerenGewijzigd(zichtbaar);
}

void TransferToestand::ZetKlok(Klok klok)
{
    m_klok = klok ? std::move(klok) : Klok(monotoneMilliseconden);
}

} // namespace supplink
