// Benchmarks report their targets as ratios against a baseline measured in the
// same run. This reporter keeps each benchmark's time per iteration and prints
// those ratios after the usual console table.
#pragma once

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Processor time suits a shared machine (wall time also counts other
    // programs' turns); wall time suits work that waits on the disk.
    enum class Clock { Wall, Processor };
    explicit RatioReporter(Clock clock = Clock::Wall) : m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            m_times[run.run_name.function_name] =
                m_clock == Clock::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        }
    }

    double time(const std::string& name) const {
        const auto it = m_times.find(name);
        return it == m_times.end() ? 0.0 : it->second;
    }

    // Prints every other benchmark's time as a ratio to the baseline's and
    // returns false when one exceeds the limit.
    bool printRatios(const std::string& baseline, const std::string& what, double limit) const {
        const double floor = time(baseline);
        if (floor <= 0) {
            return true;
        }
        std::cout << "\nRatio to " << what << " (target <= " << limit << "x):\n";
        bool ok = true;
        for (const auto& [name, t] : m_times) {
            if (name == baseline) {
                continue;
            }
            const double ratio = t / floor;
            ok = ok && ratio <= limit;
            std::cout << "  " << name << ": " << ratio << "x" << (ratio <= limit ? "" : "  OVER")
                      << "\n";
        }
        return ok;
    }

private:
    Clock m_clock;
    std::map<std::string, double> m_times;
};

}  // namespace tarnwick::bench
