#include "timesync/RouteTable_linux.h"

#include <QHostAddress>
#include <QStringList>
#include <climits>

namespace horlan {

QString DefaultRouteInterface(const QString& routeTable) {
    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...; numbers in hex.
    constexpr uint RouteUp = 0x1;
    QString best;
    uint bestMetric = UINT_MAX;
    const QStringList lines = routeTable.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype row = 1; row < lines.size(); ++row) {
        const QStringList fields =
            lines.at(row).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 8) {
            continue;
        }
        bool ok = true;
        const uint destination = fields.at(1).toUInt(&ok, 16);
        const uint flags = ok ? fields.at(3).toUInt(&ok, 16) : 0;
        const uint metric = ok ? fields.at(6).toUInt(&ok, 10) : 0;
        const uint mask = ok ? fields.at(7).toUInt(&ok, 16) : 0;
        if (!ok || destination != 0 || mask != 0 || (flags & RouteUp) == 0) {
            continue;
        }
        if (best.isEmpty() || metric < bestMetric) {
            best = fields.at(0);
            bestMetric = metric;
        }
    }
    return best;
}

QString ChooseLocalIP(const QList<InterfaceAddress>& addresses, const QString& routeInterface) {
    const auto ipv4 = [](const InterfaceAddress& entry) {
        return QHostAddress(entry.Address).protocol() == QAbstractSocket::IPv4Protocol;
    };
    for (const InterfaceAddress& entry : addresses) {
        if (!routeInterface.isEmpty() && entry.Interface == routeInterface && ipv4(entry)) {
            return entry.Address;
        }
    }
    QString globalIPv6;
    for (const InterfaceAddress& entry : addresses) {
        if (!entry.Up || entry.Loopback) {
            continue;
        }
        if (ipv4(entry)) {
            return entry.Address;
        }
        if (globalIPv6.isEmpty() && QHostAddress(entry.Address).isGlobal()) {
            globalIPv6 = entry.Address;
        }
    }
    return globalIPv6;
}

} // namespace horlan
