#pragma once

#include <QString>

namespace horlan {

// Seam: what the machine calls itself on the network.
class LocalHost {
public:
    virtual ~LocalHost() = default;

    // The machine's host name; empty when the system gives none.
    virtual QString LocalHostName() = 0;

    // The machine's IP address: IPv4 in dotted form ("192.0.2.2"), or a global IPv6 address
    // when it has no IPv4 one; empty when it has none.
    virtual QString LocalIP() = 0;
};

// This machine: its interfaces' addresses chosen by ChooseLocalIP. Nothing is sent.
class SystemLocalHost : public LocalHost {
public:
    QString LocalHostName() override;
    QString LocalIP() override;
};

} // namespace horlan
