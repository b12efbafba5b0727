#pragma once

#include <QString>

namespace horlan {

// Seam: what the machine calls itself on the network.
class LocalHost {
public:
    virtual ~LocalHost() = default;

    // The machine's host name; empty when the system gives none.
    virtual QString LocalHostName() = 0;

    // The machine's IPv4 address in dotted form ("192.0.2.2"); empty when it has none.
    virtual QString LocalIP() = 0;
};

// This machine. The address is that of the interface carrying the IPv4 default route, else
// the first non-loopback IPv4 address of an interface that is up. Nothing is sent.
class SystemLocalHost : public LocalHost {
public:
    QString LocalHostName() override;
    QString LocalIP() override;
};

} // namespace horlan
