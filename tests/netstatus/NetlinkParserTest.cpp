#include "netstatus/NetlinkParser.h"

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
    return Buffer(reinterpret_cast<const quint8*>(&value),
                  reinterpret_cast<const quint8*>(&value) + sizeof value);
}
Buffer Attr(quint16 type, Buffer value) {
    const rtattr header{static_cast<unsigned short>(RTA_LENGTH(value.size())), type};
    value.resize(RTA_ALIGN(value.size()));
    return Cat({Raw(header), value});
}
Buffer Msg(quint16 type, quint32 sequence, std::vector<Buffer> parts, quint16 flags = NLM_F_MULTI) {
    const Buffer payload = Cat(parts);
    const nlmsghdr header{static_cast<quint32>(NLMSG_HDRLEN + payload.size()), type, flags,
                          sequence, 0};
    return Cat({Raw(header), payload});
}
Buffer End(quint32 sequence, int error = 0) {
    return Msg(NLMSG_DONE, sequence, {Raw(error)});
}
Buffer Link(quint32 sequence, int index, std::vector<Buffer> attributes = {}) {
    attributes.insert(
        attributes.begin(),
        Raw(ifinfomsg{.ifi_type = ARPHRD_ETHER, .ifi_index = index, .ifi_flags = IFF_UP}));
    return Msg(RTM_NEWLINK, sequence, attributes);
}
} // namespace

TEST(NetlinkParser, DecodesALinkMessage) {
    // Packets, bytes, errors and drops received and sent, then multicast.
    rtnl_link_stats64 stats{100, 9, 5'000'000'000ULL, 42, 1, 0, 2, 0, 30};
    stats.rx_nohandler = 4;
    const Buffer address = {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08};
    const auto link = [&](std::vector<Buffer> more) {
        more.insert(more.end(),
                    {Attr(IFLA_IFNAME, {'e', 't', 'h', '0', 0}), Attr(IFLA_OPERSTATE, {6}),
                     Attr(IFLA_MTU, Raw(quint32{1500})), Attr(IFLA_ADDRESS, address),
                     Attr(IFLA_TXQLEN, Raw(quint32{1000})), Attr(IFLA_STATS64, Raw(stats))});
        return Link(1, 3, more);
    };
    InterfaceRow row;
    ASSERT_TRUE(DecodeLinkMessage(link({Attr(IFLA_IFALIAS, {'u', 'p', 0})}), row));
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
    ASSERT_TRUE(DecodeLinkMessage(link({}), row)); // without an alias, the name
    EXPECT_EQ(std::string(row.Descr.data(), row.DescrLength), "eth0");
}

TEST(NetlinkParser, LinkDumpDatagramsEndOrFailAsTheyShould) {
    using enum DumpProgress;
    Buffer shortLength = End(7); // 8 < the header's own 16 bytes
    shortLength[0] = 8;
    const Buffer longLink = Link(7, 1, {Attr(IFLA_IFNAME, {'l', 'o', 0})});
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t rows;
    } cases[] = {
        {"two links and the end", Cat({Link(7, 1), Link(7, 2), End(7)}), Done, 2},
        {"answers of an older request skipped", Cat({Link(6, 1), End(6)}), More, 0},
        {"kernel error", Msg(NLMSG_ERROR, 7, {Raw(-22)}), Failed, 0},
        {"error at the end of the dump", End(7, -16), Failed, 0},
        {"interrupted dump", Msg(RTM_NEWLINK, 7, {Raw(ifinfomsg{})}, NLM_F_DUMP_INTR), Failed, 0},
        {"length below the header size", shortLength, Failed, 0},
        {"message longer than the datagram", Buffer(longLink.begin(), longLink.end() - 4), Failed,
         0},
        {"attribute length below its header", Link(7, 1, {{2, 0, IFLA_MTU, 0}}), Failed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows;
        EXPECT_EQ(ParseLinkDump(c.datagram, 7, rows), c.progress);
        EXPECT_EQ(rows.size(), c.rows);
        EXPECT_EQ(FrameDump(c.datagram, 7) == Done, c.progress == Done);
    }
}
