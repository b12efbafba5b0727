#include "timesync/NtsKeSocket.h"

#include "timesync/HostLookup.h"
#include "timesync/SocketErrors.h"

#include <cerrno>
#include <csignal>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horlan {

KeSocket ConnectKeSocket(const std::string& host, quint16 port, std::chrono::milliseconds timeout,
                         const std::function<bool(int)>& publish) {
    // OpenSSL writes with plain send(): a blocked SIGPIPE stays pending on this thread and
    // the write fails with EPIPE instead of ending the program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    const HostLookupResult lookup = LookUpHost(QString::fromStdString(host), port, false);
    if (lookup.Number != 0) {
        return {-1, lookup.Number, lookup.Description};
    }
    const timeval limit{static_cast<time_t>(timeout.count() / 1000),
                        static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
    int error = ECONNREFUSED;
    for (const HostAddress& address : lookup.Addresses) {
        const int socket = ::socket(address.Family, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (socket < 0) {
            error = errno;
            continue;
        }
        if (!publish(socket)) {
            ::close(socket);
            return {-1, WSAECONNABORTED, ErrnoDescription(ECONNABORTED)};
        }
        ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        // The request follows the handshake's last message at once, not after its ACK.
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (::connect(socket, reinterpret_cast<const sockaddr*>(address.Sockaddr.constData()),
                      static_cast<socklen_t>(address.Sockaddr.size())) == 0) {
            return {socket};
        }
        // A connection attempt that runs out of SO_SNDTIMEO reports EINPROGRESS.
        error = errno == EINPROGRESS ? ETIMEDOUT : errno;
        publish(-1);
        ::close(socket);
    }
    return {-1, WinsockNumberFromErrno(error), ErrnoDescription(error)};
}

void ShutdownKeSocket(int socket) {
    ::shutdown(socket, SHUT_RDWR);
}

void CloseKeSocket(int socket) {
    ::close(socket);
}

std::pair<int, QString> LastSocketError() {
    const int error = errno == EAGAIN || errno == EWOULDBLOCK ? ETIMEDOUT : errno;
    return {error == 0 ? 0 : WinsockNumberFromErrno(error), ErrnoDescription(error)};
}

} // namespace horlan
