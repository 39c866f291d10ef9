#pragma once
// The table copier between two SQLite databases of the same kind (options,
// library, work preparation), and the copy of the child rows of selected
// parents that are matched through their codes.
//
// OverzettenRecordSet works as the other copiers (tabelkopieerder.h), with
// these rules of its own: only rows of selected items are wanted (an empty
// selection collection wants none), foreign keys are translated on new rows
// only, and the JSON data fields of an existing row are merged with the
// incoming data instead of overwritten.

#include "transfer/tabelkopieerder.h"

namespace supplink {

class clsImportSQLiteTabelNaarSQLiteT : public TabelKopieerder
{
public:
    clsImportSQLiteTabelNaarSQLiteT();

    // JSON data fields merged on an existing row (the hardware combinations' "Data").
    QStringList UpdateJSONFieldsCollection;

    // strTargetQuery: "SELECT ... FROM <table>"; strTargetWhere: "WHERE <key field>=". Failures are reported
    // through the events, never thrown.
    void OverzettenRecordSet(const RecordsetPtr& cRecSetSource, const QString& strTargetQuery,
                             const QString& strTargetWhere, clsConnectie& cConnectionSource,
                             clsConnectie& cConnectionTarget);

    // Adds the child rows of the selected parents to the target, for the parents that the target holds
    // (matched by their code) and that have no child rows there yet.
    //   qrySource        the source's child rows, each with its parent's code in column "TheCode"
    //   qryTarget        the target's child table ("SELECT * FROM <child table>")
    //   qrySearchTarget1 the target's child rows with their parent's code in upper case as "TheCode"
    //   qrySearchTarget2 the target's parents, code in upper case as "TheCode", with their ID
    //   KeyFieldSource   the parent ID column of qrySearchTarget2 ("TheID")
    //   KeyFieldTarget   the child table's link to its parent ("fkGrooveShape")
    //   SourceFields, TargetFields  the child fields copied, pairwise
    // Parents are wanted when an item's Code equals their code (as codes compare, without regard to case:
    // platform/codecompare.h). An error ends the operation and is
    // shown in the error window (and counted); rows already added stay.
    void SyncLinkedTable(clsConnectie& conSource, clsConnectie& conTarget, const QString& qrySource,
                         const QString& qryTarget, const QString& qrySearchTarget1,
                         const QString& qrySearchTarget2, const ItemCollection& SelectedItems,
                         const QString& KeyFieldSource, const QString& KeyFieldTarget,
                         const QStringList& SourceFields, const QStringList& TargetFields);
};

} // namespace supplink
