#pragma once

#include <QtGlobal>

namespace horlan {

// Seam: the operating system's answer to "is this machine connected to the Internet?".
class ConnectionState {
public:
    virtual ~ConnectionState() = default;

    // One fresh query. Returns true when any connection to the Internet exists. `flags`
    // receives the connection kind: bit value 1 = through a modem, 2 = through a local
    // network; other bits carry nothing. A query may leave `flags` unwritten.
    // Throws RuntimeError(ErrFileNotFound) when the source cannot run at all.
    virtual bool InternetGetConnectedState(quint32& flags) = 0;
};

} // namespace horlan
