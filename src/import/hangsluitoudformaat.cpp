// The hardware import into a Jet options database of the older format
// (members of clsImportBestandHangSluit). There a hardware table owns a grid
// of width and height cells (LocksHingesType), each cell points at a
// combination (LocksHingesCombi), and each combination owns one
// LocksHingesArticle row per article piece. A file line's Code is the
// table's code; every distinct width/height range of a table becomes one
// combination, coded as the table code with a two-digit counter.
//
// The grid: every range boundary of a table's lines (B> - 1 and B<, H> - 1
// and H<) cuts the table into cells, and each line's range (B>, B<] x (H>, H<]
// gets the cells inside it, at MaxWidth = boundary x 10 and MaxHeight =
// boundary x 10, pointing at the line's combination. Lines of one table with
// the same range share one combination: the later ones add their pieces to it
// and no cells. A table or combination that is written again is replaced with
// everything that hangs from it (cells and article rows), never left behind
// for a new row to inherit. The lines are written as read: this format takes
// the file's own dimensioning codes.

#include "import/clsimportbestandhangsluit.h"

#include "database/clsconnectie.h"
#include "database/codevergelijking.h"
#include "import/clsfiltercollectie.h"
#include "import/hangsluitonderdelen.h"
#include "start/errors.h"

#include <limits>

namespace supplink {

namespace {

constexpr qint32 kCodeLengte = 25;
constexpr qint32 kOmschrijvingLengte = 50;
constexpr qint32 kOverloop = 6;
constexpr qint32 kTypeMismatch = 13;

// The boundary below a range: its first value minus one.
qint32 grensOnder(qint32 van)
{
    if (van == std::numeric_limits<qint32>::min())
        throw AppError(kOverloop, QStringLiteral("Overloop: %1 min 1").arg(van));
    return van - 1;
}

bool zelfdeBereik(const clsHangSluitRegel& a, const clsHangSluitRegel& b)
{
    return a.BreedteVan == b.BreedteVan && a.BreedteTot == b.BreedteTot && a.HoogteVan == b.HoogteVan &&
           a.HoogteTot == b.HoogteTot;
}

QVariant tekstOfNull(const QString& tekst)
{
    return tekst.isEmpty() ? QVariant() : QVariant(tekst);
}

} // namespace

bool clsImportBestandHangSluit::OverzettenOPTOudFormaat()
{
    m_melder.HoofdActieDone();
    return AanmakenCombiesInOptOud();
}

bool clsImportBestandHangSluit::AanmakenCombiesInOptOud()
{
    const DbConnection db = Doel().Connection();
    if (!HeeftTabellen(*db, {QStringLiteral("LocksHingesTable"), QStringLiteral("LocksHingesType"),
                             QStringLiteral("LocksHingesCombi"),
                             QStringLiteral("LocksHingesArticle.fkLocksHingesCombi")}))
        return false;
    return InTransactie(db, QStringLiteral("clsImportBestandHangSluit.AanmakenCombiesInOptOud"), [&] {
        const HangSluitOnderdelen tabellen = HangSluitOnderdelen::Van(HangSluitRegels());
        m_melder.Totaal(qint32(tabellen.onderdelen.size()));
        const auto cel = db->prepare(QStringLiteral("INSERT INTO LocksHingesType ( fkLocksHingesTable, "
                                                    "fkLocksHingesCombi, MaxHeight, MaxWidth ) VALUES "
                                                    "( ?, ?, ?, ? )"));
        for (qsizetype i = 0; i < tabellen.onderdelen.size(); ++i) {
            const clsHangSluitRegel& tabel = *tabellen.onderdelen.at(i);
            const QList<HangSluitRegelPtr>& regels = tabellen.regels.at(i);
            m_melder.Huidig(qint32(i + 1));
            if (!OnderdeelGeselecteerd(tabel.Code())) {
                m_melder.Voortgang(QStringLiteral("Overgeslagen : ") + tabel.Omschrijving(), QString());
            } else {
                try {
                    // The boundaries first: a line whose range cannot be cut skips the whole table.
                    clsFilterCollectie<qint32> breedtes, hoogtes;
                    for (const HangSluitRegelPtr& regel : regels) {
                        breedtes.ToevoegenWaarde(grensOnder(regel->BreedteVan));
                        breedtes.ToevoegenWaarde(regel->BreedteTot);
                        hoogtes.ToevoegenWaarde(grensOnder(regel->HoogteVan));
                        hoogtes.ToevoegenWaarde(regel->HoogteTot);
                    }
                    const qint64 tabelId = AanmakenTabelInOpt(tabel);
                    QList<HangSluitRegelPtr> gemaakt;
                    qint32 teller = 1;
                    for (const HangSluitRegelPtr& regel : regels) {
                        const qsizetype gemaaktVoor = gemaakt.size();
                        try {
                            bool hergebruikt = false;
                            const qint64 combiId =
                                AanmakenCombiInOptOud(*regel, teller, hergebruikt, gemaakt);
                            if (!hergebruikt) {
                                ++teller;
                                for (qsizetype b = breedtes.Lijst.size() - 1; b >= 0; --b) {
                                    const qint32 w = breedtes.Lijst.at(b);
                                    if (regel->BreedteVan < w && w <= regel->BreedteTot) {
                                        for (qsizetype h = hoogtes.Lijst.size() - 1; h >= 0; --h) {
                                            const qint32 hoogte = hoogtes.Lijst.at(h);
                                            if (regel->HoogteVan < hoogte && hoogte <= regel->HoogteTot) {
                                                cel->bind(0, tabelId);
                                                cel->bind(1, combiId);
                                                cel->bind(2, MaalTien(hoogte));
                                                cel->bind(3, MaalTien(w));
                                                cel->execute();
                                            }
                                        }
                                    }
                                    if (Geannuleerd())
                                        return false;
                                }
                            }
                        } catch (const std::exception& e) {
                            // The line is skipped; a combination it made is no longer there to share.
                            gemaakt.resize(gemaaktVoor);
                            SchrijfFout(QStringLiteral("clsImportBestandHangSluit.AanmakenCombiInOptOud"), e);
                        }
                        if (Geannuleerd())
                            return false;
                    }
                } catch (const std::exception& e) {
                    // The table is skipped: no cells or combinations under a made-up ID.
                    SchrijfFout(QStringLiteral("clsImportBestandHangSluit.AanmakenTabelInOpt"), e);
                }
            }
            m_run->yield();
            if (Geannuleerd())
                return false;
        }
        return true;
    });
}

qint64 clsImportBestandHangSluit::AanmakenTabelInOpt(const clsHangSluitRegel& regel)
{
    const DbConnection db = Doel().Connection();
    const QString code = regel.Code().left(kCodeLengte);
    const QString gelijk = CodesGelijkOp(*db, QStringLiteral("Code"), QStringLiteral("?"));
    // The table is written anew: its old row goes, with the grid cells that hang from it.
    db->execute(QStringLiteral("DELETE * FROM LocksHingesType WHERE fkLocksHingesTable IN (SELECT ID FROM "
                               "LocksHingesTable WHERE ") +
                    gelijk + QLatin1Char(')'),
                {code});
    db->execute(QStringLiteral("DELETE * FROM LocksHingesTable WHERE ") + gelijk, {code});
    const std::optional<ResultData> rij =
        db->run(QStringLiteral("SELECT ID FROM LocksHingesTable WHERE ") + gelijk, {code});
    if (rij && rij->rowCount() > 0)
        return rij->firstValue().toLongLong();
    const QString omschrijving = regel.Omschrijving().isEmpty() ? regel.Code() : regel.Omschrijving();
    const auto invoegen =
        db->prepare(QStringLiteral("INSERT INTO LocksHingesTable (Code, Description) VALUES (?, ?)"));
    invoegen->bind(0, code);
    invoegen->bind(1, omschrijving.left(kOmschrijvingLengte));
    invoegen->execute();
    const qint64 id = invoegen->lastInsertId();
    m_melder.TelNieuw();
    m_melder.Voortgang(
        QStringLiteral("Nieuwe tabel '") +
            (regel.Code() + QStringLiteral(" - ") + regel.Omschrijving()).left(kOmschrijvingLengte) +
            QLatin1Char('\''),
        QString());
    return id;
}

qint64 clsImportBestandHangSluit::AanmakenCombiInOptOud(const clsHangSluitRegel& regel, qint32& teller,
                                                        bool& hergebruikt, QList<HangSluitRegelPtr>& gemaakt)
{
    const DbConnection db = Doel().Connection();
    qint64 id = 0;
    hergebruikt = false;
    for (const HangSluitRegelPtr& combi : gemaakt) {
        if (zelfdeBereik(*combi, regel)) {
            hergebruikt = true;
            id = combi->CombiID;
            break;
        }
    }
    if (!hergebruikt) {
        const QString code = regel.Code() + QStringLiteral("%1").arg(teller, 2, 10, QLatin1Char('0'));
        const QString gelijk = CodesGelijkOp(*db, QStringLiteral("Code"), QStringLiteral("?"));
        const QString vanCode =
            QStringLiteral(" IN (SELECT ID FROM LocksHingesCombi WHERE ") + gelijk + QLatin1Char(')');
        // A combination of this code is replaced, with its article rows and the grid cells that point at it.
        db->execute(QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkLocksHingesCombi") + vanCode,
                    {code});
        db->execute(QStringLiteral("DELETE * FROM LocksHingesType WHERE fkLocksHingesCombi") + vanCode,
                    {code});
        db->execute(QStringLiteral("DELETE * FROM LocksHingesCombi WHERE ") + gelijk, {code});
        const QString omschrijving = (code + QStringLiteral(" (%1-%2, %3-%4)")
                                                 .arg(regel.BreedteVan)
                                                 .arg(regel.BreedteTot)
                                                 .arg(regel.HoogteVan)
                                                 .arg(regel.HoogteTot))
                                         .left(kOmschrijvingLengte);
        const auto invoegen =
            db->prepare(QStringLiteral("INSERT INTO LocksHingesCombi (Code, Description) VALUES (?, ?)"));
        invoegen->bind(0, code);
        invoegen->bind(1, omschrijving);
        invoegen->execute();
        id = invoegen->lastInsertId();
        m_melder.TelNieuw();
        m_melder.Voortgang(QStringLiteral("Nieuwe combi '") + omschrijving + QLatin1Char('\''), QString());
        auto combi = std::make_shared<clsHangSluitRegel>();
        combi->CombiID = qint32(id);
        combi->BreedteVan = regel.BreedteVan;
        combi->BreedteTot = regel.BreedteTot;
        combi->HoogteVan = regel.HoogteVan;
        combi->HoogteTot = regel.HoogteTot;
        gemaakt.append(combi);
    }

    if (regel.AantalStuks > 0) {
        bool getal = false;
        const double y = regel.Y.trimmed().toDouble(&getal);
        if (!getal)
            throw AppError(kTypeMismatch, QStringLiteral("Y is geen getal: '") + regel.Y + QLatin1Char('\''));
        const auto stuk = db->prepare(QStringLiteral("INSERT INTO LocksHingesArticle ([fkLocksHingesCombi], "
                                                     "[fkArticle], [RelativeTo], [Side], [Origin], "
                                                     "[CR_X], [Y], [RealLength], [DrawLength], [DrawWidth])  "
                                                     "VALUES ( ?, ?, ?, ?, ?, ?, ?, ?, ?, ? )"));
        for (qint32 k = 0; k < regel.AantalStuks; ++k) {
            stuk->bind(0, id);
            stuk->bind(1, regel.ArtikelCode);
            stuk->bind(2, regel.Bemating);
            stuk->bind(3, regel.Positie);
            stuk->bind(4, regel.Oorsprong);
            stuk->bind(5, regel.X);
            stuk->bind(6, y);
            stuk->bind(7, tekstOfNull(regel.CalculatieLengte));
            stuk->bind(8, tekstOfNull(regel.AdrukLengte));
            stuk->bind(9, tekstOfNull(regel.AfdrukBreedte));
            stuk->execute();
        }
    }
    return id;
}

} // namespace supplink
