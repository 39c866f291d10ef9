#pragma once
// For benchmarks that compare one way of doing a job with a peer: each way
// runs a few times, one job each, and the ratio compares the fastest runs,
// the least disturbed by whatever else the machine does.
//
//     BENCHMARK(BM_Peer)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
//         ->ComputeStatistics("min", bench::fastest);
//     ...
//     bench::FastestReporter reporter;
//     benchmark::RunSpecifiedBenchmarks(&reporter);
//     std::printf("x ratio vs y: %.2f\n", reporter.ratio("BM_Peer", "BM_Ours"));

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace bench {

inline double fastest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

// Reports as the console does and keeps the fastest real time of every benchmark, by function name.
class FastestReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
    // The peer's time over ours (higher is better for us); 0 when ours is missing.
    double ratio(const std::string& peer, const std::string& ours) const
    {
        const auto us = times.find(ours);
        const auto them = times.find(peer);
        return us != times.end() && them != times.end() && us->second > 0 ? them->second / us->second : 0.0;
    }
    std::map<std::string, double> times;
};

} // namespace bench
