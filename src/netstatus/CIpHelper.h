#pragma once

#include "netstatus/CInterfaces.h"
#include "netstatus/InterfaceTable.h"
#include "runtime/MsgBox.h"

#include <memory>
#include <vector>

namespace horlan {

// Snapshots of the machine's network interfaces with the byte totals over all of them but
// loopback, whose traffic never leaves the machine. Every read of Interfaces() re-reads the
// whole table; the totals are those of the last read.
class CIpHelper {
public:
    CIpHelper(InterfaceTable& table, MsgBox& msgBox);

    // A fresh snapshot: a new collection, one record per interface, and new totals. A
    // collection returned earlier is left as it was. Called again while the "not supported"
    // box of a running read is open, it returns the current collection (an empty one when
    // there is none yet) and reads nothing.
    std::shared_ptr<CInterfaces> Interfaces();

    // Makes `interfaces` the current collection until the next read.
    void SetInterfaces(std::shared_ptr<CInterfaces> interfaces);

    // Reads the totals alone, without a snapshot and without waiting for the platform; a read
    // that fails or whose answer has not come keeps the totals as they were. Shows the same
    // "not supported" box as Interfaces(), and reads nothing while that box is open.
    void RefreshTotals();

    // Bytes received over all interfaces but loopback at the last read: the sum of the full
    // counters, 0 before the first read. Never touches the platform.
    qint64 BytesReceived() const { return bytesReceived_; }

    // Bytes sent over all interfaces at the last read, as BytesReceived().
    qint64 BytesSent() const { return bytesSent_; }

private:
    void RefreshInterfaces(CInterfaces& collection);
    void ShowNotSupportedOnce();

    InterfaceTable& table_;
    MsgBox& msgBox_;
    std::shared_ptr<CInterfaces> interfaces_;
    qint64 bytesReceived_ = 0;
    qint64 bytesSent_ = 0;
    // The texts made for one row position, with the row they were made from: while a later
    // read reports the same bytes there, its records share these texts instead of new ones.
    struct RowTexts {
        bool Made = false;
        InterfaceRow Source;
        QString Description;
        QString Address;
        QString Name;
    };
    const RowTexts& TextsFor(std::size_t position, const InterfaceRow& row);

    // Kept between reads so that the table's rows reuse their storage.
    std::vector<InterfaceRow> rows_;
    std::vector<RowTexts> texts_;
    bool refreshing_ = false;
    bool notSupportedShown_ = false;
};

} // namespace horlan
