#include "selection/groepenlijst.h"

namespace supplink {

namespace {

struct VasteGroep
{
    qint32 nummer;
    const char* omschrijving;
    const char* voorvoegsel; // of the counts text; none for "(Los geselecteerd)"
};

constexpr VasteGroep kVasteGroepen[] = {
    {Groep::Alle, "(Alle)", "Alle ("},
    {Groep::Verplicht, "(Verplicht)", "Verplicht ("},
    {Groep::Optioneel, "(Optioneel)", "Optioneel ("},
    {Groep::Nieuw, "(Nieuw)", "Nieuw ("},
    {Groep::Bestaand, "(Bestaand)", "Bestaand ("},
    {Groep::Ongewenst, "(Ongewenst)", "Ongewenst ("},
    {Groep::LosGeselecteerd, "(Los geselecteerd)", nullptr},
};

} // namespace

GroepenLijst::GroepenLijst(QObject* parent) : QObject(parent)
{
    connect(&m_lijst, &SelectieLijst::ItemClick, this, &GroepenLijst::ItemClick);
    connect(&m_lijst, &SelectieLijst::ItemCheck, this, &GroepenLijst::ItemCheck);
    connect(&m_lijst, &SelectieLijst::BatchUpdateDone, this, &GroepenLijst::BatchUpdateDone);
}

void GroepenLijst::Init(const QString& strCode, bool bExtraCols)
{
    m_groepen.clear();
    m_gekozen = -1;
    emit GroepenGewijzigd();
    m_lijst.Init(strCode, bExtraCols);
}

void GroepenLijst::AddGroup(qint32 lKey, const QString& code, const QString& strOmschrijving)
{
    Q_UNUSED(code);
    m_groepen.append({strOmschrijving, lKey});
    emit GroepenGewijzigd();
}

void GroepenLijst::AddGroups()
{
    m_lijst.ClearList();
    for (const VasteGroep& groep : kVasteGroepen)
        m_groepen.append({QString::fromUtf8(groep.omschrijving), groep.nummer});
    m_gekozen = 0;
    emit GroepenGewijzigd();
}

bool GroepenLijst::InVasteGroep(const clsItem& item, qint32 groep)
{
    switch (groep) {
    case Groep::Alle:
        return true;
    case Groep::Verplicht:
        return item.Required;
    case Groep::Optioneel:
        return !item.Required;
    case Groep::Nieuw:
        return item.IsNew();
    case Groep::Bestaand:
        return item.Existing;
    case Groep::Ongewenst:
        return item.Unwanted();
    case Groep::LosGeselecteerd:
        return item.Selected && !item.Required;
    default:
        return false;
    }
}

void GroepenLijst::ToevoegenOnderdelen(const ItemCollection& items, qint32 fkGroup)
{
    const QString omschrijving = m_gekozen >= 0 ? m_groepen.at(m_gekozen).Omschrijving : QString();
    const bool vast = fkGroup >= Groep::LosGeselecteerd && fkGroup <= Groep::Alle;
    {
        SelectieLijst::Vulling vulling(m_lijst);
        m_lijst.ClearList();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const clsItem* item = items.at(i).get();
            if (!item)
                continue;
            if (item->GroepOmschrijving == omschrijving || (fkGroup != 0 && item->Groep == fkGroup) ||
                (vast && InVasteGroep(*item, fkGroup)))
                m_lijst.AddItem(*item, qint32(i + 1));
        }
    }
    // Items that joined the row of an earlier item with their code follow that row's tick.
    for (int rij = 0; rij < m_lijst.RijAantal(); ++rij) {
        const LijstRij& r = m_lijst.Rij(rij);
        for (const qint32 tag : r.ZelfdeCode) {
            if (tag >= 1 && tag <= items.size() && items.at(tag - 1))
                items.at(tag - 1)->Selected = r.Aangevinkt;
        }
    }
    VernieuwInfo();
}

void GroepenLijst::KiesGroep(int index)
{
    if (index < 0 || index >= m_groepen.size())
        return;
    m_gekozen = index;
    emit GroupChange(m_groepen.at(index).Nummer);
    VernieuwInfo();
}

void GroepenLijst::VernieuwInfo()
{
    QString tekst;
    if (m_gekozen >= 0) {
        const qint32 nummer = m_groepen.at(m_gekozen).Nummer;
        const char* voorvoegsel = "In groep (";
        for (const VasteGroep& groep : kVasteGroepen) {
            if (groep.nummer == nummer)
                voorvoegsel = groep.voorvoegsel;
        }
        if (voorvoegsel)
            tekst = QString::fromUtf8(voorvoegsel) + QString::number(m_lijst.RijAantal()).trimmed() +
                    QStringLiteral(") - ");
    }
    m_info = tekst;
    emit InfoTekstGewijzigd(m_info);
}

} // namespace supplink
