#pragma once

#include "netstatus/InterfaceTable.h"
#include "netstatus/NetlinkSocket.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace horlan {

// The interface table read from the kernel over sockets opened at the first read and kept
// open. The links' descriptions come from a full link dump, taken at the first read and again
// only after the kernel announced a change of links; every other read asks for the traffic
// counters alone, which costs the kernel far less. The link speed comes from
// `<sysfsNetRoot>/<name>/speed` (Mb/s), read once per interface and kept. The totals come from
// one dump of the traffic counters alone on a socket of their own that never waits.
class NetlinkInterfaceTable : public InterfaceTable {
public:
    explicit NetlinkInterfaceTable(QString sysfsNetRoot = QStringLiteral("/sys/class/net"));

    InterfaceTableResult Read(std::vector<InterfaceRow>& rows) override;
    InterfaceTableResult ReadTotals(TrafficTotals& totals) override;

    // How many full link dumps the reads have taken so far.
    quint64 LinkDumps() const { return linkDumps_; }

    // One link dump received and framed but not decoded, on the same socket: the cost of
    // the kernel's side alone, for measurements. False when the dump failed.
    bool DumpOnly();

private:
    // A full dump into `rows`, kept as the known links when it succeeds.
    InterfaceTableResult ReadLinks(std::vector<InterfaceRow>& rows);
    // The known links with fresh counters; false when the counters could not be read, belong
    // to another set of links, or came with an announcement that the links changed.
    bool ReadCounters(std::vector<InterfaceRow>& rows);
    quint64 SpeedOf(const InterfaceRow& row);

    struct KnownSpeed {
        quint32 Index;
        QString Name;
        quint64 Speed;
    };

    QString sysfsNetRoot_;
    NetlinkSocket socket_;
    // The counters have a socket of their own: the kernel sizes each dump datagram after the
    // largest receive buffer a socket has seen, and the link dumps need a large one. It also
    // receives the link announcements; while it cannot, every read is a full dump.
    NetlinkSocket counters_;
    std::vector<quint8> countersBuffer_;
    bool watching_ = false;
    std::vector<quint8> buffer_;
    std::vector<InterfaceRow> links_;
    bool linksKnown_ = false;
    quint64 linkDumps_ = 0;
    std::vector<KnownSpeed> speeds_;
    NetlinkSocket totals_;
    quint32 totalsSequence_ = 0;  // the request whose answer has not come in full yet; 0: none
    TrafficTotals pendingTotals_; // the sums of that answer so far
};

} // namespace horlan
