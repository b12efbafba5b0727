#pragma once

#include <QString>

namespace horlan {

// The name of the interface that carries the IPv4 default route (the lowest metric wins),
// read from the text of the kernel's IPv4 routing table as /proc/net/route shows it; empty
// when there is none.
QString DefaultRouteInterface(const QString& routeTable);

} // namespace horlan
