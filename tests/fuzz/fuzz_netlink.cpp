#include "Require.h"
#include "netstatus/NetlinkParser.h"

using namespace horlan;

// One datagram from the kernel, read by every decoder as the answer to request 1.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const quint8> datagram(data, size);
    std::vector<InterfaceRow> rows;
    if (ParseLinkDump(datagram, 1, rows) != DumpProgress::Failed) {
        Require(FrameDump(datagram, 1) != DumpProgress::Failed);
    }
    for (const InterfaceRow& row : rows) {
        Require(row.PhysAddrLength <= row.PhysAddr.size() && row.NameLength <= row.Name.size());
    }
    StatisticsMatch match;
    ParseStatisticsDump(datagram, 1, rows, match);
    TrafficTotals totals;
    SumStatisticsDump(datagram, 1, totals);
    InterfaceRow row;
    DecodeLinkMessage(datagram, row);
    DecodeRouteReply(datagram, 1);
    return 0;
}
