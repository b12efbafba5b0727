#pragma once

#include "netstatus/InterfaceTable.h"
#include "netstatus/NetlinkSocket.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace horlan {

// The interface table read from the kernel: one link dump per read over a socket kept open
// between reads. The link speed comes from `<sysfsNetRoot>/<name>/speed` (Mb/s), read once
// per interface and kept.
class NetlinkInterfaceTable : public InterfaceTable {
public:
    explicit NetlinkInterfaceTable(QString sysfsNetRoot = QStringLiteral("/sys/class/net"));

    InterfaceTableResult Read(std::vector<InterfaceRow>& rows) override;

    // One link dump received and framed but not decoded, on the same socket: the cost of
    // the kernel's side alone, for measurements. False when the dump failed.
    bool DumpOnly();

private:
    quint64 SpeedOf(const InterfaceRow& row);

    struct KnownSpeed {
        quint32 Index;
        QString Name;
        quint64 Speed;
    };

    QString sysfsNetRoot_;
    NetlinkSocket socket_;
    std::vector<quint8> buffer_;
    std::vector<KnownSpeed> speeds_;
};

} // namespace horlan
