#include "netstatus/NetlinkParser.h"

#include <QString>

#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace horlan;

namespace {

using Buffer = std::vector<quint8>;

// Builds netlink messages the way the kernel lays them out.
class Message {
public:
    Message(quint16 type, quint32 sequence, quint16 flags = NLM_F_MULTI) {
        nlmsghdr header{};
        header.nlmsg_type = type;
        header.nlmsg_seq = sequence;
        header.nlmsg_flags = flags;
        Append(&header, sizeof header);
    }

    template <class T> Message& Body(const T& value) {
        Append(&value, sizeof value);
        return Pad();
    }

    Message& Attribute(quint16 type, const void* data, std::size_t size) {
        rtattr attribute{static_cast<unsigned short>(RTA_LENGTH(size)), type};
        Append(&attribute, sizeof attribute);
        Append(data, size);
        return Pad();
    }
    Message& Text(quint16 type, const std::string& text) {
        return Attribute(type, text.c_str(), text.size() + 1);
    }
    template <class T> Message& Value(quint16 type, const T& value) {
        return Attribute(type, &value, sizeof value);
    }
    // Appends raw bytes as they are, e.g. a broken attribute header.
    Message& Raw(const Buffer& raw) {
        Append(raw.data(), raw.size());
        return *this;
    }

    Buffer Bytes() const {
        Buffer bytes = bytes_;
        const auto length = static_cast<quint32>(bytes.size());
        std::memcpy(bytes.data(), &length, sizeof length);
        return bytes;
    }

private:
    void Append(const void* data, std::size_t size) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + size);
        if (size > 0) {
            std::memcpy(bytes_.data() + at, data, size);
        }
    }
    Message& Pad() {
        bytes_.resize(NLMSG_ALIGN(bytes_.size()));
        return *this;
    }
    Buffer bytes_;
};

Message Link(quint32 sequence, int index, const std::string& name) {
    ifinfomsg info{};
    info.ifi_index = index;
    info.ifi_type = ARPHRD_ETHER;
    info.ifi_flags = IFF_UP;
    rtnl_link_stats64 stats{};
    stats.rx_bytes = 5'000'000'000ULL;
    stats.tx_bytes = 42;
    stats.rx_packets = 100;
    stats.multicast = 30;
    stats.tx_packets = 9;
    stats.rx_dropped = 2;
    stats.rx_errors = 1;
    stats.rx_nohandler = 4;
    const quint8 address[6] = {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08};
    Message m(RTM_NEWLINK, sequence);
    m.Body(info).Text(IFLA_IFNAME, name).Value(IFLA_MTU, quint32{1500});
    m.Attribute(IFLA_ADDRESS, address, sizeof address).Value(IFLA_OPERSTATE, quint8{6});
    m.Value(IFLA_TXQLEN, quint32{1000}).Value(IFLA_STATS64, stats);
    return m;
}

// The counters of link `index` as a statistics dump gives them.
Message Statistics(quint32 sequence, quint32 index, quint64 received) {
    if_stats_msg header{};
    header.ifindex = index;
    header.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    rtnl_link_stats64 stats{};
    stats.rx_bytes = received;
    return Message(RTM_NEWSTATS, sequence).Body(header).Value(IFLA_STATS_LINK_64, stats);
}

Buffer Done(quint32 sequence, int error = 0) {
    return Message(NLMSG_DONE, sequence).Body(error).Bytes();
}

Buffer Join(std::initializer_list<Buffer> parts) {
    Buffer all;
    for (const auto& part : parts) {
        const std::size_t at = all.size();
        all.resize(at + part.size());
        std::memcpy(all.data() + at, part.data(), part.size());
    }
    return all;
}

QString NameOf(const InterfaceRow& row) {
    return QString::fromUtf16(row.Name.data(), static_cast<qsizetype>(row.NameLength));
}

Buffer Cut(Buffer bytes, std::size_t size) {
    bytes.resize(size);
    bytes.shrink_to_fit();
    return bytes;
}

} // namespace

TEST(NetlinkParser, DecodesALinkMessage) {
    InterfaceRow row;
    ASSERT_TRUE(DecodeLinkMessage(Link(1, 3, "eth0").Text(IFLA_IFALIAS, "uplink").Bytes(), row));
    EXPECT_EQ(row.Index, 3u);
    EXPECT_EQ(row.Type, static_cast<quint32>(ARPHRD_ETHER));
    EXPECT_EQ(row.AdminStatus, 1u);
    EXPECT_EQ(row.OperStatus, 6u);
    EXPECT_EQ(row.Mtu, 1500u);
    EXPECT_EQ(row.OutQLen, 1000u);
    EXPECT_EQ(row.PhysAddrLength, 6u);
    EXPECT_EQ(row.PhysAddr[3], 0xC0);
    EXPECT_EQ(row.InOctets, 5'000'000'000ULL);
    EXPECT_EQ(row.OutOctets, 42u);
    EXPECT_EQ(row.InUcastPkts, 70u);
    EXPECT_EQ(row.InNUcastPkts, 30u);
    EXPECT_EQ(row.OutUcastPkts, 9u);
    EXPECT_EQ(row.InDiscards, 2u);
    EXPECT_EQ(row.InErrors, 1u);
    EXPECT_EQ(row.InUnknownProtos, 4u);
    EXPECT_EQ(NameOf(row), QStringLiteral("eth0"));
    EXPECT_EQ(std::string(row.Descr.data(), row.DescrLength), "uplink");

    // Without an alias the description is the name.
    ASSERT_TRUE(DecodeLinkMessage(Link(1, 4, "wlan0").Bytes(), row));
    EXPECT_EQ(std::string(row.Descr.data(), row.DescrLength), "wlan0");
}

TEST(NetlinkParser, DumpDatagramsEndOrFailAsTheyShould) {
    ifinfomsg down{};
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t rows;
    } cases[] = {
        {"two links and the end",
         Join({Link(7, 1, "lo").Bytes(), Link(7, 2, "eth0").Bytes(), Done(7)}), DumpProgress::Done,
         2},
        {"links continued in the next datagram",
         Join({Link(7, 1, "lo").Bytes(), Link(7, 2, "e").Bytes()}), DumpProgress::More, 2},
        {"answers of an older request skipped", Join({Link(6, 1, "lo").Bytes(), Done(6)}),
         DumpProgress::More, 0},
        {"link without attributes", Message(RTM_NEWLINK, 7).Body(down).Bytes(), DumpProgress::More,
         1},
        {"kernel error", Message(NLMSG_ERROR, 7).Body(-22).Bytes(), DumpProgress::Failed, 0},
        {"error at the end of the dump", Done(7, -16), DumpProgress::Failed, 0},
        {"interrupted dump",
         Message(RTM_NEWLINK, 7, NLM_F_MULTI | NLM_F_DUMP_INTR).Body(down).Bytes(),
         DumpProgress::Failed, 0},
        {"shorter than a header", Cut(Done(7), 10), DumpProgress::Failed, 0},
        {"message longer than the datagram", Cut(Link(7, 1, "lo").Bytes(), 40),
         DumpProgress::Failed, 0},
        {"length below the header size",
         [] {
             Buffer b = Done(7);
             b[0] = 8;
             return b;
         }(),
         DumpProgress::Failed, 0},
        {"no room for the link header", Message(RTM_NEWLINK, 7).Raw({1, 2, 3, 4}).Bytes(),
         DumpProgress::Failed, 0},
        {"attribute longer than the message",
         Message(RTM_NEWLINK, 7).Body(down).Raw({40, 0, IFLA_MTU, 0, 1, 2, 3, 4}).Bytes(),
         DumpProgress::Failed, 0},
        {"attribute length below its header",
         Message(RTM_NEWLINK, 7).Body(down).Raw({2, 0, IFLA_MTU, 0}).Bytes(), DumpProgress::Failed,
         0},
        {"attribute header cut", Message(RTM_NEWLINK, 7).Body(down).Raw({8, 0}).Bytes(),
         DumpProgress::Failed, 0},
        {"short MTU", Message(RTM_NEWLINK, 7).Body(down).Value(IFLA_MTU, quint16{1500}).Bytes(),
         DumpProgress::Failed, 0},
        {"short statistics",
         Message(RTM_NEWLINK, 7).Body(down).Value(IFLA_STATS64, quint64{1}).Bytes(),
         DumpProgress::Failed, 0},
        {"empty operational state",
         Message(RTM_NEWLINK, 7).Body(down).Attribute(IFLA_OPERSTATE, "", 0).Bytes(),
         DumpProgress::Failed, 0},
        {"name without terminator",
         Message(RTM_NEWLINK, 7).Body(down).Attribute(IFLA_IFNAME, "eth0", 4).Bytes(),
         DumpProgress::More, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows;
        EXPECT_EQ(ParseLinkDump(c.datagram, 7, rows), c.progress);
        EXPECT_EQ(rows.size(), c.rows);
        EXPECT_EQ(FrameDump(c.datagram, 7) == DumpProgress::Done, c.progress == DumpProgress::Done);
    }
}

TEST(NetlinkParser, EveryCutOfADumpIsRefusedOrIncomplete) {
    const Buffer whole = Join({Link(9, 1, "lo").Bytes(), Link(9, 2, "eth0").Bytes(), Done(9)});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        // Each cut lives in a buffer of exactly its size, so a read past it is a fault.
        const Buffer cut = Cut(whole, size);
        std::vector<InterfaceRow> rows;
        EXPECT_NE(ParseLinkDump(cut, 9, rows), DumpProgress::Done) << size;
        EXPECT_LE(rows.size(), 2u);
        EXPECT_NE(FrameDump(cut, 9), DumpProgress::Done) << size;
    }
}

TEST(NetlinkParser, RouteRepliesGiveTheOutgoingInterface) {
    const auto route = [](quint8 type, quint32 sequence) {
        rtmsg r{};
        r.rtm_family = AF_INET;
        r.rtm_type = type;
        return Message(RTM_NEWROUTE, sequence, 0).Body(r);
    };
    const struct {
        const char* name;
        Buffer reply;
        std::optional<quint32> interfaceIndex;
    } cases[] = {
        {"unicast route", route(RTN_UNICAST, 5).Value(RTA_OIF, quint32{2}).Bytes(), 2u},
        {"unreachable", route(RTN_UNREACHABLE, 5).Value(RTA_OIF, quint32{1}).Bytes(), std::nullopt},
        {"kernel error", Message(NLMSG_ERROR, 5).Body(-101).Bytes(), std::nullopt},
        {"answer to another request", route(RTN_UNICAST, 4).Value(RTA_OIF, quint32{2}).Bytes(),
         std::nullopt},
        {"no outgoing interface", route(RTN_UNICAST, 5).Bytes(), std::nullopt},
        {"short interface index", route(RTN_UNICAST, 5).Value(RTA_OIF, quint16{2}).Bytes(),
         std::nullopt},
        {"cut short", Cut(route(RTN_UNICAST, 5).Value(RTA_OIF, quint32{2}).Bytes(), 30),
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeRouteReply(c.reply, 5), c.interfaceIndex);
    }
}

TEST(NetlinkParser, StatisticsDumpsUpdateTheRowOfEachLink) {
    if_stats_msg header{};
    header.ifindex = 2;
    rtnl_link_stats64 received22{};
    received22.rx_bytes = 22;
    ifinfomsg link{};
    link.ifi_index = 3;
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t matched, unknown, announcements;
        quint64 received1; // the received counter of the row with index 1 afterwards
        quint64 received2;
    } cases[] = {
        {"both links in the rows' order",
         Join({Statistics(7, 1, 100).Bytes(), Statistics(7, 2, 5'000'000'000ULL).Bytes(), Done(7)}),
         DumpProgress::Done, 2, 0, 0, 100, 5'000'000'000ULL},
        {"links in another order",
         Join({Statistics(7, 2, 20).Bytes(), Statistics(7, 1, 10).Bytes()}), DumpProgress::More, 2,
         0, 0, 10, 20},
        {"a link that no row describes",
         Join({Statistics(7, 1, 10).Bytes(), Statistics(7, 9, 90).Bytes(), Done(7)}),
         DumpProgress::Done, 1, 1, 0, 10, 2},
        {"answers of an older request skipped", Join({Statistics(6, 1, 60).Bytes(), Done(6)}),
         DumpProgress::More, 0, 0, 0, 1, 2},
        {"a new link announced before the answer",
         Join({Message(RTM_NEWLINK, 0, 0).Body(link).Bytes(), Statistics(7, 1, 10).Bytes(),
               Done(7)}),
         DumpProgress::Done, 1, 0, 1, 10, 2},
        {"a removal announced with the request's own sequence",
         Message(RTM_DELLINK, 7, 0).Body(link).Bytes(), DumpProgress::More, 0, 0, 1, 1, 2},
        {"other counters beside the 64-bit ones",
         Message(RTM_NEWSTATS, 7)
             .Body(header)
             .Value(IFLA_STATS_LINK_XSTATS, quint32{0})
             .Value(IFLA_STATS_LINK_64, received22)
             .Bytes(),
         DumpProgress::More, 1, 0, 0, 1, 22},
        {"no 64-bit counters", Message(RTM_NEWSTATS, 7).Body(header).Bytes(), DumpProgress::Failed,
         0, 0, 0, 1, 2},
        {"short counters",
         Message(RTM_NEWSTATS, 7).Body(header).Value(IFLA_STATS_LINK_64, quint64{1}).Bytes(),
         DumpProgress::Failed, 1, 0, 0, 1, 2},
        {"no room for the statistics header", Message(RTM_NEWSTATS, 7).Raw({2, 0, 0, 0}).Bytes(),
         DumpProgress::Failed, 0, 0, 0, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows(2);
        rows[0].Index = 1;
        rows[0].InOctets = 1;
        rows[1].Index = 2;
        rows[1].InOctets = 2;
        StatisticsMatch match;
        EXPECT_EQ(ParseStatisticsDump(c.datagram, 7, rows, match), c.progress);
        EXPECT_EQ(match.Matched, c.matched);
        EXPECT_EQ(match.Unknown, c.unknown);
        EXPECT_EQ(match.Announcements, c.announcements);
        EXPECT_EQ(rows[0].InOctets, c.received1);
        EXPECT_EQ(rows[1].InOctets, c.received2);
    }
}

TEST(NetlinkParser, EveryCutOfAStatisticsDumpIsRefusedOrIncomplete) {
    const Buffer whole =
        Join({Statistics(9, 1, 10).Bytes(), Statistics(9, 2, 20).Bytes(), Done(9)});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Buffer cut = Cut(whole, size);
        std::vector<InterfaceRow> rows(2);
        rows[0].Index = 1;
        rows[1].Index = 2;
        StatisticsMatch match;
        EXPECT_NE(ParseStatisticsDump(cut, 9, rows, match), DumpProgress::Done) << size;
        EXPECT_LE(match.Matched, 2u);
    }
}
