// Synchronises a supplier's SQLite 3.40 library of 2,000 main rows per family
// (pane grooves, edge grooves, element grooves, low-relief and post
// combinations; 5 child rows each where the family has children), every row
// selected, into an empty and into a full library with the library engine.
// The peer does the same work as plain statements over the source attached to
// the target, in the same process on the same files: per family the main rows
// the target lacks (INSERT ... SELECT ... WHERE NOT EXISTS), then the children
// of the selected parents that have none in the target. The results of both
// must be equal (a digest of every table), else the program ends without a
// ratio. The last line gives the ratio into the full target.

#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "sync/clssynclib.h"

#include "support/fastestratio.h"
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace supplink;

namespace {

constexpr int kRijen = 2000;
constexpr int kKinderen = 5;

struct Familie
{
    QString tabel;
    QString extra; // the main table's own columns besides Code and Description
    QString kind;
    QString koppeling;
    QString velden; // the child fields
};

const QList<Familie>& families()
{
    static const QList<Familie> alle = {
        {QStringLiteral("PaneGrooveTable"), QString(), QStringLiteral("PaneGroove"),
         QStringLiteral("fkPaneGrooveTable"),
         QStringLiteral("GrooveDepth, GlassDepth, WindowDepth, DoorDepth, RackDepth, GrooveShape, "
                        "CornerleadPentable, SideleadPentable, DeepestGroove, PaneSide")},
        {QStringLiteral("EdgeGroove"), QStringLiteral("GrooveShape"), QString(), QString(), QString()},
        {QStringLiteral("OuterGrooveTable"), QString(), QStringLiteral("OuterGroove"),
         QStringLiteral("fkOuterGrooveTable"),
         QStringLiteral("WindowOverlap, DoorOverlap, GrooveShape, PaneSide")},
        {QStringLiteral("TreshHoldCombi"), QStringLiteral("ArtCode, PaneGrooveShape, EdgeGrooveShape"),
         QStringLiteral("TreshHoldArticleUsage"), QStringLiteral("fkCombi"),
         QStringLiteral(
             "fkArtAct, Count, Polygon, OverlengthDim1, CR_Length, OverlengthDim2, UsageDescription")},
        {QStringLiteral("TreshHoldCombiExt"), QStringLiteral("ArtCode"),
         QStringLiteral("TreshHoldExtArticleUsage"), QStringLiteral("fkCombi"),
         QStringLiteral(
             "fkArtAct, Count, Polygon, OverlengthDim1, CR_Length, OverlengthDim2, UsageDescription")},
    };
    return alle;
}

QString g_bron, g_leeg, g_vol, g_doel;

QString kolommen(const Familie& f)
{
    return f.extra.isEmpty() ? QStringLiteral("Code, Description")
                             : QStringLiteral("Code, Description, ") + f.extra;
}

// A value for a child field: numbers for the numeric fields, texts for the others.
QVariant waarde(const QString& veld, int rij, int k)
{
    static const QStringList teksten = {
        QStringLiteral("GrooveShape"),      QStringLiteral("CornerleadPentable"),
        QStringLiteral("SideleadPentable"), QStringLiteral("fkArtAct"),
        QStringLiteral("Polygon"),          QStringLiteral("UsageDescription"),
        QStringLiteral("ArtCode"),          QStringLiteral("PaneGrooveShape"),
        QStringLiteral("EdgeGrooveShape")};
    static const QStringList gehele = {QStringLiteral("PaneSide"), QStringLiteral("Count")};
    if (teksten.contains(veld))
        return QStringLiteral("%1-%2-%3").arg(veld).arg(rij).arg(k);
    if (gehele.contains(veld))
        return rij % 7 + k;
    return rij * 0.5 + k;
}

void maakBron()
{
    fixtures::makeDatabase(g_bron, fixtures::Kind::Library, {3, 40});
    const auto db = SqliteBackend::open(g_bron);
    Transaction transactie(db);
    for (const Familie& f : families()) {
        const QStringList hoofd = kolommen(f).split(QStringLiteral(", "));
        QStringList vragen(hoofd.size(), QStringLiteral("?"));
        const auto ouder = db->prepare(
            QStringLiteral("INSERT INTO %1 (ID, %2, fkCategory) VALUES (?, %3, 4)")
                .arg(f.tabel, hoofd.join(QStringLiteral(", ")), vragen.join(QStringLiteral(", "))));
        const QStringList velden = f.velden.isEmpty() ? QStringList() : f.velden.split(QStringLiteral(", "));
        std::unique_ptr<Statement> kind;
        if (!f.kind.isEmpty())
            kind = db->prepare(
                QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, %4)")
                    .arg(f.kind, f.koppeling, velden.join(QStringLiteral(", ")),
                         QStringList(velden.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        for (int r = 1; r <= kRijen; ++r) {
            ouder->bind(0, r);
            ouder->bind(1, QStringLiteral("%1-%2").arg(f.tabel.left(3)).arg(r, 5, 10, QLatin1Char('0')));
            ouder->bind(2, QStringLiteral("Omschrijving %1").arg(r));
            for (int i = 2; i < hoofd.size(); ++i)
                ouder->bind(i + 1, waarde(hoofd.at(i), r, 0));
            ouder->execute();
            for (int k = 1; kind && k <= kKinderen; ++k) {
                kind->bind(0, r);
                for (int i = 0; i < velden.size(); ++i)
                    kind->bind(i + 1, waarde(velden.at(i), r, k));
                kind->execute();
            }
        }
    }
    transactie.commit();
}

void selecteerAlles()
{
    ProgramState& g = globals();
    ItemCollection* const selecties[] = {&g.gColVaksponningenGeselecteerd, &g.gColRandsponningenGeselecteerd,
                                         &g.gColElementsponningenGeselecteerd, &g.gColLaagreliefGeselecteerd,
                                         &g.gColNeutenGeselecteerd};
    for (int f = 0; f < families().size(); ++f) {
        selecties[f]->clear();
        for (int r = 1; r <= kRijen; ++r) {
            auto item = std::make_shared<clsItem>();
            item->Code =
                QStringLiteral("%1-%2").arg(families().at(f).tabel.left(3)).arg(r, 5, 10, QLatin1Char('0'));
            item->Selected = true;
            selecties[f]->append(item);
        }
    }
}

class Teller : public VoortgangOntvanger
{
public:
    int fouten = 0;
    void FoutOpgetreden(qint32&) override { ++fouten; }
};

void metEngine(const QString& doel)
{
    Teller teller;
    clsSyncLIB engine;
    engine.SetOntvanger(&teller);
    engine.Sync(g_bron, doel, true, QStringLiteral("1;2;3;4;5"));
    if (teller.fouten != 0) {
        std::fprintf(stderr, "library sync reported %d errors\n", teller.fouten);
        std::exit(1);
    }
}

void metStatements(const QString& doel)
{
    const auto db = SqliteBackend::open(doel);
    db->execute(QStringLiteral("ATTACH DATABASE ? AS src"), {g_bron});
    db->execute(QStringLiteral("BEGIN"));
    for (const Familie& f : families()) {
        const QString k = kolommen(f);
        // Uncorrelated NOT IN: SQLite builds the list of the target's codes once.
        db->execute(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM src.%1 s WHERE s.Code NOT IN "
                                   "(SELECT Code FROM main.%1 WHERE Code IS NOT NULL) ORDER BY s.ID")
                        .arg(f.tabel, k));
        if (f.kind.isEmpty())
            continue;
        QStringList bronVelden;
        for (const QString& veld : f.velden.split(QStringLiteral(", ")))
            bronVelden << QStringLiteral("c.") + veld;
        db->execute(
            QStringLiteral("INSERT INTO main.%1 (%2, %3) SELECT t.ID, %4 FROM src.%5 p "
                           "INNER JOIN src.%1 c ON c.%2 = p.ID INNER JOIN main.%5 t ON t.Code = p.Code "
                           "WHERE t.ID NOT IN (SELECT %2 FROM main.%1 WHERE %2 IS NOT NULL) ORDER BY c.ID")
                .arg(f.kind, f.koppeling, f.velden, bronVelden.join(QStringLiteral(", ")), f.tabel));
    }
    db->execute(QStringLiteral("COMMIT"));
    db->execute(QStringLiteral("DETACH DATABASE src"));
    db->close();
}

// Every main row with its fields and every child row with its parent's code and fields, in one text.
QString digest(const QString& pad)
{
    const auto db = SqliteBackend::open(pad);
    QString tekst;
    for (const Familie& f : families()) {
        const RecordsetPtr hoofd = db->openRecordset(
            QStringLiteral("SELECT %1, fkCategory FROM %2 ORDER BY Code").arg(kolommen(f), f.tabel));
        for (; !hoofd->eof(); hoofd->moveNext())
            for (int i = 0; i < hoofd->fieldCount(); ++i)
                tekst += hoofd->value(i).toString() + QLatin1Char('|');
        if (f.kind.isEmpty())
            continue;
        const RecordsetPtr kinderen = db->openRecordset(
            QStringLiteral("SELECT p.Code, %1 FROM %2 c INNER JOIN %3 p ON p.ID = c.%4 ORDER BY p.Code, c.ID")
                .arg(QStringLiteral("c.") + f.velden.split(QStringLiteral(", ")).join(QStringLiteral(", c.")),
                     f.kind, f.tabel, f.koppeling));
        for (; !kinderen->eof(); kinderen->moveNext())
            for (int i = 0; i < kinderen->fieldCount(); ++i)
                tekst += kinderen->value(i).toString() + QLatin1Char('|');
    }
    db->close();
    return tekst;
}

void zetDoel(bool vol)
{
    QFile::remove(g_doel);
    QFile::copy(vol ? g_vol : g_leeg, g_doel);
}

void vergelijk(bool vol)
{
    zetDoel(vol);
    metEngine(g_doel);
    const QString ons = digest(g_doel);
    zetDoel(vol);
    metStatements(g_doel);
    if (digest(g_doel) != ons) {
        std::fprintf(stderr, "library sync and insert-select differ (%s target)\n", vol ? "full" : "empty");
        std::exit(1);
    }
}

// One way of doing the work, timed without the copying of the target it starts from.
void meet(benchmark::State& state, bool vol, void (*werk)(const QString&))
{
    for (auto _ : state) {
        state.PauseTiming();
        zetDoel(vol);
        state.ResumeTiming();
        werk(g_doel);
    }
}

void BM_LibSyncEmpty(benchmark::State& state)
{
    meet(state, false, metEngine);
}
void BM_InsertSelectEmpty(benchmark::State& state)
{
    meet(state, false, metStatements);
}
void BM_LibSyncFull(benchmark::State& state)
{
    meet(state, true, metEngine);
}
void BM_InsertSelectFull(benchmark::State& state)
{
    meet(state, true, metStatements);
}

#define LIB_BENCH(naam)                                                                                      \
    BENCHMARK(naam)                                                                                          \
        ->Unit(benchmark::kMillisecond)                                                                      \
        ->Iterations(1)                                                                                      \
        ->Repetitions(5)                                                                                     \
        ->ComputeStatistics("min", bench::fastest)
LIB_BENCH(BM_InsertSelectEmpty);
LIB_BENCH(BM_LibSyncEmpty);
LIB_BENCH(BM_InsertSelectFull);
LIB_BENCH(BM_LibSyncFull);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_bron = dir.filePath(QStringLiteral("bron.db"));
    g_leeg = dir.filePath(QStringLiteral("leeg.db"));
    g_vol = dir.filePath(QStringLiteral("vol.db"));
    g_doel = dir.filePath(QStringLiteral("doel.db"));
    maakBron();
    fixtures::makeDatabase(g_leeg, fixtures::Kind::Library, {3, 40});
    selecteerAlles();
    // The full target: the whole source synchronised once.
    QFile::copy(g_leeg, g_vol);
    metEngine(g_vol);
    vergelijk(false);
    vergelijk(true);

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("library sync into an empty target ratio vs insert-select: %.2f\n",
                reporter.ratio("BM_InsertSelectEmpty", "BM_LibSyncEmpty"));
    std::printf("library sync ratio vs insert-select: %.2f\n",
                reporter.ratio("BM_InsertSelectFull", "BM_LibSyncFull"));
    return 0;
}
