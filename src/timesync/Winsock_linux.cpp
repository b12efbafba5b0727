#include "timesync/Winsock.h"

#include "timesync/SocketErrors.h"

#include "timesync/HostLookup.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horlan {

struct Winsock::Private {
    explicit Private(Winsock* owner) : q(owner) {
        QObject::connect(&lookup, &HostLookup::Resolved, q,
                         [this](const HostLookupResult& result) { OnResolved(result); });
        connectTimer.setSingleShot(true);
        QObject::connect(&connectTimer, &QTimer::timeout, q, [this] { OnConnectTimeout(); });
        replyTimer.setSingleShot(true);
        QObject::connect(&replyTimer, &QTimer::timeout, q,
                         [this] { Fail(WSAETIMEDOUT, ErrnoDescription(ETIMEDOUT)); });
    }

    Winsock* q;
    HostLookup lookup;
    int fd = -1;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    QTimer connectTimer;
    QTimer replyTimer;
    QList<HostAddress> addresses;
    qsizetype nextAddress = 0;
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
        lookup.Abandon();
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

    void OnResolved(const HostLookupResult& result) {
        if (result.Number != 0) {
            Fail(result.Number, result.Description);
            return;
        }
        q->state_ = sckHostResolved;
        addresses = result.Addresses;
        nextAddress = 0;
        TryNextAddress();
    }

    // Tries the resolved addresses in order; the error of the last one is reported.
    void TryNextAddress() {
        q->state_ = sckConnecting;
        while (nextAddress < addresses.size()) {
            const HostAddress& address = addresses[nextAddress++];
            const int handle =
                ::socket(address.Family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
            if (handle < 0) {
                lastErrno = errno;
                continue;
            }
            if (::connect(handle, reinterpret_cast<const sockaddr*>(address.Sockaddr.constData()),
                          static_cast<socklen_t>(address.Sockaddr.size())) == 0) {
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
    d->Abandon();
}

void Winsock::Connect() {
    d->Abandon();
    state_ = sckResolvingHost;
    d->lookup.Start(remoteHost_, remotePort_, false);
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
