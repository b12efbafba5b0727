#pragma once

#include "netstatus/ConnectionState.h"

#include <QString>

namespace horlan {

// The connection state from the kernel's routing table: the machine counts as connected
// when it has a route to a public IPv4 or IPv6 address (looked up, never contacted). The
// outgoing interface decides the kind: point-to-point, raw-IP or mobile-broadband links are
// modems, anything else is a local network. `sysfsNetRoot` holds the interfaces' uevent files.
class NetlinkConnectionState : public ConnectionState {
public:
    explicit NetlinkConnectionState(QString sysfsNetRoot = QStringLiteral("/sys/class/net"));

    bool InternetGetConnectedState(quint32& flags) override;

private:
    QString sysfsNetRoot_;
};

} // namespace horlan
