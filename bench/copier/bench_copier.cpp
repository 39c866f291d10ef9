// Copies a 100,000-row table from one SQLite database into another with the
// SQLite-to-SQLite table copier: half of the rows are new to the target, half
// exist there and get two fields brought up to date, and one foreign key is
// translated through the referenced table's codes (the IDs differ between the
// two files). The peer does the same work as two plain statements over the
// source attached to the target (UPDATE ... FROM and INSERT ... SELECT), in
// the same process on the same files: the practical limit for this work.
// Both ways must leave the same table (a digest of every column); when they do
// not, the program ends with an error and prints no ratio.

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "transfer/clsimportsqlitetabelnaarsqlitet.h"

#include "support/fastestratio.h"
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

using namespace supplink;

namespace {

constexpr int kRows = 100000;
constexpr int kParents = 200;

QString g_source, g_template, g_target;
ItemCollection g_selection;

const char* const kSchema =
    "CREATE TABLE Parent (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50), Description TEXT(255));"
    "CREATE TABLE Item (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50), Description TEXT(255), "
    "fkParent INTEGER, Price REAL, Width REAL, Height REAL, Remark TEXT(255));"
    "CREATE INDEX ItemCode ON Item (Code);";

QString itemCode(int i)
{
    return QStringLiteral("I%1").arg(i, 6, 10, QLatin1Char('0'));
}

std::shared_ptr<SqliteBackend> create(const QString& path)
{
    QFile::remove(path);
    SqliteOpenOptions options;
    options.create = true;
    auto db = SqliteBackend::open(path, options);
    db->execute(QString::fromLatin1(kSchema));
    return db;
}

void makeFiles()
{
    {
        const auto db = create(g_source);
        Transaction transaction(db);
        const auto parent =
            db->prepare(QStringLiteral("INSERT INTO Parent (Code, Description) VALUES (?, ?)"));
        for (int p = 0; p < kParents; ++p) {
            parent->bind(0, QStringLiteral("P%1").arg(p));
            parent->bind(1, QStringLiteral("Groep %1").arg(p));
            parent->execute();
        }
        const auto item = db->prepare(QStringLiteral("INSERT INTO Item (Code, Description, fkParent, Price, "
                                                     "Width, Height, Remark) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kRows; ++i) {
            item->bind(0, itemCode(i));
            item->bind(1, QStringLiteral("Artikel %1").arg(i));
            item->bind(2, 1 + i % kParents);
            item->bind(3, i * 0.25);
            item->bind(4, 100 + i % 900);
            item->bind(5, 200 + i % 700);
            item->bind(6, QStringLiteral("Opmerking bij artikel %1").arg(i));
            item->execute();
        }
        transaction.commit();
    }
    {
        // The target knows the parents in the opposite order and every second item, with older values.
        const auto db = create(g_template);
        Transaction transaction(db);
        const auto parent =
            db->prepare(QStringLiteral("INSERT INTO Parent (Code, Description) VALUES (?, ?)"));
        for (int p = kParents - 1; p >= 0; --p) {
            parent->bind(0, QStringLiteral("P%1").arg(p));
            parent->bind(1, QStringLiteral("Groep %1").arg(p));
            parent->execute();
        }
        const auto item = db->prepare(QStringLiteral("INSERT INTO Item (Code, Description, fkParent, Price, "
                                                     "Width, Height, Remark) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kRows; i += 2) {
            item->bind(0, itemCode(i));
            item->bind(1, QStringLiteral("Oud %1").arg(i));
            item->bind(2, kParents - i % kParents);
            item->bind(3, 1.0);
            item->bind(4, 100 + i % 900);
            item->bind(5, 200 + i % 700);
            item->bind(6, QStringLiteral("Opmerking bij artikel %1").arg(i));
            item->execute();
        }
        transaction.commit();
    }
    for (int i = 0; i < kRows; ++i) {
        auto item = std::make_shared<clsItem>();
        item->Code = itemCode(i);
        g_selection.append(item);
    }
}

void resetTarget()
{
    QFile::remove(g_target);
    QFile::copy(g_template, g_target);
}

// Receives the copier's events as an engine's relay does, and drops them.
class Listener : public VoortgangOntvanger
{
public:
    qint64 lines = 0;
    qint32 rows = 0;
    void Voortgang(const QString&, const QString&) override { ++lines; }
    void VoortgangPlus1() override { ++rows; }
};

// The number of rows the copier reported as handled.
qint32 copyWithCopier()
{
    clsConnectie source, target;
    source.SQLiteConnectie = SqliteBackend::open(g_source);
    target.SQLiteConnectie = SqliteBackend::open(g_target);
    Listener listener;
    clsImportSQLiteTabelNaarSQLiteT copier;
    copier.SetOntvanger(&listener);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.UpdateFieldsCollection << QStringLiteral("Description") << QStringLiteral("Price");
    copier.VoegOpzoekingToe(QStringLiteral("fkParent"),
                            source.Connection()->openRecordset(QStringLiteral("SELECT * FROM Parent")),
                            target.Connection()->openRecordset(QStringLiteral("SELECT * FROM Parent")));
    copier.strKeyField = QStringLiteral("Code");
    copier.strIDField = QStringLiteral("ID");
    copier.strFieldOnderdeelFilter = QStringLiteral("Code");
    copier.colFilter = g_selection;
    copier.NieuweOnderdelenToevoegen = true;
    copier.WijzigingenDoorvoeren = true;
    copier.OverzettenRecordSet(source.Connection()->openRecordset(QStringLiteral("SELECT * FROM Item")),
                               QStringLiteral("SELECT * FROM Item"), QStringLiteral("WHERE Code="), source,
                               target);
    source.SluitenConnectie();
    target.SluitenConnectie();
    return listener.rows;
}

void copyWithStatements()
{
    const auto db = SqliteBackend::open(g_target);
    db->execute(QStringLiteral("ATTACH DATABASE ? AS src"), {g_source});
    db->execute(QStringLiteral("BEGIN"));
    db->execute(QStringLiteral("UPDATE Item SET Description = s.Description, Price = s.Price "
                               "FROM src.Item s WHERE s.Code = Item.Code"));
    db->execute(QStringLiteral(
        "INSERT INTO Item (Code, Description, fkParent, Price, Width, Height, Remark) "
        "SELECT s.Code, s.Description, tp.ID, s.Price, s.Width, s.Height, s.Remark FROM src.Item s "
        "LEFT JOIN src.Parent sp ON sp.ID = s.fkParent LEFT JOIN Parent tp ON tp.Code = sp.Code "
        "WHERE NOT EXISTS (SELECT 1 FROM Item t WHERE t.Code = s.Code) ORDER BY s.ID"));
    db->execute(QStringLiteral("COMMIT"));
    db->execute(QStringLiteral("DETACH DATABASE src"));
    db->close();
}

// A digest of the target table, to see that both ways give the same result.
QString digest()
{
    const auto db = SqliteBackend::open(g_target);
    const auto rows = db->run(QStringLiteral(
        "SELECT count(*) || '/' || count(DISTINCT i.Code) || '/' || sum(length(i.Description)) || '/' || "
        "sum(i.Price) || '/' || sum(i.Width) || '/' || sum(i.Height) || '/' || sum(length(i.Remark)) || '/' || "
        "sum(CASE WHEN p.Code = 'P' || ((CAST(substr(i.Code, 2) AS INTEGER)) % 200) THEN 1 ELSE 0 END) "
        "FROM Item i LEFT JOIN Parent p ON p.ID = i.fkParent"));
    return rows ? rows->firstValue().toString() : QString();
}

void BM_Copier(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        resetTarget();
        state.ResumeTiming();
        if (copyWithCopier() != kRows)
            state.SkipWithError("the copier did not handle every row");
    }
}

void BM_InsertSelect(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        resetTarget();
        state.ResumeTiming();
        copyWithStatements();
    }
}

BENCHMARK(BM_InsertSelect)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_Copier)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("min", bench::fastest);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_source = dir.filePath(QStringLiteral("bron.db"));
    g_template = dir.filePath(QStringLiteral("doel-leeg.db"));
    g_target = dir.filePath(QStringLiteral("doel.db"));
    makeFiles();

    // Both ways must give the same table, or the times compare different work.
    resetTarget();
    copyWithStatements();
    const QString expected = digest();
    resetTarget();
    const qint32 handled = copyWithCopier();
    const QString actual = digest();
    std::printf("result (rows/codes/description length/price/width/height/remark length/parents right): "
                "copier %s, statements %s\n",
                qPrintable(actual), qPrintable(expected));
    if (expected.isEmpty() || actual != expected || handled != kRows) {
        std::fprintf(stderr, "error: the copier's table differs from the statements' table (copier handled %d of "
                             "%d rows); no ratio\n",
                     handled, kRows);
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ratio = reporter.ratio("BM_InsertSelect", "BM_Copier");
    if (ratio <= 0) {
        std::fprintf(stderr, "error: a benchmark failed; no ratio\n");
        return 1;
    }
    std::printf("copier ratio vs insert-select: %.2f\n", ratio);
    return 0;
}
