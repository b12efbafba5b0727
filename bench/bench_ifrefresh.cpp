// The activity picture refreshes the interface table ten times a second, all day. This
// measures one refresh (CIpHelper::Interfaces over the kernel's table; between link changes
// it fetches only the counters) against a bare link dump on the table's own link socket, and
// prints the ratio of the two as its last line.
#include "netstatus/CIpHelper.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include "MedianReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class SilentMsgBox : public horlan::MsgBox {
public:
    void Show(const horlan::MsgBoxRequest&) override {}
};

// Both measurements share one table, and so one socket.
horlan::NetlinkInterfaceTable& Table() {
    static horlan::NetlinkInterfaceTable table;
    return table;
}

void Refresh(benchmark::State& state) {
    SilentMsgBox box;
    horlan::CIpHelper helper(Table(), box);
    const auto dumpsBefore = Table().LinkDumps();
    for (auto _ : state) {
        const auto interfaces = helper.Interfaces();
        benchmark::DoNotOptimize(interfaces.get());
    }
    // Near 0 while no link changes: the refreshes fetched the counters alone.
    state.counters["link_dumps_per_refresh"] =
        static_cast<double>(Table().LinkDumps() - dumpsBefore) /
        static_cast<double>(state.iterations());
    state.counters["interfaces"] = helper.Interfaces()->Count();
}

void BareDump(benchmark::State& state) {
    for (auto _ : state) {
        if (!Table().DumpOnly()) {
            state.SkipWithError("the link dump failed");
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Refresh", Refresh)->Repetitions(7)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("BareDump", BareDump)->Repetitions(7)->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double refresh = reporter.medians["Refresh"];
    const double dump = reporter.medians["BareDump"];
    if (refresh <= 0 || dump <= 0) {
        std::printf("ratio unavailable\n");
        return 1;
    }
    std::printf("median CPU time per call: refresh %.0f ns, bare dump %.0f ns\n", refresh, dump);
    std::printf("ratio %.3f\n", refresh / dump);
    return 0;
}
