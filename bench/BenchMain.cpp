// Runs every benchmark, then prints the registered ratios of document work to plain copies.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

#include "BenchRatios.h"

namespace {

struct Ratio {
    std::string work, plainCopy;
    double goal;
};

std::vector<Ratio>& Ratios() {
    static std::vector<Ratio> ratios;
    return ratios;
}

// Remembers the real time per iteration of every run while the console shows it as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                Times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

} // namespace

bool RegisterRatio(const std::string& work, const std::string& plainCopy, double goal) {
    Ratios().push_back({work, plainCopy, goal});
    return true;
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool printedHeading = false;
    for (const Ratio& ratio : Ratios()) {
        const auto work = reporter.Times.find(ratio.work);
        const auto copy = reporter.Times.find(ratio.plainCopy);
        if (work == reporter.Times.end() || copy == reporter.Times.end()) continue;
        if (!printedHeading) {
            std::printf("\n%-40s %-32s %8s %6s\n", "work", "against", "ratio", "goal");
            printedHeading = true;
        }
        const double value = work->second / copy->second;
        std::printf("%-40s %-32s %8.2f %6.1f %s\n", ratio.work.c_str(), ratio.plainCopy.c_str(),
                    value, ratio.goal, value <= ratio.goal ? "met" : "MISSED");
    }
    benchmark::Shutdown();
    return 0;
}
