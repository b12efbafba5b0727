#include "netstatus/InternetConnectionState.h"

namespace horlan {

namespace {

constexpr quint32 ModemBit = 1;
constexpr quint32 LanBit = 2;

} // namespace

InternetConnectionState::InternetConnectionState(ConnectionState& source) : source_(source) {}

bool InternetConnectionState::IsConnected() {
    quint32 flags = 0;
    return source_.InternetGetConnectedState(flags);
}

bool InternetConnectionState::IsConnectedViaLan() {
    // Zeroed first: a query that fails without writing the word reads as "no LAN".
    quint32 flags = 0;
    source_.InternetGetConnectedState(flags);
    return (flags & LanBit) != 0;
}

bool InternetConnectionState::IsConnectedViaModem() {
    quint32 flags = 0;
    source_.InternetGetConnectedState(flags);
    return (flags & ModemBit) != 0;
}

} // namespace horlan
