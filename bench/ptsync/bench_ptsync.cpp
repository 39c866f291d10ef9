// Synchronises a supplier product table of 20,000 articles (half with 2D,
// half with 1D price rows) into an empty and into a full SQLite product table
// and reports articles per second.

#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "sync/clssyncpt.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace supplink;

namespace {

constexpr int kArtikelen = 20000;

struct Bestanden
{
    QTemporaryDir dir;
    QString bron;
    QString leeg;
    QString vol;

    Bestanden()
    {
        bron = dir.filePath(QStringLiteral("bron.db"));
        leeg = dir.filePath(QStringLiteral("leeg.db"));
        vol = dir.filePath(QStringLiteral("vol.db"));
        fixtures::makeDatabase(bron, fixtures::Kind::ProductTable, {3, 40});
        fixtures::makeDatabase(leeg, fixtures::Kind::ProductTable, {3, 40});
        {
            fixtures::FixtureDb src(bron);
            src.exec(QStringLiteral("BEGIN"));
            src.exec(QStringLiteral("INSERT INTO ArtType (ID, Type) VALUES (4, 'T4'), (8, 'T8')"));
            src.exec(QStringLiteral("INSERT INTO Supplier (ID, Code) VALUES (1, 'LEV')"));
            src.exec(QStringLiteral("INSERT INTO CalculationGroup (ID, Code) VALUES (1, 'K1')"));
            for (int g = 1; g <= 200; ++g)
                src.exec(QStringLiteral("INSERT INTO ArtGroup (ID, Code, OrderNr) VALUES (?, ?, ?)"),
                         {g, QStringLiteral("G%1").arg(g), g});
            for (int i = 1; i <= kArtikelen; ++i) {
                const int type = i % 2 ? 4 : 8;
                src.exec(QStringLiteral(
                             "INSERT INTO Article (ID, Code, Description, fkType, fkGroup, fkCalcGroup, "
                             "fkSupplier, OrderCode, PriceOrder) VALUES (?, ?, ?, ?, ?, 1, 1, ?, 1.5)"),
                         {i, QStringLiteral("ART-%1").arg(i), QStringLiteral("Artikel %1").arg(i), type,
                          1 + i % 200, QStringLiteral("OC%1").arg(i)});
                if (type == 4) {
                    src.exec(QStringLiteral(
                                 "INSERT INTO PriceData2D (fkArticle, W, H, Price) VALUES (?, 100, 200, "
                                 "?), (?, 200, 200, ?)"),
                             {i, i * 0.5, i, i * 0.75});
                } else {
                    src.exec(
                        QStringLiteral("INSERT INTO PriceData1D (fkArticle, W, Price) VALUES (?, 1000, ?), "
                                       "(?, 2000, ?)"),
                        {i, i * 0.25, i, i * 0.5});
                }
            }
            src.exec(QStringLiteral("COMMIT"));
        }
        {
            // Product tables index the price rows by article, as the design product's own files do.
            fixtures::FixtureDb doel(leeg);
            doel.exec(QStringLiteral("CREATE INDEX idx1 ON PriceData1D (fkArticle)"));
            doel.exec(QStringLiteral("CREATE INDEX idx2 ON PriceData2D (fkArticle)"));
        }
        QFile::copy(leeg, vol);
        sync(vol);
    }

    void sync(const QString& doel)
    {
        clsSyncPT engine;
        engine.Sync(bron, doel, {}, true, QStringLiteral("4;8"));
        if (engine.Fouten() != 0)
            qFatal("synchronisation failed");
    }

    static Bestanden& instance()
    {
        static Bestanden b;
        return b;
    }
};

void zetOpties()
{
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    opties->NieuweArtikelenToevoegen = true;
    opties->DoorvoerenPrijsWijzigingen = true;
    globals().gImportOpties = opties;
}

void run(benchmark::State& state, bool vol)
{
    Bestanden& b = Bestanden::instance();
    const QString doel = b.dir.filePath(QStringLiteral("doel.db"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(doel);
        QFile::copy(vol ? b.vol : b.leeg, doel);
        state.ResumeTiming();
        b.sync(doel);
    }
    state.counters["articles/s"] =
        benchmark::Counter(double(kArtikelen), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PtSyncIntoEmptyTarget(benchmark::State& state)
{
    run(state, false);
}
void BM_PtSyncIntoFullTarget(benchmark::State& state)
{
    run(state, true);
}

BENCHMARK(BM_PtSyncIntoEmptyTarget)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PtSyncIntoFullTarget)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    zetOpties();
    Bestanden::instance();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
