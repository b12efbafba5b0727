#pragma once

#include "netstatus/ConnectionState.h"

namespace horlan {

// The three connection questions. Each answer is one fresh query of the source; nothing
// is cached, so a change of connection between two calls is seen.
class InternetConnectionState {
public:
    explicit InternetConnectionState(ConnectionState& source);

    // True when the query reports any connection; the flag word is not looked at.
    bool IsConnected();
    // True when the LAN bit is set, whatever the query returned.
    bool IsConnectedViaLan();
    // True when the modem bit is set, whatever the query returned.
    bool IsConnectedViaModem();

private:
    ConnectionState& source_;
};

} // namespace horlan
