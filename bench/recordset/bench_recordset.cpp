// Reads a 100,000-row article table into a recordset and writes 100,000 rows
// back through addNew/update, and does the same with hand-written sqlite3
// prepared statements in one transaction, on the same file in the same process.

#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sqlite3.h>

using namespace supplink;

namespace {

constexpr int kRows = 100000;
const char* const kColumns[] = {"Code",      "Description", "fkType",    "fkGroup", "fkSupplier",
                                "OrderCode", "PriceOrder",  "PriceUnit", "w",       "H"};
constexpr int kColumnCount = 10;

struct ArticleRow
{
    qint64 id = 0;
    QString code, description, orderCode;
    qint64 fkType = 0, fkGroup = 0, fkSupplier = 0;
    double priceOrder = 0, priceUnit = 0, w = 0, h = 0;
};

QString g_path;      // the table that is read
QString g_writePath; // the table that is written
std::vector<ArticleRow> g_data;

QString selectList()
{
    QStringList names{QStringLiteral("ID")};
    for (const char* column : kColumns)
        names.append(QLatin1String(column));
    return names.join(QStringLiteral(", "));
}

QString insertStatement()
{
    QStringList names, marks;
    for (const char* column : kColumns) {
        names.append(QLatin1String(column));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO Article (%1) VALUES (%2)")
        .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

void makeData()
{
    g_data.resize(kRows);
    for (int i = 0; i < kRows; ++i) {
        ArticleRow& row = g_data[size_t(i)];
        row.code = QStringLiteral("ART-%1").arg(i, 6, 10, QLatin1Char('0'));
        row.description = QStringLiteral("Profiel meranti %1 mm, gelakt (ü)").arg(i % 997);
        row.orderCode = QStringLiteral("B%1").arg(i * 7);
        row.fkType = i % 23;
        row.fkGroup = i % 40;
        row.fkSupplier = i % 5;
        row.priceOrder = i * 0.5;
        row.priceUnit = 12.75 + i % 100;
        row.w = 68;
        row.h = 114;
    }
}

sqlite3* openRaw(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

void rawWrite(const QString& path)
{
    sqlite3* db = openRaw(path);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = insertStatement().toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    for (const ArticleRow& row : g_data) {
        const QByteArray code = row.code.toUtf8(), description = row.description.toUtf8(),
                         orderCode = row.orderCode.toUtf8();
        sqlite3_bind_text(st, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, description.constData(), int(description.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(st, 3, row.fkType);
        sqlite3_bind_int64(st, 4, row.fkGroup);
        sqlite3_bind_int64(st, 5, row.fkSupplier);
        sqlite3_bind_text(st, 6, orderCode.constData(), int(orderCode.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 7, row.priceOrder);
        sqlite3_bind_double(st, 8, row.priceUnit);
        sqlite3_bind_double(st, 9, row.w);
        sqlite3_bind_double(st, 10, row.h);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void recordsetWrite(const QString& path)
{
    const DbConnection db = SqliteBackend::open(path);
    Transaction transaction(db);
    const RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT ") + selectList() +
                                              QStringLiteral(" FROM Article WHERE ID = -1"));
    for (const ArticleRow& row : g_data) {
        rs->addNew();
        rs->setValue(QStringLiteral("Code"), row.code);
        rs->setValue(QStringLiteral("Description"), row.description);
        rs->setValue(QStringLiteral("fkType"), row.fkType);
        rs->setValue(QStringLiteral("fkGroup"), row.fkGroup);
        rs->setValue(QStringLiteral("fkSupplier"), row.fkSupplier);
        rs->setValue(QStringLiteral("OrderCode"), row.orderCode);
        rs->setValue(QStringLiteral("PriceOrder"), row.priceOrder);
        rs->setValue(QStringLiteral("PriceUnit"), row.priceUnit);
        rs->setValue(QStringLiteral("w"), row.w);
        rs->setValue(QStringLiteral("H"), row.h);
        rs->update();
    }
    transaction.commit();
}

void clearTable(const QString& path)
{
    sqlite3* db = openRaw(path);
    sqlite3_exec(db, "DELETE FROM Article", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QString text(sqlite3_stmt* st, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
}

void BM_ReadSqlite3(benchmark::State& state)
{
    const QByteArray sql =
        (QStringLiteral("SELECT ") + selectList() + QStringLiteral(" FROM Article")).toUtf8();
    std::vector<ArticleRow> rows; // kept between rounds, as the recordset keeps its memory
    for (auto _ : state) {
        rows.clear();
        sqlite3* db = openRaw(g_path);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ArticleRow row;
            row.id = sqlite3_column_int64(st, 0);
            row.code = text(st, 1);
            row.description = text(st, 2);
            row.fkType = sqlite3_column_int64(st, 3);
            row.fkGroup = sqlite3_column_int64(st, 4);
            row.fkSupplier = sqlite3_column_int64(st, 5);
            row.orderCode = text(st, 6);
            row.priceOrder = sqlite3_column_double(st, 7);
            row.priceUnit = sqlite3_column_double(st, 8);
            row.w = sqlite3_column_double(st, 9);
            row.h = sqlite3_column_double(st, 10);
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        qint64 sum = 0;
        for (const ArticleRow& row : rows)
            sum += row.code.size() + row.fkGroup;
        benchmark::DoNotOptimize(sum);
        if (rows.size() != size_t(kRows))
            state.SkipWithError("wrong row count");
    }
}

void BM_ReadRecordset(benchmark::State& state)
{
    const QString sql = QStringLiteral("SELECT ") + selectList() + QStringLiteral(" FROM Article");
    for (auto _ : state) {
        const DbConnection db = SqliteBackend::open(g_path);
        const RecordsetPtr rs = db->openRecordset(sql);
        const int code = rs->fieldIndex(QStringLiteral("Code"));
        const int group = rs->fieldIndex(QStringLiteral("fkGroup"));
        qint64 sum = 0, count = 0;
        for (; !rs->eof(); rs->moveNext()) {
            sum += rs->value(code).toString().size() + rs->value(group).toLongLong();
            ++count;
        }
        db->close();
        benchmark::DoNotOptimize(sum);
        if (count != kRows)
            state.SkipWithError("wrong row count");
    }
}

void BM_WriteSqlite3(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        clearTable(g_writePath);
        state.ResumeTiming();
        rawWrite(g_writePath);
    }
}

void BM_WriteRecordset(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        clearTable(g_writePath);
        state.ResumeTiming();
        recordsetWrite(g_writePath);
    }
}

BENCHMARK(BM_ReadSqlite3)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_ReadRecordset)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_WriteSqlite3)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_WriteRecordset)->Unit(benchmark::kMillisecond)->Iterations(6);

// Keeps the real time per iteration of every benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("read.db"));
    g_writePath = dir.filePath(QStringLiteral("write.db"));
    makeData();
    fixtures::makeDatabase(g_path, fixtures::Kind::ProductTable, {3, 40});
    fixtures::makeDatabase(g_writePath, fixtures::Kind::ProductTable, {3, 40});
    rawWrite(g_path);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ratio = [&](const char* peer, const char* ours) {
        const double us = reporter.times[ours];
        return us > 0 ? reporter.times[peer] / us : 0.0;
    };
    std::printf("recordset read ratio vs sqlite3: %.2f\n",
                ratio("BM_ReadSqlite3/iterations:8", "BM_ReadRecordset/iterations:8"));
    std::printf("recordset write ratio vs sqlite3: %.2f\n",
                ratio("BM_WriteSqlite3/iterations:6", "BM_WriteRecordset/iterations:6"));
    return 0;
}
