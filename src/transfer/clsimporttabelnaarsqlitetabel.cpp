#include "transfer/clsimporttabelnaarsqlitetabel.h"

#include "database/clsconnectie.h"

namespace supplink {

namespace {

TabelKopieerder::Beleid beleid()
{
    TabelKopieerder::Beleid b;
    b.routine = QStringLiteral("clsImportTabelNaarSQLiteTabel");
    b.legeSelectieIsAlles = true;
    b.sleutelsOpBestaand = false;
    b.doelNaarEersteRij = false;
    return b;
}

} // namespace

clsImportTabelNaarSQliteTabel::clsImportTabelNaarSQliteTabel() : TabelKopieerder(beleid()) {}

void clsImportTabelNaarSQliteTabel::OverzettenRecordSet(const RecordsetPtr& cRecSetSource,
                                                        const QString& strTargetQuery,
                                                        const QString& strTargetWhere,
                                                        clsConnectie& cConnectionSource,
                                                        clsConnectie& cConnectionTarget)
{
    const QString bron = cRecSetSource ? cRecSetSource->source().trimmed() : QString();
    const QString start = QStringLiteral("Source = ") + bron + QStringLiteral(", Target = SQLite, Key = ") +
                          strKeyField + QStringLiteral(", Start = ") + AlgemeneDatum();
    const std::unique_ptr<Doel> doel =
        queryDoel(cConnectionTarget.Connection(), strTargetQuery, strTargetWhere);
    kopieer(cRecSetSource, *doel, cConnectionSource, cConnectionTarget, {start});
}

} // namespace supplink
