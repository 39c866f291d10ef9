// Imports a supplier's CSV article file of 100,000 lines (code, description,
// article group by its description, price) into an SQLite product table that
// already holds every second of those articles: half of the lines update a
// price, half add an article whose group is found by its description. The
// run is the real engine, clsImportBestand::OverzettenBestand, with the
// default import plan of the source and both article modes on; each run
// starts from a fresh copy of the product table.
//
// The peer does the same work on the sqlite3 C API directly, in the same
// process: the same file read and split the same way, into a fresh copy of
// the same product table (same layout, same indexes: none on the article
// code), in one transaction. As the import holds the article table in hand,
// the peer first reads the codes and keys of the articles into a hash table
// (codes compared without regard to case, as everywhere in the program); per
// line an existing article gets the file's price, a new one is inserted with
// the columns the import fills, its group found by the group's description. Before timing, the two results are
// compared row by row over every column; when they differ, the program ends
// with an error and prints no ratio. The last line gives the peer's time over
// ours (higher is better).
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
#include <QHash>
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
    QFile::copy(bestanden().sjabloon, bestanden().peerDoel);
}

void bindTekst(sqlite3_stmt* statement, int index, const QString& tekst)
{
    sqlite3_bind_text16(statement, index, tekst.utf16(), int(tekst.size() * 2), SQLITE_TRANSIENT);
}

sqlite3_stmt* bereid(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        qFatal("peer: %s: %s", sql, sqlite3_errmsg(db));
    return statement;
}

void stap(sqlite3* db, sqlite3_stmt* statement)
{
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        qFatal("peer: %s", sqlite3_errmsg(db));
}

// Upserts every line of the file into the peer's product table; returns the lines handled.
qint64 laadPeer()
{
    const std::optional<QString> tekst = LeesTekstBestand(bestanden().csv);
    if (!tekst)
        qFatal("cannot read the CSV file");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(bestanden().peerDoel.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        qFatal("cannot open the peer's product table");
    sqlite3_stmt* alleArtikelen = bereid(db, "SELECT Code, ID FROM Article");
    sqlite3_stmt* zoekGroep = bereid(db, "SELECT ID FROM ArtGroup WHERE Description = ?");
    sqlite3_stmt* bijwerken = bereid(db, "UPDATE Article SET PriceUnit = ? WHERE ID = ?");
    sqlite3_stmt* toevoegen =
        bereid(db, "INSERT INTO Article (Code, Description, fkType, fkGroup, PriceUnit) VALUES (?, ?, ?, ?, ?)");
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("peer: BEGIN: %s", sqlite3_errmsg(db));
    QHash<QString, sqlite3_int64> artikelen; // case-folded code -> ID
    while (sqlite3_step(alleArtikelen) == SQLITE_ROW) {
        const auto* code = static_cast<const char16_t*>(sqlite3_column_text16(alleArtikelen, 0));
        const int bytes = sqlite3_column_bytes16(alleArtikelen, 0);
        artikelen.insert(QStringView(code, bytes / 2).toString().toCaseFolded(),
                         sqlite3_column_int64(alleArtikelen, 1));
    }
    QHash<QString, sqlite3_int64> groepen; // group description -> ID, looked up once
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
        const double prijs = velden->at(3).toDouble(&ok);
        if (!ok)
            qFatal("peer: bad price");

        const QString sleutel = velden->at(0).toCaseFolded();
        const auto artikel = artikelen.constFind(sleutel);
        if (artikel != artikelen.cend()) {
            sqlite3_bind_double(bijwerken, 1, prijs);
            sqlite3_bind_int64(bijwerken, 2, *artikel);
            stap(db, bijwerken);
            sqlite3_reset(bijwerken);
        } else {
            auto groep = groepen.find(velden->at(2));
            if (groep == groepen.end()) {
                bindTekst(zoekGroep, 1, velden->at(2));
                const bool gevonden = sqlite3_step(zoekGroep) == SQLITE_ROW;
                groep = groepen.insert(velden->at(2), gevonden ? sqlite3_column_int64(zoekGroep, 0) : 0);
                sqlite3_reset(zoekGroep);
            }
            bindTekst(toevoegen, 1, velden->at(0));
            bindTekst(toevoegen, 2, velden->at(1));
            sqlite3_bind_int(toevoegen, 3, 0);
            if (*groep != 0)
                sqlite3_bind_int64(toevoegen, 4, *groep);
            else
                sqlite3_bind_null(toevoegen, 4);
            sqlite3_bind_double(toevoegen, 5, prijs);
            stap(db, toevoegen);
            sqlite3_reset(toevoegen);
            artikelen.insert(sleutel, sqlite3_last_insert_rowid(db));
        }
        ++rijen;
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("peer: COMMIT: %s", sqlite3_errmsg(db));
    for (sqlite3_stmt* statement : {alleArtikelen, zoekGroep, bijwerken, toevoegen})
        sqlite3_finalize(statement);
    sqlite3_close(db);
    return rijen;
}

// ---- Checks ------------------------------------------------------------------

// Articles in the product table / articles with the file's price / new articles in the file's group.
QString controle(const QString& pad)
{
    fixtures::FixtureDb db(pad);
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

// The first article (by code) whose columns differ between the two product tables, with the
// columns that differ; empty when every article has the same value in every column.
QString verschil(const QString& ons, const QString& peer)
{
    fixtures::FixtureDb db(ons);
    db.exec(QStringLiteral("ATTACH DATABASE ? AS peer"), {peer});
    const QString verschillend = db.scalar(QStringLiteral(
        "SELECT coalesce((SELECT Code FROM (SELECT * FROM main.Article EXCEPT SELECT * FROM peer.Article "
        "UNION ALL SELECT * FROM peer.Article EXCEPT SELECT * FROM main.Article) ORDER BY Code LIMIT 1), '')"))
                                     .toString();
    db.exec(QStringLiteral("DETACH DATABASE peer"));
    return verschillend;
}

// ---- Benchmarks --------------------------------------------------------------

void BM_PeerUpsert(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        maakPeerDoel();
        state.ResumeTiming();
        if (laadPeer() != kRegels)
            state.SkipWithError("the peer did not handle every line");
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

BENCHMARK(BM_PeerUpsert)
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
    maakPeerDoel();
    const qint64 peerRegels = laadPeer();
    const QString verwacht = QStringLiteral("%1/%2/%3").arg(kRegels).arg(kRegels).arg(kRegels / 2);
    const QString ons = controle(bestanden().doel);
    const QString peer = controle(bestanden().peerDoel);
    std::printf("result (articles/with the file's price/new ones in the file's group): import %s, peer %s, "
                "expected %s\n",
                qPrintable(ons), qPrintable(peer), qPrintable(verwacht));
    const QString anders = verschil(bestanden().doel, bestanden().peerDoel);
    if (!ok || peerRegels != kRegels || ons != verwacht || peer != verwacht || !anders.isEmpty()) {
        std::fprintf(stderr, "error: the import and the peer differ (import %s, peer handled %lld lines%s%s); "
                             "no ratio\n",
                     ok ? "ran" : "FAILED", static_cast<long long>(peerRegels),
                     anders.isEmpty() ? "" : ", first different article ", qPrintable(anders));
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    setUiServices(nullptr);
    const double ratio = reporter.ratio("BM_PeerUpsert", "BM_ArticleImport");
    if (ratio <= 0) {
        std::fprintf(stderr, "error: a benchmark failed; no ratio\n");
        return 1;
    }
    std::printf("article import ratio vs sqlite3 upsert: %.2f\n", ratio);
    return 0;
}
