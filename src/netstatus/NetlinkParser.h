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

// Decodes one link message, netlink header included. Returns false, leaving `row`
// unspecified, when the message is truncated, malformed or not a link message.
bool DecodeLinkMessage(std::span<const quint8> message, InterfaceRow& row);

// Decodes the answer to a route lookup `sequence`: the outgoing interface index of a
// unicast route, or nothing when the answer is an error, another kind of route or malformed.
std::optional<quint32> DecodeRouteReply(std::span<const quint8> datagram, quint32 sequence);

} // namespace horlan
