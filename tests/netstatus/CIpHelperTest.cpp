#include "netstatus/CIpHelper.h"

#include "netstatus/NetstatusTexts.h"
#include "support/FakeInterfaceTable.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

using namespace horlan;

namespace {

struct Helper {
    FakeInterfaceTable table;
    RecordingMsgBox boxes;
    CIpHelper helper{table, boxes};
};

} // namespace

TEST(CIpHelper, TotalsAreFullSumsAndRecordsKeepTheLow32Bits) {
    Helper h;
    h.table.Rows = {MakeInterfaceRow(1, 1000, 10), MakeInterfaceRow(2, 2500, 0),
                    MakeInterfaceRow(3, 700, 70)};
    h.table.Rows[2].Loopback = true; // left out of the totals, not of the table
    const auto first = h.helper.Interfaces();
    EXPECT_EQ(h.helper.BytesReceived(), 3500);
    EXPECT_EQ(first->Count(), 3);
    h.table.Rows = {MakeInterfaceRow(7, 4294967295u, (1ULL << 32) + 5),
                    MakeInterfaceRow(8, 1ULL << 40, 1)};
    EXPECT_EQ(h.helper.BytesSent(), 10); // no read of its own
    const auto record = h.helper.Interfaces()->Item(1);
    EXPECT_EQ(h.helper.BytesReceived(), 4294967295 + (1LL << 40));
    EXPECT_EQ(h.helper.BytesSent(), (1LL << 32) + 6);
    EXPECT_EQ(record->OctetsReceived(), -1);
    EXPECT_EQ(record->OctetsSent(), 5);
    EXPECT_EQ(first->Item(1)->OctetsReceived(), 1000); // an earlier snapshot stays as it was
    h.table.Result = InterfaceTableResult::Failed;     // silent
    h.helper.RefreshTotals(); // a tick whose answer is late keeps the totals
    EXPECT_EQ(h.helper.BytesReceived(), 4294967295 + (1LL << 40));
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0); // a snapshot is empty, its totals 0
    EXPECT_EQ(h.helper.BytesReceived(), 0);
    EXPECT_TRUE(h.boxes.Boxes.isEmpty());
}

TEST(CIpHelper, NotSupportedShowsOneBoxAndTicksDoNotStackBehindIt) {
    Helper h;
    h.table.Result = InterfaceTableResult::NotSupported;
    int readsWhileOpen = -1;
    h.boxes.OnShow = [&](const MsgBoxRequest&) {
        h.helper.RefreshTotals(); // a timer tick while the box is open
        EXPECT_NE(h.helper.Interfaces(), nullptr);
        readsWhileOpen = h.table.Reads;
    };
    for (int tick = 0; tick < 3; ++tick) {
        h.helper.RefreshTotals();
    }
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    EXPECT_EQ(h.boxes.Boxes, QList<MsgBoxRequest>{{IpHelperNotSupportedText()}});
    EXPECT_EQ(readsWhileOpen, 1);
    EXPECT_EQ(h.table.Reads, 4);
}
