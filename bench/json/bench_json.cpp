// Reads and writes two documents with this program's JSON routines and with
// nlohmann-json in one process: a 5 MB array of hardware-combination data
// (library layout with limits, usage lists and article entries) and an array
// of deeply nested values. Our reader takes the text as a QString, as it comes
// from the database; nlohmann reads the same text as UTF-8.
//
// The peer that does the same work is nlohmann::ordered_json: like our reader
// it keeps the members of an object in the order of the text (nlohmann::json
// sorts them into a map, which is less work and not what the program needs);
// its figures are printed as well. Before timing, both readers' trees are
// compared value by value; when they differ, the program ends with an error
// and prints no ratio. The last line gives our read throughput relative to
// ordered_json's (the lower of the two documents' ratios).
//
// Both readers run with the C library keeping freed heap memory: otherwise
// each iteration's release of a large tree hands the pages back to the kernel
// and the next iteration mostly measures page faults, by chance more for one
// reader than the other.
#include "json/json.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <QString>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace supplink;

JsonObject articleEntry(int combi, int n)
{
    const bool draw = n % 3 != 0;
    JsonObject a;
    a.insert("fkArticle", QStringLiteral("HSW-%1-%2").arg(combi, 5, 10, QLatin1Char('0')).arg(n));
    a.insert("Position", n + 1);
    a.insert("Draw", draw ? 1 : 0);
    a.insert("Origin", n % 4);
    a.insert("CR_Y", draw ? QStringLiteral("%1.5").arg(100 + n * 7) : QStringLiteral("0"));
    a.insert("CR_X", draw ? QString::number(n * 12) : QStringLiteral("0"));
    a.insert("Polygon", 1);
    a.insert("ZPos", 0);
    a.insert("ZPosWindow", 0);
    a.insert("Type", 3 + n % 5);
    a.insert("WFrom", 400);
    a.insert("WTo", 1200 + combi % 300);
    a.insert("HFrom", 500);
    a.insert("HTo", 2400);
    a.insert("RealLength", QString::number(1200 + n));
    a.insert("DrawLength", QStringLiteral("1150.25"));
    a.insert("DrawWidth", QStringLiteral("16"));
    a.insert("Misc1", n == 2 ? QStringLiteral("Sluitkom \"links\" – ég") : QString());
    for (const char* key : {"Misc2", "Misc3", "Misc4", "Misc5"})
        a.insert(key, QString());
    return a;
}

QString combinationsDocument(qsizetype targetBytes)
{
    JsonArray combis;
    qsizetype bytes = 2;
    for (int c = 0; bytes < targetBytes; ++c) {
        JsonObject combi;
        combi.insert("Polygon", 1);
        combi.insert("Lim_min_W", 400 + c % 50);
        combi.insert("Lim_min_H", 500.5);
        combi.insert("Lim_min_A", 0);
        combi.insert("Lim_max_W", 1200);
        combi.insert("Lim_max_H", 2400.75);
        combi.insert("Lim_max_A", 1.25e3);
        combi.insert("ArtUsages", JsonArray{JsonObject(), 12, "ART-1"});
        combi.insert("ActUsages", JsonArray());
        combi.insert("RefUsages", JsonArray{true, false, nullptr});
        JsonArray articles;
        for (int n = 0; n < 8; ++n)
            articles.append(articleEntry(c, n));
        combi.insert("LHArticles", std::move(articles));
        bytes += ToJson(combi).size() + 1;
        combis.append(std::move(combi));
    }
    return ToJson(JsonValue(std::move(combis)));
}

QString deepDocument(int items, int depth)
{
    QString one;
    for (int d = 0; d < depth; ++d)
        one += d % 2 == 0 ? QStringLiteral("{\"k\":") : QStringLiteral("[");
    one += QStringLiteral("[1.5,\"leaf\",true,null]");
    for (int d = depth - 1; d >= 0; --d)
        one += d % 2 == 0 ? QStringLiteral("}") : QStringLiteral("]");
    QStringList all(items, one);
    return QLatin1Char('[') + all.join(QLatin1Char(',')) + QLatin1Char(']');
}

struct Document
{
    QString text;
    std::string utf8;
};

const Document& document(int which)
{
    static const Document combis = [] {
        Document d{combinationsDocument(5 * 1024 * 1024), {}};
        d.utf8 = d.text.toStdString();
        return d;
    }();
    static const Document deep = [] {
        Document d{deepDocument(3000, 256), {}};
        d.utf8 = d.text.toStdString();
        return d;
    }();
    return which == 0 ? combis : deep;
}

void BM_ParseOurs(benchmark::State& state)
{
    const Document& doc = document(int(state.range(0)));
    for (auto _ : state) {
        JsonValue value = ParseJson(doc.text);
        benchmark::DoNotOptimize(value);
    }
    if (!GetParserErrors().isEmpty())
        state.SkipWithError("parser errors");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.utf8.size()));
}

template <typename Json> void BM_ParseNlohmann(benchmark::State& state)
{
    const Document& doc = document(int(state.range(0)));
    for (auto _ : state) {
        Json value = Json::parse(doc.utf8);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.utf8.size()));
}

void BM_WriteOurs(benchmark::State& state)
{
    const Document& doc = document(int(state.range(0)));
    const JsonValue value = ParseJson(doc.text);
    for (auto _ : state) {
        QString text = ToJson(value);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.utf8.size()));
}

template <typename Json> void BM_WriteNlohmann(benchmark::State& state)
{
    const Document& doc = document(int(state.range(0)));
    const Json value = Json::parse(doc.utf8);
    for (auto _ : state) {
        std::string text = value.dump();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.utf8.size()));
}

// Both documents, the median of three repetitions.
void settings(benchmark::internal::Benchmark* b)
{
    b->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ParseOurs)->Apply(settings);
BENCHMARK(BM_ParseNlohmann<nlohmann::json>)->Name("BM_ParseNlohmann")->Apply(settings);
BENCHMARK(BM_ParseNlohmann<nlohmann::ordered_json>)->Name("BM_ParseNlohmannOrdered")->Apply(settings);
BENCHMARK(BM_WriteOurs)->Apply(settings);
BENCHMARK(BM_WriteNlohmann<nlohmann::json>)->Name("BM_WriteNlohmann")->Apply(settings);
BENCHMARK(BM_WriteNlohmann<nlohmann::ordered_json>)->Name("BM_WriteNlohmannOrdered")->Apply(settings);

// Whether our tree and ordered_json's hold the same values, members in the same order.
bool sameTree(const JsonValue& ours, const nlohmann::ordered_json& peer)
{
    switch (ours.type()) {
    case JsonValue::Type::Null:
        return peer.is_null();
    case JsonValue::Type::Bool:
        return peer.is_boolean() && peer.get<bool>() == ours.toBool();
    case JsonValue::Type::Number:
        return peer.is_number() && peer.get<double>() == ours.toDouble();
    case JsonValue::Type::String:
        return peer.is_string() && QString::fromStdString(peer.get_ref<const std::string&>()) == ours.toString();
    case JsonValue::Type::Array: {
        const JsonArray& items = ours.toArray();
        if (!peer.is_array() || peer.size() != std::size_t(items.size()))
            return false;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (!sameTree(items[i], peer[std::size_t(i)]))
                return false;
        }
        return true;
    }
    case JsonValue::Type::Object: {
        const JsonObject& members = ours.toObject();
        if (!peer.is_object() || peer.size() != std::size_t(members.size()))
            return false;
        qsizetype i = 0;
        for (auto it = peer.begin(); it != peer.end(); ++it, ++i) {
            const JsonMember& member = members.at(i);
            if (QString::fromStdString(it.key()) != member.key || !sameTree(member.value, it.value()))
                return false;
        }
        return true;
    }
    case JsonValue::Type::Empty:
        break;
    }
    return false;
}

// Keeps the time per iteration of every benchmark, by name.
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
    double ratio(const std::string& ours, const std::string& peer, const std::string& arg) const
    {
        const auto o = times.find(ours + "/" + arg);
        const auto p = times.find(peer + "/" + arg);
        if (o == times.end() || p == times.end() || o->second <= 0)
            return 0;
        return p->second / o->second;
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("documents: hardware combinations %.1f MB, nested %.1f MB (UTF-8)\n",
                double(document(0).utf8.size()) / 1e6, double(document(1).utf8.size()) / 1e6);
    for (int i = 0; i < 2; ++i) {
        const JsonValue ours = ParseJson(document(i).text);
        if (!GetParserErrors().isEmpty() || !sameTree(ours, nlohmann::ordered_json::parse(document(i).utf8))) {
            std::fprintf(stderr, "error: our reader and ordered_json read document %d differently; no ratio\n", i);
            return 1;
        }
    }
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const char* names[] = {"hardware combinations", "nested"};
    double parse = 1e9;
    for (int i = 0; i < 2; ++i) {
        const std::string arg = std::to_string(i);
        const double p = reporter.ratio("BM_ParseOurs", "BM_ParseNlohmannOrdered", arg);
        const double w = reporter.ratio("BM_WriteOurs", "BM_WriteNlohmannOrdered", arg);
        const double pm = reporter.ratio("BM_ParseOurs", "BM_ParseNlohmann", arg);
        const double wm = reporter.ratio("BM_WriteOurs", "BM_WriteNlohmann", arg);
        std::printf("%s: vs ordered_json parse ratio %.2f, write ratio %.2f; vs json (sorted members) parse "
                    "ratio %.2f, write ratio %.2f\n",
                    names[i], p, w, pm, wm);
        parse = std::min(parse, p);
    }
    if (parse <= 0) {
        std::fprintf(stderr, "error: a benchmark failed; no ratio\n");
        return 1;
    }
    std::printf("json parse ratio vs nlohmann::ordered_json: %.2f\n", parse);
    return 0;
}
