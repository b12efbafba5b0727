#include "timesync/RouteTable_linux.h"

#include <QRegularExpression>
#include <QStringList>
#include <climits>

namespace horlan {

QString DefaultRouteInterface(const QString& routeTable) {
    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...; numbers in hex.
    constexpr uint RouteUp = 0x1;
    QString best;
    uint bestMetric = UINT_MAX;
    const QStringList lines = routeTable.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields =
            lines.at(i).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
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

} // namespace horlan
