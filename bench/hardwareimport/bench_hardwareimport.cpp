// Imports a supplier's hardware file of 50,000 lines (5,000 combinations of
// ten article lines each, some articles twice) into an SQLite options
// database: once into an empty database, then the same file again over the
// result, which replaces every combination's article list. The run is the
// real engine, clsImportBestandHangSluit::OverzettenBestand, with every
// combination selected; each iteration starts from a fresh empty database.
//
// The peer, in the same process on the same file, does the same two passes the
// plainest way: the file read and split the same way and mapped into the same
// hardware lines, the lines grouped by code, each combination's Data built the
// same way (GetArtikelJSON, MergeJSONFieldOptions), and one prepared INSERT per
// combination row into an empty table, in one transaction, on the sqlite3 C
// API directly. Both leave the same rows (code, description, polygon, data);
// when they do not, the program says so and ends without a ratio. The last
// line gives the peer's time over ours (higher is better).

#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "import/clsimportbestandhangsluit.h"
#include "import/hangsluitbestandlezer.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/globals.h"
#include "transfer/jsonmerge.h"

#include "support/fastestratio.h"
#include "support/stderrui.h"
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

using namespace supplink;

namespace {

constexpr int kCombinaties = 5000;
constexpr int kRegelsPerCombinatie = 10;
constexpr int kRegels = kCombinaties * kRegelsPerCombinatie;

// Code, description, article, B >, B <, H >, H <, count, position, dimensioning, origin, X, Y, calculation
// length, drawn length, drawn width.
const QList<qint32> kKolommen = {1, 2, 101, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 115, 117};

struct Bestanden
{
    QTemporaryDir dir;
    QString csv;
    QString sjabloon; // an empty options database
    QString doel;
    QString peerDoel;
};

Bestanden& bestanden()
{
    static Bestanden b;
    return b;
}

QByteArray csvInhoud()
{
    QString tekst;
    tekst.reserve(kRegels * 96);
    for (int c = 1; c <= kCombinaties; ++c) {
        const QString code = QStringLiteral("HS-%1").arg(c, 5, 10, QLatin1Char('0'));
        const QString omschrijving =
            c % 9 == 0 ? QString::fromUtf8("Draaikiep beslag \u2013 rechts, maat %1").arg(c % 40)
                       : QStringLiteral("Draaikiep %1 links").arg(c % 70);
        for (int r = 0; r < kRegelsPerCombinatie; ++r) {
            const int i = c * kRegelsPerCombinatie + r;
            const bool breedte = r % 3 != 0;
            const bool hoogte = r % 2 == 0;
            tekst += code + QLatin1Char(';') + omschrijving + QLatin1Char(';');
            tekst += QStringLiteral("ART-%1;").arg(i % 1800, 4, 10, QLatin1Char('0'));
            tekst += breedte ? QStringLiteral("%1;%2;").arg(300 + i % 400).arg(900 + i % 700)
                             : QStringLiteral("0;0;");
            tekst += hoogte ? QStringLiteral("%1;%2;").arg(500 + i % 300).arg(1800 + i % 900)
                            : QStringLiteral("0;0;");
            tekst += QStringLiteral("%1;%2;%3;%4;").arg(1 + (i % 7 == 0)).arg(i % 6).arg(i % 4).arg(i % 3);
            tekst += r % 5 == 4 ? QStringLiteral(";;") : QStringLiteral("%1;%2,5;").arg(i % 90).arg(i % 30);
            tekst += r % 4 == 0 ? QStringLiteral("%1;%2;40\r\n").arg(1000 + i % 500).arg(900 + i % 400)
                                : QStringLiteral(";;\r\n");
        }
    }
    return tekst.toUtf8();
}

void maakBestanden()
{
    Bestanden& b = bestanden();
    b.csv = b.dir.filePath(QStringLiteral("hangsluit.csv"));
    b.sjabloon = b.dir.filePath(QStringLiteral("opt-sjabloon.db"));
    b.doel = b.dir.filePath(QStringLiteral("opt.db"));
    b.peerDoel = b.dir.filePath(QStringLiteral("peer.db"));
    QFile f(b.csv);
    if (!f.open(QIODevice::WriteOnly) || f.write(csvInhoud()) < 0)
        qFatal("cannot write the CSV file");
    f.close();
    if (!fixtures::makeDatabase(b.sjabloon, fixtures::Kind::Options, {3, 40}))
        qFatal("cannot make the options database");
}

void vers(const QString& doel)
{
    QFile::remove(doel);
    if (!QFile::copy(bestanden().sjabloon, doel))
        qFatal("cannot copy the options database");
}

void vulBron(clsBron2& b)
{
    b.BronPad = bestanden().csv;
    b.IsCSV = true;
    b.EersteRijImporteren = true;
    b.KolomSoorten = kKolommen;
    b.CombiType = 0;
}

// Receives the engine's events as the wizard's log does, and drops them.
class Listener : public VoortgangOntvanger
{
public:
    qint64 regels = 0;
    void Voortgang(const QString&, const QString&) override { ++regels; }
};

bool importeer()
{
    clsBron2 b;
    vulBron(b);
    Listener listener;
    clsImportBestandHangSluit engine;
    engine.SetOntvanger(&listener);
    engine.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
    const bool ok = engine.OverzettenBestand(b, bestanden().doel);
    if (!ok || engine.AantalFouten() != 0) {
        std::fprintf(stderr, "import: ok %d, errors %d\n", int(ok), int(engine.AantalFouten()));
        return false;
    }
    return true;
}

// ---- The peer ----------------------------------------------------------------

void bindTekst(sqlite3_stmt* statement, int index, const QString& tekst)
{
    sqlite3_bind_text16(statement, index, tekst.utf16(), int(tekst.size() * 2), SQLITE_TRANSIENT);
}

qint64 laadPeer()
{
    clsBron2 b;
    vulBron(b);
    const std::optional<QString> tekst = LeesTekstBestand(b.BronPad);
    if (!tekst)
        qFatal("cannot read the CSV file");
    // The lines grouped by code, the codes in file order.
    QList<QString> codes;
    QHash<QString, QList<HangSluitRegelPtr>> perCode;
    RegelLezer lezer(*tekst);
    QStringView regel;
    while (lezer.volgende(regel)) {
        if (regel.trimmed().isEmpty())
            continue;
        bool ok = true;
        QString fout;
        const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, fout);
        if (!ok || !velden)
            qFatal("peer: bad line");
        HangSluitRegelPtr lijn = HangSluitBestandLezer::MaakRegel(b, *velden, false);
        auto groep = perCode.find(lijn->Code());
        if (groep == perCode.end()) {
            codes.append(lijn->Code());
            groep = perCode.insert(lijn->Code(), {});
        }
        groep->append(std::move(lijn));
    }

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(bestanden().peerDoel.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        qFatal("cannot open the peer's database");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO LocksHingesCombi (Code, Description, Polygon, Data) VALUES (?, ?, 1, ?)",
                       -1, &insert, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    qint64 rijen = 0;
    for (const QString& code : std::as_const(codes)) {
        const QList<HangSluitRegelPtr>& lijnen = perCode.value(code);
        QString artikelen;
        for (const HangSluitRegelPtr& lijn : lijnen) {
            const QString artikel = clsImportBestandHangSluit::GetArtikelJSON(*lijn);
            for (qint32 k = 0; k < lijn->AantalStuks; ++k) {
                if (!artikelen.isEmpty())
                    artikelen += QLatin1Char(',');
                artikelen += artikel;
            }
        }
        bindTekst(insert, 1, code);
        bindTekst(insert, 2, lijnen.first()->Omschrijving().left(50));
        bindTekst(
            insert, 3,
            clsImportBestandHangSluit::MergeJSONFieldOptions(LocksHingesData::OptionsTemplate(), artikelen));
        if (sqlite3_step(insert) != SQLITE_DONE)
            qFatal("peer: insert failed");
        sqlite3_reset(insert);
        ++rijen;
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return rijen;
}

// ---- Checks ------------------------------------------------------------------

// Every combination row: code, description, polygon and data, in order of the rows.
QStringList inhoud(const QString& pad)
{
    fixtures::FixtureDb db(pad);
    const RecordsetPtr rs = db.connection()->openRecordset(
        QStringLiteral("SELECT Code, Description, Polygon, Data FROM LocksHingesCombi ORDER BY ID"));
    QStringList rijen;
    for (; !rs->eof(); rs->moveNext())
        rijen << rs->value(0).toString() + QLatin1Char('|') + rs->value(1).toString() + QLatin1Char('|') +
                     rs->value(2).toString() + QLatin1Char('|') + rs->value(3).toString();
    return rijen;
}

// ---- Benchmarks --------------------------------------------------------------

void BM_PreparedInsert(benchmark::State& state)
{
    for (auto _ : state) {
        for (int pass = 0; pass < 2; ++pass) {
            state.PauseTiming();
            vers(bestanden().peerDoel);
            state.ResumeTiming();
            benchmark::DoNotOptimize(laadPeer());
        }
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(2 * kRegels), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_HardwareImport(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        vers(bestanden().doel);
        state.ResumeTiming();
        if (!importeer() || !importeer())
            state.SkipWithError("import failed");
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(2 * kRegels), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_PreparedInsert)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_HardwareImport)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::fastest);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::StderrUi stderrUi;
    setUiServices(&stderrUi);
    globals().gBibliotheekModus = false;
    globals().gLeverancierPrefix.clear();

    maakBestanden();
    vers(bestanden().peerDoel);
    std::printf("peer rows: %lld\n", static_cast<long long>(laadPeer()));
    const QStringList verwacht = inhoud(bestanden().peerDoel);
    vers(bestanden().doel);
    for (const char* pass : {"empty database", "over itself"}) {
        const bool ok = importeer();
        const QStringList rijen = inhoud(bestanden().doel);
        if (!ok || rijen != verwacht) {
            std::printf("result mismatch after the import into the %s: %lld rows, the peer %lld%s\n", pass,
                        static_cast<long long>(rijen.size()), static_cast<long long>(verwacht.size()),
                        ok ? "" : " (import failed)");
            setUiServices(nullptr);
            return 1;
        }
        std::printf("result (%s): %lld combinations, equal to the peer's\n", pass,
                    static_cast<long long>(rijen.size()));
    }

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    setUiServices(nullptr);
    std::printf("hardware import ratio vs prepared insert: %.2f\n",
                reporter.ratio("BM_PreparedInsert", "BM_HardwareImport"));
    return 0;
}
