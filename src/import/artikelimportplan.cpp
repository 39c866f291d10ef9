#include "import/artikelimportplan.h"

#include "platform/fieldtypes.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

#include <algorithm>

namespace supplink {

QVariant MaalTien(const QString& tekst, int veldType)
{
    const std::optional<double> getal = LeesGetal(tekst, 1);
    if (!getal)
        throw AppError(13, QStringLiteral("Geen getal: '") + tekst + QStringLiteral("'"));
    if (veldType == adType::Single || veldType == adType::Double || veldType == adType::Currency ||
        veldType == adType::Numeric)
        return *getal;
    const std::optional<qint32> geheel = AfrondenLong(*getal);
    if (!geheel)
        throw AppError(6, QStringLiteral("Overloop: '") + tekst + QStringLiteral("'"));
    return *geheel;
}

ArtikelImportPlan::ArtikelImportPlan(const ScriptBlok& plan)
{
    // A copy of every line: the caller's lines may change while the run reads these.
    m_regels.reserve(plan.size());
    for (const ScriptRegelPtr& regel : plan)
        m_regels << (regel ? std::make_shared<clsScriptRegel>(*regel) : nullptr);

    for (int i = 0; i < kForeignKeys; ++i)
        m_foreignKeys[i] = ZoekScriptRegel(m_regels, QStringLiteral("FOREIGNKEY") + QChar(u'A' + i));
    m_uniekeRegelSleutel = ZoekScriptRegel(m_regels, QStringLiteral("FOREIGNKEY"));
    const ScriptRegelPtr uniek = ZoekScriptRegel(m_regels, QStringLiteral("UNIEKEREGEL"));
    m_uniekeRegel = uniek && HeeftJa(*uniek, 1);
    m_tabel = EersteArgument(m_regels, QStringLiteral("TABEL"));
    m_uiSelecteren = ZoekScriptRegel(m_regels, QStringLiteral("UISELECTEREN"));

    for (const ScriptRegelPtr& regel : std::as_const(m_regels)) {
        if (!regel)
            continue;
        if (regel->Opdracht == QLatin1String("ID"))
            m_idRegels << regel;
        else if (regel->Opdracht == QLatin1String("VELDKOPIE"))
            m_veldKopieen << regel;
        if (regel->Opdracht != QLatin1String("VELD"))
            continue;
        PlanVeld veld;
        veld.regel = regel;
        veld.doel = ArgumentOfLeeg(*regel, 2);
        veld.importeren = HeeftJa(*regel, 1);
        veld.verplicht = HeeftJa(*regel, 4);
        veld.sleutel = HeeftJa(*regel, 5);
        veld.bijwerken = HeeftJa(*regel, 6);
        veld.geenPrijs = ArgumentOfLeeg(*regel, 6) == QLatin1String("Nee");
        veld.maalTien = HeeftJa(*regel, 7);
        veld.verwijzing = HeeftJa(*regel, 8);
        veld.numeriek = ArgumentOfLeeg(*regel, 3) == QLatin1String("Numeriek");
        veld.datum = ArgumentOfLeeg(*regel, 3) == QLatin1String("Datum");
        veld.decimaalTeken = ArgumentOfLeeg(*regel, 9);
        veld.sleutelVeld = ArgumentOfLeeg(*regel, 10);
        for (int i = 0; i < kForeignKeys && veld.foreignKey < 0; ++i) {
            const ScriptRegelPtr& fk = m_foreignKeys[i];
            if (fk && ArgumentOfLeeg(*fk, 4) == veld.doel)
                veld.foreignKey = i;
        }
        for (const QString& deel : veld.doel.split(QLatin1Char('|'))) {
            const bool toevoegen = deel.startsWith(QLatin1Char('+'));
            veld.delen.append({toevoegen ? deel.mid(1) : deel, toevoegen});
        }
        m_velden.append(veld);
    }
}

const PlanVeld* ArtikelImportPlan::Verwijzing() const
{
    const auto gevonden =
        std::find_if(m_velden.begin(), m_velden.end(), [](const PlanVeld& veld) { return veld.verwijzing; });
    return gevonden == m_velden.end() ? nullptr : &*gevonden;
}

} // namespace supplink
