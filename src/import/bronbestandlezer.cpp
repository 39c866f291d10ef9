#include "import/bronbestandlezer.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace supplink {

BronBestandLezer::BronBestandLezer(Beleid& beleid, Regels regels, RunContextPtr run)
    : m_beleid(beleid), m_regels(regels), m_run(run ? std::move(run) : std::make_shared<RunContext>())
{
}

BronBestandLezer::Uitkomst BronBestandLezer::lees(const QString& path, bool zoeken,
                                                  const std::function<Uitkomst()>& rijen)
{
    m_beleid.Begin(path);
    if (zoeken && (path.isEmpty() || !QFileInfo(path).isFile())) {
        m_beleid.NietGevonden(path);
        return Uitkomst::Afgebroken;
    }
    m_regelNummer = 0;
    try {
        return rijen();
    } catch (const std::exception& e) {
        m_beleid.LeesFout(e);
        return Uitkomst::Afgebroken;
    }
}

BronBestandLezer::Uitkomst BronBestandLezer::LeesCSV(const QString& path)
{
    const auto vergeetRegel = qScopeGuard([this] { m_huidigeRegel = QStringView(); });
    return lees(path, true, [&]() {
        const std::optional<QString> tekst = LeesTekstBestand(path);
        if (!tekst)
            throw AppError(ErrorNumber::General,
                           QStringLiteral("Het bestand '%1' kan niet worden gelezen.").arg(path));
        if (tekst->isEmpty())
            return Uitkomst::Leeg;

        RegelLezer lezer(*tekst);
        QStringView regel;
        while (lezer.volgende(regel)) {
            if (m_run->cancelled())
                return Uitkomst::Afgebroken;
            ++m_regelNummer;
            m_huidigeRegel = regel;
            // A first line of column titles is passed over.
            if (m_regelNummer == 1 && m_regels.eersteRijOverslaan)
                continue;
            if (regel.trimmed().isEmpty())
                continue;
            bool ok = true;
            QString fout;
            const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, fout);
            if (!ok || !velden) {
                if (m_beleid.SplitsFout(regel, fout))
                    return Uitkomst::Afgebroken;
                continue;
            }
            if (!m_beleid.Rij(*velden))
                return Uitkomst::Afgebroken;
            m_run->yield();
        }
        return Uitkomst::Voltooid;
    });
}

BronBestandLezer::Uitkomst BronBestandLezer::LeesExcel(const QString& path, const QString& blad)
{
    clsConnectie cn;
    // Closing is quiet: it never throws.
    const auto sluiten = qScopeGuard([&cn] { cn.SluitenConnectie(); });
    return lees(path, m_regels.excelZoeken, [&]() {
        // Without the header option the first row comes as data.
        if (!cn.MakenExcelConnectie(path, false)) {
            m_beleid.OpenenMislukt(path);
            return Uitkomst::Afgebroken;
        }
        const DbConnection db = cn.Connection();
        const QStringList tabellen = db->tableNames();
        if (tabellen.isEmpty()) {
            m_beleid.GeenBladen(path);
            return Uitkomst::Leeg;
        }
        const QString tabel = blad.isEmpty() ? tabellen.first() : blad;
        RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM [") + tabel + QLatin1Char(']'));
        if (rs->eof()) {
            m_beleid.GeenRijen(tabel);
            return Uitkomst::Leeg;
        }
        if (m_regels.eersteRijOverslaan)
            rs->moveNext();
        const int aantalVelden = rs->fieldCount();
        for (; !rs->eof(); rs->moveNext()) {
            if (m_run->cancelled())
                return Uitkomst::Afgebroken;
            ++m_regelNummer;
            QStringList velden;
            velden.reserve(aantalVelden);
            for (int i = 0; i < aantalVelden; ++i) {
                const QString waarde = NzString(rs->value(i));
                velden << (m_regels.excelCellenTrimmen ? waarde.trimmed() : waarde);
            }
            if (!m_beleid.Rij(velden) && m_regels.excelRijFoutStopt)
                return Uitkomst::Afgebroken;
            m_run->yield();
        }
        return Uitkomst::Voltooid;
    });
}

} // namespace supplink
