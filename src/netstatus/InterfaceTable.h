#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

namespace horlan {

// One interface as the platform's interface table describes it. Counters are the
// platform's full counters, widened to 64 bits where the platform keeps fewer.
struct InterfaceRow {
    quint32 Index = 0;                // the platform's interface index
    quint32 Type = 0;                 // the platform's interface type code, unchanged
    quint32 Mtu = 0;                  // bytes
    quint64 Speed = 0;                // bits per second; 0 when unknown
    std::array<quint8, 8> PhysAddr{}; // hardware address, first PhysAddrLength bytes used
    quint32 PhysAddrLength = 0;       // 0..8
    quint32 AdminStatus = 0;          // the platform's code for "administratively up"
    quint32 OperStatus = 0;           // the platform's operational state code, unchanged
    quint64 InOctets = 0;
    quint64 InUcastPkts = 0;
    quint64 InNUcastPkts = 0; // broadcast and multicast
    quint64 InDiscards = 0;
    quint64 InErrors = 0;
    quint64 InUnknownProtos = 0;
    quint64 OutOctets = 0;
    quint64 OutUcastPkts = 0;
    quint64 OutNUcastPkts = 0;
    quint64 OutDiscards = 0;
    quint64 OutErrors = 0;
    quint32 OutQLen = 0;              // packets
    std::array<char, 256> Descr{};    // 8-bit text of the system's code page
    quint32 DescrLength = 0;          // bytes of Descr that hold text; may exceed 256
    std::array<char16_t, 256> Name{}; // UTF-16
    quint32 NameLength = 0;           // code units of Name that the platform filled
    bool Loopback = false;            // the machine's own loopback interface
};

// The byte counters of every interface except loopback, summed.
struct TrafficTotals {
    quint64 Received = 0;
    quint64 Sent = 0;
};

enum class InterfaceTableResult {
    Ok,           // rows hold the table
    NotSupported, // the platform has no interface table at all
    Failed,       // this read failed; a later one may succeed
};

// Seam: the platform's table of network interfaces.
class InterfaceTable {
public:
    virtual ~InterfaceTable() = default;

    // Replaces `rows` with the current table, one row per interface in the platform's own
    // order. Unless the result is Ok, `rows` is left empty. Callers keep `rows` between
    // reads so that its storage is reused.
    virtual InterfaceTableResult Read(std::vector<InterfaceRow>& rows) = 0;

    // Replaces `totals` with the current sums, building no table. Never waits for the
    // platform: an answer that has not come yet is looked for again by the next call, and
    // dropped when it has not come by then. Unless the result is Ok, `totals` is left as it was.
    virtual InterfaceTableResult ReadTotals(TrafficTotals& totals) = 0;
};

} // namespace horlan
