#include "netstatus/CIpHelper.h"

#include "netstatus/NetstatusTexts.h"
#include "runtime/RuntimeError.h"
#include "support/FakeInterfaceTable.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace horlan;

namespace {

std::vector<InterfaceRow> Rows(std::initializer_list<std::pair<quint64, quint64>> counters) {
    std::vector<InterfaceRow> rows;
    quint32 index = 1;
    for (const auto& [in, out] : counters) {
        rows.push_back(MakeInterfaceRow(index++, in, out));
    }
    return rows;
}

std::vector<InterfaceRow> FiftyRows() {
    std::vector<InterfaceRow> rows;
    for (quint32 i = 1; i <= 50; ++i) {
        rows.push_back(MakeInterfaceRow(i, i * 100, i));
    }
    return rows;
}

} // namespace

TEST(CIpHelper, TotalsAreFullSumsOverEveryRow) {
    const struct {
        const char* name;
        std::vector<InterfaceRow> rows;
        qint32 count;
        qint64 received, sent;
    } cases[] = {
        {"no rows", {}, 0, 0, 0},
        {"fifty rows", FiftyRows(), 50, 127500, 1275},
        {"two interfaces", Rows({{1000, 10}, {2500, 0}}), 2, 3500, 10},
        {"counter at the 32-bit top", Rows({{4294967295u, 0}}), 1, 4294967295LL, 0},
        {"sum across 2^31", Rows({{1500000000, 1}, {1500000000, 1}}), 2, 3000000000LL, 2},
        {"sum across 2^32", Rows({{3000000000u, 4294967295u}, {2000000000, 1}}), 2, 5000000000LL,
         4294967296LL},
        {"64-bit counters", Rows({{1ULL << 40, 1ULL << 33}, {5, 5}}), 2, (1LL << 40) + 5,
         (1LL << 33) + 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeInterfaceTable table;
        table.Rows = c.rows;
        RecordingMsgBox boxes;
        CIpHelper helper(table, boxes);
        const auto interfaces = helper.Interfaces();
        EXPECT_EQ(interfaces->Count(), c.count);
        EXPECT_EQ(helper.BytesReceived(), c.received);
        EXPECT_EQ(helper.BytesSent(), c.sent);
        EXPECT_TRUE(boxes.Boxes.isEmpty());
    }
}

TEST(CIpHelper, RecordsHoldTheLow32BitsAndTheTexts) {
    InterfaceRow row = MakeInterfaceRow(7, 4294967295u, (1ULL << 32) + 5);
    row.Type = 6;
    row.Mtu = 1500;
    row.Speed = 10'000'000'000ULL; // 10 Gb/s does not fit in 32 bits
    row.AdminStatus = 1;
    row.OperStatus = 6;
    row.InUcastPkts = 2147483648u;
    row.InNUcastPkts = 3;
    row.InDiscards = 4;
    row.InErrors = 5;
    row.InUnknownProtos = 6;
    row.OutUcastPkts = 7;
    row.OutNUcastPkts = 8;
    row.OutDiscards = 9;
    row.OutErrors = 10;
    row.OutQLen = 1000;
    FakeInterfaceTable table;
    table.Rows = {row};
    RecordingMsgBox boxes;
    CIpHelper helper(table, boxes);
    const auto record = helper.Interfaces()->Item(1);

    const struct {
        const char* property;
        qint32 actual, expected;
    } fields[] = {
        {"OctetsReceived", record->OctetsReceived(), -1},
        {"OctetsSent", record->OctetsSent(), 5},
        {"UnicastPacketsReceived", record->UnicastPacketsReceived(), -2147483647 - 1},
        {"Speed", record->Speed(), static_cast<qint32>(10'000'000'000ULL & 0xFFFFFFFFu)},
        {"InterfaceIndex", record->InterfaceIndex(), 7},
        {"InterfaceType", record->InterfaceType(), 6},
        {"MaximumTransmissionUnit", record->MaximumTransmissionUnit(), 1500},
        {"AdminStatus", record->AdminStatus(), 1},
        {"OperationalStatus", record->OperationalStatus(), 6},
        {"NonunicastPacketsReceived", record->NonunicastPacketsReceived(), 3},
        {"DiscardedIncomingPackets", record->DiscardedIncomingPackets(), 4},
        {"IncomingErrors", record->IncomingErrors(), 5},
        {"UnknownProtocolPackets", record->UnknownProtocolPackets(), 6},
        {"UnicastPacketsSent", record->UnicastPacketsSent(), 7},
        {"NonunicastPacketsSent", record->NonunicastPacketsSent(), 8},
        {"DiscardedOutgoingPackets", record->DiscardedOutgoingPackets(), 9},
        {"OutgoingErrors", record->OutgoingErrors(), 10},
        {"OutputQueueLength", record->OutputQueueLength(), 1000},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(f.actual, f.expected) << f.property;
    }
    EXPECT_EQ(record->LastChange(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

TEST(CIpHelper, AddressDescriptionAndNameTexts) {
    const auto name256 = [] {
        InterfaceRow row;
        row.Name[0] = u'e';
        row.NameLength = 256;
        return row;
    };
    const struct {
        const char* name;
        std::vector<quint8> address;
        quint32 addressLength;
        const char* description;
        quint32 descriptionLength;
        InterfaceRow base;
        QString expectedAddress, expectedDescription;
        qsizetype expectedNameLength;
    } cases[] = {
        {"zero bytes two digits, small bytes one",
         {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08},
         6,
         "Ethernet adapter",
         5,
         {},
         QStringLiteral("00-50-56-C0-00-8"),
         QStringLiteral("Ether"),
         0},
        {"leading zero dropped",
         {0x00, 0x0A, 0x95, 0x9D, 0x68, 0x16},
         6,
         "eth0",
         4,
         {},
         QStringLiteral("00-A-95-9D-68-16"),
         QStringLiteral("eth0"),
         0},
        {"no address", {0x12, 0x34}, 0, "", 0, {}, QString(), QString(), 0},
        {"at most eight bytes",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         20,
         "x",
         300,
         {},
         QStringLiteral("1-2-3-4-5-6-7-8"),
         QString(),
         0},
        {"name kept whole, NULs included", {}, 0, "", 0, name256(), QString(), QString(), 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InterfaceRow row = c.base;
        std::copy(c.address.begin(), c.address.begin() + std::min<std::size_t>(c.address.size(), 8),
                  row.PhysAddr.begin());
        row.PhysAddrLength = c.addressLength;
        std::memcpy(row.Descr.data(), c.description, std::strlen(c.description));
        row.DescrLength = c.descriptionLength;
        FakeInterfaceTable table;
        table.Rows = {row};
        RecordingMsgBox boxes;
        CIpHelper helper(table, boxes);
        const auto record = helper.Interfaces()->Item(1);
        EXPECT_EQ(record->AdapterAddress(), c.expectedAddress);
        if (c.descriptionLength > 256) {
            EXPECT_EQ(record->InterfaceDescription().size(), 256);
        } else {
            EXPECT_EQ(record->InterfaceDescription(), c.expectedDescription);
        }
        EXPECT_EQ(record->InterfaceName().size(), c.expectedNameLength);
    }
}

TEST(CIpHelper, EveryReadIsAFreshSnapshotAndTotalsWaitForTheNextRead) {
    FakeInterfaceTable table;
    table.Rows = Rows({{100, 10}});
    RecordingMsgBox boxes;
    CIpHelper helper(table, boxes);
    EXPECT_EQ(helper.BytesSent(), 0);

    const auto first = helper.Interfaces();
    table.Rows = Rows({{200, 20}, {1, 1}});
    EXPECT_EQ(helper.BytesSent(), 10);
    EXPECT_EQ(helper.BytesSent(), 10);
    EXPECT_EQ(table.Reads, 1);

    const auto second = helper.Interfaces();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Count(), 1);
    EXPECT_EQ(first->Item(1)->OctetsReceived(), 100);
    EXPECT_EQ(second->Count(), 2);
    EXPECT_EQ(helper.BytesSent(), 21);

    // A failed read leaves an empty snapshot with totals of 0.
    table.Result = InterfaceTableResult::Failed;
    EXPECT_EQ(helper.Interfaces()->Count(), 0);
    EXPECT_EQ(helper.BytesReceived(), 0);
    EXPECT_EQ(helper.BytesSent(), 0);
    EXPECT_TRUE(boxes.Boxes.isEmpty());
}

TEST(CIpHelper, TextsFollowTheBytesOfEachRead) {
    const struct {
        const char* name;
        const char* description;
        quint32 descriptionLength;
        quint8 lastAddressByte;
        quint32 addressLength;
        char16_t nameEnd;
        QString expectedDescription, expectedAddress, expectedName;
    } reads[] = {
        {"first read", "eth0", 4, 0x08, 6, u'0', QStringLiteral("eth0"),
         QStringLiteral("00-50-56-C0-00-8"), QStringLiteral("eth0")},
        {"same bytes", "eth0", 4, 0x08, 6, u'0', QStringLiteral("eth0"),
         QStringLiteral("00-50-56-C0-00-8"), QStringLiteral("eth0")},
        {"alias given", "uplink", 6, 0x08, 6, u'0', QStringLiteral("uplink"),
         QStringLiteral("00-50-56-C0-00-8"), QStringLiteral("eth0")},
        {"address changed", "uplink", 6, 0x09, 6, u'0', QStringLiteral("uplink"),
         QStringLiteral("00-50-56-C0-00-9"), QStringLiteral("eth0")},
        {"renamed", "uplink", 6, 0x09, 6, u'1', QStringLiteral("uplink"),
         QStringLiteral("00-50-56-C0-00-9"), QStringLiteral("eth1")},
        {"only the length shorter", "uplink", 3, 0x09, 6, u'1', QStringLiteral("upl"),
         QStringLiteral("00-50-56-C0-00-9"), QStringLiteral("eth1")},
        {"address gone", "uplink", 3, 0x09, 0, u'1', QStringLiteral("upl"), QString(),
         QStringLiteral("eth1")},
        {"length back", "uplink", 6, 0x09, 6, u'1', QStringLiteral("uplink"),
         QStringLiteral("00-50-56-C0-00-9"), QStringLiteral("eth1")},
    };
    FakeInterfaceTable table;
    RecordingMsgBox boxes;
    CIpHelper helper(table, boxes);
    std::vector<std::shared_ptr<CInterface>> records;
    for (const auto& read : reads) {
        InterfaceRow row = MakeInterfaceRow(2);
        const quint8 address[6] = {0x00, 0x50, 0x56, 0xC0, 0x00, read.lastAddressByte};
        std::copy(std::begin(address), std::end(address), row.PhysAddr.begin());
        row.PhysAddrLength = read.addressLength;
        std::memcpy(row.Descr.data(), read.description, std::strlen(read.description));
        row.DescrLength = read.descriptionLength;
        const char16_t name[4] = {u'e', u't', u'h', read.nameEnd};
        std::copy(std::begin(name), std::end(name), row.Name.begin());
        row.NameLength = 4;
        table.Rows = {row};
        records.push_back(helper.Interfaces()->Item(1));
    }
    // Checked after all reads: a later read never changes the texts of an earlier record.
    for (std::size_t i = 0; i < std::size(reads); ++i) {
        SCOPED_TRACE(reads[i].name);
        EXPECT_EQ(records[i]->InterfaceDescription(), reads[i].expectedDescription);
        EXPECT_EQ(records[i]->AdapterAddress(), reads[i].expectedAddress);
        EXPECT_EQ(records[i]->InterfaceName(), reads[i].expectedName);
    }
    // Nor does a caller's change to a record reach the next read.
    records.back()->SetInterfaceDescription(QStringLiteral("changed by the caller"));
    records.back()->SetInterfaceName(QStringLiteral("x"));
    const auto next = helper.Interfaces()->Item(1);
    EXPECT_EQ(next->InterfaceDescription(), QStringLiteral("uplink"));
    EXPECT_EQ(next->InterfaceName(), QStringLiteral("eth1"));
}

TEST(CIpHelper, NotSupportedShowsOneBoxAndTicksDoNotStackBehindIt) {
    FakeInterfaceTable table;
    table.Result = InterfaceTableResult::NotSupported;
    RecordingMsgBox boxes;
    CIpHelper helper(table, boxes);
    int readsWhileOpen = -1;
    std::shared_ptr<CInterfaces> duringBox;
    boxes.OnShow = [&](const MsgBoxRequest&) {
        // A timer tick delivered while the box is open.
        duringBox = helper.Interfaces();
        readsWhileOpen = table.Reads;
    };
    for (int tick = 0; tick < 3; ++tick) {
        const auto interfaces = helper.Interfaces();
        EXPECT_EQ(interfaces->Count(), 0);
        EXPECT_EQ(helper.BytesReceived(), 0);
    }
    ASSERT_EQ(boxes.Boxes.size(), 1);
    EXPECT_EQ(boxes.Boxes[0], (MsgBoxRequest{IpHelperNotSupportedText(), MsgBoxIcon::None, {}}));
    EXPECT_EQ(readsWhileOpen, 1);
    ASSERT_NE(duringBox, nullptr);
    EXPECT_EQ(table.Reads, 3);
}

TEST(CInterfaces, PositionsCountFromOne) {
    CInterfaces list;
    for (qint32 i = 1; i <= 3; ++i) {
        auto record = std::make_shared<CInterface>();
        record->SetInterfaceIndex(i);
        const auto added = list.Add(record);
        EXPECT_EQ(record, nullptr);
        EXPECT_EQ(added->InterfaceIndex(), i);
    }
    list.Remove(2);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(2)->InterfaceIndex(), 3);
    QList<qint32> seen;
    for (const auto& record : list) {
        seen.append(record->InterfaceIndex());
    }
    EXPECT_EQ(seen, (QList<qint32>{1, 3}));
    for (const qint32 outside : {0, -1, 3}) {
        try {
            list.Item(outside);
            ADD_FAILURE() << "no error for position " << outside;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), ErrInvalidProcedureCall);
        }
        EXPECT_THROW(list.Remove(outside), RuntimeError);
    }
}
