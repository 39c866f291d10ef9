#pragma once
// The table copier between two recordsets of any back-end (Jet, SQL Server,
// SQLite): matches each wanted source row with the target on the key field,
// adds the rows the target lacks and brings the chosen fields of the rows it
// holds up to date (see tabelkopieerder.h for the configuration). An empty
// selection collection wants every row; foreign keys are translated on new
// and existing rows alike.

#include "transfer/tabelkopieerder.h"

namespace supplink {

class clsImportTabelNaarTabel : public TabelKopieerder
{
public:
    clsImportTabelNaarTabel();

    // Copies the rows of the source, from its current row to its end, into the target recordset (which
    // must be writable). Failures are reported through the events, never thrown.
    void OverzettenRecordSet(const RecordsetPtr& cRecSetSource, const RecordsetPtr& cRecSetTarget,
                             clsConnectie& cConnectionSource, clsConnectie& cConnectionTarget);
    // The supplier table of a product table on SQL Server: each new supplier becomes an organisation
    // and a vendor ([CRM].Organization, [CRM].Vendor); the target recordset only serves the key match.
    void OverzettenRecordSetSQLSuppliers(const RecordsetPtr& cRecSetSource, const RecordsetPtr& cRecSetTarget,
                                         clsConnectie& cConnectionSource, clsConnectie& cConnectionTarget);

private:
    QStringList startRegels(const RecordsetPtr& source, const RecordsetPtr& target) const;
};

} // namespace supplink
