// Synchronises an SQLite options database of 5,000 hardware combinations
// (each with a Data text of 10 articles) and 2,000 hardware choices (three
// combinations each) into an empty and into a full options database, all of
// them chosen. The full target holds every combination with older limits and
// other articles in its Data (merged), and every choice with other rows
// (replaced).
//
// The peer does the same work as plain statements over the source attached
// to the target (UPDATE ... FROM with json_set for the merge, INSERT ...
// SELECT, DELETE of the replaced rows), in the same process on the same
// files: the practical limit of the copy. Both results must be equal (a
// digest of every combination's fields and Data members, every choice and
// every choice row by codes); a difference ends the program without a ratio.

#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "sync/clssyncopt.h"

#include "support/fastestratio.h"
#include "support/optiesscript.h"
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace supplink;

namespace {

constexpr int kCombies = 5000;
constexpr int kArtikelen = 10;
constexpr int kKeuzes = 2000;
constexpr int kRijenPerKeuze = 3;

QString g_bron, g_leeg, g_vol, g_doel;

QString compact(const QJsonArray& a)
{
    return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
}

// The Data of an options combination: four lists, each held in a text; every article an object held in a
// text.
QString data(int combi, const QString& prefix, const QString& ref)
{
    QJsonArray artikelen;
    for (int a = 0; a < kArtikelen; ++a) {
        const QString n = QString::number(a);
        const QJsonObject artikel{
            {QStringLiteral("fkArticle"), QStringLiteral("%1-%2-%3").arg(prefix).arg(combi).arg(a)},
            {QStringLiteral("Position"), n},
            {QStringLiteral("Polygon"), QStringLiteral("0,0;10,0;10,") + n},
            {QStringLiteral("Origin"), QStringLiteral("1")},
            {QStringLiteral("YPos"), QStringLiteral("12.5")},
            {QStringLiteral("CR_X"), QStringLiteral("x+") + n},
            {QStringLiteral("Draw"), QStringLiteral("1")},
            {QStringLiteral("RealLength"), QStringLiteral("100")},
            {QStringLiteral("DrawLength"), QStringLiteral("90")},
            {QStringLiteral("DrawWidth"), QStringLiteral("20")},
            {QStringLiteral("Type"), QStringLiteral("2")},
            {QStringLiteral("WFrom"), QStringLiteral("0")},
            {QStringLiteral("WTo"), QStringLiteral("3000")},
            {QStringLiteral("HFrom"), QStringLiteral("0")},
            {QStringLiteral("HTo"), QStringLiteral("3000")}};
        artikelen.append(QString::fromUtf8(QJsonDocument(artikel).toJson(QJsonDocument::Compact)));
    }
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("RefUsages"), compact(QJsonArray{ref})},
                                  {QStringLiteral("ArtUsages"), QStringLiteral("[]")},
                                  {QStringLiteral("ActUsages"), QStringLiteral("[]")},
                                  {QStringLiteral("LHArticles"), compact(artikelen)}})
            .toJson(QJsonDocument::Compact));
}

void vul(const QString& pad, bool bron)
{
    fixtures::FixtureDb db(pad);
    db.exec(QStringLiteral("BEGIN"));
    const QString combi = QStringLiteral("INSERT INTO LocksHingesCombi (Code, Description, Polygon, "
                                         "Lim_min_W, Lim_min_H, Lim_min_A, Lim_max_W, "
                                         "Lim_max_H, Lim_max_A, Data) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    // The target numbers its rows the other way round, so that every foreign key must be carried over.
    for (int n = 0; n < kCombies; ++n) {
        const int i = bron ? n : kCombies - 1 - n;
        const double basis = bron ? 1 : 100;
        db.exec(combi, {QStringLiteral("HS-%1").arg(i), QStringLiteral("Combi %1").arg(i),
                        bron ? QStringLiteral("0,0;1,1") : QStringLiteral("oud"), basis, basis + 1, basis + 2,
                        basis + 3, basis + 4, basis + 5,
                        data(i, bron ? QStringLiteral("ART") : QStringLiteral("OUD"),
                             bron ? QStringLiteral("R-bron") : QStringLiteral("R-doel"))});
    }
    for (int n = 0; n < kKeuzes; ++n) {
        const int k = bron ? n : kKeuzes - 1 - n;
        db.exec(QStringLiteral("INSERT INTO CustomLHCombi (Code, Description) VALUES (?, ?)"),
                {QStringLiteral("K-%1").arg(k), QStringLiteral("Keuze %1").arg(k)});
        const qint64 keuzeId = db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
        for (int r = 0; r < kRijenPerKeuze; ++r) {
            const int c = (k * 7 + r * (bron ? 11 : 13)) % kCombies;
            db.exec(
                QStringLiteral("INSERT INTO CustomLH (fkCustomLHCombi, fkLockHingeCombi) SELECT ?, ID FROM "
                               "LocksHingesCombi WHERE Code = ?"),
                {keuzeId, QStringLiteral("HS-%1").arg(c)});
        }
    }
    db.exec(QStringLiteral("COMMIT"));
}

// Options databases look rows up by code and choice rows by choice, as the design product's files do.
void indexeer(const QString& pad)
{
    fixtures::FixtureDb db(pad);
    db.exec(QStringLiteral("CREATE INDEX CombiCode ON LocksHingesCombi (Code)"));
    db.exec(QStringLiteral("CREATE INDEX KeuzeCode ON CustomLHCombi (Code)"));
    db.exec(QStringLiteral("CREATE INDEX KeuzeRij ON CustomLH (fkCustomLHCombi)"));
}

void maakBestanden()
{
    for (const QString& pad : {g_bron, g_leeg, g_vol}) {
        fixtures::makeDatabase(pad, fixtures::Kind::Options, {3, 40});
        indexeer(pad);
    }
    vul(g_bron, true);
    vul(g_vol, false);
}

void kiesAlles()
{
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenTabellen = true;
    opties->ImporterenHSKeuzes = true;
    globals().gImportOpties = opties;
    for (int i = 0; i < kCombies; ++i) {
        auto item = std::make_shared<clsItem>();
        item->Code = QStringLiteral("HS-%1").arg(i);
        globals().gColHSCombiesGeselecteerd.append(item);
    }
    for (int k = 0; k < kKeuzes; ++k) {
        auto item = std::make_shared<clsItem>();
        item->Code = QStringLiteral("K-%1").arg(k);
        globals().gColHSKeuzesGeselecteerd.append(item);
    }
}

void zetDoel(bool vol)
{
    QFile::remove(g_doel);
    QFile::copy(vol ? g_vol : g_leeg, g_doel);
}

void metEngine()
{
    clsSyncOpt engine;
    engine.Sync(g_bron, g_doel, true);
    if (engine.Fouten() != 0) {
        std::fprintf(stderr, "options sync reported %d errors\n", engine.Fouten());
        std::exit(1);
    }
}

void metStatements()
{
    const auto db = SqliteBackend::open(g_doel);
    db->execute(QStringLiteral("ATTACH DATABASE ? AS src"), {g_bron});
    db->execute(QStringLiteral("BEGIN"));
    bench::OptiesScript(*db);
    db->execute(QStringLiteral("COMMIT"));
    db->execute(QStringLiteral("DETACH DATABASE src"));
    db->close();
}

// Every combination's fields and Data members (a list held in a text read as that list), every choice, and
// every choice row by the codes it joins.
QString digest()
{
    const auto db = SqliteBackend::open(g_doel);
    QString uit;
    const auto lid = [](const char* pad) {
        return QStringLiteral(
                   "CASE json_type(Data, '$.%1') WHEN 'text' THEN json(json_extract(Data, '$.%1')) "
                   "ELSE json_extract(Data, '$.%1') END")
            .arg(QLatin1String(pad));
    };
    for (const QString& sql :
         {QStringLiteral(
              "SELECT group_concat(r, '\n') FROM (SELECT Code || '|' || ifnull(Description, '') || '|' "
              "|| ifnull(Polygon, '') || '|' || Lim_min_W || Lim_min_H || Lim_min_A || Lim_max_W || "
              "Lim_max_H || Lim_max_A || '|' || %1 || '|' || %2 || '|' || %3 || '|' || %4 AS r FROM "
              "LocksHingesCombi ORDER BY Code)")
              .arg(lid("RefUsages"), lid("ArtUsages"), lid("ActUsages"), lid("LHArticles")),
          QStringLiteral("SELECT group_concat(r, '\n') FROM (SELECT Code || '|' || Description AS r FROM "
                         "CustomLHCombi ORDER BY Code)"),
          QStringLiteral(
              "SELECT group_concat(r, '\n') FROM (SELECT k.Code || '>' || c.Code AS r FROM CustomLH "
              "x INNER JOIN CustomLHCombi k ON k.ID = x.fkCustomLHCombi INNER JOIN LocksHingesCombi c ON "
              "c.ID = x.fkLockHingeCombi ORDER BY 1)")}) {
        const auto rows = db->run(sql);
        uit += (rows ? rows->firstValue().toString() : QStringLiteral("?")) + QLatin1Char('\n');
    }
    db->close();
    return uit;
}

void vergelijk(bool vol)
{
    zetDoel(vol);
    metStatements();
    const QString verwacht = digest();
    zetDoel(vol);
    metEngine();
    const QString gekregen = digest();
    std::printf("%s target: %lld characters of digest, %s\n", vol ? "full" : "empty",
                static_cast<long long>(verwacht.size()), verwacht == gekregen ? "equal" : "DIFFERENT");
    if (verwacht != gekregen) {
        const QStringList a = verwacht.split(QLatin1Char('\n'));
        const QStringList b = gekregen.split(QLatin1Char('\n'));
        for (int i = 0; i < qMin(a.size(), b.size()); ++i) {
            if (a.at(i) != b.at(i)) {
                std::fprintf(stderr, "first difference, line %d:\n  insert-select: %s\n  options sync:  %s\n",
                             i, qPrintable(a.at(i)), qPrintable(b.at(i)));
                break;
            }
        }
        std::fprintf(stderr, "the options sync and the statements disagree: no ratio\n");
        std::exit(1);
    }
}

template <bool Vol> void BM_OptionsSync(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        zetDoel(Vol);
        state.ResumeTiming();
        metEngine();
    }
}

template <bool Vol> void BM_InsertSelect(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        zetDoel(Vol);
        state.ResumeTiming();
        metStatements();
    }
}

void BM_InsertSelectEmpty(benchmark::State& state)
{
    BM_InsertSelect<false>(state);
}
void BM_OptionsSyncEmpty(benchmark::State& state)
{
    BM_OptionsSync<false>(state);
}
void BM_InsertSelectFull(benchmark::State& state)
{
    BM_InsertSelect<true>(state);
}
void BM_OptionsSyncFull(benchmark::State& state)
{
    BM_OptionsSync<true>(state);
}

#define OPT_BENCH(f)                                                                                         \
    BENCHMARK(f)                                                                                             \
        ->Unit(benchmark::kMillisecond)                                                                      \
        ->Iterations(1)                                                                                      \
        ->Repetitions(5)                                                                                     \
        ->ComputeStatistics("min", bench::fastest)
OPT_BENCH(BM_InsertSelectEmpty);
OPT_BENCH(BM_OptionsSyncEmpty);
OPT_BENCH(BM_InsertSelectFull);
OPT_BENCH(BM_OptionsSyncFull);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_bron = dir.filePath(QStringLiteral("bron.db"));
    g_leeg = dir.filePath(QStringLiteral("leeg.db"));
    g_vol = dir.filePath(QStringLiteral("vol.db"));
    g_doel = dir.filePath(QStringLiteral("doel.db"));
    maakBestanden();
    kiesAlles();
    vergelijk(false);
    vergelijk(true);

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("options sync into an empty target ratio vs insert-select: %.2f\n",
                reporter.ratio("BM_InsertSelectEmpty", "BM_OptionsSyncEmpty"));
    std::printf("options sync ratio vs insert-select: %.2f\n",
                reporter.ratio("BM_InsertSelectFull", "BM_OptionsSyncFull"));
    return 0;
}
