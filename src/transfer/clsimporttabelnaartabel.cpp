#include "transfer/clsimporttabelnaartabel.h"

namespace supplink {

namespace {

TabelKopieerder::Beleid beleid()
{
    TabelKopieerder::Beleid b;
    b.routine = QStringLiteral("clsImportTabelNaarTabel");
    b.legeSelectieIsAlles = true;
    b.sleutelsOpBestaand = true;
    b.doelNaarEersteRij = true;
    return b;
}

QString bronTekst(const RecordsetPtr& rs)
{
    return rs ? rs->source().trimmed() : QString();
}

} // namespace

clsImportTabelNaarTabel::clsImportTabelNaarTabel() : TabelKopieerder(beleid()) {}

QStringList clsImportTabelNaarTabel::startRegels(const RecordsetPtr& source, const RecordsetPtr& target) const
{
    return {QStringLiteral("Source = ") + bronTekst(source), QStringLiteral("Target = ") + bronTekst(target),
            QStringLiteral("Key = ") + strKeyField, QStringLiteral("Start = ") + AlgemeneDatum()};
}

void clsImportTabelNaarTabel::OverzettenRecordSet(const RecordsetPtr& cRecSetSource,
                                                  const RecordsetPtr& cRecSetTarget,
                                                  clsConnectie& cConnectionSource,
                                                  clsConnectie& cConnectionTarget)
{
    const std::unique_ptr<Doel> doel = recordsetDoel(cRecSetTarget);
    kopieer(cRecSetSource, *doel, cConnectionSource, cConnectionTarget,
            startRegels(cRecSetSource, cRecSetTarget));
}

void clsImportTabelNaarTabel::OverzettenRecordSetSQLSuppliers(const RecordsetPtr& cRecSetSource,
                                                              const RecordsetPtr& cRecSetTarget,
                                                              clsConnectie& cConnectionSource,
                                                              clsConnectie& cConnectionTarget)
{
    const std::unique_ptr<Doel> doel = recordsetDoel(cRecSetTarget);
    kopieer(cRecSetSource, *doel, cConnectionSource, cConnectionTarget,
            startRegels(cRecSetSource, cRecSetTarget), Verwerking::Leveranciers);
}

} // namespace supplink
