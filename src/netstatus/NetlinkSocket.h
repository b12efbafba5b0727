#pragma once

#include "netstatus/NetlinkParser.h"

#include <QtGlobal>

#include <functional>
#include <span>
#include <vector>

namespace horlan {

// A routing-netlink socket to the kernel, closed with the object.
class NetlinkSocket {
public:
    NetlinkSocket() = default;
    ~NetlinkSocket();
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;

    enum class Waiting {
        UpToASecond, // a receive waits at most one second for a datagram
        Never        // a receive takes what has come and never waits
    };

    // Opens the socket unless it is open; false when the system refuses one.
    bool Open(Waiting waiting = Waiting::UpToASecond);
    bool IsOpen() const { return fd_ >= 0; }
    // Closes the socket, dropping every answer still to come on it.
    void Close();

    // A fresh request number, to tell this request's answers from older ones.
    quint32 NextSequence() { return ++sequence_; }

    // Sends one complete request message to the kernel.
    bool Send(std::span<const quint8> message);

    // Asks for the description of link `index`, or for a dump of all links when it is 0.
    bool RequestLinks(quint32 sequence, quint32 index = 0);

    // Asks for a dump of every link's 64-bit traffic counters, and nothing else.
    bool RequestStatistics(quint32 sequence);

    // Joins the kernel's announcements of new, changed and removed links; from then on they
    // arrive on this socket among the answers.
    bool WatchLinks();

    // Receives one datagram and returns its bytes inside `buffer`; empty on failure, when none
    // came in time (see Waiting) or when the datagram did not fit in `buffer`.
    std::span<const quint8> Receive(std::vector<quint8>& buffer);

    // Receives the datagrams of one dump into `buffer` and hands each to `parse`, until it
    // reports Done or Failed; a failed receive fails the dump. On a socket that never waits,
    // More when the rest of the dump has not come yet: a later call takes it up.
    DumpProgress ReceiveDump(std::vector<quint8>& buffer,
                             const std::function<DumpProgress(std::span<const quint8>)>& parse);

private:
    int fd_ = -1;
    quint32 sequence_ = 0;
    bool waits_ = true;
    bool nothingYet_ = false; // the last receive found no datagram on a socket that never waits
};

} // namespace horlan
