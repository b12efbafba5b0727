#include "netstatus/NetlinkParser.h"

#include <QStringDecoder>

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace horlan {

namespace {

using Bytes = std::span<const quint8>;

template <class T> T Load(Bytes bytes) {
    T value{};
    std::memcpy(&value, bytes.data(), std::min(sizeof value, bytes.size()));
    return value;
}

// Drops `count` bytes from the front, or all of them when fewer remain (the padding after
// the last message or attribute may be missing).
Bytes Skip(Bytes bytes, std::size_t count) {
    return bytes.subspan(std::min(count, bytes.size()));
}

struct Message {
    nlmsghdr Header;
    Bytes Whole;
    Bytes Payload;
};

// Splits the next message off `rest`; false when `rest` does not start with a whole one.
bool NextMessage(Bytes& rest, Message& message) {
    if (rest.size() < sizeof(nlmsghdr)) {
        return false;
    }
    message.Header = Load<nlmsghdr>(rest);
    const std::size_t length = message.Header.nlmsg_len;
    if (length < NLMSG_HDRLEN || length > rest.size()) {
        return false;
    }
    message.Whole = rest.first(length);
    message.Payload = message.Whole.subspan(NLMSG_HDRLEN);
    rest = Skip(rest, NLMSG_ALIGN(length));
    return true;
}

// Calls `use(type, value)` for each attribute; false on a malformed attribute or when `use`
// refuses one.
template <class Use> bool ForEachAttribute(Bytes attributes, Use&& use) {
    while (!attributes.empty()) {
        if (attributes.size() < sizeof(rtattr)) {
            return false;
        }
        const auto attribute = Load<rtattr>(attributes);
        if (attribute.rta_len < RTA_LENGTH(0) || attribute.rta_len > attributes.size()) {
            return false;
        }
        const Bytes value = attributes.subspan(RTA_LENGTH(0), attribute.rta_len - RTA_LENGTH(0));
        if (!use(static_cast<unsigned>(attribute.rta_type & NLA_TYPE_MASK), value)) {
            return false;
        }
        attributes = Skip(attributes, RTA_ALIGN(attribute.rta_len));
    }
    return true;
}

// A NUL-terminated string attribute without its terminator.
Bytes Text(Bytes value) {
    const auto end = std::find(value.begin(), value.end(), quint8{0});
    return value.first(static_cast<std::size_t>(end - value.begin()));
}

bool ReadU32(Bytes value, quint32& out) {
    if (value.size() < sizeof(quint32)) {
        return false;
    }
    out = Load<quint32>(value);
    return true;
}

// Whether an IFLA_STATS64 value holds at least the counters that the table takes.
bool HasCounters(Bytes value) {
    return value.size() >= offsetof(rtnl_link_stats64, rx_length_errors);
}

// The kernel's statistics mapped onto the table's counters. Linux keeps no count of sent
// broadcast packets, so every sent packet counts as unicast.
bool ApplyStatistics(Bytes value, InterfaceRow& row) {
    if (!HasCounters(value)) {
        return false;
    }
    const auto stats = Load<rtnl_link_stats64>(value);
    row.InOctets = stats.rx_bytes;
    row.InNUcastPkts = stats.multicast;
    row.InUcastPkts = stats.rx_packets > stats.multicast ? stats.rx_packets - stats.multicast : 0;
    row.InDiscards = stats.rx_dropped;
    row.InErrors = stats.rx_errors;
    row.InUnknownProtos = value.size() >= sizeof(rtnl_link_stats64) ? stats.rx_nohandler : 0;
    row.OutOctets = stats.tx_bytes;
    row.OutUcastPkts = stats.tx_packets;
    row.OutNUcastPkts = 0;
    row.OutDiscards = stats.tx_dropped;
    row.OutErrors = stats.tx_errors;
    return true;
}

void StoreName(Bytes name, InterfaceRow& row) {
    name = name.first(std::min(name.size(), row.Name.size()));
    // UTF-8 never yields more UTF-16 code units than it has bytes, so Name has room.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QChar* const begin = reinterpret_cast<QChar*>(row.Name.data());
    QChar* const end =
        decoder.appendToBuffer(begin, QByteArrayView(reinterpret_cast<const char*>(name.data()),
                                                     static_cast<qsizetype>(name.size())));
    row.NameLength = static_cast<quint32>(end - begin);
}

void StoreDescription(Bytes text, InterfaceRow& row) {
    text = text.first(std::min(text.size(), row.Descr.size()));
    std::copy(text.begin(), text.end(), row.Descr.begin());
    row.DescrLength = static_cast<quint32>(text.size());
}

} // namespace

bool DecodeLinkMessage(Bytes message, InterfaceRow& row) {
    Message link{};
    Bytes rest = message;
    if (!NextMessage(rest, link) || link.Header.nlmsg_type != RTM_NEWLINK ||
        link.Payload.size() < sizeof(ifinfomsg)) {
        return false;
    }
    const auto info = Load<ifinfomsg>(link.Payload);
    row = InterfaceRow{};
    row.Index = static_cast<quint32>(info.ifi_index);
    row.Type = info.ifi_type;
    row.AdminStatus = (info.ifi_flags & IFF_UP) != 0 ? 1 : 0;
    row.Loopback = (info.ifi_flags & IFF_LOOPBACK) != 0;

    Bytes name;
    Bytes alias;
    const bool wellFormed = ForEachAttribute(
        Skip(link.Payload, NLMSG_ALIGN(sizeof(ifinfomsg))), [&](unsigned type, Bytes value) {
            switch (type) {
            case IFLA_IFNAME:
                name = Text(value);
                return true;
            case IFLA_IFALIAS:
                alias = Text(value);
                return true;
            case IFLA_MTU:
                return ReadU32(value, row.Mtu);
            case IFLA_TXQLEN:
                return ReadU32(value, row.OutQLen);
            case IFLA_OPERSTATE:
                if (value.empty()) {
                    return false;
                }
                row.OperStatus = value[0];
                return true;
            case IFLA_ADDRESS:
                row.PhysAddrLength =
                    static_cast<quint32>(std::min(value.size(), row.PhysAddr.size()));
                std::copy_n(value.begin(), row.PhysAddrLength, row.PhysAddr.begin());
                return true;
            case IFLA_STATS64:
                return ApplyStatistics(value, row);
            default:
                return true;
            }
        });
    if (!wellFormed) {
        return false;
    }
    StoreName(name, row);
    StoreDescription(alias.empty() ? name : alias, row);
    return true;
}

namespace {

// Walks the messages of one dump datagram, handing each message of type `type` answering
// `sequence` to `use`, which returns false to fail the dump. `notice` sees every message first,
// whatever it answers.
template <class Use, class Notice>
DumpProgress WalkDump(Bytes datagram, quint32 sequence, quint16 type, Use&& use, Notice&& notice) {
    Bytes rest = datagram;
    while (!rest.empty()) {
        Message message{};
        if (!NextMessage(rest, message)) {
            return DumpProgress::Failed;
        }
        notice(message.Header);
        if (message.Header.nlmsg_seq != sequence) {
            continue; // left over from an earlier request that was abandoned
        }
        if ((message.Header.nlmsg_flags & NLM_F_DUMP_INTR) != 0) {
            return DumpProgress::Failed;
        }
        if (message.Header.nlmsg_type == NLMSG_DONE) {
            if (message.Payload.size() >= sizeof(int) && Load<int>(message.Payload) < 0) {
                return DumpProgress::Failed;
            }
            return DumpProgress::Done;
        }
        if (message.Header.nlmsg_type == NLMSG_ERROR) {
            return DumpProgress::Failed;
        }
        if (message.Header.nlmsg_type == type && !use(message)) {
            return DumpProgress::Failed;
        }
    }
    return DumpProgress::More;
}

// The row of link `index`: the dump usually lists the links in the rows' own order, so the
// row at `expected` is tried first.
InterfaceRow* FindRow(std::span<InterfaceRow> rows, quint32 index, std::size_t expected) {
    if (expected < rows.size() && rows[expected].Index == index) {
        return &rows[expected];
    }
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const InterfaceRow& row) { return row.Index == index; });
    return found == rows.end() ? nullptr : &*found;
}

// Walks one datagram of a statistics dump like WalkDump, handing `use(index, counters)` the
// link index and the IFLA_STATS_LINK_64 value of each statistics message; a message without
// a whole one fails the dump.
template <class Use, class Notice>
DumpProgress WalkStatistics(Bytes datagram, quint32 sequence, Use&& use, Notice&& notice) {
    return WalkDump(
        datagram, sequence, RTM_NEWSTATS,
        [&](const Message& message) {
            if (message.Payload.size() < sizeof(if_stats_msg)) {
                return false;
            }
            const auto header = Load<if_stats_msg>(message.Payload);
            std::optional<Bytes> statistics;
            const bool wellFormed =
                ForEachAttribute(Skip(message.Payload, NLMSG_ALIGN(sizeof(if_stats_msg))),
                                 [&](unsigned type, Bytes value) {
                                     if (type == IFLA_STATS_LINK_64) {
                                         statistics = value;
                                     }
                                     return true;
                                 });
            return wellFormed && statistics && HasCounters(*statistics) &&
                   use(header.ifindex, *statistics);
        },
        notice);
}

// The kernel creates the loopback link first in every network namespace, with index 1.
constexpr quint32 LoopbackIndex = 1;

} // namespace

DumpProgress ParseLinkDump(Bytes datagram, quint32 sequence, std::vector<InterfaceRow>& rows) {
    return WalkDump(
        datagram, sequence, RTM_NEWLINK,
        [&](const Message& message) {
            rows.emplace_back();
            if (DecodeLinkMessage(message.Whole, rows.back())) {
                return true;
            }
            rows.pop_back();
            return false;
        },
        [](const nlmsghdr&) {});
}

DumpProgress FrameDump(Bytes datagram, quint32 sequence) {
    return WalkDump(
        datagram, sequence, RTM_NEWLINK, [](const Message&) { return true; },
        [](const nlmsghdr&) {});
}

DumpProgress ParseStatisticsDump(Bytes datagram, quint32 sequence, std::span<InterfaceRow> rows,
                                 StatisticsMatch& match) {
    return WalkStatistics(
        datagram, sequence,
        [&](quint32 index, Bytes statistics) {
            InterfaceRow* const row = FindRow(rows, index, match.Matched);
            if (row == nullptr) {
                ++match.Unknown;
                return true;
            }
            ++match.Matched;
            ApplyStatistics(statistics, *row);
            return true;
        },
        [&](const nlmsghdr& header) {
            // The kernel gives announcements the sequence of the request that caused them, so
            // only their type tells them from answers.
            if (header.nlmsg_type == RTM_NEWLINK || header.nlmsg_type == RTM_DELLINK) {
                ++match.Announcements;
            }
        });
}

DumpProgress SumStatisticsDump(Bytes datagram, quint32 sequence, TrafficTotals& totals) {
    return WalkStatistics(
        datagram, sequence,
        [&](quint32 index, Bytes statistics) {
            if (index != LoopbackIndex) {
                const auto counters = Load<rtnl_link_stats64>(statistics);
                totals.Received += counters.rx_bytes;
                totals.Sent += counters.tx_bytes;
            }
            return true;
        },
        [](const nlmsghdr&) {});
}

std::optional<quint32> DecodeRouteReply(Bytes datagram, quint32 sequence) {
    Bytes rest = datagram;
    Message message{};
    while (NextMessage(rest, message)) {
        if (message.Header.nlmsg_seq != sequence) {
            continue;
        }
        if (message.Header.nlmsg_type != RTM_NEWROUTE || message.Payload.size() < sizeof(rtmsg) ||
            Load<rtmsg>(message.Payload).rtm_type != RTN_UNICAST) {
            return std::nullopt;
        }
        quint32 interfaceIndex = 0;
        const bool wellFormed = ForEachAttribute(
            Skip(message.Payload, NLMSG_ALIGN(sizeof(rtmsg))), [&](unsigned type, Bytes value) {
                return type != RTA_OIF || ReadU32(value, interfaceIndex);
            });
        if (!wellFormed || interfaceIndex == 0) {
            return std::nullopt;
        }
        return interfaceIndex;
    }
    return std::nullopt;
}

} // namespace horlan
