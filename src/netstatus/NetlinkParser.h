#pragma once

#include "netstatus/InterfaceTable.h"

#include <optional>
#include <span>
#include <vector>

namespace horlan {

// Decoding of routing-netlink answers held in byte buffers. Every length read from a buffer
// is checked against the bytes actually given; nothing past them is ever read.

enum class DumpProgress {
    More,  // the dump goes on in the next datagram
    Done,  // the dump ended cleanly
    Failed // malformed or truncated data, a kernel error, or an interrupted dump
};

// Decodes one datagram of a link dump answering request `sequence`: each link message
// appends one row to `rows` (Speed stays 0). Messages of other requests are skipped.
DumpProgress ParseLinkDump(std::span<const quint8> datagram, quint32 sequence,
                           std::vector<InterfaceRow>& rows);

// Walks one datagram of a link dump like ParseLinkDump, checking the framing only.
DumpProgress FrameDump(std::span<const quint8> datagram, quint32 sequence);

// How the messages of a statistics dump met the rows they were matched against.
struct StatisticsMatch {
    std::size_t Matched = 0; // messages whose link has a row
    std::size_t Unknown = 0; // messages for a link that no row describes
    // Announcements of new, changed or removed links met on the way, whatever their sequence.
    std::size_t Announcements = 0;
};

// Decodes one datagram of a dump of link statistics answering request `sequence`: each
// message's counters replace those of the row with the same index, and `match` counts how the
// messages met the rows and the link announcements among them. Messages of other requests are
// skipped; a message without 64-bit counters fails the dump.
DumpProgress ParseStatisticsDump(std::span<const quint8> datagram, quint32 sequence,
                                 std::span<InterfaceRow> rows, StatisticsMatch& match);

// Decodes one datagram of a dump of link statistics answering request `sequence` like
// ParseStatisticsDump, adding the bytes received and sent of every link but loopback to
// `totals`.
DumpProgress SumStatisticsDump(std::span<const quint8> datagram, quint32 sequence,
                               TrafficTotals& totals);

// Decodes one link message, netlink header included. Returns false, leaving `row`
// unspecified, when the message is truncated, malformed or not a link message.
bool DecodeLinkMessage(std::span<const quint8> message, InterfaceRow& row);

// Decodes the answer to a route lookup `sequence`: the outgoing interface index of a
// unicast route, or nothing when the answer is an error, another kind of route or malformed.
std::optional<quint32> DecodeRouteReply(std::span<const quint8> datagram, quint32 sequence);

} // namespace horlan
