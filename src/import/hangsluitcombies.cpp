// The combination writers of the hardware import (members of
// clsImportBestandHangSluit): a file of hardware combinations (CombiType 0)
// into an SQLite options database, a Jet options database of the newer format
// or the library. The three share one loop over the distinct parts and differ
// in how they store a combination and its article usages:
//   - SQLite options: LocksHingesCombi.Data, the options document whose
//     "LHArticles" list is replaced (its other lists kept);
//   - newer Jet options: a LocksHingesCombi row with one LocksHingesArticle row
//     per article piece (an existing combination's rows are replaced);
//   - library: LocksHingesCombi.Data, the library document, merged into the
//     stored one (MergeJSONFieldLibrary).
// Combinations are found by code as codes compare, in a list of the target's
// combinations read once per run; a part whose code an earlier part of the run
// wrote finds that row.

#include "import/clsimportbestandhangsluit.h"

#include "database/clsconnectie.h"
#include "database/codevergelijking.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "import/hangsluitonderdelen.h"
#include "start/errors.h"
#include "start/sharedroutines.h"
#include "transfer/jsonmerge.h"

#include <QHash>

namespace supplink {

namespace {

constexpr qint32 kOmschrijvingLengte = 50;

const QString kRoutineSQLite = QStringLiteral("clsImportBestandHangSluit.AanmakenCombiInSQLiteOptions");
const QString kRoutineOptPVC = QStringLiteral("clsImportBestandHangSluit.AanmakenCombiInOptPVC");
const QString kRoutineLibrary = QStringLiteral("clsImportBestandHangSluit.AanmakenCombiInLibrary");

// The combinations of the target by code as codes compare (the first row of a code wins), read once and
// added to as the run makes new ones.
class CombiCodes
{
public:
    explicit CombiCodes(DatabaseBackend& db)
    {
        const RecordsetPtr rs =
            db.openRecordset(QStringLiteral("SELECT ID, Code FROM LocksHingesCombi ORDER BY ID"));
        const int id = rs->fieldIndex(QStringLiteral("ID"));
        const int code = rs->fieldIndex(QStringLiteral("Code"));
        for (; !rs->eof(); rs->moveNext())
            VoegToe(NzString(rs->value(code)), rs->value(id).toLongLong());
    }
    std::optional<qint64> Zoek(const QString& code) const
    {
        const auto gevonden = m_ids.constFind(CodeSleutel(code));
        if (gevonden == m_ids.cend())
            return std::nullopt;
        return *gevonden;
    }
    void VoegToe(const QString& code, qint64 id)
    {
        const QString sleutel = CodeSleutel(code);
        if (!m_ids.contains(sleutel))
            m_ids.insert(sleutel, id);
    }

private:
    QHash<QString, qint64> m_ids;
};

// The texts joined by ",", each line's text `AantalStuks` times (none for 0 or less).
QString artikelLijst(const QList<HangSluitRegelPtr>& regels,
                     const std::function<bool(const clsHangSluitRegel&)>& neem,
                     const std::function<QString(const clsHangSluitRegel&)>& tekst)
{
    QString lijst;
    for (const HangSluitRegelPtr& regel : regels) {
        if (regel->AantalStuks <= 0 || !neem(*regel))
            continue;
        const QString artikel = tekst(*regel);
        for (qint32 k = 0; k < regel->AantalStuks; ++k) {
            if (!lijst.isEmpty())
                lijst += QLatin1Char(',');
            lijst += artikel;
        }
    }
    return lijst;
}

QString onderdeelTekst(const clsHangSluitRegel& deel)
{
    return deel.Code() + QLatin1Char(':') + deel.Omschrijving();
}

QString zonderEindSpaties(const QString& tekst)
{
    qsizetype lengte = tekst.size();
    while (lengte > 0 && tekst.at(lengte - 1).isSpace())
        --lengte;
    return tekst.left(lengte);
}

// The Data the target holds for the combination.
QString opgeslagenData(DatabaseBackend& db, qint64 id)
{
    const std::optional<ResultData> rij =
        db.run(QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE ID = ?"), {id});
    return NzString(rij ? rij->firstValue() : QVariant());
}

// The Data of a library combination: the limits 0, the usage lists empty and the article usages.
QString bibliotheekDocument(const QString& artikelen)
{
    return QStringLiteral(
               "{\"Polygon\":1,\"Lim_min_W\":0,\"Lim_min_H\":0,\"Lim_min_A\":0,\"Lim_max_W\":0,"
               "\"Lim_max_H\":0,\"Lim_max_A\":0,\"ArtUsages\":[],\"ActUsages\":[],\"RefUsages\":[],"
               "\"LHArticles\":[") +
           artikelen + QStringLiteral("]}");
}

} // namespace

bool clsImportBestandHangSluit::SchrijfCombinaties(
    const QString& routine,
    const std::function<void(const HangSluitRegelPtr& deel, const QList<HangSluitRegelPtr>& regels)>& schrijf)
{
    const HangSluitOnderdelen onderdelen = HangSluitOnderdelen::Van(HangSluitRegels());
    m_melder.Totaal(qint32(onderdelen.onderdelen.size()));
    qint32 nummer = 0;
    for (qsizetype i = 0; i < onderdelen.onderdelen.size(); ++i) {
        const HangSluitRegelPtr& deel = onderdelen.onderdelen.at(i);
        m_melder.Huidig(++nummer);
        if (OnderdeelGeselecteerd(deel->Code())) {
            try {
                schrijf(deel, onderdelen.regels.at(i));
            } catch (const std::exception& e) {
                // The part is skipped; the run goes on to report what else fails, and writes nothing.
                SchrijfFout(routine, e);
            }
        } else {
            m_melder.Voortgang(QStringLiteral("Overgeslagen : ") + onderdeelTekst(*deel), QString());
        }
        m_run->yield();
        if (Geannuleerd())
            return false;
    }
    return true;
}

bool clsImportBestandHangSluit::AanmakenCombiesInSQLiteOptions()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db, {QStringLiteral("LocksHingesCombi.Data")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenCombiesInSQLiteOptions"), [&] {
        CombiCodes combies(*db);
        const auto invoegen = db->prepare(QStringLiteral(
            "INSERT INTO LocksHingesCombi (Code, Description, Polygon, Data) VALUES (?, ?, ?, ?)"));
        const auto bijwerken =
            db->prepare(QStringLiteral("UPDATE LocksHingesCombi SET Data = ? WHERE ID = ?"));
        const auto naarTekst = [](const clsHangSluitRegel& r) { return GetArtikelJSON(r); };
        const auto alle = [](const clsHangSluitRegel&) { return true; };
        return SchrijfCombinaties(
            kRoutineSQLite, [&](const HangSluitRegelPtr& deel, const QList<HangSluitRegelPtr>& regels) {
                // AanmakenCombiInSQLiteOptions: the part with its article list.
                const QString artikelen = artikelLijst(regels, alle, naarTekst);
                const QString regel = onderdeelTekst(*deel);
                if (const std::optional<qint64> id = combies.Zoek(deel->Code())) {
                    m_melder.Voortgang(QStringLiteral("Bestaand onderdeel : ") + regel, QString());
                    const QString data = MergeJSONFieldOptions(opgeslagenData(*db, *id), artikelen);
                    if (data.isEmpty()) {
                        // Shown by the merge; the stored row stays as it is.
                        m_melder.TelFout();
                        return;
                    }
                    bijwerken->bind(0, data);
                    bijwerken->bind(1, *id);
                    bijwerken->execute();
                    return;
                }
                m_melder.Voortgang(QStringLiteral("Nieuw onderdeel : ") + regel, QString());
                const QString data = MergeJSONFieldOptions(LocksHingesData::OptionsTemplate(), artikelen);
                if (data.isEmpty()) {
                    m_melder.TelFout();
                    return;
                }
                invoegen->bind(0, deel->Code());
                invoegen->bind(1, deel->Omschrijving().left(kOmschrijvingLengte));
                invoegen->bind(2, 1);
                invoegen->bind(3, data);
                invoegen->execute();
                combies.VoegToe(deel->Code(), invoegen->lastInsertId());
            });
    });
}

bool clsImportBestandHangSluit::AanmakenCombiesInOptPVC()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db,
                       {QStringLiteral("LocksHingesCombi"), QStringLiteral("LocksHingesArticle.fkCombi")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenCombiesInOptPVC"), [&] {
        CombiCodes combies(*db);
        const auto invoegen = db->prepare(
            QStringLiteral("INSERT INTO LocksHingesCombi (Code, Description, Polygon) VALUES (?, ?, ?)"));
        return SchrijfCombinaties(
            kRoutineOptPVC, [&](const HangSluitRegelPtr& deel, const QList<HangSluitRegelPtr>& regels) {
                // AanmakenCombiInOptPVC: the combination row, its article rows replaced.
                const QString regel = onderdeelTekst(*deel);
                qint64 id = 0;
                if (const std::optional<qint64> bestaand = combies.Zoek(deel->Code())) {
                    id = *bestaand;
                    m_melder.Voortgang(QStringLiteral("Bestaand onderdeel : ") + regel, QString());
                    db->execute(QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkCombi = ?"), {id});
                } else {
                    m_melder.Voortgang(QStringLiteral("Nieuw onderdeel : ") + regel, QString());
                    invoegen->bind(0, deel->Code());
                    invoegen->bind(1, deel->Omschrijving().left(kOmschrijvingLengte));
                    invoegen->bind(2, 1);
                    invoegen->execute();
                    id = invoegen->lastInsertId();
                    combies.VoegToe(deel->Code(), id);
                }
                for (const HangSluitRegelPtr& artikel : regels)
                    AanmakenArtikelInOptPVC(*db, *artikel, id);
            });
    });
}

void clsImportBestandHangSluit::AanmakenArtikelInOptPVC(DatabaseBackend& db, const clsHangSluitRegel& regel,
                                                        qint64 combiId)
{
    if (regel.AantalStuks <= 0)
        return;
    const RecordsetPtr rs = db.openRecordset(QStringLiteral("SELECT * FROM LocksHingesArticle WHERE 0=1"));
    const bool lengtes = VeldBestaat(rs, QStringLiteral("reallength"));
    const clsHangSluitRegel::Maten maten = regel.MaatGegevens();
    const auto waardeOfNull = [](const QString& tekst) {
        return tekst.isEmpty() ? QVariant() : QVariant(tekst);
    };
    for (qint32 k = 0; k < regel.AantalStuks; ++k) {
        rs->addNew();
        rs->setValue(QStringLiteral("fkCombi"), combiId);
        rs->setValue(QStringLiteral("fkArticle"), zonderEindSpaties(regel.ArtikelCode));
        rs->setValue(QStringLiteral("Type"), maten.type);
        if (maten.breedte) {
            rs->setValue(QStringLiteral("wFrom"), maten.wFrom);
            rs->setValue(QStringLiteral("wTo"), maten.wTo);
        }
        if (maten.hoogte) {
            rs->setValue(QStringLiteral("hFrom"), maten.hFrom);
            rs->setValue(QStringLiteral("hTo"), maten.hTo);
        }
        rs->setValue(QStringLiteral("Position"), regel.Positie);
        if (regel.Tekenen()) {
            rs->setValue(QStringLiteral("Draw"), true);
            rs->setValue(QStringLiteral("Origin"), regel.Oorsprong);
            rs->setValue(QStringLiteral("YPos"), regel.Y);
            rs->setValue(QStringLiteral("CR_X"), regel.X);
            rs->setValue(QStringLiteral("Polygon"), regel.Bemating);
        } else {
            rs->setValue(QStringLiteral("Draw"), false);
        }
        if (lengtes) {
            rs->setValue(QStringLiteral("RealLength"), waardeOfNull(regel.CalculatieLengte));
            rs->setValue(QStringLiteral("DrawLength"), waardeOfNull(regel.AdrukLengte));
            rs->setValue(QStringLiteral("DrawWidth"), waardeOfNull(regel.AfdrukBreedte));
        }
        rs->update();
    }
    rs->close();
}

bool clsImportBestandHangSluit::AanmakenCombiesInLibrary()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db, {QStringLiteral("LocksHingesCombi.Data")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenCombiesInLibrary"), [&] {
        CombiCodes combies(*db);
        const auto invoegen = db->prepare(
            QStringLiteral("INSERT INTO LocksHingesCombi (Code, Description, Data) VALUES (?, ?, ?)"));
        const auto bijwerken =
            db->prepare(QStringLiteral("UPDATE LocksHingesCombi SET Data = ? WHERE ID = ?"));
        const auto metArtikel = [](const clsHangSluitRegel& r) { return !r.ArtikelCode.trimmed().isEmpty(); };
        const auto naarTekst = [](const clsHangSluitRegel& r) { return r.GetAsJSON(); };
        return SchrijfCombinaties(
            kRoutineLibrary, [&](const HangSluitRegelPtr& deel, const QList<HangSluitRegelPtr>& regels) {
                // AanmakenCombiInLibrary: the library document of the part, new or merged into the stored
                // one.
                const QString document = bibliotheekDocument(artikelLijst(regels, metArtikel, naarTekst));
                const QString regel = onderdeelTekst(*deel);
                if (const std::optional<qint64> id = combies.Zoek(deel->Code())) {
                    m_melder.TelBestaand();
                    m_melder.Voortgang(QStringLiteral("Bestaand onderdeel : ") + regel, QString());
                    QString fouten;
                    const QString data = MergeJSONFieldLibrary(opgeslagenData(*db, *id), document, fouten);
                    if (!fouten.isEmpty() || data.isEmpty()) {
                        // The stored row stays as it is.
                        MeldFoutNummer(kRoutineLibrary, AppError(ErrorNumber::General, fouten));
                        m_melder.Voortgang(fouten, QString());
                        return;
                    }
                    bijwerken->bind(0, data);
                    bijwerken->bind(1, *id);
                    bijwerken->execute();
                    return;
                }
                m_melder.TelNieuw();
                m_melder.Voortgang(QStringLiteral("Nieuw onderdeel : ") + regel, QString());
                invoegen->bind(0, deel->Code());
                invoegen->bind(1, deel->Omschrijving());
                invoegen->bind(2, document);
                invoegen->execute();
                combies.VoegToe(deel->Code(), invoegen->lastInsertId());
            });
    });
}

} // namespace supplink
