// Synchronises 2,000 selected groove shapes (each with two geometry rows, six
// nodes per geometry and two names) from a work-preparation database of
// version 3.40 into an empty one with the work-preparation engine. The peer
// does the same work as four plain statements over the source attached to
// the target (INSERT ... SELECT for the shapes, then for their geometry,
// nodes and names, each joined to its new parent by code and variant), in the
// same process on the same files: the practical limit for this work. Both
// results must be equal before a ratio is printed.

#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "sync/clssyncshapes.h"
#include "transfer/progressevents.h"

#include "support/fastestratio.h"
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

using namespace supplink;

namespace {

constexpr int kVormen = 2000;
constexpr int kNodesPerGeometrie = 6;

QString g_bron, g_leeg, g_doel;

QString vormCode(int i)
{
    return QStringLiteral("SF%1").arg(i, 5, 10, QLatin1Char('0'));
}

void maakBestanden()
{
    fixtures::makeDatabase(g_bron, fixtures::Kind::WorkPreparation, {3, 40});
    fixtures::makeDatabase(g_leeg, fixtures::Kind::WorkPreparation, {3, 40});
    const auto db = SqliteBackend::open(g_bron);
    Transaction transactie(db);
    const auto vorm = db->prepare(QStringLiteral(
        "INSERT INTO GrooveShape (Code, Description, Type, Priority, fkCategory) VALUES (?, ?, ?, ?, 3)"));
    const auto geometrie = db->prepare(QStringLiteral("INSERT INTO GrooveShapeGeom (fkGrooveShape, bContra, "
                                                      "PreviewWidth, PreviewHeight) VALUES (?, ?, ?, ?)"));
    const auto node = db->prepare(QStringLiteral(
        "INSERT INTO GrooveShapeNodes (fkGrooveShapeGeom, OrderNr, DeltaX, DeltaZType, DeltaZFormula, "
        "RoundingType, "
        "RoundingValue, DeltaZ, Angle, AngleRule, Reference) VALUES (?, ?, ?, ?, ?, 0, 0.5, ?, ?, 1, 0)"));
    const auto naam = db->prepare(
        QStringLiteral("INSERT INTO GrooveShapeNames (fkGrooveShape, Width, Name) VALUES (?, ?, ?)"));
    for (int i = 0; i < kVormen; ++i) {
        vorm->bind(0, vormCode(i));
        vorm->bind(1, QStringLiteral("Sponningfiguur %1").arg(i));
        vorm->bind(2, 1 + i % 4);
        vorm->bind(3, i % 10);
        vorm->execute();
        const qint64 vormId = vorm->lastInsertId();
        for (int contra : {0, -1}) {
            geometrie->bind(0, vormId);
            geometrie->bind(1, contra);
            geometrie->bind(2, 100 + i % 50);
            geometrie->bind(3, 80 + i % 30);
            geometrie->execute();
            const qint64 geometrieId = geometrie->lastInsertId();
            for (int n = kNodesPerGeometrie; n >= 1; --n) {
                node->bind(0, geometrieId);
                node->bind(1, n * 10);
                node->bind(2, n * 0.001 + i * 1e-6);
                node->bind(3, n % 2);
                node->bind(4, n % 2 ? QVariant(QStringLiteral("b/%1").arg(n)) : QVariant());
                node->bind(5, n * 0.002);
                node->bind(6, contra ? 45.0 : 0.0);
                node->execute();
            }
        }
        for (int breedte : {56, 68}) {
            naam->bind(0, vormId);
            naam->bind(1, breedte);
            naam->bind(2, QStringLiteral("Naam %1 %2").arg(i).arg(breedte));
            naam->execute();
        }
    }
    transactie.commit();
    db->close();

    ItemCollection selectie;
    for (int i = 0; i < kVormen; ++i) {
        auto item = std::make_shared<clsItem>();
        item->Code = vormCode(i);
        item->Selected = true;
        selectie << item;
    }
    globals().gColSponningfigurenGeselecteerd = selectie;
}

void leegDoel()
{
    QFile::remove(g_doel);
    QFile::copy(g_leeg, g_doel);
}

// Counts the errors the engine reports, and drops the rest.
class Ontvanger : public VoortgangOntvanger
{
public:
    int fouten = 0;
    void FoutOpgetreden(qint32&) override { ++fouten; }
};

bool metEngine()
{
    Ontvanger ontvanger;
    clsSyncSHAPES engine;
    engine.SetOntvanger(&ontvanger);
    engine.Sync(g_bron, g_doel, QStringLiteral("1;2;3;4"));
    return ontvanger.fouten == 0;
}

void metStatements()
{
    const auto db = SqliteBackend::open(g_doel);
    db->execute(QStringLiteral("ATTACH DATABASE ? AS src"), {g_bron});
    db->execute(QStringLiteral("BEGIN"));
    db->execute(QStringLiteral("INSERT INTO GrooveShape (Code, Description, Type, Priority) SELECT Code, "
                               "Description, Type, Priority FROM src.GrooveShape WHERE Type IN (1, 2, 3, 4) "
                               "ORDER BY Type, ID"));
    db->execute(QStringLiteral("INSERT INTO GrooveShapeGeom (fkGrooveShape, bContra, PreviewWidth, "
                               "PreviewHeight) SELECT t.ID, g.bContra, "
                               "g.PreviewWidth, g.PreviewHeight FROM src.GrooveShapeGeom g JOIN "
                               "src.GrooveShape s ON s.ID = g.fkGrooveShape "
                               "JOIN GrooveShape t ON t.Code = s.Code ORDER BY g.ID"));
    db->execute(QStringLiteral(
        "INSERT INTO GrooveShapeNodes (fkGrooveShapeGeom, OrderNr, DeltaX, DeltaZType, DeltaZFormula, "
        "RoundingType, "
        "RoundingValue, DeltaZ, AngleRule, Angle, Reference) SELECT tg.ID, n.OrderNr, n.DeltaX, "
        "n.DeltaZType, "
        "n.DeltaZFormula, n.RoundingType, n.RoundingValue, n.DeltaZ, n.AngleRule, n.Angle, n.Reference FROM "
        "src.GrooveShapeNodes n JOIN src.GrooveShapeGeom g ON g.ID = n.fkGrooveShapeGeom JOIN "
        "src.GrooveShape s ON "
        "s.ID = g.fkGrooveShape JOIN GrooveShape t ON t.Code = s.Code JOIN GrooveShapeGeom tg ON "
        "tg.fkGrooveShape = "
        "t.ID AND (tg.bContra <> 0) = (g.bContra <> 0) ORDER BY s.Code, g.bContra, n.OrderNr"));
    db->execute(QStringLiteral(
        "INSERT INTO GrooveShapeNames (fkGrooveShape, Width, Name) SELECT t.ID, m.Width, m.Name FROM "
        "src.GrooveShapeNames m JOIN src.GrooveShape s ON s.ID = m.fkGrooveShape JOIN GrooveShape t ON "
        "t.Code = "
        "s.Code ORDER BY m.ID"));
    db->execute(QStringLiteral("COMMIT"));
    db->execute(QStringLiteral("DETACH DATABASE src"));
    db->close();
}

// A digest of the target's rows, reached through the shape codes (the IDs differ between the two ways).
QByteArray digest()
{
    const auto db = SqliteBackend::open(g_doel);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList queries{
        QStringLiteral("SELECT Code, Description, Type, Priority, fkCategory FROM GrooveShape ORDER BY Code"),
        QStringLiteral(
            "SELECT s.Code, g.bContra <> 0, g.bContra, g.PreviewWidth, g.PreviewHeight FROM GrooveShapeGeom "
            "g JOIN GrooveShape s ON s.ID = g.fkGrooveShape ORDER BY 1, 2"),
        QStringLiteral(
            "SELECT s.Code, g.bContra <> 0, n.OrderNr, n.DeltaX, n.DeltaZType, n.DeltaZFormula, "
            "n.RoundingType, n.RoundingValue, n.DeltaZ, n.Angle, n.AngleRule, n.Reference FROM "
            "GrooveShapeNodes n JOIN GrooveShapeGeom g ON g.ID = n.fkGrooveShapeGeom JOIN GrooveShape s "
            "ON s.ID = g.fkGrooveShape ORDER BY 1, 2, 3"),
        QStringLiteral("SELECT s.Code, m.Width, m.Name FROM GrooveShapeNames m JOIN GrooveShape s ON s.ID = "
                       "m.fkGrooveShape ORDER BY 1, 2, 3")};
    for (const QString& query : queries) {
        const std::optional<ResultData> rows = db->run(query);
        hash.addData(QByteArray::number(rows ? rows->rowCount() : -1));
        for (qsizetype r = 0; rows && r < rows->rowCount(); ++r) {
            const QVariant* rij = rows->rows.row(r);
            for (int k = 0; k < rows->rows.width(); ++k) {
                const QVariant& waarde = rij[k];
                hash.addData(waarde.isNull() ? QByteArray("\x01") : waarde.toString().toUtf8());
                hash.addData(QByteArray(1, '\0'));
            }
        }
    }
    db->close();
    return hash.result().toHex();
}

void BM_InsertSelect(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        leegDoel();
        state.ResumeTiming();
        metStatements();
    }
}

void BM_ShapeSync(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        leegDoel();
        state.ResumeTiming();
        if (!metEngine())
            state.SkipWithError("the synchronisation reported errors");
    }
    state.counters["shapes/s"] =
        benchmark::Counter(double(kVormen), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_InsertSelect)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_ShapeSync)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("min", bench::fastest);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir map;
    g_bron = map.filePath(QStringLiteral("bron.db"));
    g_leeg = map.filePath(QStringLiteral("leeg.db"));
    g_doel = map.filePath(QStringLiteral("doel.db"));
    maakBestanden();

    leegDoel();
    metStatements();
    const QByteArray verwacht = digest();
    leegDoel();
    const bool zonderFouten = metEngine();
    const QByteArray gekregen = digest();
    if (!zonderFouten || gekregen != verwacht) {
        std::fprintf(stderr, "results differ (engine %s%s, statements %s): no ratio\n", gekregen.constData(),
                     zonderFouten ? "" : ", with errors", verwacht.constData());
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("shapes sync ratio vs insert-select: %.2f\n",
                reporter.ratio("BM_InsertSelect", "BM_ShapeSync"));
    return 0;
}
