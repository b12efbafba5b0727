#include "netstatus/NetlinkSocket.h"

#include <cerrno>

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace horlan {

NetlinkSocket::~NetlinkSocket() {
    Close();
}

bool NetlinkSocket::Open(Waiting waiting) {
    if (fd_ >= 0) {
        return true;
    }
    waits_ = waiting != Waiting::Never;
    fd_ =
        ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | (waits_ ? 0 : SOCK_NONBLOCK), NETLINK_ROUTE);
    if (fd_ < 0) {
        return false;
    }
    if (waits_) {
        // The kernel answers at once; the limit only keeps a lost answer from freezing the
        // caller.
        const timeval limit{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }
    return true;
}

void NetlinkSocket::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool NetlinkSocket::Send(std::span<const quint8> message) {
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    const ssize_t sent = ::sendto(fd_, message.data(), message.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel);
    return sent == static_cast<ssize_t>(message.size());
}

bool NetlinkSocket::RequestLinks(quint32 sequence, quint32 index) {
    // The per-protocol statistics (IPv6, ICMPv6) are skipped: the kernel spends most of a dump
    // filling them, and the link's own IFLA_STATS64 still comes.
    struct {
        nlmsghdr Header;
        ifinfomsg Link;
        rtattr ExtMaskAttr;
        quint32 ExtMask;
    } request{};
    request.Header.nlmsg_len = sizeof request;
    request.Header.nlmsg_type = RTM_GETLINK;
    request.Header.nlmsg_flags =
        static_cast<quint16>(NLM_F_REQUEST | (index == 0 ? NLM_F_DUMP : 0));
    request.Header.nlmsg_seq = sequence;
    request.Link.ifi_family = AF_UNSPEC;
    request.Link.ifi_index = static_cast<int>(index);
    request.ExtMaskAttr.rta_len = RTA_LENGTH(sizeof request.ExtMask);
    request.ExtMaskAttr.rta_type = IFLA_EXT_MASK;
    request.ExtMask = RTEXT_FILTER_SKIP_STATS;
    return Send({reinterpret_cast<const quint8*>(&request), sizeof request});
}

bool NetlinkSocket::RequestStatistics(quint32 sequence) {
    struct {
        nlmsghdr Header;
        if_stats_msg Stats;
    } request{};
    request.Header.nlmsg_len = sizeof request;
    request.Header.nlmsg_type = RTM_GETSTATS;
    request.Header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.Header.nlmsg_seq = sequence;
    request.Stats.family = AF_UNSPEC;
    request.Stats.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    return Send({reinterpret_cast<const quint8*>(&request), sizeof request});
}

bool NetlinkSocket::WatchLinks() {
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = RTMGRP_LINK;
    return fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

std::span<const quint8> NetlinkSocket::Receive(std::vector<quint8>& buffer) {
    iovec part{buffer.data(), buffer.size()};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    ssize_t received = -1;
    do {
        received = ::recvmsg(fd_, &header, 0);
    } while (received < 0 && errno == EINTR);
    nothingYet_ = !waits_ && received < 0 && errno == EAGAIN;
    if (received <= 0 || (header.msg_flags & MSG_TRUNC) != 0) {
        return {};
    }
    return std::span<const quint8>(buffer.data(), static_cast<std::size_t>(received));
}

DumpProgress
NetlinkSocket::ReceiveDump(std::vector<quint8>& buffer,
                           const std::function<DumpProgress(std::span<const quint8>)>& parse) {
    for (;;) {
        const auto datagram = Receive(buffer);
        if (datagram.empty()) {
            return nothingYet_ ? DumpProgress::More : DumpProgress::Failed;
        }
        const DumpProgress progress = parse(datagram);
        if (progress != DumpProgress::More) {
            return progress;
        }
    }
}

} // namespace horlan
