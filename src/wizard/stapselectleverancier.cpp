#include "wizard/stapselectleverancier.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

#include <algorithm>

namespace supplink {

void StapSelectLeverancier::Init(const QString& pad)
{
    m_pad = pad;
    m_rijen.clear();
    if (!pad.isEmpty()) {
        clsConnectie cn;
        if (cn.MakenJetConnectie(pad)) {
            try {
                const RecordsetPtr rs = cn.Connection()->openRecordset(
                    QStringLiteral("SELECT ID, Description FROM Supplier ORDER BY Description"));
                for (; !rs->eof(); rs->moveNext())
                    m_rijen.append({QStringLiteral("L") + NzString(rs->value(QStringLiteral("ID"))),
                                    NzString(rs->value(QStringLiteral("Description"))), false});
            } catch (const std::exception& e) {
                ShowError(QStringLiteral("usrStapSelectLeverancier.Init"), e);
            }
            cn.SluitenConnectie();
        }
    }
    emit RijenGewijzigd();
    emit KanVerder(IetsAangevinkt());
}

void StapSelectLeverancier::ZetAangevinkt(int rij, bool aangevinkt)
{
    if (rij < 0 || rij >= m_rijen.size())
        return;
    m_rijen[rij].aangevinkt = aangevinkt;
    emit KanVerder(IetsAangevinkt());
}

QStringList StapSelectLeverancier::GetSelected() const
{
    QStringList ids;
    for (const Rij& rij : m_rijen) {
        if (rij.aangevinkt)
            ids << rij.sleutel.mid(1);
    }
    return ids;
}

bool StapSelectLeverancier::IetsAangevinkt() const
{
    return std::any_of(m_rijen.begin(), m_rijen.end(), [](const Rij& rij) { return rij.aangevinkt; });
}

} // namespace supplink
