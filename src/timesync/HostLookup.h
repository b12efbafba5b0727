#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

namespace horlan {

// One address a host name stands for: the system's socket address, as bytes.
struct HostAddress {
    QByteArray Sockaddr;
    int Family = 0;
};

// What a lookup found: the addresses, or a Windows Sockets error number with the system's
// description.
struct HostLookupResult {
    int Number = 0; // 0: found
    QString Description;
    QList<HostAddress> Addresses;
};

// Looks `host` up for `port`, for a datagram socket when `datagram`, else a stream one. Blocks
// while the system asks the network: for worker threads only.
HostLookupResult LookUpHost(const QString& host, int port, bool datagram);

// Looks host names up on a worker thread (a lookup may wait for the network for seconds) and
// reports on the owner's thread. Only the answer to the latest Start() is reported, and none
// once Abandon() was called or the object is gone.
class HostLookup : public QObject {
    Q_OBJECT

public:
    explicit HostLookup(QObject* parent = nullptr);
    ~HostLookup() override;

    // Looks up `host` for `port`, for a datagram socket when `datagram`, else a stream one.
    void Start(const QString& host, int port, bool datagram);
    void Abandon();

signals:
    void Resolved(const horlan::HostLookupResult& result);

private:
    struct Relay;
    std::shared_ptr<Relay> relay_;
    quint64 generation_ = 0;
};

} // namespace horlan
