#pragma once

#include <QString>
#include <optional>

namespace horlan {

// One entry of the server list as something to ask: how, which host and which port.
struct ServerEntry {
    enum class Protocol {
        Time, // a bare host name: the Time Protocol on TCP port 37
        Ntp,  // ntp://HOST[:PORT]: NTP over UDP, port 123 unless given
        Nts,  // nts://HOST[:PORT]: Network Time Security, the key exchange on port 4460
    };
    Protocol Kind = Protocol::Time;
    // A host name, a dotted IPv4 address or an IPv6 address (without its brackets).
    QString Host;
    int Port = 0;

    bool operator==(const ServerEntry&) const = default;
};

inline constexpr int NtpPort = 123;
inline constexpr int NtsKePort = 4460;

// Reads a list entry, spaces around it removed. A bare name needs two or three dots; an entry
// with a scheme (ntp:// or nts://, in any case) follows URL rules instead: a host name, an
// IPv4 address or a bracketed IPv6 address, an optional port from 1 to 65535 and an optional
// closing slash. Nothing when the entry is neither.
std::optional<ServerEntry> ParseServerEntry(const QString& entry);

} // namespace horlan
