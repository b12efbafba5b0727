#pragma once

// An interface table that answers with rows set by the test.

#include "netstatus/InterfaceTable.h"

#include <functional>

namespace horlan {

// A row with the given index and octet counters, the rest zero.
inline InterfaceRow MakeInterfaceRow(quint32 index, quint64 inOctets = 0, quint64 outOctets = 0) {
    InterfaceRow row;
    row.Index = index;
    row.InOctets = inOctets;
    row.OutOctets = outOctets;
    return row;
}

// Answers every read with Result and, when Ok, with Rows. OnRead runs inside each read.
class FakeInterfaceTable : public InterfaceTable {
public:
    InterfaceTableResult Read(std::vector<InterfaceRow>& rows) override {
        ++Reads;
        if (OnRead) {
            OnRead();
        }
        rows.clear();
        if (Result == InterfaceTableResult::Ok) {
            rows = Rows;
        }
        return Result;
    }

    InterfaceTableResult Result = InterfaceTableResult::Ok;
    std::vector<InterfaceRow> Rows;
    std::function<void()> OnRead;
    int Reads = 0;
};

} // namespace horlan
