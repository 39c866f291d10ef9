#include "wizard/lijstkolommen.h"

#include "start/registryfuncties.h"

namespace supplink {

namespace {

const QString kKolommen = QStringLiteral("Columns");
// Twips the list keeps free beside its columns.
constexpr int kLijstRand = 60;

} // namespace

LijstKolommen::LijstKolommen(QString lijst, QList<int> procenten)
    : m_lijst(std::move(lijst)), m_procenten(std::move(procenten))
{
}

QString LijstKolommen::waardeNaam(int kolom) const
{
    return m_lijst + QString::number(kolom + 1) + QStringLiteral("width");
}

void LijstKolommen::Laden()
{
    m_breedtes.clear();
    for (int kolom = 0; kolom < m_procenten.size(); ++kolom) {
        // A stored value that is no width counts as not stored.
        bool ok = false;
        const int bewaard = CurrentUser_HaalOp(kKolommen, waardeNaam(kolom), QString()).trimmed().toInt(&ok);
        m_breedtes << (ok && bewaard >= 0 ? bewaard : -1);
    }
    ZetLijstBreedte(m_lijstBreedte);
}

void LijstKolommen::ZetLijstBreedte(int twips)
{
    m_lijstBreedte = twips;
    if (twips <= 0)
        return;
    const int breedte = qMax(0, twips - kLijstRand);
    for (int kolom = 0; kolom < m_breedtes.size(); ++kolom) {
        if (m_breedtes.at(kolom) < 0)
            m_breedtes[kolom] = breedte * m_procenten.at(kolom) / 100;
    }
}

void LijstKolommen::ZetBreedte(int kolom, int twips)
{
    if (kolom >= 0 && kolom < m_breedtes.size() && twips >= 0)
        m_breedtes[kolom] = twips;
}

void LijstKolommen::Bewaren() const
{
    for (int kolom = 0; kolom < m_breedtes.size(); ++kolom) {
        if (m_breedtes.at(kolom) >= 0)
            CurrentUser_BrengWeg(kKolommen, waardeNaam(kolom), QString::number(m_breedtes.at(kolom)));
    }
}

} // namespace supplink
