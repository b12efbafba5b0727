#include "netstatus/CIpHelper.h"

#include "netstatus/NetstatusTexts.h"
#include "support/FakeInterfaceTable.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace horlan;

namespace {

std::vector<InterfaceRow> Rows(std::initializer_list<std::pair<quint64, quint64>> counters) {
    std::vector<InterfaceRow> rows;
    for (const auto& [in, out] : counters) {
        rows.push_back(MakeInterfaceRow(static_cast<quint32>(rows.size() + 1), in, out));
    }
    return rows;
}

struct Helper {
    FakeInterfaceTable table;
    RecordingMsgBox boxes;
    CIpHelper helper{table, boxes};
};

} // namespace

TEST(CIpHelper, TotalsAreFullSumsOverEveryRowAndWaitForTheNextRead) {
    Helper h;
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    h.table.Rows = Rows({{1000, 10}, {2500, 0}});
    const auto first = h.helper.Interfaces();
    EXPECT_EQ(h.helper.BytesReceived(), 3500);
    h.table.Rows = Rows({{3000000000u, 4294967295u}, {1ULL << 40, 1}});
    EXPECT_EQ(h.helper.BytesSent(), 10); // no read of its own
    EXPECT_EQ(h.helper.Interfaces()->Count(), 2);
    EXPECT_EQ(h.helper.BytesReceived(), 3000000000 + (1LL << 40));
    EXPECT_EQ(h.helper.BytesSent(), 4294967296);
    EXPECT_EQ(first->Item(1)->OctetsReceived(), 1000); // an earlier snapshot stays as it was
    h.table.Result = InterfaceTableResult::Failed;     // silent: empty snapshot, totals 0
    EXPECT_EQ(h.helper.Interfaces()->Count(), 0);
    EXPECT_EQ(h.helper.BytesReceived(), 0);
    EXPECT_TRUE(h.boxes.Boxes.isEmpty());
}

TEST(CIpHelper, NumbersKeepTheirLow32Bits) {
    InterfaceRow row = MakeInterfaceRow(7, 4294967295u, (1ULL << 32) + 5);
    row.Speed = 10'000'000'000ULL;
    row.InUcastPkts = 2147483648u;
    Helper h;
    h.table.Rows = {row};
    const auto record = h.helper.Interfaces()->Item(1);
    EXPECT_EQ(record->OctetsReceived(), -1);
    EXPECT_EQ(record->OctetsSent(), 5);
    EXPECT_EQ(record->UnicastPacketsReceived(), -2147483647 - 1);
    EXPECT_EQ(record->Speed(), 1410065408); // 10^10 - 2^33
    EXPECT_EQ(record->InterfaceIndex(), 7);
    EXPECT_EQ(record->LastChange(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

// Each row is one read of the same helper; texts are made afresh only when their bytes change.
TEST(CIpHelper, TextsFollowTheBytesOfEachRead) {
    const struct {
        const char* address; // hex
        quint32 addressLength;
        const char* description;
        quint32 descriptionLength;
        const char16_t* name;
        const char *expectedAddress, *expectedDescription, *expectedName;
    } reads[] = {
        {"005056C00008", 6, "Ethernet adapter", 5, u"eth0", "00-50-56-C0-00-8", "Ether", "eth0"},
        {"000A959D6816", 6, "uplink", 6, u"eth0", "00-A-95-9D-68-16", "uplink", "eth0"},
        {"000A959D6816", 6, "uplink", 3, u"eth1", "00-A-95-9D-68-16", "upl", "eth1"},
        {"000A959D6816", 0, "uplink", 6, u"eth1", "", "uplink", "eth1"},
    };
    Helper h;
    std::vector<std::shared_ptr<CInterface>> records;
    const auto read = [&](const char* address, quint32 addressLength, const char* description,
                          quint32 descriptionLength, const char16_t* name, quint32 nameLength) {
        InterfaceRow row = MakeInterfaceRow(2);
        const QByteArray bytes = QByteArray::fromHex(address);
        std::copy(bytes.begin(), bytes.end(), row.PhysAddr.begin());
        row.PhysAddrLength = addressLength;
        std::memcpy(row.Descr.data(), description, std::strlen(description));
        row.DescrLength = descriptionLength;
        std::copy_n(name, std::char_traits<char16_t>::length(name), row.Name.begin());
        row.NameLength = nameLength;
        h.table.Rows = {row};
        records.push_back(h.helper.Interfaces()->Item(1));
    };
    for (const auto& r : reads) {
        read(r.address, r.addressLength, r.description, r.descriptionLength, r.name, 4);
    }
    for (std::size_t i = 0; i < std::size(reads); ++i) { // a later read changes no earlier record
        EXPECT_EQ(records[i]->AdapterAddress(), reads[i].expectedAddress) << "read " << i;
        EXPECT_EQ(records[i]->InterfaceDescription(), reads[i].expectedDescription) << i;
        EXPECT_EQ(records[i]->InterfaceName(), reads[i].expectedName) << "read " << i;
    }
    // Lengths beyond the fields: at most 8 address bytes, 256 description bytes, the name
    // whole with its NULs.
    read("0102030405060708090A", 20, "x", 300, u"e", 256);
    EXPECT_EQ(records.back()->AdapterAddress(), QStringLiteral("1-2-3-4-5-6-7-8"));
    EXPECT_EQ(records.back()->InterfaceDescription().size(), 256);
    EXPECT_EQ(records.back()->InterfaceName(), QStringLiteral("e") + QString(255, QChar(0)));
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
