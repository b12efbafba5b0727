#include "netstatus/NetlinkParser.h"

#include "support/FakeInterfaceTable.h"

#include <QString>

#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace horlan;

namespace {

// Netlink messages laid out the way the kernel lays them out.
using Buffer = std::vector<quint8>;

Buffer Cat(const std::vector<Buffer>& parts) {
    Buffer all;
    for (const Buffer& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}
template <class T> Buffer Raw(const T& value) {
    const auto* bytes = reinterpret_cast<const quint8*>(&value);
    return Buffer(bytes, bytes + sizeof value);
}
Buffer Attr(quint16 type, Buffer value) {
    const rtattr header{static_cast<unsigned short>(RTA_LENGTH(value.size())), type};
    value.resize(RTA_ALIGN(value.size()));
    return Cat({Raw(header), value});
}
Buffer Msg(quint16 type, quint32 sequence, const std::vector<Buffer>& parts,
           quint16 flags = NLM_F_MULTI) {
    const Buffer payload = Cat(parts);
    const nlmsghdr header{static_cast<quint32>(NLMSG_HDRLEN + payload.size()), type, flags,
                          sequence, 0};
    return Cat({Raw(header), payload});
}
// A buffer of exactly `size` bytes, so that reading past it is a fault the sanitizers see.
Buffer Cut(const Buffer& bytes, std::size_t size) {
    return Buffer(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}
Buffer End(quint32 sequence, int error = 0) {
    return Msg(NLMSG_DONE, sequence, {Raw(error)});
}

ifinfomsg Info(int index) {
    return {.ifi_type = ARPHRD_ETHER, .ifi_index = index, .ifi_flags = IFF_UP};
}

Buffer Link(quint32 sequence, int index, const char* name, std::vector<Buffer> extra = {}) {
    // Packets, bytes, errors and drops received and sent, then multicast.
    rtnl_link_stats64 stats{100, 9, 5'000'000'000ULL, 42, 1, 0, 2, 0, 30};
    stats.rx_nohandler = 4;
    extra.insert(extra.begin(),
                 {Raw(Info(index)), Attr(IFLA_IFNAME, Buffer(name, name + std::strlen(name) + 1)),
                  Attr(IFLA_MTU, Raw(quint32{1500})), Attr(IFLA_OPERSTATE, {6}),
                  Attr(IFLA_ADDRESS, {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08}),
                  Attr(IFLA_TXQLEN, Raw(quint32{1000})), Attr(IFLA_STATS64, Raw(stats))});
    return Msg(RTM_NEWLINK, sequence, extra);
}

Buffer Statistics(quint32 sequence, quint32 index, quint64 received, Buffer before = {}) {
    const rtnl_link_stats64 stats{.rx_bytes = received};
    return Msg(RTM_NEWSTATS, sequence,
               {Raw(if_stats_msg{.ifindex = index}), before, Attr(IFLA_STATS_LINK_64, Raw(stats))});
}

} // namespace

TEST(NetlinkParser, DecodesALinkMessage) {
    InterfaceRow row;
    ASSERT_TRUE(DecodeLinkMessage(Link(1, 3, "eth0", {Attr(IFLA_IFALIAS, {'u', 'p', 0})}), row));
    const quint64 fields[] = {row.Index,      row.Type,        row.AdminStatus,    row.OperStatus,
                              row.Mtu,        row.OutQLen,     row.PhysAddr[5],    row.InOctets,
                              row.OutOctets,  row.InUcastPkts, row.InNUcastPkts,   row.OutUcastPkts,
                              row.InDiscards, row.InErrors,    row.InUnknownProtos};
    const quint64 expected[] = {3,  ARPHRD_ETHER, 1,  6, 1500, 1000, 8, 5'000'000'000ULL,
                                42, 70,           30, 9, 2,    1,    4};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        EXPECT_EQ(fields[i], expected[i]) << "field " << i;
    }
    EXPECT_EQ(QString::fromUtf16(row.Name.data(), row.NameLength), QStringLiteral("eth0"));
    EXPECT_EQ(std::string(row.Descr.data(), row.DescrLength), "up");
    // Without an alias the description is the name.
    ASSERT_TRUE(DecodeLinkMessage(Link(1, 4, "wlan0"), row));
    EXPECT_EQ(std::string(row.Descr.data(), row.DescrLength), "wlan0");
}

TEST(NetlinkParser, LinkDumpDatagramsEndOrFailAsTheyShould) {
    using enum DumpProgress;
    const auto bare = [](std::vector<Buffer> attributes, quint16 flags = NLM_F_MULTI) {
        attributes.insert(attributes.begin(), Raw(Info(5)));
        return Msg(RTM_NEWLINK, 7, attributes, flags);
    };
    Buffer shortLength = End(7); // 8 < the header's own 16 bytes
    shortLength[0] = 8;
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t rows;
    } cases[] = {
        {"two links and the end", Cat({Link(7, 1, "lo"), Link(7, 2, "eth0"), End(7)}), Done, 2},
        {"answers of an older request skipped", Cat({Link(6, 1, "lo"), End(6)}), More, 0},
        {"kernel error", Msg(NLMSG_ERROR, 7, {Raw(-22)}), Failed, 0},
        {"error at the end of the dump", End(7, -16), Failed, 0},
        {"interrupted dump", bare({}, NLM_F_MULTI | NLM_F_DUMP_INTR), Failed, 0},
        {"length below the header size", shortLength, Failed, 0},
        {"message longer than the datagram", Cut(Link(7, 1, "lo"), 40), Failed, 0},
        {"attribute length below its header", bare({{2, 0, IFLA_MTU, 0}}), Failed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows;
        EXPECT_EQ(ParseLinkDump(c.datagram, 7, rows), c.progress);
        EXPECT_EQ(rows.size(), c.rows);
        EXPECT_EQ(FrameDump(c.datagram, 7) == Done, c.progress == Done);
    }
}

TEST(NetlinkParser, StatisticsDumpsUpdateTheRowOfEachLink) {
    using enum DumpProgress;
    const Buffer link3 = Raw(Info(3));
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t matched, unknown, announcements;
        quint64 received1, received2; // the rows' received counters afterwards
    } cases[] = {
        {"both links in the rows' order",
         Cat({Statistics(7, 1, 100), Statistics(7, 2, 5'000'000'000ULL), End(7)}), Done, 2, 0, 0,
         100, 5'000'000'000ULL},
        {"another order", Cat({Statistics(7, 2, 20), Statistics(7, 1, 10)}), More, 2, 0, 0, 10, 20},
        {"a link no row describes", Cat({Statistics(7, 9, 90), End(7)}), Done, 0, 1, 0, 1, 2},
        {"a new link announced before the answer",
         Cat({Msg(RTM_NEWLINK, 0, {link3}, 0), Statistics(7, 1, 10), End(7)}), Done, 1, 0, 1, 10,
         2},
        {"a removal announced with the request's sequence", Msg(RTM_DELLINK, 7, {link3}, 0), More,
         0, 0, 1, 1, 2},
        {"other counters first",
         Statistics(7, 2, 22, Attr(IFLA_STATS_LINK_XSTATS, Raw(quint32{0}))), More, 1, 0, 0, 1, 22},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows = {MakeInterfaceRow(1, 1), MakeInterfaceRow(2, 2)};
        StatisticsMatch match;
        EXPECT_EQ(ParseStatisticsDump(c.datagram, 7, rows, match), c.progress);
        EXPECT_EQ(match.Matched, c.matched);
        EXPECT_EQ(match.Unknown, c.unknown);
        EXPECT_EQ(match.Announcements, c.announcements);
        EXPECT_EQ(rows[0].InOctets, c.received1);
        EXPECT_EQ(rows[1].InOctets, c.received2);
    }
}
