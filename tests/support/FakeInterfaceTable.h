#pragma once

#include "netstatus/InterfaceTable.h"

namespace horlan {

// A row with the given index and octet counters, the rest zero.
inline InterfaceRow MakeInterfaceRow(quint32 index, quint64 inOctets = 0, quint64 outOctets = 0) {
    InterfaceRow row;
    row.Index = index;
    row.InOctets = inOctets;
    row.OutOctets = outOctets;
    return row;
}

// Answers every read with Result and, when that is Ok, with Rows or their totals; counts the
// reads.
struct FakeInterfaceTable : InterfaceTable {
    InterfaceTableResult Read(std::vector<InterfaceRow>& rows) override {
        ++Reads;
        rows = Result == InterfaceTableResult::Ok ? Rows : std::vector<InterfaceRow>{};
        return Result;
    }
    InterfaceTableResult ReadTotals(TrafficTotals& totals) override {
        ++Reads;
        if (Result == InterfaceTableResult::Ok) {
            totals = {};
            for (const InterfaceRow& row : Rows) {
                totals.Received += row.Loopback ? 0 : row.InOctets;
                totals.Sent += row.Loopback ? 0 : row.OutOctets;
            }
        }
        return Result;
    }
    InterfaceTableResult Result = InterfaceTableResult::Ok;
    std::vector<InterfaceRow> Rows;
    int Reads = 0;
};

} // namespace horlan
