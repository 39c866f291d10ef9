// Splits 50 MB of ";"-separated article lines (as a supplier's article file
// holds them) with SplitCSVRegel and with libcsv in one process. Both produce
// every field of every line as a string of their own: our routine a QStringList
// per line, libcsv a std::string per field through its callbacks. Our routine
// takes the text as decoded QString lines (finding the line ends is timed);
// libcsv reads the same text as UTF-8 bytes. The lines hold no doubled quotes
// and no blanks around fields, where the two would differ by design.
// The last line gives our throughput relative to libcsv's.
#include "start/csvsplit.h"

#include <benchmark/benchmark.h>
#include <csv.h>

#include <QString>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace supplink;

QString articleLines(qsizetype targetBytes)
{
    static const char* const groups[] = {"Scharnieren", "Sluitwerk",  "\"Krukken; RVS\"",
                                         "Profielen",   "Afdichting", "\"Dorpels, hardsteen\""};
    static const char* const units[] = {"st", "m1", "set", "doos"};
    QString text;
    text.reserve(targetBytes + 256);
    for (int i = 0; text.size() < targetBytes; ++i) {
        text += QStringLiteral("ART-%1;").arg(i, 7, 10, QLatin1Char('0'));
        text += i % 7 == 0 ? QStringLiteral("\"Draaikiepbeslag; links, %1 mm\";").arg(800 + i % 600)
                           : QStringLiteral("Omschrijving artikel %1 – maat %2;").arg(i).arg(i % 90);
        text += QStringLiteral("%1,%2;").arg(i % 250).arg(i % 100, 2, 10, QLatin1Char('0'));
        text += QString::fromUtf8(units[i % 4]) + QLatin1Char(';');
        text += QString::number(1 + i % 12) + QLatin1Char(';');
        text += QString::fromUtf8(groups[i % 6]) + QLatin1Char(';');
        text += QStringLiteral("87%1;").arg(qint64(1000000000) + i * 7919LL);
        text += QStringLiteral("LEV%1;").arg(i % 40);
        text +=
            (i % 3 == 0 ? QString() : QStringLiteral("Kleur RAL %1").arg(9000 + i % 20)) + QLatin1Char(';');
        text += QStringLiteral("2024-0%1-1%2;").arg(1 + i % 9).arg(i % 10);
        text += QString::number(i % 2) + QLatin1Char('\n');
    }
    return text;
}

struct Input
{
    QString text;
    std::string utf8;
};

const Input& input()
{
    static const Input in = [] {
        Input i{articleLines(50 * 1000 * 1000), {}};
        i.utf8 = i.text.toStdString();
        return i;
    }();
    return in;
}

// Splits every line; returns the number of fields.
qint64 splitOurs(QStringView text)
{
    qint64 fields = 0;
    bool ok = true;
    QString error;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        if (!line.isEmpty()) {
            const auto parts = SplitCSVRegel(line, ok, error);
            fields += parts->size();
            benchmark::DoNotOptimize(parts);
        }
        start = end + 1;
    }
    return fields;
}

struct LibcsvRow
{
    std::vector<std::string> fields;
    qint64 count = 0;
};

void onField(void* s, size_t len, void* data)
{
    auto* row = static_cast<LibcsvRow*>(data);
    row->fields.emplace_back(static_cast<const char*>(s), len);
}

void onRow(int, void* data)
{
    auto* row = static_cast<LibcsvRow*>(data);
    row->count += qint64(row->fields.size());
    benchmark::DoNotOptimize(row->fields);
    row->fields.clear();
}

qint64 splitLibcsv(const std::string& text)
{
    csv_parser parser;
    csv_init(&parser, 0);
    csv_set_delim(&parser, ';');
    LibcsvRow row;
    csv_parse(&parser, text.data(), text.size(), onField, onRow, &row);
    csv_fini(&parser, onField, onRow, &row);
    csv_free(&parser);
    return row.count;
}

void BM_SplitOurs(benchmark::State& state)
{
    const Input& in = input();
    for (auto _ : state)
        benchmark::DoNotOptimize(splitOurs(in.text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.utf8.size()));
}

void BM_SplitLibcsv(benchmark::State& state)
{
    const Input& in = input();
    for (auto _ : state)
        benchmark::DoNotOptimize(splitLibcsv(in.utf8));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.utf8.size()));
}

// The median of five repetitions each.
void settings(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_SplitOurs)->Apply(settings);
BENCHMARK(BM_SplitLibcsv)->Apply(settings);

class RecordingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // The median of the repetitions where there are several, else the one run.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.function_name +
                      (run.run_name.args.empty() ? std::string() : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double ratio(const std::string& ours, const std::string& peer) const
    {
        const auto o = times.find(ours);
        const auto p = times.find(peer);
        return o == times.end() || p == times.end() || o->second <= 0 ? 0 : p->second / o->second;
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const Input& in = input();
    const qint64 ours = splitOurs(in.text);
    const qint64 peer = splitLibcsv(in.utf8);
    std::printf("input: %.1f MB, %lld fields (libcsv: %lld)\n", double(in.utf8.size()) / 1e6,
                static_cast<long long>(ours), static_cast<long long>(peer));
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("csv split ratio vs libcsv: %.2f\n", reporter.ratio("BM_SplitOurs", "BM_SplitLibcsv"));
    return ours == peer ? 0 : 1;
}
