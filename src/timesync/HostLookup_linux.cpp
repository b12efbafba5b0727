#include "timesync/HostLookup.h"

#include "timesync/SocketErrors.h"

#include <cerrno>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace horlan {

HostLookupResult LookUpHost(const QString& name, int port, bool datagram) {
    const std::string host = name.toStdString();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = datagram ? SOCK_DGRAM : SOCK_STREAM;
    hints.ai_protocol = datagram ? IPPROTO_UDP : IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    errno = 0;
    int result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    const int error = errno;
    HostLookupResult lookup;
    for (const addrinfo* entry = list; result == 0 && entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) {
            continue;
        }
        lookup.Addresses.append({QByteArray(reinterpret_cast<const char*>(entry->ai_addr),
                                            static_cast<qsizetype>(entry->ai_addrlen)),
                                 entry->ai_family});
    }
    if (list != nullptr) {
        freeaddrinfo(list);
    }
    if (result == 0 && lookup.Addresses.isEmpty()) {
        result = EAI_NODATA;
    }
    if (result != 0) {
        lookup.Number = WinsockNumberFromLookup(result, error);
        lookup.Description = LookupDescription(result, error);
    }
    return lookup;
}

// Lets a lookup thread post its result to the object, or drop it once the object is gone.
struct HostLookup::Relay {
    std::mutex Mutex;
    HostLookup* Target = nullptr;
};

HostLookup::HostLookup(QObject* parent) : QObject(parent), relay_(std::make_shared<Relay>()) {
    relay_->Target = this;
}

HostLookup::~HostLookup() {
    std::lock_guard lock(relay_->Mutex);
    relay_->Target = nullptr;
}

void HostLookup::Abandon() {
    ++generation_;
}

void HostLookup::Start(const QString& host, int port, bool datagram) {
    const quint64 generation = ++generation_;
    const auto report = [this, generation](const HostLookupResult& result) {
        if (generation == generation_) {
            emit Resolved(result);
        }
    };
    try {
        std::thread([relay = relay_, report, host, port, datagram] {
            const HostLookupResult result = LookUpHost(host, port, datagram);
            std::lock_guard lock(relay->Mutex);
            if (relay->Target != nullptr) {
                QMetaObject::invokeMethod(
                    relay->Target, [report, result] { report(result); }, Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error& error) {
        // No thread to look the host up (out of threads or memory): the failure arrives like
        // any other.
        const int code = error.code().value();
        QMetaObject::invokeMethod(
            this,
            [report, code] {
                report({WinsockNumberFromErrno(code), ErrnoDescription(code), {}});
            },
            Qt::QueuedConnection);
    }
}

} // namespace horlan
