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

struct IPv4 {
    QString Interface;
    QString Address;
    bool Up = false;
    bool Loopback = false;
};

QList<IPv4> InterfaceAddresses() {
    QList<IPv4> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return result;
    }
    for (const ifaddrs* ia = list; ia != nullptr; ia = ia->ifa_next) {
        if (ia->ifa_addr == nullptr || ia->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(ia->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text)) == nullptr) {
            continue;
        }
        result.append({QString::fromLocal8Bit(ia->ifa_name), QString::fromLatin1(text),
                       (ia->ifa_flags & IFF_UP) != 0, (ia->ifa_flags & IFF_LOOPBACK) != 0});
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
    const QList<IPv4> addresses = InterfaceAddresses();
    QFile routes(QStringLiteral("/proc/net/route"));
    if (routes.open(QIODevice::ReadOnly)) {
        const QString routeInterface = DefaultRouteInterface(QString::fromLatin1(routes.readAll()));
        for (const IPv4& address : addresses) {
            if (!routeInterface.isEmpty() && address.Interface == routeInterface) {
                return address.Address;
            }
        }
    }
    for (const IPv4& address : addresses) {
        if (address.Up && !address.Loopback) {
            return address.Address;
        }
    }
    return {};
}

} // namespace horlan
