// The choice writers of the hardware import (members of
// clsImportBestandHangSluit): a file of hardware choices (CombiType 1), each a
// code with a description that groups combinations the target already holds
// (one file line per member, naming it in the column "Hang en Sluitwerk Combi
// Code"). A choice is stored as a CustomLHCombi row, made anew on every
// import (the row of its code is deleted with its links first), and one
// CustomLH row per member line links it to the member's LocksHingesCombi row.
// A member the target lacks is reported and left out. The library takes no
// choices: the user is told so.

#include "import/clsimportbestandhangsluit.h"

#include "database/clsconnectie.h"
#include "database/codevergelijking.h"
#include "database/criteria.h"
#include "database/recordset.h"
#include "import/hangsluitonderdelen.h"
#include "platform/uiservices.h"
#include "start/errors.h"
#include "start/globals.h"

namespace supplink {

namespace {

constexpr qint32 kCodeLengte = 25;
constexpr qint32 kOmschrijvingLengte = 50;

const QString kRoutineKeuzes = QStringLiteral("clsImportBestandHangSluit.AanmakenKeuzesInOptions");

// Moves the recordset to its first row.
void RecordSetMoveFirst(Recordset& rs)
{
    try {
        rs.moveFirst();
    } catch (const std::exception&) {
        // An empty recordset has no first row; the search that follows finds nothing there.
    }
}

} // namespace

bool clsImportBestandHangSluit::SchrijfKeuzes(
    const std::function<qint64(const clsHangSluitRegel& deel)>& keuze,
    const std::function<std::optional<qint64>(const QString& code)>& combiId)
{
    const DbConnection db = Doel().Connection();
    const HangSluitOnderdelen onderdelen = HangSluitOnderdelen::Van(HangSluitRegels());
    m_melder.Totaal(qint32(onderdelen.onderdelen.size()));
    const auto koppelen = db->prepare(
        QStringLiteral("INSERT INTO CustomLH ( fkLockHingeCombi, fkCustomLHCombi) VALUES (?, ?)"));
    qint32 nummer = 0;
    for (qsizetype i = 0; i < onderdelen.onderdelen.size(); ++i) {
        const HangSluitRegelPtr& deel = onderdelen.onderdelen.at(i);
        m_melder.Huidig(++nummer);
        if (!OnderdeelGeselecteerd(deel->Code())) {
            m_melder.Voortgang(QStringLiteral("Overgeslagen : ") + deel->Omschrijving(), QString());
        } else {
            try {
                const qint64 id = keuze(*deel);
                for (const HangSluitRegelPtr& regel : onderdelen.regels.at(i)) {
                    const QString& code = regel->HangEnSluitwerkCombiCode;
                    if (const std::optional<qint64> combi = combiId(code)) {
                        koppelen->bind(0, *combi);
                        koppelen->bind(1, id);
                        koppelen->execute();
                    } else {
                        m_melder.Voortgang(QStringLiteral("Hang en Sluitwerk Combi niet gevonden : ") + code,
                                           QString());
                    }
                    if (Geannuleerd())
                        return false;
                }
            } catch (const std::exception& e) {
                // The choice is skipped (never linked under a made-up ID); the run writes nothing.
                SchrijfFout(kRoutineKeuzes, e);
            }
        }
        m_run->yield();
        if (Geannuleerd())
            return false;
    }
    return true;
}

bool clsImportBestandHangSluit::AanmakenKeuzesInSQLiteOptions()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db, {QStringLiteral("CustomLHCombi"), QStringLiteral("CustomLH"),
                             QStringLiteral("LocksHingesCombi")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenKeuzesInSQLiteOptions"), [&] {
        const QString zoek = QStringLiteral("SELECT ID, Code FROM LocksHingesCombi WHERE ") +
                             CodesGelijkOp(*db, QStringLiteral("Code"), QStringLiteral("?"));
        return SchrijfKeuzes(
            [this](const clsHangSluitRegel& deel) { return AanmakenKeuzeInSQLiteOptions(deel); },
            [&](const QString& code) -> std::optional<qint64> {
                const std::optional<ResultData> rij = db->run(zoek, {code});
                if (!rij || rij->rowCount() == 0)
                    return std::nullopt;
                return rij->firstValue().toLongLong();
            });
    });
}

bool clsImportBestandHangSluit::AanmakenKeuzesInOptPVC()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db, {QStringLiteral("CustomLHCombi"), QStringLiteral("CustomLH"),
                             QStringLiteral("LocksHingesCombi")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenKeuzesInOptPVC"), [&] {
        // The combinations are read once; each member is searched among them.
        const RecordsetPtr combies =
            db->openRecordset(QStringLiteral("SELECT ID, Code FROM LocksHingesCombi"));
        return SchrijfKeuzes([this](const clsHangSluitRegel& deel) { return AanmakenKeuzeInOpt(deel); },
                             [&](const QString& code) -> std::optional<qint64> {
                                 RecordSetMoveFirst(*combies);
                                 const std::optional<Criteria> zoek =
                                     Criteria::equalTo(QStringLiteral("Code"), code, false);
                                 if (!zoek || combies->eof() || !combies->find(*zoek))
                                     return std::nullopt;
                                 return combies->value(QStringLiteral("ID")).toLongLong();
                             });
    });
}

bool clsImportBestandHangSluit::AanmakenKeuzesInLibrary()
{
    const QString melding =
        QStringLiteral("Importeren Hang en Sluitwerk Keuzes naar versie 3.5 wordt nog niet ondersteund.");
    m_melder.Voortgang(melding, QString());
    ui().messageBox(melding, MsgBox::OkOnly | MsgBox::Information, QString::fromUtf8(kProgramTitle));
    return false;
}

qint64 clsImportBestandHangSluit::AanmakenKeuzeInOpt(const clsHangSluitRegel& deel)
{
    return AanmakenKeuze(deel);
}

qint64 clsImportBestandHangSluit::AanmakenKeuzeInSQLiteOptions(const clsHangSluitRegel& deel)
{
    return AanmakenKeuze(deel);
}

qint64 clsImportBestandHangSluit::AanmakenKeuze(const clsHangSluitRegel& deel)
{
    const DbConnection db = Doel().Connection();
    // The code as the row stores it, so that the row of an earlier import is found again.
    const QString code = deel.Code().left(kCodeLengte);
    const QString gelijk = CodesGelijkOp(*db, QStringLiteral("Code"), QStringLiteral("?"));
    // The choice is stored anew: its old row goes, and its links with it.
    db->execute(
        QStringLiteral("DELETE FROM CustomLH WHERE fkCustomLHCombi IN (SELECT ID FROM CustomLHCombi WHERE ") +
            gelijk + QLatin1Char(')'),
        {code});
    db->execute(QStringLiteral("DELETE FROM CustomLHCombi WHERE ") + gelijk, {code});
    const std::optional<ResultData> rij =
        db->run(QStringLiteral("SELECT ID FROM CustomLHCombi WHERE ") + gelijk, {code});
    if (rij && rij->rowCount() > 0)
        return rij->firstValue().toLongLong();
    const QString omschrijving = deel.Omschrijving().isEmpty() ? deel.Code() : deel.Omschrijving();
    const auto invoegen =
        db->prepare(QStringLiteral("INSERT INTO CustomLHCombi (Code, Description) VALUES (?, ?)"));
    invoegen->bind(0, code);
    invoegen->bind(1, omschrijving.left(kOmschrijvingLengte));
    invoegen->execute();
    const qint64 id = invoegen->lastInsertId();
    m_melder.Voortgang(
        QStringLiteral("Nieuwe Hang en Sluitwerk Keuze '") +
            (deel.Code() + QStringLiteral(" - ") + deel.Omschrijving()).left(kOmschrijvingLengte) +
            QLatin1Char('\''),
        QString());
    m_melder.TelNieuw();
    return id;
}

} // namespace supplink
