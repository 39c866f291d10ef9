// The whole transfer of step 17, without a window, on the demo content
// package (tools/voorbeeld, through tests/wizard/transferpakket.h) at scale 80:
// 20,000 articles with 1D and 2D prices, 1,920 hardware combinations and 640
// choices, 400 to 480 rows per library family, 1,280 groove shapes; then the
// same at scale 800, ten times larger. The package grows every count with its
// scale by its own ratios, so at the 20,000 articles the issue asks for the
// other counts stay below its figures (5,000 combinations, 2,000 library rows
// per family, 2,000 groove shapes); the article count was kept. The targets
// are copies of the package's own (part of the supplier's content in an
// older form, and parts of the user's own). Before each run the wizard's own
// steps 1 to 15 are walked without a window (not timed) with every part of
// every source selected; the driver then makes its work copies, runs the four
// engines, writes the history, stages and replaces the targets.
//
// Sources: the four databases only. The package's supplier files (article
// CSV, workbook and XML export, hardware CSV and workbook) have no fair SQL
// peer: a script cannot read a Windows-1252 price list with Dutch numbers or
// a workbook without a reader of its own, which would then be the thing
// measured. The kill test runs them; this benchmark measures the database
// passes, and the peer does those.
//
// The peer does the same inserts and updates as a plain SQL script, INSERT
// ... SELECT (or UPDATE ... FROM, DELETE) per table over the source attached
// to a copy of the same target, in the same process. Both results must be
// equal (a digest of every table the engines write, by codes, the history
// left out), else the program ends without a ratio.
//
// Printed besides the benchmark table: where the driver's time goes (work
// copies, each engine, history, staging, replacement), how the time of both
// grows from the first size to the second, and as the last line the ratio on
// the first size.
//
//     bench_transfer [--schalen=80,800] [benchmark options]

#include "database/history.h"
#include "database/sqlitebackend.h"
#include "start/globals.h"
#include "support/testenvironment.h"
#include "transfer/progressevents.h"
#include "wizard/staptransfer.h"
#include "wizard/transferpakket.h"

#include "support/fastestratio.h"
#include "support/optiesscript.h"
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>

using namespace supplink;
using namespace supplink::test;

namespace {

// One size of the package.
struct Grootte
{
    int schaal = 80;
    TransferPakket pakket;

    void herstel() const
    {
        if (!HerstelDoelen(pakket)) {
            std::fprintf(stderr, "cannot restore the targets of scale %d\n", schaal);
            std::exit(1);
        }
    }
    // The wizard's walk over the restored targets (its history marks read them).
    void kies() const
    {
        herstel();
        const QString fout = KiesTransferPakket(pakket, PakketBronnen::AlleenDatabases);
        if (!fout.isEmpty()) {
            std::fprintf(stderr, "the wizard's walk stopped (scale %d): %s\n", schaal, qPrintable(fout));
            std::exit(1);
        }
    }
};

// ---- The driver ------------------------------------------------------------------------------------------

struct Splitsing
{
    std::map<std::string, double> ms; // what took how long in the last run
};

std::map<int, Splitsing> g_splitsingen; // per scale, of the last run

void metDriver(const Grootte& g)
{
    StapTransfer stap;
    QElapsedTimer werker;
    QString naam;
    Splitsing splitsing;
    stap.BijMoment = [&](TransferMoment moment, const TransferDoel* doel) {
        if (moment == TransferMoment::WerkerGestart) {
            naam = QStringLiteral("engine ") + SoortCode(doel->soort);
            werker.start();
        } else if (moment == TransferMoment::WerkerKlaar) {
            splitsing.ms[naam.toStdString()] += double(werker.nsecsElapsed()) / 1e6;
        }
    };
    stap.StartTransfer();
    if (!stap.Eindmelding().isEmpty()) {
        std::fprintf(stderr, "the transfer failed: %s\n", qPrintable(stap.Eindmelding().simplified()));
        std::exit(1);
    }
    const StapTransfer::Tijden& t = stap.Tijdsbesteding();
    splitsing.ms["work copies"] = double(t.werkkopieen);
    splitsing.ms["history"] = double(t.historie);
    splitsing.ms["staging"] = double(t.faseren);
    splitsing.ms["replacement"] = double(t.vervangen);
    splitsing.ms["total"] = double(t.totaal);
    g_splitsingen[g.schaal] = splitsing;
}

// ---- The peer --------------------------------------------------------------------------------------------

using Db = std::shared_ptr<SqliteBackend>;

Db openMetBron(const QString& doel, const QString& bron)
{
    const Db db = SqliteBackend::open(doel);
    db->execute(QStringLiteral("ATTACH DATABASE ? AS src"), {bron});
    db->execute(QStringLiteral("BEGIN"));
    return db;
}

void sluit(const Db& db)
{
    db->execute(QStringLiteral("COMMIT"));
    db->execute(QStringLiteral("DETACH DATABASE src"));
    db->close();
}

QStringList kolommen(const Db& db, const QString& schema, const QString& tabel)
{
    QStringList namen;
    const auto rijen = db->run(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, tabel));
    for (qsizetype r = 0; rijen && r < rijen->rowCount(); ++r)
        namen << rijen->rows.row(r)[1].toString();
    return namen;
}

// The columns a table shares between source and target, apart from those left out.
QStringList gedeeld(const Db& db, const QString& tabel, const QStringList& overslaan)
{
    const QStringList bron = kolommen(db, QStringLiteral("src"), tabel);
    QStringList namen;
    for (const QString& k : kolommen(db, QStringLiteral("main"), tabel)) {
        if (!overslaan.contains(k, Qt::CaseInsensitive) && bron.contains(k, Qt::CaseInsensitive))
            namen << k;
    }
    return namen;
}

// The rows of a code table the target lacks; with a numbered OrderNr, continuing the target's highest in
// the order given.
void nieuweCodes(const Db& db, const QString& tabel, const QString& volgorde, bool volgnummer)
{
    QStringList doel = gedeeld(db, tabel, {QStringLiteral("ID"), QStringLiteral("fkPriceCorrection"),
                                            QStringLiteral("fkTimeCorrection")});
    QStringList waarden;
    for (const QString& k : doel) {
        if (volgnummer && k == QLatin1String("OrderNr"))
            waarden << QStringLiteral("(SELECT ifnull(max(OrderNr), 0) FROM main.%1) + row_number() OVER (ORDER BY %2)")
                           .arg(tabel, volgorde);
        else
            waarden << QStringLiteral("s.") + k;
    }
    db->execute(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM src.%1 s WHERE s.Code NOT IN (SELECT Code FROM "
                               "main.%1 WHERE Code IS NOT NULL) ORDER BY %4")
                    .arg(tabel, doel.join(QStringLiteral(", ")), waarden.join(QStringLiteral(", ")), volgorde));
}

void producten(const QString& doel, const QString& bron)
{
    const Db db = openMetBron(doel, bron);
    // Suppliers and groups the target lacks; new groups numbered on from the target's highest, in the order
    // of the article types that use them.
    nieuweCodes(db, QStringLiteral("Supplier"), QStringLiteral("s.ID"), false);
    for (const char* tabel : {"ArtGroup", "CalculationGroup"}) {
        const QString koppeling = QString::fromLatin1(qstrcmp(tabel, "ArtGroup") == 0 ? "fkGroup" : "fkCalcGroup");
        nieuweCodes(db, QString::fromLatin1(tabel),
                    QStringLiteral("(SELECT min(a.fkType) FROM src.Article a WHERE a.%1 = s.ID), s.ID").arg(koppeling),
                    true);
    }
    // The articles the target lacks.
    db->execute(QStringLiteral("CREATE TEMP TABLE nieuw (Code TEXT PRIMARY KEY)"));
    db->execute(QStringLiteral("INSERT INTO temp.nieuw SELECT s.Code FROM src.Article s WHERE s.Code NOT IN (SELECT "
                               "Code FROM main.Article WHERE Code IS NOT NULL)"));
    // Price changes: the order data of the articles the user has; the price rows of the types whose price
    // table goes with the article replaced.
    db->execute(QStringLiteral("UPDATE Article SET OrderCode = s.OrderCode, PriceOrder = s.PriceOrder, PriceUnit = "
                               "s.PriceUnit FROM src.Article s WHERE s.Code = Article.Code"));
    for (const auto& [tabel, types] : {std::pair{"PriceData2D", "4, 9"}, std::pair{"PriceData1D", "8, 14"}})
        db->execute(QStringLiteral("DELETE FROM %1 WHERE fkArticle IN (SELECT t.ID FROM Article t JOIN src.Article s "
                                   "ON s.Code = t.Code WHERE s.fkType IN (%2))")
                        .arg(QLatin1String(tabel), QLatin1String(types)));
    // New articles with their look-ups carried over by code, type by type.
    const QStringList doelKolommen = gedeeld(db, QStringLiteral("Article"),
                                             {QStringLiteral("ID"), QStringLiteral("fkMirroredArticle"),
                                              QStringLiteral("fkPriceCorrection"), QStringLiteral("fkRefCombie1"),
                                              QStringLiteral("fkRefCombie2"), QStringLiteral("fkRefCombie3"),
                                              QStringLiteral("fkCentralPriceTable")});
    QStringList waarden;
    for (const QString& k : doelKolommen) {
        if (k == QLatin1String("fkGroup"))
            waarden << QStringLiteral("(SELECT g.ID FROM ArtGroup g JOIN src.ArtGroup sg ON sg.Code = g.Code WHERE sg.ID = s.fkGroup)");
        else if (k == QLatin1String("fkCalcGroup"))
            waarden << QStringLiteral("(SELECT c.ID FROM CalculationGroup c JOIN src.CalculationGroup sc ON sc.Code = c.Code WHERE sc.ID = s.fkCalcGroup)");
        else if (k == QLatin1String("fkSupplier"))
            waarden << QStringLiteral("(SELECT l.ID FROM Supplier l JOIN src.Supplier sl ON sl.Code = l.Code WHERE sl.ID = s.fkSupplier)");
        else
            waarden << QStringLiteral("s.") + k;
    }
    db->execute(QStringLiteral("INSERT INTO Article (%1) SELECT %2 FROM src.Article s JOIN temp.nieuw n ON n.Code = "
                               "s.Code ORDER BY s.fkType, s.ID")
                    .arg(doelKolommen.join(QStringLiteral(", ")), waarden.join(QStringLiteral(", "))));
    // Their mirrored articles, by code (joined once: a subquery per row would search the whole table).
    db->execute(QStringLiteral("CREATE TEMP TABLE spiegel AS SELECT t.ID AS artikel, m.ID AS spiegel FROM src.Article s "
                               "JOIN temp.nieuw n ON n.Code = s.Code JOIN Article t ON t.Code = s.Code JOIN Article m "
                               "ON m.Code = s.fkMirroredArticle"));
    db->execute(QStringLiteral("UPDATE Article SET fkMirroredArticle = x.spiegel FROM temp.spiegel x WHERE x.artikel = "
                               "Article.ID"));
    db->execute(QStringLiteral("DROP TABLE temp.spiegel"));
    // The price rows of the new articles and of those whose rows were replaced.
    db->execute(QStringLiteral("INSERT INTO PriceData2D (fkArticle, W, H, Price) SELECT t.ID, p.W, p.H, p.Price FROM "
                               "src.PriceData2D p JOIN src.Article s ON s.ID = p.fkArticle JOIN Article t ON t.Code = "
                               "s.Code WHERE s.fkType IN (4, 9) OR s.Code IN (SELECT Code FROM temp.nieuw) ORDER BY "
                               "p.fkArticle, p.W, p.H"));
    db->execute(QStringLiteral("INSERT INTO PriceData1D (fkArticle, W, Price) SELECT t.ID, p.W, p.Price FROM "
                               "src.PriceData1D p JOIN src.Article s ON s.ID = p.fkArticle JOIN Article t ON t.Code = "
                               "s.Code WHERE s.fkType IN (8, 14) OR s.Code IN (SELECT Code FROM temp.nieuw) ORDER BY "
                               "p.fkArticle, p.W"));
    db->execute(QStringLiteral("DROP TABLE temp.nieuw"));
    sluit(db);
}

void opties(const QString& doel, const QString& bron)
{
    const Db db = openMetBron(doel, bron);
    bench::OptiesScript(*db);
    sluit(db);
}

struct Familie
{
    const char* tabel;
    const char* hoofd; // the main table's columns
    const char* kind;
    const char* koppeling;
    const char* velden;
};

const Familie kFamilies[] = {
    {"PaneGrooveTable", "Code, Description, fkCategory", "PaneGroove", "fkPaneGrooveTable",
     "GrooveDepth, GlassDepth, WindowDepth, DoorDepth, RackDepth, GrooveShape, CornerleadPentable, SideleadPentable, "
     "DeepestGroove, PaneSide"},
    {"EdgeGroove", "Code, Description, fkCategory, GrooveShape", nullptr, nullptr, nullptr},
    {"OuterGrooveTable", "Code, Description, fkCategory", "OuterGroove", "fkOuterGrooveTable",
     "WindowOverlap, DoorOverlap, GrooveShape, PaneSide"},
    {"TreshHoldCombi", "Code, Description, fkCategory, ArtCode, PaneGrooveShape, EdgeGrooveShape",
     "TreshHoldArticleUsage", "fkCombi",
     "fkArtAct, Count, Polygon, OverlengthDim1, CR_Length, OverlengthDim2, UsageDescription"},
    {"TreshHoldCombiExt", "Code, Description, fkCategory, ArtCode", "TreshHoldExtArticleUsage", "fkCombi",
     "fkArtAct, Count, Polygon, OverlengthDim1, CR_Length, OverlengthDim2, UsageDescription"},
};

void bibliotheek(const QString& doel, const QString& bron)
{
    const Db db = openMetBron(doel, bron);
    for (const Familie& f : kFamilies) {
        const QString tabel = QString::fromLatin1(f.tabel);
        // The rows the target lacks (without a category: category numbers belong to each database); the rows
        // it has stay as they are.
        const QString hoofd = QString::fromLatin1(f.hoofd).remove(QStringLiteral(", fkCategory"));
        db->execute(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM src.%1 s WHERE s.Code NOT IN (SELECT Code "
                                   "FROM main.%1 WHERE Code IS NOT NULL) ORDER BY s.ID")
                        .arg(tabel, hoofd));
        if (!f.kind)
            continue;
        // The children of parents that have none in the target.
        QStringList bronVelden;
        for (const QString& veld : QString::fromLatin1(f.velden).split(QStringLiteral(", ")))
            bronVelden << QStringLiteral("c.") + veld;
        db->execute(QStringLiteral("INSERT INTO main.%1 (%2, %3) SELECT t.ID, %4 FROM src.%5 p JOIN src.%1 c ON c.%2 = "
                                   "p.ID JOIN main.%5 t ON t.Code = p.Code WHERE t.ID NOT IN (SELECT %2 FROM main.%1 "
                                   "WHERE %2 IS NOT NULL) ORDER BY c.ID")
                        .arg(QLatin1String(f.kind), QLatin1String(f.koppeling), QLatin1String(f.velden),
                             bronVelden.join(QStringLiteral(", ")), tabel));
    }
    sluit(db);
}

void werkvoorbereiding(const QString& doel, const QString& bron)
{
    const Db db = openMetBron(doel, bron);
    // The shapes the target lacks (without their category); then each geometry (plain or contra) a shape of
    // the target lacks, with its nodes (a shape and its kind of geometry as one number, so that the test is one
    // look-up); the names of every shape that has none.
    db->execute(QStringLiteral("INSERT INTO GrooveShape (Code, Description, Type, Priority) SELECT Code, "
                               "Description, Type, Priority FROM src.GrooveShape WHERE Type IN (1, 2, 3, 4) "
                               "AND Code NOT IN (SELECT Code FROM GrooveShape WHERE Code IS NOT NULL) ORDER BY Type, ID"));
    db->execute(QStringLiteral("CREATE TEMP TABLE nieuw AS SELECT t.ID AS doel, g.ID AS bron, g.bContra <> 0 AS contra "
                               "FROM GrooveShape t JOIN src.GrooveShape s ON s.Code = t.Code JOIN src.GrooveShapeGeom g "
                               "ON g.fkGrooveShape = s.ID WHERE t.ID * 2 + (g.bContra <> 0) NOT IN (SELECT fkGrooveShape * 2 + "
                               "(bContra <> 0) FROM GrooveShapeGeom WHERE fkGrooveShape IS NOT NULL)"));
    db->execute(QStringLiteral("INSERT INTO GrooveShapeGeom (fkGrooveShape, bContra, PreviewWidth, PreviewHeight) SELECT "
                               "n.doel, g.bContra, g.PreviewWidth, g.PreviewHeight FROM src.GrooveShapeGeom g JOIN "
                               "temp.nieuw n ON n.bron = g.ID ORDER BY g.ID"));
    db->execute(QStringLiteral(
        "INSERT INTO GrooveShapeNodes (fkGrooveShapeGeom, OrderNr, DeltaX, DeltaZType, DeltaZFormula, RoundingType, "
        "RoundingValue, DeltaZ, AngleRule, Angle, Reference) SELECT tg.ID, x.OrderNr, x.DeltaX, x.DeltaZType, "
        "x.DeltaZFormula, x.RoundingType, x.RoundingValue, x.DeltaZ, x.AngleRule, x.Angle, x.Reference FROM "
        "src.GrooveShapeNodes x JOIN temp.nieuw n ON n.bron = x.fkGrooveShapeGeom JOIN GrooveShapeGeom tg ON "
        "tg.fkGrooveShape = n.doel AND (tg.bContra <> 0) = n.contra ORDER BY x.ID"));
    db->execute(QStringLiteral("INSERT INTO GrooveShapeNames (fkGrooveShape, Width, Name) SELECT t.ID, m.Width, m.Name "
                               "FROM src.GrooveShapeNames m JOIN src.GrooveShape s ON s.ID = m.fkGrooveShape JOIN "
                               "GrooveShape t ON t.Code = s.Code WHERE t.ID NOT IN (SELECT fkGrooveShape FROM "
                               "GrooveShapeNames WHERE fkGrooveShape IS NOT NULL) ORDER BY m.ID"));
    db->execute(QStringLiteral("DROP TABLE temp.nieuw"));
    sluit(db);
}

void metScript(const Grootte& g)
{
    opties(g.pakket.doel(DoelSoort::Opt), g.pakket.bron(DoelSoort::Opt));
    producten(g.pakket.doel(DoelSoort::PT), g.pakket.bron(DoelSoort::PT));
    werkvoorbereiding(g.pakket.doel(DoelSoort::Wkv), g.pakket.bron(DoelSoort::Wkv));
    bibliotheek(g.pakket.doel(DoelSoort::Lib), g.pakket.bron(DoelSoort::Lib));
}

// ---- The digest ------------------------------------------------------------------------------------------

QStringList digestQueries(DoelSoort soort)
{
    switch (soort) {
    case DoelSoort::PT:
        return {QStringLiteral("SELECT a.*, g.Code, c.Code, l.Code FROM Article a LEFT JOIN ArtGroup g ON g.ID = "
                               "a.fkGroup LEFT JOIN CalculationGroup c ON c.ID = a.fkCalcGroup LEFT JOIN Supplier l ON "
                               "l.ID = a.fkSupplier ORDER BY a.Code"),
                QStringLiteral("SELECT a.Code, p.W, p.Price FROM PriceData1D p JOIN Article a ON a.ID = p.fkArticle "
                               "ORDER BY 1, 2, 3"),
                QStringLiteral("SELECT a.Code, p.W, p.H, p.Price FROM PriceData2D p JOIN Article a ON a.ID = "
                               "p.fkArticle ORDER BY 1, 2, 3, 4"),
                QStringLiteral("SELECT Code, Description, OrderNr FROM ArtGroup ORDER BY Code"),
                QStringLiteral("SELECT Code, Description FROM Supplier ORDER BY Code"),
                QStringLiteral("SELECT Code, Description FROM CalculationGroup ORDER BY Code")};
    case DoelSoort::Opt: {
        const auto lid = [](const char* pad) {
            return QStringLiteral("CASE json_type(Data, '$.%1') WHEN 'text' THEN json(json_extract(Data, '$.%1')) ELSE "
                                  "json_extract(Data, '$.%1') END")
                .arg(QLatin1String(pad));
        };
        return {QStringLiteral("SELECT Code, Description, Polygon, Lim_min_W, Lim_min_H, Lim_min_A, Lim_max_W, "
                               "Lim_max_H, Lim_max_A, %1, %2, %3, %4 FROM LocksHingesCombi ORDER BY Code")
                    .arg(lid("RefUsages"), lid("ArtUsages"), lid("ActUsages"), lid("LHArticles")),
                QStringLiteral("SELECT Code, Description FROM CustomLHCombi ORDER BY Code"),
                QStringLiteral("SELECT Code, Description FROM LocksHingesTable ORDER BY Code"),
                QStringLiteral("SELECT t.Code, c.Code, x.MaxHeight, x.MaxWidth FROM LocksHingesType x JOIN "
                               "LocksHingesTable t ON t.ID = x.fkLocksHingesTable JOIN LocksHingesCombi c ON c.ID = "
                               "x.fkLocksHingesCombi ORDER BY 1, 2"),
                QStringLiteral("SELECT k.Code, c.Code FROM CustomLH x JOIN CustomLHCombi k ON k.ID = x.fkCustomLHCombi "
                               "JOIN LocksHingesCombi c ON c.ID = x.fkLockHingeCombi ORDER BY 1, 2")};
    }
    case DoelSoort::Lib: {
        QStringList queries;
        for (const Familie& f : kFamilies) {
            queries << QStringLiteral("SELECT %1 FROM %2 ORDER BY Code").arg(QLatin1String(f.hoofd), QLatin1String(f.tabel));
            if (f.kind)
                queries << QStringLiteral("SELECT p.Code, c.%1 FROM %2 c JOIN %3 p ON p.ID = c.%4 ORDER BY p.Code, c.ID")
                               .arg(QString::fromLatin1(f.velden).replace(QStringLiteral(", "), QStringLiteral(", c.")),
                                    QLatin1String(f.kind), QLatin1String(f.tabel), QLatin1String(f.koppeling));
        }
        return queries;
    }
    case DoelSoort::Wkv:
        return {QStringLiteral("SELECT Code, Description, Type, Priority, fkCategory FROM GrooveShape ORDER BY Code"),
                QStringLiteral("SELECT s.Code, g.bContra <> 0, g.bContra, g.PreviewWidth, g.PreviewHeight FROM "
                               "GrooveShapeGeom g JOIN GrooveShape s ON s.ID = g.fkGrooveShape ORDER BY 1, 2"),
                QStringLiteral("SELECT s.Code, g.bContra <> 0, n.OrderNr, n.DeltaX, n.DeltaZType, n.DeltaZFormula, "
                               "n.RoundingType, n.RoundingValue, n.DeltaZ, n.Angle, n.AngleRule, n.Reference FROM "
                               "GrooveShapeNodes n JOIN GrooveShapeGeom g ON g.ID = n.fkGrooveShapeGeom JOIN GrooveShape "
                               "s ON s.ID = g.fkGrooveShape ORDER BY 1, 2, 3"),
                QStringLiteral("SELECT s.Code, m.Width, m.Name FROM GrooveShapeNames m JOIN GrooveShape s ON s.ID = "
                               "m.fkGrooveShape ORDER BY 1, 2, 3")};
    }
    return {};
}

// Per query of every target: the number of rows and a hash of the values; the columns named ID or starting
// with "fk" that hold row numbers are left out, the codes they point to are in the query.
QStringList digest(const Grootte& g)
{
    QStringList uit;
    for (const DoelSoort soort : kDoelVolgorde) {
        const Db db = SqliteBackend::open(g.pakket.doel(soort), {false, true});
        for (const QString& query : digestQueries(soort)) {
            QCryptographicHash hash(QCryptographicHash::Sha256);
            const std::optional<ResultData> rijen = db->run(query);
            QList<int> mee;
            for (int k = 0; rijen && k < rijen->columns.size(); ++k) {
                const QString naam = rijen->columns.at(k).name;
                if (naam.compare(QLatin1String("ID"), Qt::CaseInsensitive) != 0 &&
                    !(naam.startsWith(QLatin1String("fk")) && naam != QLatin1String("fkArtAct") &&
                      naam != QLatin1String("fkCategory") && naam != QLatin1String("fkType")))
                    mee << k;
            }
            for (qsizetype r = 0; rijen && r < rijen->rowCount(); ++r) {
                const QVariant* rij = rijen->rows.row(r);
                for (const int k : mee) {
                    hash.addData(rij[k].isNull() ? QByteArray("\x01") : rij[k].toString().toUtf8());
                    hash.addData(QByteArray(1, '\0'));
                }
            }
            uit << QStringLiteral("%1 %2 rows %3 %4")
                       .arg(SoortCode(soort))
                       .arg(rijen ? rijen->rowCount() : -1)
                       .arg(QString::fromLatin1(hash.result().toHex().left(16)), query.left(60));
        }
        db->close();
    }
    return uit;
}

// ---- Sizes and the benchmarks ----------------------------------------------------------------------------

std::vector<Grootte> g_grootten;

void vergelijk(const Grootte& g)
{
    // BENCH_TRANSFER_BEWAAR=<folder> keeps both results there, to look into a difference.
    const QString bewaar = qEnvironmentVariable("BENCH_TRANSFER_BEWAAR");
    const auto bewaarDoelen = [&](const QString& wie) {
        if (bewaar.isEmpty())
            return;
        QDir().mkpath(QDir(bewaar).filePath(wie));
        for (const DoelSoort soort : kDoelVolgorde) {
            const QString kopie = QDir(bewaar).filePath(wie + QLatin1Char('/') + QFileInfo(g.pakket.doel(soort)).fileName());
            QFile::remove(kopie);
            QFile::copy(g.pakket.doel(soort), kopie);
        }
    };
    g.herstel();
    metScript(g);
    const QStringList verwacht = digest(g);
    bewaarDoelen(QStringLiteral("script"));
    g.kies();
    metDriver(g);
    const QStringList gekregen = digest(g);
    bewaarDoelen(QStringLiteral("transfer"));
    if (verwacht != gekregen) {
        for (int i = 0; i < qMin(verwacht.size(), gekregen.size()); ++i) {
            if (verwacht.at(i) != gekregen.at(i))
                std::fprintf(stderr, "differs:\n  sql script: %s\n  transfer:   %s\n", qPrintable(verwacht.at(i)),
                             qPrintable(gekregen.at(i)));
        }
        std::fprintf(stderr, "the transfer and the sql script disagree (scale %d): no ratio\n", g.schaal);
        std::exit(1);
    }
    std::printf("scale %d: transfer and sql script give equal targets (%lld digests)\n", g.schaal,
                static_cast<long long>(verwacht.size()));
}

// One way of doing the work, timed without what it starts from: the restored targets (and for the
// transfer the wizard's walk).
void meet(benchmark::State& state, const Grootte* g, void (*werk)(const Grootte&))
{
    for (auto _ : state) {
        state.PauseTiming();
        if (werk == &metDriver)
            g->kies();
        else
            g->herstel();
        state.ResumeTiming();
        werk(*g);
    }
}

std::string naam(const char* wat, int schaal)
{
    return std::string(wat) + "/x" + std::to_string(schaal);
}

// Rows of a table of a source database.
qint64 rijen(const QString& pad, const QString& tabel)
{
    const Db db = SqliteBackend::open(pad, {false, true});
    const std::optional<ResultData> uit = db->run(QStringLiteral("SELECT count(*) FROM %1").arg(tabel));
    db->close();
    return uit ? uit->firstValue().toLongLong() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    // The selection steps of the walk may draw a groove figure's preview: a window-less platform suffices.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // the size lines show while the rest runs
    QList<int> schalen{80, 800};
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QStringLiteral("--schalen="))) {
            schalen.clear();
            for (const QString& f : arg.mid(10).split(QLatin1Char(',')))
                schalen << f.toInt();
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restAantal = int(rest.size());
    ZetHistoryKlok([] { return QDateTime(QDate(2024, 3, 5), QTime(10, 30)); });

    // The walk saves settings and the welcome step unpacks into the temporary folder: both private.
    TestEnvironment omgeving;
    g_grootten.reserve(schalen.size());
    for (const int schaal : schalen) {
        QElapsedTimer klok;
        klok.start();
        Grootte g;
        g.schaal = schaal;
        QString fout;
        g.pakket = SchrijfTransferPakket(omgeving.path(QStringLiteral("x%1").arg(schaal)), schaal, &fout);
        if (!fout.isEmpty()) {
            std::fprintf(stderr, "the demo package (scale %d) cannot be written: %s\n", schaal, qPrintable(fout));
            return 1;
        }
        const QString pt = g.pakket.bron(DoelSoort::PT);
        const QString lib = g.pakket.bron(DoelSoort::Lib);
        std::printf("scale %d: %lld articles (%lld 1D and %lld 2D price rows), %lld combinations, %lld choices, "
                    "library rows %lld / %lld / %lld / %lld / %lld, %lld groove shapes (written in %lld ms)\n",
                    schaal, rijen(pt, QStringLiteral("Article")), rijen(pt, QStringLiteral("PriceData1D")),
                    rijen(pt, QStringLiteral("PriceData2D")),
                    rijen(g.pakket.bron(DoelSoort::Opt), QStringLiteral("LocksHingesCombi")),
                    rijen(g.pakket.bron(DoelSoort::Opt), QStringLiteral("CustomLHCombi")),
                    rijen(lib, QStringLiteral("PaneGrooveTable")), rijen(lib, QStringLiteral("EdgeGroove")),
                    rijen(lib, QStringLiteral("OuterGrooveTable")), rijen(lib, QStringLiteral("TreshHoldCombi")),
                    rijen(lib, QStringLiteral("TreshHoldCombiExt")),
                    rijen(g.pakket.bron(DoelSoort::Wkv), QStringLiteral("GrooveShape")),
                    static_cast<long long>(klok.elapsed()));
        g_grootten.push_back(g);
    }
    for (const Grootte& g : g_grootten)
        vergelijk(g);

    for (const Grootte& g : g_grootten) {
        for (const auto& [wat, werk] : {std::pair{"BM_SqlScript", &metScript}, std::pair{"BM_Transfer", &metDriver}}) {
            benchmark::RegisterBenchmark(naam(wat, g.schaal).c_str(), meet, &g, werk)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(g.schaal == schalen.front() ? 4 : 2)
                ->ComputeStatistics("min", bench::fastest);
        }
    }
    benchmark::Initialize(&restAantal, rest.data());
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const Grootte& g : g_grootten) {
        std::printf("where the transfer's time goes (scale %d, last run):", g.schaal);
        for (const auto& [wat, ms] : g_splitsingen[g.schaal].ms)
            std::printf(" %s %.0f ms;", wat.c_str(), ms);
        std::printf("\n");
    }
    if (g_grootten.size() >= 2) {
        const Grootte& klein = g_grootten.front();
        const Grootte& groot = g_grootten.back();
        const double transfer = reporter.times[naam("BM_Transfer", groot.schaal)] /
                                reporter.times[naam("BM_Transfer", klein.schaal)];
        const double script = reporter.times[naam("BM_SqlScript", groot.schaal)] /
                              reporter.times[naam("BM_SqlScript", klein.schaal)];
        std::printf("from scale %d to %d the transfer's time grows %.1f-fold, the sql script's %.1f-fold\n",
                    klein.schaal, groot.schaal, transfer, script);
    }
    for (auto it = g_grootten.rbegin(); it != g_grootten.rend(); ++it)
        std::printf("transfer ratio vs sql script%s: %.2f\n",
                    it->schaal == g_grootten.front().schaal ? "" : qPrintable(QStringLiteral(" (scale %1)").arg(it->schaal)),
                    reporter.ratio(naam("BM_SqlScript", it->schaal), naam("BM_Transfer", it->schaal)));
    return 0;
}
