#pragma once
// The table copier from a recordset of any back-end (a Jet work-preparation
// database) into a table of an SQLite database. The target is given as the
// query that reads the table and the start of the key condition
// ("WHERE Code="). An empty selection collection wants every row; foreign
// keys are translated on new rows only.

#include "transfer/tabelkopieerder.h"

namespace supplink {

class clsImportTabelNaarSQliteTabel : public TabelKopieerder
{
public:
    clsImportTabelNaarSQliteTabel();

    // strTargetQuery: "SELECT ... FROM <table>"; strTargetWhere: "WHERE <key field>=". Failures are reported
    // through the events, never thrown.
    void OverzettenRecordSet(const RecordsetPtr& cRecSetSource, const QString& strTargetQuery,
                             const QString& strTargetWhere, clsConnectie& cConnectionSource,
                             clsConnectie& cConnectionTarget);
};

} // namespace supplink
