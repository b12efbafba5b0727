#pragma once

#include "timesync/NtpPacket.h"
#include "timesync/SystemClock.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

namespace horlan {

// The reply that ended an exchange and what it says.
struct NtpAnswer {
    NtpResult Result;
    // When the reply arrived, on the local clock (t4).
    ClockTime Arrival;
    QByteArray Packet;
};

// One NTPv4 client exchange over UDP (the SNTP client rules): one socket connected to the
// server, a request with a random transmit timestamp, sent again after 1 s and after 2 more
// with a new one each time, until a valid reply comes or the time limit passes. Every
// started exchange ends in exactly one signal, unless abandoned first.
class NtpExchange : public QObject {
    Q_OBJECT

public:
    // What Network Time Security adds to the exchange. `Protect` turns the 48-byte header into
    // the packet to send; `Accept` says whether a reply that echoes our timestamp is genuine.
    // With a guard, a reply that is not genuine or breaks a rule is ignored, and the exchange
    // goes on waiting.
    struct Guard {
        std::function<QByteArray(const QByteArray& header)> Protect;
        std::function<bool(const QByteArray& reply)> Accept;
    };

    explicit NtpExchange(SystemClock& clock, QObject* parent = nullptr);
    ~NtpExchange() override;

    // Starts asking `host` on UDP `port`; `limit` covers the lookup, every try and the wait.
    void Start(const QString& host, int port, std::chrono::milliseconds limit, Guard guard = {});
    void Abandon();

signals:
    void Answered(const horlan::NtpAnswer& answer);
    // The server sent a Kiss-o'-Death with this code (four letters). With a guard, only a
    // genuine one, or "NTSN", which the guard's owner checks itself.
    void KissOfDeath(const QByteArray& code, const QByteArray& packet);
    // A reply broke the protocol's rules (without a guard only).
    void Invalid();
    // The lookup or the socket failed, or the limit passed (10060): a Windows Sockets error
    // number with the system's description.
    void Failed(int number, const QString& description);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace horlan
