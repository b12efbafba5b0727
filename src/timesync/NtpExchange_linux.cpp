#include "timesync/NtpExchange.h"

#include "timesync/HostLookup.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horlan {

namespace {

using namespace std::chrono;

// The pauses before the second and the third request.
constexpr milliseconds FirstRetry{1000};
constexpr milliseconds SecondRetry{2000};
// Datagrams read per readiness event; more wait for the next one.
constexpr int ReadsPerEvent = 16;
// Large enough for any NTS reply with its cookies.
constexpr std::size_t DatagramBytes = 4096;

ClockTime RealTimeNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return ClockTime(seconds(now.tv_sec) + nanoseconds(now.tv_nsec));
}

} // namespace

struct NtpExchange::Private {
    struct Sent {
        quint64 Transmit;
        ClockTime Departure;
    };

    Private(NtpExchange* owner, SystemClock& localClock) : q(owner), clock(localClock) {
        QObject::connect(&lookup, &HostLookup::Resolved, q,
                         [this](const HostLookupResult& result) { OnResolved(result); });
        limitTimer.setSingleShot(true);
        QObject::connect(&limitTimer, &QTimer::timeout, q,
                         [this] { Fail(WSAETIMEDOUT, ErrnoDescription(ETIMEDOUT)); });
        retryTimer.setSingleShot(true);
        QObject::connect(&retryTimer, &QTimer::timeout, q, [this] { Send(); });
    }

    NtpExchange* q;
    SystemClock& clock;
    HostLookup lookup;
    QTimer limitTimer;
    QTimer retryTimer;
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    Guard guard;
    std::vector<Sent> sent;

    void CloseSocket() {
        retryTimer.stop();
        if (notifier) {
            notifier->setEnabled(false);
            // Deleted later: this may run inside the notifier's own activation.
            notifier.release()->deleteLater();
        }
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        sent.clear();
    }

    void Abandon() {
        lookup.Abandon();
        limitTimer.stop();
        CloseSocket();
    }

    void Fail(int number, const QString& description) {
        Abandon();
        emit q->Failed(number, description);
    }

    void OnResolved(const HostLookupResult& result) {
        if (result.Number != 0) {
            Fail(result.Number, result.Description);
            return;
        }
        int error = ECONNREFUSED;
        for (const HostAddress& address : result.Addresses) {
            const int handle =
                ::socket(address.Family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
            if (handle < 0) {
                error = errno;
                continue;
            }
            if (::connect(handle, reinterpret_cast<const sockaddr*>(address.Sockaddr.constData()),
                          static_cast<socklen_t>(address.Sockaddr.size())) != 0) {
                error = errno;
                ::close(handle);
                continue;
            }
            // The kernel's moment of arrival is closer to the truth than ours when the event
            // loop was busy.
            const int on = 1;
            ::setsockopt(handle, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
            fd = handle;
            notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            QObject::connect(notifier.get(), &QSocketNotifier::activated, q,
                             [this] { OnReadable(); });
            Send();
            return;
        }
        Fail(WinsockNumberFromErrno(error), ErrnoDescription(error));
    }

    void Send() {
        const quint64 transmit = QRandomGenerator::system()->generate64();
        const QByteArray header = NtpRequest(transmit);
        const QByteArray packet = guard.Protect ? guard.Protect(header) : header;
        const ClockTime departure = clock.Now();
        if (::send(fd, packet.constData(), static_cast<std::size_t>(packet.size()), 0) < 0) {
            const int error = errno;
            Fail(WinsockNumberFromErrno(error), ErrnoDescription(error));
            return;
        }
        sent.push_back({transmit, departure});
        if (sent.size() < 3) {
            retryTimer.start(sent.size() == 1 ? FirstRetry : SecondRetry);
        }
    }

    // The moment a datagram arrived on the local clock: the clock's reading now, less the
    // time the datagram waited since the kernel stamped it.
    ClockTime ArrivalOf(msghdr& message) {
        const ClockTime now = clock.Now();
        const ClockTime real = RealTimeNow();
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr;
             c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp{};
                std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                const auto waited = real - ClockTime(seconds(stamp.tv_sec) + nanoseconds(stamp.tv_nsec));
                return waited.count() > 0 ? now - waited : now;
            }
        }
        return now;
    }

    void OnReadable() {
        for (int read = 0; read < ReadsPerEvent && fd >= 0; ++read) {
            QByteArray packet(DatagramBytes, '\0');
            iovec part{packet.data(), DatagramBytes};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec)) * 2];
            msghdr message{};
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t count = ::recvmsg(fd, &message, 0);
            if (count < 0) {
                const int error = errno;
                if (error == EINTR) {
                    continue;
                }
                if (error != EAGAIN && error != EWOULDBLOCK) {
                    Fail(WinsockNumberFromErrno(error), ErrnoDescription(error));
                }
                return;
            }
            if ((message.msg_flags & MSG_TRUNC) != 0) {
                continue;
            }
            packet.truncate(count);
            Receive(packet, ArrivalOf(message));
        }
    }

    void Receive(const QByteArray& packet, ClockTime arrival) {
        const bool guarded = bool(guard.Accept);
        for (const Sent& request : sent) {
            const NtpReply reply = CheckNtpReply(packet, request.Transmit);
            if (reply.Kind == NtpReply::Verdict::NotOurs) {
                continue;
            }
            // With a guard, only a genuine kiss counts, or the one that says the server lost the
            // keys (its sender can prove nothing else).
            if (reply.Kind == NtpReply::Verdict::KissOfDeath &&
                (!guarded || reply.KissCode == "NTSN" || guard.Accept(packet))) {
                Abandon();
                emit q->KissOfDeath(reply.KissCode, packet);
                return;
            }
            if (guarded && (reply.Kind != NtpReply::Verdict::Valid || !guard.Accept(packet))) {
                return;
            }
            const ClockTime pivot = ToClockTime(BuildDay());
            const auto result =
                reply.Kind == NtpReply::Verdict::Valid
                    ? ComputeNtpResult(request.Departure, NtpToClockTime(reply.Receive, pivot),
                                       NtpToClockTime(reply.Transmit, pivot), arrival)
                    : std::nullopt;
            if (!result) {
                if (!guarded) {
                    Abandon();
                    emit q->Invalid();
                }
                return;
            }
            Abandon();
            emit q->Answered({*result, arrival, packet});
            return;
        }
        // A reply that matches no request of ours: someone guessing, or an old answer.
    }
};

NtpExchange::NtpExchange(SystemClock& clock, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(this, clock)) {}

NtpExchange::~NtpExchange() {
    d->Abandon();
}

void NtpExchange::Start(const QString& host, int port, std::chrono::milliseconds limit,
                        Guard guard) {
    d->Abandon();
    d->guard = std::move(guard);
    d->limitTimer.start(limit);
    d->lookup.Start(host, port, true);
}

void NtpExchange::Abandon() {
    d->Abandon();
}

} // namespace horlan
