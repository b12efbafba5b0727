// Prints what the kernel's routing table says about the Internet connection, so that a test
// can ask from inside another network namespace.
#include "netstatus/NetlinkConnectionState.h"

#include <cstdio>

int main() {
    horlan::NetlinkConnectionState source;
    quint32 flags = 0;
    const bool connected = source.InternetGetConnectedState(flags);
    std::printf("connected=%d flags=%u\n", connected ? 1 : 0, flags);
    return 0;
}
