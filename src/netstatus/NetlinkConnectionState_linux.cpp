#include "netstatus/NetlinkConnectionState.h"

#include "netstatus/NetlinkParser.h"
#include "netstatus/NetlinkSocket.h"
#include "runtime/RuntimeError.h"

#include <QFile>

#include <arpa/inet.h>
#include <linux/if_arp.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace horlan {

namespace {

constexpr quint32 ModemFlag = 1;
constexpr quint32 LanFlag = 2;

// Documentation addresses: only looked up in the routing table, no packet is ever sent.
constexpr const char* ProbeAddressV4 = "198.51.100.1";
constexpr const char* ProbeAddressV6 = "2001:db8::1";

// Receive buffer for single answers.
constexpr std::size_t AnswerBufferSize = 8 * 1024;

template <class Request> std::span<const quint8> BytesOf(const Request& request) {
    return {reinterpret_cast<const quint8*>(&request), request.Header.nlmsg_len};
}

// The outgoing interface of the route to `address`, or nothing when there is none.
std::optional<quint32> RouteInterface(NetlinkSocket& socket, std::vector<quint8>& buffer,
                                      int family, const char* address) {
    struct {
        nlmsghdr Header;
        rtmsg Route;
        rtattr Destination;
        quint8 Address[16];
    } request{};
    const std::size_t addressSize = family == AF_INET ? 4 : 16;
    ::inet_pton(family, address, request.Address);
    request.Destination.rta_type = RTA_DST;
    request.Destination.rta_len = static_cast<unsigned short>(RTA_LENGTH(addressSize));
    request.Route.rtm_family = static_cast<unsigned char>(family);
    request.Route.rtm_dst_len = static_cast<unsigned char>(addressSize * 8);
    request.Header.nlmsg_len =
        static_cast<quint32>(NLMSG_LENGTH(sizeof(rtmsg)) + RTA_LENGTH(addressSize));
    request.Header.nlmsg_type = RTM_GETROUTE;
    request.Header.nlmsg_flags = NLM_F_REQUEST;
    request.Header.nlmsg_seq = socket.NextSequence();
    if (!socket.Send(BytesOf(request))) {
        return std::nullopt;
    }
    return DecodeRouteReply(socket.Receive(buffer), request.Header.nlmsg_seq);
}

bool IsWirelessWan(const QString& ueventPath) {
    QFile uevent(ueventPath);
    if (!uevent.open(QIODevice::ReadOnly)) {
        return false;
    }
    const auto lines = uevent.readAll().split('\n');
    return std::find(lines.begin(), lines.end(), QByteArrayLiteral("DEVTYPE=wwan")) != lines.end();
}

// The kind of connection an interface gives: modem or local network.
quint32 InterfaceKind(NetlinkSocket& socket, std::vector<quint8>& buffer, quint32 index,
                      const QString& sysfsNetRoot) {
    const quint32 sequence = socket.NextSequence();
    std::vector<InterfaceRow> rows;
    if (!socket.RequestLinks(sequence, index) ||
        ParseLinkDump(socket.Receive(buffer), sequence, rows) == DumpProgress::Failed ||
        rows.size() != 1) {
        return LanFlag;
    }
    const InterfaceRow& link = rows.front();
    if (link.Type == ARPHRD_PPP || link.Type == ARPHRD_RAWIP) {
        return ModemFlag;
    }
    const QString name = QString::fromUtf16(link.Name.data(), link.NameLength);
    return IsWirelessWan(sysfsNetRoot + QLatin1Char('/') + name + QStringLiteral("/uevent"))
               ? ModemFlag
               : LanFlag;
}

} // namespace

NetlinkConnectionState::NetlinkConnectionState(QString sysfsNetRoot)
    : sysfsNetRoot_(std::move(sysfsNetRoot)) {}

bool NetlinkConnectionState::InternetGetConnectedState(quint32& flags) {
    NetlinkSocket socket;
    if (!socket.Open()) {
        Raise(ErrFileNotFound);
    }
    std::vector<quint8> buffer(AnswerBufferSize);
    quint32 found = 0;
    bool connected = false;
    for (const auto& [family, address] :
         {std::pair{AF_INET, ProbeAddressV4}, std::pair{AF_INET6, ProbeAddressV6}}) {
        if (const auto index = RouteInterface(socket, buffer, family, address)) {
            connected = true;
            found |= InterfaceKind(socket, buffer, *index, sysfsNetRoot_);
        }
    }
    if (connected) {
        flags = found;
    }
    return connected;
}

} // namespace horlan
