// The entry point of brzdomat_bench: Google Benchmark's own, plus the ratios of registered
// comparisons, computed from the times measured in this very run.

#include "bench/bench_compare.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace brzdomat::bench {

namespace {

struct Comparison {
    std::string Measured;
    std::string Baseline;
    double Goal = 0;
};

std::vector<Comparison>& Comparisons()
{
    static std::vector<Comparison> comparisons;
    return comparisons;
}

// Prints as the console reporter does and keeps the real and processor time of every run.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            RealTimes[run.benchmark_name()] = run.GetAdjustedRealTime() * unit;
            CpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime() * unit;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> RealTimes;
    // On a shared machine the processor time of the process is the steadier figure.
    std::map<std::string, double> CpuTimes;
};

} // namespace

bool CompareWithBaseline(std::string measured, std::string baseline, double goal)
{
    Comparisons().push_back({ std::move(measured), std::move(baseline), goal });
    return true;
}

} // namespace brzdomat::bench

int main(int argc, char** argv)
{
    using namespace brzdomat::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool printedHeader = false;
    for (const Comparison& comparison : Comparisons()) {
        auto measured = reporter.RealTimes.find(comparison.Measured);
        auto baseline = reporter.RealTimes.find(comparison.Baseline);
        if (measured == reporter.RealTimes.end() || baseline == reporter.RealTimes.end()
            || baseline->second <= 0)
            continue;
        if (!printedHeader) {
            std::printf(
                "\n%-56s %-56s %8s %8s %8s\n", "measured", "baseline", "ratio", "cpu", "goal");
            printedHeader = true;
        }
        double ratio = measured->second / baseline->second;
        double baselineCpu = reporter.CpuTimes[comparison.Baseline];
        double cpuRatio
            = baselineCpu > 0 ? reporter.CpuTimes[comparison.Measured] / baselineCpu : 0;
        std::printf("%-56s %-56s %8.3f %8.3f %8.3f %s\n", comparison.Measured.c_str(),
            comparison.Baseline.c_str(), ratio, cpuRatio, comparison.Goal,
            ratio <= comparison.Goal ? "met" : "MISSED");
    }
    return 0;
}
