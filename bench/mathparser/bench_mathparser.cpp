// Speed of the expression evaluator against muparser on typical groove-profile formulas: each
// formula is stored once and evaluated 1,000,000 times with a changing variable r. Also the time
// to store (parse) each formula.

#include "mathparser/mathparser.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Formula
{
    const char* ours;
    const char* muparser;
};

// The same formula in both languages ("sqr" is our square root, "atn" our arc tangent).
const Formula kFormulas[] = {
    {"r/2", "r/2"},
    {"r*2+1", "r*2+1"},
    {"sqr(r^2+16)", "sqrt(r^2+16)"},
    {"r-sqr(r*r-4)", "r-sqrt(r*r-4)"},
    {"5*sin(r/10)", "5*sin(r/10)"},
    {"r*cos(0.5)-2", "r*cos(0.5)-2"},
    {"atn(r/20)*2", "atan(r/20)*2"},
    {"max(r-8,0)+min(r,12)", "max(r-8,0)+min(r,12)"},
    {"(r<10)*r+(r>=10)*10", "(r<10)*r+(r>=10)*10"},
    {"(r-4)^2/8+sqr(abs(r-10))", "(r-4)^2/8+sqrt(abs(r-10))"},
};
constexpr int kFormulaCount = int(sizeof kFormulas / sizeof kFormulas[0]);
constexpr int kEvaluations = 1000000;

double rValue(int i)
{
    return 5.0 + (i % 1000) * 0.01;
}

void OursEval(benchmark::State& state)
{
    supplink::clsMathParser parser;
    if (!parser.StoreExpression(QString::fromLatin1(kFormulas[state.range(0)].ours))) {
        state.SkipWithError("parse failed");
        return;
    }
    int i = 0;
    double sum = 0;
    for (auto _ : state) {
        parser.VarValue(1, rValue(i++));
        sum += parser.Eval();
    }
    benchmark::DoNotOptimize(sum);
}

void MuparserEval(benchmark::State& state)
{
    mu::Parser parser;
    double r = 0;
    parser.DefineVar("r", &r);
    parser.SetExpr(kFormulas[state.range(0)].muparser);
    int i = 0;
    double sum = 0;
    for (auto _ : state) {
        r = rValue(i++);
        sum += parser.Eval();
    }
    benchmark::DoNotOptimize(sum);
}

void OursParse(benchmark::State& state)
{
    supplink::clsMathParser parser;
    const QString text = QString::fromLatin1(kFormulas[state.range(0)].ours);
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.StoreExpression(text));
}

// muparser parses on the first evaluation after SetExpr, so parsing is timed as both.
void MuparserParse(benchmark::State& state)
{
    mu::Parser parser;
    double r = 1;
    parser.DefineVar("r", &r);
    const std::string text = kFormulas[state.range(0)].muparser;
    for (auto _ : state) {
        parser.SetExpr(text);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

// Each measurement is repeated; the shared machine is noisy, so the fastest repetition of each
// benchmark counts, for both parsers alike.
constexpr int kRepetitions = 5;
BENCHMARK(OursEval)->DenseRange(0, kFormulaCount - 1)->Iterations(kEvaluations)->Repetitions(kRepetitions);
BENCHMARK(MuparserEval)
    ->DenseRange(0, kFormulaCount - 1)
    ->Iterations(kEvaluations)
    ->Repetitions(kRepetitions);
BENCHMARK(OursParse)->DenseRange(0, kFormulaCount - 1)->Repetitions(kRepetitions);
BENCHMARK(MuparserParse)->DenseRange(0, kFormulaCount - 1)->Repetitions(kRepetitions);

// Prints as usual and keeps the fastest repetition of every benchmark.
class TotalsReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const double perCall = run.real_accumulated_time / double(run.iterations);
            const std::string name = run.benchmark_name();
            const auto it = fastest.find(name);
            if (it == fastest.end() || perCall < it->second)
                fastest[name] = perCall;
        }
    }

    struct Total
    {
        double perCall = 0; // sum over the formulas of the time of one call, in seconds
        int formulas = 0;
    };

    Total total(const std::string& family) const
    {
        Total sum;
        for (const auto& [name, perCall] : fastest) {
            if (name.compare(0, family.size() + 1, family + "/") == 0) {
                sum.perCall += perCall;
                ++sum.formulas;
            }
        }
        return sum;
    }

    std::map<std::string, double> fastest;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TotalsReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.total("OursEval");
    const auto peer = reporter.total("MuparserEval");
    const auto oursParse = reporter.total("OursParse");
    const auto peerParse = reporter.total("MuparserParse");
    // Evaluations per second over the set: every formula evaluated once per round.
    const double oursRate = ours.perCall > 0 ? ours.formulas / ours.perCall : 0.0;
    const double peerRate = peer.perCall > 0 ? peer.formulas / peer.perCall : 0.0;
    std::printf("evaluations/second (fastest of %d repetitions): ours %.3g, muparser %.3g\n", kRepetitions,
                oursRate, peerRate);
    if (oursParse.perCall > 0 && peerParse.perCall > 0) {
        std::printf(
            "parse time of the %d formulas together: ours %.2f us, muparser %.2f us (SetExpr + first Eval)\n",
            kFormulaCount, oursParse.perCall * 1e6, peerParse.perCall * 1e6);
    }
    std::printf("evaluation ratio vs muparser: %.2f\n", peerRate > 0 ? oursRate / peerRate : 0.0);
    return 0;
}
