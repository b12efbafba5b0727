#pragma once

#include <QList>
#include <QString>

namespace horlan {

// The name of the interface that carries the IPv4 default route (the lowest metric wins),
// read from the text of the kernel's IPv4 routing table as /proc/net/route shows it; empty
// when there is none.
QString DefaultRouteInterface(const QString& routeTable);

// One address of a network interface, as the system lists them.
struct InterfaceAddress {
    QString Interface;
    QString Address; // "192.0.2.2" or "2001:db8::2"
    bool Up = false;
    bool Loopback = false;
};

// The address that names this machine: the IPv4 address of `routeInterface` (the default
// route's), else the first IPv4 address of an interface that is up and not loopback, else
// the first global IPv6 address of such an interface; empty when there is none.
QString ChooseLocalIP(const QList<InterfaceAddress>& addresses, const QString& routeInterface);

} // namespace horlan
