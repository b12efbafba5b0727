#include "netstatus/CIpHelper.h"

#include "netstatus/NetstatusTexts.h"
#include "support/FakeInterfaceTable.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>

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
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    h.table.Rows = {MakeInterfaceRow(1, 1000, 10), MakeInterfaceRow(2, 2500, 0)};
    const auto first = h.helper.Interfaces();
    EXPECT_EQ(h.helper.BytesReceived(), 3500);
    InterfaceRow big = MakeInterfaceRow(7, 4294967295u, (1ULL << 32) + 5);
    big.Speed = 10'000'000'000ULL;
    h.table.Rows = {big, MakeInterfaceRow(8, 1ULL << 40, 1)};
    EXPECT_EQ(h.helper.BytesSent(), 10); // no read of its own
    const auto record = h.helper.Interfaces()->Item(1);
    EXPECT_EQ(h.helper.BytesReceived(), 4294967295 + (1LL << 40));
    EXPECT_EQ(h.helper.BytesSent(), (1LL << 32) + 6);
    EXPECT_EQ(record->OctetsReceived(), -1);
    EXPECT_EQ(record->OctetsSent(), 5);
    EXPECT_EQ(record->Speed(), 1410065408); // 10^10 - 2^33
    EXPECT_EQ(record->LastChange(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(first->Item(1)->OctetsReceived(), 1000); // an earlier snapshot stays as it was
    h.table.Result = InterfaceTableResult::Failed;     // silent: empty snapshot, totals 0
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    EXPECT_EQ(h.helper.BytesReceived(), 0);
    EXPECT_TRUE(h.boxes.Boxes.isEmpty());
}

// Each row is one read of the same helper; texts are made afresh only when their bytes change.
TEST(CIpHelper, TextsFollowTheBytesOfEachRead) {
    const struct {
        const char* address; // hex
        quint32 addressLength;
        const char* description;
        quint32 descriptionLength;
        char16_t nameEnd;
        const char *expectedAddress, *expectedDescription, *expectedName;
    } reads[] = {
        {"005056C00008", 6, "Ethernet adapter", 5, u'0', "00-50-56-C0-00-8", "Ether", "eth0"},
        {"000A959D6816", 6, "uplink", 6, u'0', "00-A-95-9D-68-16", "uplink", "eth0"},
        {"000A959D6816", 6, "uplink", 3, u'1', "00-A-95-9D-68-16", "upl", "eth1"},
        {"000A959D6816", 0, "uplink", 6, u'1', "", "uplink", "eth1"},
        {"0102030405060708", 20, "x", 300, u'1', "1-2-3-4-5-6-7-8", nullptr, nullptr},
    };
    Helper h;
    std::vector<std::shared_ptr<CInterface>> records;
    for (const auto& read : reads) {
        InterfaceRow row = MakeInterfaceRow(2);
        const QByteArray address = QByteArray::fromHex(read.address);
        std::copy(address.begin(), address.end(), row.PhysAddr.begin());
        row.PhysAddrLength = read.addressLength;
        std::memcpy(row.Descr.data(), read.description, std::strlen(read.description));
        row.DescrLength = read.descriptionLength;
        std::copy_n(u"eth", 3, row.Name.begin());
        row.Name[3] = read.nameEnd;
        row.NameLength = read.expectedName ? 4 : 256;
        h.table.Rows = {row};
        records.push_back(h.helper.Interfaces()->Item(1));
    }
    for (std::size_t i = 0; i + 1 < std::size(reads); ++i) { // a later read changes no record
        EXPECT_EQ(records[i]->AdapterAddress(), reads[i].expectedAddress) << "read " << i;
        EXPECT_EQ(records[i]->InterfaceDescription(), reads[i].expectedDescription) << i;
        EXPECT_EQ(records[i]->InterfaceName(), reads[i].expectedName) << "read " << i;
    }
    // Lengths beyond the fields: 8 address bytes, 256 description bytes, the name whole.
    EXPECT_EQ(records.back()->AdapterAddress(), QStringLiteral("1-2-3-4-5-6-7-8"));
    EXPECT_EQ(records.back()->InterfaceDescription().size(), 256);
    EXPECT_EQ(records.back()->InterfaceName(), QStringLiteral("eth1") + QString(252, QChar(0)));
}

TEST(CIpHelper, NotSupportedShowsOneBoxAndTicksDoNotStackBehindIt) {
    Helper h;
    h.table.Result = InterfaceTableResult::NotSupported;
    int readsWhileOpen = -1;
    h.boxes.OnShow = [&](const MsgBoxRequest&) {
        EXPECT_NE(h.helper.Interfaces(), nullptr); // a timer tick while the box is open
        readsWhileOpen = h.table.Reads;
    };
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    }
    EXPECT_EQ(h.boxes.Boxes, QList<MsgBoxRequest>{{IpHelperNotSupportedText()}});
    EXPECT_EQ(readsWhileOpen, 1);
    EXPECT_EQ(h.table.Reads, 3);
}
