#include "netstatus/NetlinkInterfaceTable.h"

#include "netstatus/NetlinkParser.h"

#include <QFile>

#include <algorithm>

namespace horlan {

namespace {

// Large enough for the kernel to pack many links into one datagram.
constexpr std::size_t ReceiveBufferSize = 32 * 1024;
// One page: the kernel then builds each counters datagram in a small slab buffer instead of
// taking fresh pages for it, and a page still holds the counters of about fifteen links.
constexpr std::size_t CountersBufferSize = 4096;

quint64 ReadSpeed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    // The kernel refuses the read (EINVAL) for links that have no speed, e.g. loopback.
    const QByteArray text = file.read(32).trimmed();
    bool ok = false;
    const qlonglong megabits = text.toLongLong(&ok);
    return ok && megabits > 0 ? static_cast<quint64>(megabits) * 1'000'000u : 0;
}

} // namespace

NetlinkInterfaceTable::NetlinkInterfaceTable(QString sysfsNetRoot)
    : sysfsNetRoot_(std::move(sysfsNetRoot)), countersBuffer_(CountersBufferSize) {}

InterfaceTableResult NetlinkInterfaceTable::ReadTotals(TrafficTotals& totals) {
    if (!totals_.Open(NetlinkSocket::Waiting::Never)) {
        return InterfaceTableResult::NotSupported;
    }
    // The answer to the last call's request, when it had not come by then, is taken up first.
    const bool late = totalsSequence_ != 0;
    if (!late) {
        totalsSequence_ = totals_.NextSequence();
        pendingTotals_ = {};
        if (!totals_.RequestStatistics(totalsSequence_)) {
            totalsSequence_ = 0;
            return InterfaceTableResult::Failed;
        }
    }
    const auto parse = [&](std::span<const quint8> datagram) {
        return SumStatisticsDump(datagram, totalsSequence_, pendingTotals_);
    };
    const DumpProgress progress = totals_.ReceiveDump(countersBuffer_, parse);
    if (progress == DumpProgress::More && !late) {
        return InterfaceTableResult::Failed;
    }
    totalsSequence_ = 0;
    if (progress != DumpProgress::Done) {
        // Too late or spoilt: whatever is still to come is dropped with the socket.
        totals_.Close();
        return InterfaceTableResult::Failed;
    }
    totals = pendingTotals_;
    return InterfaceTableResult::Ok;
}

InterfaceTableResult NetlinkInterfaceTable::Read(std::vector<InterfaceRow>& rows) {
    rows.clear();
    if (!socket_.Open()) {
        return InterfaceTableResult::NotSupported;
    }
    if (!watching_) {
        // Joined before the dump that it keeps current, so that no change falls in between.
        watching_ = counters_.Open() && counters_.WatchLinks();
        linksKnown_ = false;
    }
    if (watching_ && linksKnown_ && ReadCounters(rows)) {
        return InterfaceTableResult::Ok;
    }
    return ReadLinks(rows);
}

InterfaceTableResult NetlinkInterfaceTable::ReadLinks(std::vector<InterfaceRow>& rows) {
    rows.clear();
    linksKnown_ = false;
    ++linkDumps_;
    buffer_.resize(ReceiveBufferSize);
    const quint32 sequence = socket_.NextSequence();
    if (!socket_.RequestLinks(sequence)) {
        return InterfaceTableResult::Failed;
    }
    const auto parse = [&](std::span<const quint8> datagram) {
        return ParseLinkDump(datagram, sequence, rows);
    };
    if (socket_.ReceiveDump(buffer_, parse) != DumpProgress::Done) {
        rows.clear();
        return InterfaceTableResult::Failed;
    }
    for (InterfaceRow& row : rows) {
        row.Speed = SpeedOf(row);
    }
    links_ = rows;
    linksKnown_ = true;
    return InterfaceTableResult::Ok;
}

bool NetlinkInterfaceTable::ReadCounters(std::vector<InterfaceRow>& rows) {
    rows = links_;
    const quint32 sequence = counters_.NextSequence();
    if (!counters_.RequestStatistics(sequence)) {
        return false;
    }
    StatisticsMatch match;
    const auto parse = [&](std::span<const quint8> datagram) {
        return ParseStatisticsDump(datagram, sequence, rows, match);
    };
    // Announcements lost to a full queue fail the receive; a link that came or went
    // unannounced shows in the match.
    return counters_.ReceiveDump(countersBuffer_, parse) == DumpProgress::Done &&
           match.Announcements == 0 && match.Unknown == 0 && match.Matched == rows.size();
}

bool NetlinkInterfaceTable::DumpOnly() {
    if (!socket_.Open()) {
        return false;
    }
    buffer_.resize(ReceiveBufferSize);
    const quint32 sequence = socket_.NextSequence();
    if (!socket_.RequestLinks(sequence)) {
        return false;
    }
    const auto parse = [&](std::span<const quint8> datagram) {
        return FrameDump(datagram, sequence);
    };
    return socket_.ReceiveDump(buffer_, parse) == DumpProgress::Done;
}

quint64 NetlinkInterfaceTable::SpeedOf(const InterfaceRow& row) {
    const QStringView name(row.Name.data(), static_cast<qsizetype>(row.NameLength));
    auto known = std::find_if(speeds_.begin(), speeds_.end(),
                              [&](const KnownSpeed& speed) { return speed.Index == row.Index; });
    if (known != speeds_.end() && known->Name == name) {
        return known->Speed;
    }
    // A new interface, or its index was given to another one.
    KnownSpeed entry{row.Index, name.toString(), 0};
    entry.Speed =
        ReadSpeed(sysfsNetRoot_ + QLatin1Char('/') + entry.Name + QStringLiteral("/speed"));
    if (known != speeds_.end()) {
        *known = std::move(entry);
        return known->Speed;
    }
    speeds_.push_back(std::move(entry));
    return speeds_.back().Speed;
}

} // namespace horlan
