// Runs every benchmark, then prints the registered ratios of document work to plain copies, and
// how each command's time per record grows from the common size to the largest.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

#include "BenchLayouts.h"
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

std::vector<std::string>& Linear() {
    static std::vector<std::string> names;
    return names;
}

// Largest per-record time over the common size's: the goal of every command.
constexpr double LinearityGoal = 2.0;

// What any command that records undo must at least do: copy the records once.
void BM_CopyLayout(benchmark::State& state) {
    const std::vector<ControlRecord>& records = BenchLayout(static_cast<int>(state.range(0)));
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy = records;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyLayout)->Apply(AtBothSizes);

std::string AtSize(const std::string& name, int records) {
    return name + "/" + std::to_string(records);
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

const char* Verdict(double value, double goal) {
    return value <= goal ? "met" : "MISSED";
}

} // namespace

bool RegisterRatio(const std::string& work, const std::string& plainCopy, double goal) {
    Ratios().push_back({work, plainCopy, goal});
    return true;
}

bool RegisterRatios(const std::string& work, const std::string& plainCopy, double goal) {
    for (int size : {BenchCommonSize, BenchLargestSize})
        RegisterRatio(AtSize(work, size), AtSize(plainCopy, size), goal);
    return true;
}

bool RegisterLinearity(const std::string& benchmark) {
    Linear().push_back(benchmark);
    return true;
}

bool RegisterCommand(const std::string& work, const std::string& plainCopy, double goal) {
    return RegisterRatios(work, plainCopy, goal) && RegisterLinearity(work);
}

int main(int argc, char** argv) {
    RegisterLinearity("BM_CopyLayout");
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto time = [&](const std::string& name) -> const double* {
        const auto found = reporter.Times.find(name);
        return found == reporter.Times.end() ? nullptr : &found->second;
    };

    bool printedHeading = false;
    for (const Ratio& ratio : Ratios()) {
        const double* work = time(ratio.work);
        const double* copy = time(ratio.plainCopy);
        if (work == nullptr || copy == nullptr) continue;
        if (!printedHeading) {
            std::printf("\n%-40s %-32s %8s %6s\n", "work", "against", "ratio", "goal");
            printedHeading = true;
        }
        const double value = *work / *copy;
        if (ratio.goal > 0)
            std::printf("%-40s %-32s %8.2f %6.1f %s\n", ratio.work.c_str(), ratio.plainCopy.c_str(),
                        value, ratio.goal, Verdict(value, ratio.goal));
        else
            std::printf("%-40s %-32s %8.2f %6s\n", ratio.work.c_str(), ratio.plainCopy.c_str(),
                        value, "-");
    }

    printedHeading = false;
    for (const std::string& name : Linear()) {
        const double* common = time(AtSize(name, BenchCommonSize));
        const double* largest = time(AtSize(name, BenchLargestSize));
        if (common == nullptr || largest == nullptr) continue;
        if (!printedHeading) {
            std::printf("\n%-32s %14s %14s %8s %6s\n", "time per record",
                        AtSize("at", BenchCommonSize).c_str(),
                        AtSize("at", BenchLargestSize).c_str(), "growth", "goal");
            printedHeading = true;
        }
        const double perCommon = *common / BenchCommonSize;
        const double perLargest = *largest / BenchLargestSize;
        const double growth = perLargest / perCommon;
        std::printf("%-32s %11.3f us %11.3f us %8.2f %6.1f %s\n", name.c_str(), perCommon,
                    perLargest, growth, LinearityGoal, Verdict(growth, LinearityGoal));
    }
    benchmark::Shutdown();
    return 0;
}
