#include "netstatus/NetlinkParser.h"

#include <linux/if_link.h>
#include <linux/rtnetlink.h>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

// Netlink messages laid out the way the kernel lays them out.
using Buffer = std::vector<quint8>;

template <class... Parts> Buffer Cat(const Parts&... parts) {
    Buffer all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}
template <class T> Buffer Raw(const T& value) {
    const auto* bytes = reinterpret_cast<const quint8*>(&value);
    return Buffer(bytes, bytes + sizeof value);
}
Buffer Msg(quint16 type, quint32 sequence, Buffer payload, quint16 flags = NLM_F_MULTI) {
    const nlmsghdr header{static_cast<quint32>(NLMSG_HDRLEN + payload.size()), type, flags,
                          sequence, 0};
    return Cat(Raw(header), payload);
}
// A link whose counters say 5'000'000'000 bytes received and 42 sent.
Buffer Link(quint32 sequence, int index) {
    const rtattr header{RTA_LENGTH(sizeof(rtnl_link_stats64)), IFLA_STATS64};
    return Msg(RTM_NEWLINK, sequence,
               Cat(Raw(ifinfomsg{.ifi_index = index}), Raw(header),
                   Raw(rtnl_link_stats64{.rx_bytes = 5'000'000'000ULL, .tx_bytes = 42})));
}
Buffer End(quint32 sequence, int error = 0) {
    return Msg(NLMSG_DONE, sequence, Raw(error));
}

} // namespace

TEST(NetlinkParser, LinkDumpDatagramsEndOrFailAsTheyShould) {
    using enum DumpProgress;
    const struct {
        const char* name;
        Buffer datagram;
        DumpProgress progress;
        std::size_t rows;
    } cases[] = {
        {"two links and the end", Cat(Link(7, 1), Link(7, 2), End(7)), Done, 2},
        {"answers of an older request skipped", Cat(Link(6, 1), End(6)), More, 0},
        {"kernel error", Msg(NLMSG_ERROR, 7, Raw(-22)), Failed, 0},
        {"error at the end of the dump", End(7, -16), Failed, 0},
        {"interrupted dump", Msg(RTM_NEWLINK, 7, Raw(ifinfomsg{}), NLM_F_DUMP_INTR), Failed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<InterfaceRow> rows;
        EXPECT_EQ(ParseLinkDump(c.datagram, 7, rows), c.progress);
        ASSERT_EQ(rows.size(), c.rows);
        for (const InterfaceRow& row : rows) { // received and sent kept apart
            EXPECT_EQ(row.InOctets, 5'000'000'000ULL);
            EXPECT_EQ(row.OutOctets, 42u);
        }
    }
}
