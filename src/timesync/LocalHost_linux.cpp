#include "timesync/LocalHost.h"

#include "timesync/RouteTable_linux.h"

#include <QFile>
#include <climits>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

namespace horlan {

namespace {

// Every IPv4 and IPv6 address of the machine's interfaces, in the system's order.
QList<InterfaceAddress> InterfaceAddresses() {
    QList<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return result;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr) {
            continue;
        }
        const int family = entry->ifa_addr->sa_family;
        const void* bytes = nullptr;
        if (family == AF_INET) {
            bytes = &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        } else if (family == AF_INET6) {
            bytes = &reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr;
        } else {
            continue;
        }
        char text[INET6_ADDRSTRLEN] = {};
        if (inet_ntop(family, bytes, text, sizeof(text)) == nullptr) {
            continue;
        }
        result.append({QString::fromLocal8Bit(entry->ifa_name), QString::fromLatin1(text),
                       (entry->ifa_flags & IFF_UP) != 0, (entry->ifa_flags & IFF_LOOPBACK) != 0});
    }
    freeifaddrs(list);
    return result;
}

} // namespace

QString SystemLocalHost::LocalHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) {
        return {};
    }
    return QString::fromLocal8Bit(name);
}

QString SystemLocalHost::LocalIP() {
    QString routeInterface;
    QFile routes(QStringLiteral("/proc/net/route"));
    if (routes.open(QIODevice::ReadOnly)) {
        routeInterface = DefaultRouteInterface(QString::fromLatin1(routes.readAll()));
    }
    return ChooseLocalIP(InterfaceAddresses(), routeInterface);
}

} // namespace horlan
