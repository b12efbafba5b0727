#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Shows the runs as usual and keeps each benchmark's median CPU time per iteration, by name
// ("Refresh", or "Parse/1000" with an argument): on a machine shared with other work the CPU
// time is the steadier figure, and it is the cost the code puts on the machine.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the last line is read by scripts.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                const std::string& args = run.run_name.args;
                medians[run.run_name.function_name + (args.empty() ? "" : "/" + args)] =
                    run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> medians;
};
