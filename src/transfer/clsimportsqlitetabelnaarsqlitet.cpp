#include "transfer/clsimportsqlitetabelnaarsqlitet.h"

#include "database/clsconnectie.h"
#include "platform/codecompare.h"
#include "start/sharedroutines.h"

#include <QSet>
#include <optional>

namespace supplink {

namespace {

const QString kSyncLinkedTable = QStringLiteral("SQLITE:SyncLinkedTable");

TabelKopieerder::Beleid beleid(const QStringList* jsonVelden)
{
    TabelKopieerder::Beleid b;
    b.routine = QStringLiteral("clsImportTabelNaarSQLiteTabel");
    b.legeSelectieIsAlles = false;
    b.sleutelsOpBestaand = false;
    b.doelNaarEersteRij = false;
    b.jsonVelden = jsonVelden;
    return b;
}

int vereisVeld(const Recordset& rs, const QString& naam)
{
    const int index = rs.fieldIndex(naam);
    if (index < 0)
        throw AppError(DbErrorNumber::ItemNotFound, QStringLiteral("Veld '%1' niet gevonden.").arg(naam));
    return index;
}

} // namespace

clsImportSQLiteTabelNaarSQLiteT::clsImportSQLiteTabelNaarSQLiteT()
    : TabelKopieerder(beleid(&UpdateJSONFieldsCollection))
{
}

void clsImportSQLiteTabelNaarSQLiteT::OverzettenRecordSet(const RecordsetPtr& cRecSetSource,
                                                          const QString& strTargetQuery,
                                                          const QString& strTargetWhere,
                                                          clsConnectie& cConnectionSource,
                                                          clsConnectie& cConnectionTarget)
{
    const QString start = QStringLiteral("Source = SQLite, Target = SQLite, Key = ") + strKeyField +
                          QStringLiteral(" Start = ") + AlgemeneDatum();
    const std::unique_ptr<Doel> doel =
        queryDoel(cConnectionTarget.Connection(), strTargetQuery, strTargetWhere);
    kopieer(cRecSetSource, *doel, cConnectionSource, cConnectionTarget, {start});
}

void clsImportSQLiteTabelNaarSQLiteT::SyncLinkedTable(
    clsConnectie& conSource, clsConnectie& conTarget, const QString& qrySource, const QString& qryTarget,
    const QString& qrySearchTarget1, const QString& qrySearchTarget2, const ItemCollection& SelectedItems,
    const QString& KeyFieldSource, const QString& KeyFieldTarget, const QStringList& SourceFields,
    const QStringList& TargetFields)
{
    RunScope live(*runContext());
    RecordsetPtr kinderen; // D: the target's child table, rows are added here
    // One transaction for all added rows on an SQLite target; what was added stays on an error.
    std::optional<Transaction> transactie;
    bool vastleggen = true; // false once the commit of the normal end has been tried
    try {
        const DbConnection bron = conSource.Connection();
        const DbConnection doel = conTarget.Connection();
        if (!bron || !doel)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met de database."));
        const RecordsetPtr S = bron->openRecordset(qrySource);
        kinderen = doel->openRecordset(qryTarget);
        const RecordsetPtr E = doel->openRecordset(qrySearchTarget1);
        const RecordsetPtr P = doel->openRecordset(qrySearchTarget2);
        if (S->bof() || S->eof())
            return;

        QSet<QString> codes;
        for (const std::shared_ptr<clsItem>& item : SelectedItems) {
            if (item)
                codes.insert(foldCode(item->Code));
        }
        if (SourceFields.size() != TargetFields.size())
            throw AppError(ErrorNumber::General,
                           QStringLiteral("De lijsten van bron- en doelvelden zijn niet even lang."));
        const int code = vereisVeld(*S, QStringLiteral("TheCode"));
        const int ouderId = vereisVeld(*P, KeyFieldSource);
        const int koppeling = vereisVeld(*kinderen, KeyFieldTarget);
        QList<int> bronVelden, doelVelden;
        for (int i = 0; i < SourceFields.size(); ++i) {
            bronVelden.append(vereisVeld(*S, SourceFields.at(i)));
            doelVelden.append(vereisVeld(*kinderen, TargetFields.at(i)));
        }

        transactie.emplace(doel, doel->kind() == DatabaseBackend::Kind::SQLite);
        for (; !S->eof(); S->moveNext()) {
            runContext()->yield();
            const QString ouder = NzString(S->value(code));
            if (!codes.contains(foldCode(ouder)))
                continue;
            // The queries give the codes in upper case; the recordset's search compares as codes compare.
            const QString zoekterm =
                QStringLiteral("TheCode = '") + SQLQuotes(ouder.toUpper()) + QLatin1Char('\'');
            if (E->findFirst(zoekterm))
                continue; // the parent has child rows in the target already
            if (!P->findFirst(zoekterm))
                continue; // the parent is not in the target
            kinderen->addNew();
            kinderen->setValue(koppeling, P->value(ouderId));
            for (int i = 0; i < bronVelden.size(); ++i)
                kinderen->setValue(doelVelden.at(i), S->value(bronVelden.at(i)));
            kinderen->update();
        }
        vastleggen = false;
        transactie->commit(); // a refused commit is rolled back by the guard and reported below
    } catch (const std::exception& e) {
        if (kinderen)
            kinderen->cancelUpdate();
        const AppError fout = AppError::from(e);
        LogFout(kSyncLinkedTable, fout);
        if (vastleggen && transactie)
            schrijfVast(*transactie, kSyncLinkedTable);
        ShowError(kSyncLinkedTable, fout);
    }
}

} // namespace supplink
