// Imports a supplier's CSV article file of 100,000 lines (code, description,
// article group by its description, price) into an SQLite product table that
// already holds every second of those articles: half of the lines update a
// price, half add an article whose group is found by its description. The
// run is the real engine, clsImportBestand::OverzettenBestand, with the
// default import plan of the source and both article modes on; each run
// starts from a fresh copy of the product table.
//
// The peer, in the same process on the same file: the file read and split
// the same way, every line put into a plain four-column SQLite table through
// one prepared INSERT in one transaction, on the sqlite3 C API directly.
// The last line gives the peer's time over ours (higher is better).

#include "fixtures/designdatabases.h"
#include "import/clsimportbestand.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/globals.h"

#include "support/fastestratio.h"
#include "support/stderrui.h"
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sqlite3.h>

using namespace supplink;

namespace {

constexpr int kRegels = 100000;
constexpr int kGroepen = 50;

struct Bestanden
{
    QTemporaryDir dir;
    QString csv;
    QString sjabloon; // the product table with the articles of even number
    QString doel;
    QString peerDoel;
};

Bestanden& bestanden()
{
    static Bestanden b;
    return b;
}

int groepVan(int i)
{
    return 1 + (i * 7) % kGroepen;
}

QString groepOmschrijving(int g)
{
    static const char* const namen[] = {"Scharnieren", "Sluitwerk",  "Krukken",  "Profielen", "Afdichting",
                                        "Dorpels",     "Glaslatten", "Roosters", "Beslag",    "Neuten"};
    return QStringLiteral("Groep %1 %2").arg(g, 2, 10, QLatin1Char('0')).arg(QLatin1String(namen[g % 10]));
}

QString code(int i)
{
    return QStringLiteral("ART-%1").arg(i, 6, 10, QLatin1Char('0'));
}

QString prijs(int i)
{
    return QStringLiteral("%1.%2").arg(i % 1000).arg(i % 100, 2, 10, QLatin1Char('0'));
}

QByteArray csvInhoud()
{
    QString tekst = QStringLiteral("Code;Omschrijving;Artikelgroep;Prijs\r\n");
    tekst.reserve(kRegels * 64);
    for (int i = 1; i <= kRegels; ++i) {
        tekst += code(i) + QLatin1Char(';');
        tekst += i % 7 == 0 ? QStringLiteral("\"Draaikiepbeslag; links, %1 mm\";").arg(800 + i % 600)
                            : QString::fromUtf8("Omschrijving artikel %1 – maat %2;").arg(i).arg(i % 90);
        tekst += groepOmschrijving(groepVan(i)) + QLatin1Char(';');
        tekst += prijs(i) + QStringLiteral("\r\n");
    }
    return tekst.toUtf8();
}

void maakBestanden()
{
    Bestanden& b = bestanden();
    b.csv = b.dir.filePath(QStringLiteral("artikelen.csv"));
    b.sjabloon = b.dir.filePath(QStringLiteral("pt-sjabloon.db"));
    b.doel = b.dir.filePath(QStringLiteral("pt.db"));
    b.peerDoel = b.dir.filePath(QStringLiteral("peer.db"));

    QFile f(b.csv);
    if (!f.open(QIODevice::WriteOnly) || f.write(csvInhoud()) < 0)
        qFatal("cannot write the CSV file");
    f.close();

    if (!fixtures::makeDatabase(b.sjabloon, fixtures::Kind::ProductTable, {3, 40}))
        qFatal("cannot make the product table");
    fixtures::FixtureDb db(b.sjabloon);
    const DbConnection& cn = db.connection();
    Transaction transaction(cn);
    const auto groep = cn->prepare(
        QStringLiteral("INSERT INTO ArtGroup (ID, Code, Description, OrderNr) VALUES (?, ?, ?, ?)"));
    for (int g = 1; g <= kGroepen; ++g) {
        groep->bind(0, g);
        groep->bind(1, QStringLiteral("G%1").arg(g, 2, 10, QLatin1Char('0')));
        groep->bind(2, groepOmschrijving(g));
        groep->bind(3, g);
        groep->execute();
    }
    const auto artikel = cn->prepare(QStringLiteral(
        "INSERT INTO Article (Code, Description, fkType, fkGroup, PriceUnit) VALUES (?, ?, 0, ?, 1.0)"));
    for (int i = 2; i <= kRegels; i += 2) {
        artikel->bind(0, code(i));
        artikel->bind(1, QStringLiteral("Oud artikel %1").arg(i));
        artikel->bind(2, groepVan(i));
        artikel->execute();
    }
    transaction.commit();
}

// Receives the engine's events as the wizard's log does, and drops them.
class Listener : public VoortgangOntvanger
{
public:
    qint64 regels = 0;
    qint32 fouten = 0;
    void Voortgang(const QString&, const QString&) override { ++regels; }
    void FoutOpgetreden(qint32& aantal) override { fouten = aantal; }
};

void resetDoel()
{
    QFile::remove(bestanden().doel);
    QFile::copy(bestanden().sjabloon, bestanden().doel);
}

bool importeer()
{
    clsBron2 bron;
    bron.BronPad = bestanden().csv;
    bron.IsCSV = true;
    bron.KolomSoorten = {1, 2, 4, 10};
    Listener listener;
    clsImportBestand engine;
    engine.SetOntvanger(&listener);
    engine.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
    const bool ok = engine.OverzettenBestand(bron, bestanden().doel);
    if (!ok || engine.AantalFouten() != 0 || engine.AantalNieuw() != kRegels / 2 ||
        engine.AantalBestaand() != kRegels / 2) {
        std::fprintf(stderr, "import: ok %d, errors %d, new %d, existing %d\n", int(ok),
                     int(engine.AantalFouten()), int(engine.AantalNieuw()), int(engine.AantalBestaand()));
        return false;
    }
    return true;
}

// ---- The peer ----------------------------------------------------------------

void maakPeerDoel()
{
    QFile::remove(bestanden().peerDoel);
    sqlite3* db = nullptr;
    sqlite3_open(bestanden().peerDoel.toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE Artikel (Code TEXT, Omschrijving TEXT, Groep TEXT, Prijs REAL)", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
}

void bindTekst(sqlite3_stmt* statement, int index, const QString& tekst)
{
    sqlite3_bind_text16(statement, index, tekst.utf16(), int(tekst.size() * 2), SQLITE_TRANSIENT);
}

qint64 laadPeer()
{
    const std::optional<QString> tekst = LeesTekstBestand(bestanden().csv);
    if (!tekst)
        qFatal("cannot read the CSV file");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(bestanden().peerDoel.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        qFatal("cannot open the peer's table");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Artikel (Code, Omschrijving, Groep, Prijs) VALUES (?, ?, ?, ?)", -1,
                       &insert, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    qint64 rijen = 0;
    RegelLezer lezer(*tekst);
    QStringView regel;
    bool eerste = true;
    while (lezer.volgende(regel)) {
        if (eerste) {
            eerste = false;
            continue;
        }
        if (regel.trimmed().isEmpty())
            continue;
        bool ok = true;
        QString fout;
        const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, fout);
        if (!ok || !velden || velden->size() < 4)
            qFatal("peer: bad line");
        bindTekst(insert, 1, velden->at(0));
        bindTekst(insert, 2, velden->at(1));
        bindTekst(insert, 3, velden->at(2));
        sqlite3_bind_double(insert, 4, velden->at(3).toDouble());
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

// Articles in the product table / articles with the file's price / new articles in the file's group.
QString controle()
{
    fixtures::FixtureDb db(bestanden().doel);
    const QString n = QStringLiteral("CAST(substr(a.Code, 5) AS INTEGER)");
    const QString totaal = db.scalar(QStringLiteral("SELECT count(*) FROM Article")).toString();
    const QString prijzen =
        db.scalar(QStringLiteral("SELECT count(*) FROM Article a WHERE abs(a.PriceUnit - (%1 % 1000 + "
                                 "(%1 % 100) / 100.0)) < 1e-9")
                      .arg(n))
            .toString();
    const QString groepen =
        db.scalar(
              QStringLiteral("SELECT count(*) FROM Article a JOIN ArtGroup g ON g.ID = a.fkGroup WHERE %1 % "
                             "2 = 1 AND g.ID = 1 + (%1 * 7) % 50")
                  .arg(n))
            .toString();
    return totaal + QLatin1Char('/') + prijzen + QLatin1Char('/') + groepen;
}

// ---- Benchmarks --------------------------------------------------------------

void BM_PreparedInsert(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        maakPeerDoel();
        state.ResumeTiming();
        benchmark::DoNotOptimize(laadPeer());
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(kRegels), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ArticleImport(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        resetDoel();
        state.ResumeTiming();
        if (!importeer())
            state.SkipWithError("import failed");
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(kRegels), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_PreparedInsert)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_ArticleImport)
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
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    opties->DoorvoerenPrijsWijzigingen = true;
    opties->NieuweArtikelenToevoegen = true;
    globals().gImportOpties = opties;

    maakBestanden();
    resetDoel();
    const bool ok = importeer();
    std::printf("result (articles/with the file's price/new ones in the file's group): %s, expected "
                "%d/%d/%d%s\n",
                qPrintable(controle()), kRegels, kRegels, kRegels / 2, ok ? "" : "  IMPORT FAILED");
    maakPeerDoel();
    std::printf("peer rows: %lld\n", static_cast<long long>(laadPeer()));

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    setUiServices(nullptr);
    std::printf("article import ratio vs prepared insert: %.2f\n",
                reporter.ratio("BM_PreparedInsert", "BM_ArticleImport"));
    return 0;
}
