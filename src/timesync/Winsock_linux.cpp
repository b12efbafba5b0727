#include "timesync/Winsock.h"

#include "timesync/SocketErrors.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horlan {

namespace {

struct Address {
    sockaddr_storage Storage{};
    socklen_t Length = 0;
    int Family = AF_UNSPEC;
};

struct Lookup {
    int Result = 0;
    int Errno = 0;
    std::vector<Address> Addresses;
};

// Runs on a worker thread: a lookup may wait for the network for seconds.
Lookup Resolve(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    errno = 0;
    Lookup lookup;
    lookup.Result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    lookup.Errno = errno;
    for (const addrinfo* entry = list; lookup.Result == 0 && entry != nullptr;
         entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) {
            continue;
        }
        Address address;
        std::memcpy(&address.Storage, entry->ai_addr, entry->ai_addrlen);
        address.Length = entry->ai_addrlen;
        address.Family = entry->ai_family;
        lookup.Addresses.push_back(address);
    }
    if (list != nullptr) {
        freeaddrinfo(list);
    }
    if (lookup.Result == 0 && lookup.Addresses.empty()) {
        lookup.Result = EAI_NODATA;
    }
    return lookup;
}

// Lets a resolver thread post its result to the control, or drop it once the control is gone.
struct Relay {
    std::mutex Mutex;
    Winsock* Target = nullptr;
};

} // namespace

struct Winsock::Private {
    explicit Private(Winsock* owner) : q(owner), relay(std::make_shared<Relay>()) {
        relay->Target = owner;
        connectTimer.setSingleShot(true);
        QObject::connect(&connectTimer, &QTimer::timeout, q, [this] { OnConnectTimeout(); });
        replyTimer.setSingleShot(true);
        QObject::connect(&replyTimer, &QTimer::timeout, q,
                         [this] { Fail(WSAETIMEDOUT, ErrnoDescription(ETIMEDOUT)); });
    }

    Winsock* q;
    std::shared_ptr<Relay> relay;
    quint64 generation = 0;
    int fd = -1;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    QTimer connectTimer;
    QTimer replyTimer;
    std::vector<Address> addresses;
    std::size_t nextAddress = 0;
    int lastErrno = 0;
    QByteArray pending;

    static void Drop(std::unique_ptr<QSocketNotifier>& notifier) {
        if (notifier) {
            notifier->setEnabled(false);
            // Deleted later: this may run inside the notifier's own activation.
            notifier.release()->deleteLater();
        }
    }

    void CloseSocket() {
        connectTimer.stop();
        replyTimer.stop();
        Drop(readNotifier);
        Drop(writeNotifier);
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

    void Abandon() {
        ++generation;
        CloseSocket();
        addresses.clear();
        nextAddress = 0;
        lastErrno = 0;
        pending.clear();
    }

    void Fail(int number, const QString& description) {
        CloseSocket();
        q->state_ = sckError;
        emit q->Error(number, description);
    }

    void OnResolved(quint64 forGeneration, const Lookup& lookup) {
        if (forGeneration != generation) {
            return;
        }
        if (lookup.Result != 0) {
            Fail(WinsockNumberFromLookup(lookup.Result, lookup.Errno),
                 LookupDescription(lookup.Result, lookup.Errno));
            return;
        }
        q->state_ = sckHostResolved;
        addresses = lookup.Addresses;
        nextAddress = 0;
        TryNextAddress();
    }

    // Tries the resolved addresses in order; the error of the last one is reported.
    void TryNextAddress() {
        q->state_ = sckConnecting;
        while (nextAddress < addresses.size()) {
            const Address& address = addresses[nextAddress++];
            const int handle =
                ::socket(address.Family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
            if (handle < 0) {
                lastErrno = errno;
                continue;
            }
            if (::connect(handle, reinterpret_cast<const sockaddr*>(&address.Storage),
                          address.Length) == 0) {
                fd = handle;
                OnConnected();
                return;
            }
            if (errno == EINPROGRESS) {
                fd = handle;
                writeNotifier = std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Write);
                QObject::connect(writeNotifier.get(), &QSocketNotifier::activated, q,
                                 [this] { OnWritable(); });
                connectTimer.start(q->connectTimeout_);
                return;
            }
            lastErrno = errno;
            ::close(handle);
        }
        const int error = lastErrno != 0 ? lastErrno : ECONNREFUSED;
        Fail(WinsockNumberFromErrno(error), ErrnoDescription(error));
    }

    void OnWritable() {
        int error = 0;
        socklen_t length = sizeof(error);
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            error = errno;
        }
        if (error == 0) {
            connectTimer.stop();
            Drop(writeNotifier);
            OnConnected();
            return;
        }
        lastErrno = error;
        CloseSocket();
        TryNextAddress();
    }

    void OnConnectTimeout() {
        lastErrno = ETIMEDOUT;
        CloseSocket();
        TryNextAddress();
    }

    void OnConnected() {
        q->state_ = sckConnected;
        if (q->replyTimeout_.count() > 0) {
            replyTimer.start(q->replyTimeout_);
        }
        readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(readNotifier.get(), &QSocketNotifier::activated, q,
                         [this] { OnReadable(); });
        emit q->Connected();
    }

    // One bounded read per readiness event, so a server that never stops cannot make the
    // control hold more than one chunk.
    void OnReadable() {
        const qsizetype room = ChunkBytes - pending.size();
        if (room <= 0) {
            readNotifier->setEnabled(false);
            return;
        }
        const qsizetype held = pending.size();
        pending.resize(held + room);
        ssize_t count = 0;
        do {
            count = ::read(fd, pending.data() + held, static_cast<std::size_t>(room));
        } while (count < 0 && errno == EINTR);
        const int error = errno;
        pending.resize(held + (count > 0 ? count : 0));
        if (count < 0) {
            if (error != EAGAIN && error != EWOULDBLOCK) {
                Fail(WinsockNumberFromErrno(error), ErrnoDescription(error));
            }
            return;
        }
        if (count == 0) {
            CloseSocket();
            q->state_ = sckClosing;
            emit q->Closed();
            return;
        }
        emit q->DataArrival(pending.size());
    }
};

Winsock::Winsock(QObject* parent) : QObject(parent), d(std::make_unique<Private>(this)) {}

Winsock::~Winsock() {
    {
        std::lock_guard lock(d->relay->Mutex);
        d->relay->Target = nullptr;
    }
    d->Abandon();
}

void Winsock::Connect() {
    d->Abandon();
    state_ = sckResolvingHost;
    try {
        std::thread([relay = d->relay, generation = d->generation, host = remoteHost_.toStdString(),
                     port = remotePort_] {
            const Lookup lookup = Resolve(host, port);
            std::lock_guard lock(relay->Mutex);
            if (relay->Target != nullptr) {
                Winsock* target = relay->Target;
                QMetaObject::invokeMethod(
                    target,
                    [target, generation, lookup] { target->d->OnResolved(generation, lookup); },
                    Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error& error) {
        // No thread to look the host up (out of threads or memory): the failure arrives
        // through the error event, like any other.
        const int code = error.code().value();
        QMetaObject::invokeMethod(
            this,
            [this, generation = d->generation, code] {
                if (generation == d->generation) {
                    d->Fail(WinsockNumberFromErrno(code), ErrnoDescription(code));
                }
            },
            Qt::QueuedConnection);
    }
}

void Winsock::Close() {
    d->Abandon();
    state_ = sckClosed;
}

QByteArray Winsock::GetData() {
    QByteArray data;
    data.swap(d->pending);
    if (d->readNotifier && state_ == sckConnected) {
        d->readNotifier->setEnabled(true);
    }
    return data;
}

} // namespace horlan
