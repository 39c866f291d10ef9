#include "selection/bibliotheeklezer.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "platform/runcontext.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

namespace supplink {

namespace {

class VerbindingsLezer final : public BibliotheekLezer
{
public:
    bool LeesJet(const QString& pad, const QString& query, ItemCollection& alle) override
    {
        return Lees(QStringLiteral("GetColItemsDistinct"), true, pad, query, alle);
    }
    bool LeesSQLite(const QString& pad, const QString& query, ItemCollection& alle) override
    {
        return Lees(QStringLiteral("GetColItemsDistinctSQLite"), false, pad, query, alle);
    }

private:
    static bool Lees(const QString& routine, bool jet, const QString& pad, const QString& query,
                     ItemCollection& alle)
    {
        clsConnectie cn;
        try {
            // The connection object reports a file that does not open.
            if (!(jet ? cn.MakenJetConnectie(pad) : cn.MakenSQLiteConnectie(pad)))
                return false;
            RecordsetPtr rs = cn.Connection()->openRecordset(query);
            const int id = rs->field(QStringLiteral("ID")).index();
            const int code = rs->field(QStringLiteral("Code")).index();
            const int omschrijving = rs->field(QStringLiteral("Description")).index();
            RunContext run;
            const RunScope scope(run);
            for (; !rs->eof(); rs->moveNext()) {
                auto item = std::make_shared<clsItem>();
                item->ID = NzLong(rs->value(id));
                item->Code = NzString(rs->value(code));
                item->Description = NzString(rs->value(omschrijving));
                alle.append(std::move(item));
                run.yield();
            }
            cn.SluitenConnectie();
            return true;
        } catch (const std::exception& fout) {
            ShowError(routine, fout);
            cn.SluitenConnectie();
            return false;
        }
    }
};

} // namespace

std::shared_ptr<BibliotheekLezer> MaakBibliotheekLezer()
{
    return std::make_shared<VerbindingsLezer>();
}

} // namespace supplink
