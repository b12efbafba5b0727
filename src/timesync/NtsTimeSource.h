#pragma once

#include "timesync/NtpExchange.h"
#include "timesync/NtsKeClient.h"
#include "timesync/TimeSource.h"

#include <QElapsedTimer>
#include <QTimer>

namespace horlan {

// Network Time Security: a key establishment over TLS, then an NTP exchange whose replies
// count only when they prove they come from the server that holds the keys. Every
// Synchronize starts with a fresh key establishment; keys and cookies live only in memory,
// for one exchange.
class NtsTimeSource : public TimeSource {
    Q_OBJECT

public:
    NtsTimeSource(SystemClock& clock, QObject* parent = nullptr);

    void Start(const ServerEntry& entry) override;
    void Abandon() override;

    // The time limit of the whole exchange, key establishment and NTP together (15 s).
    void SetTimeLimit(std::chrono::milliseconds limit) { limit_ = limit; }

private:
    void StartKeyExchange();
    void KeyExchange_Established(const NtsKeys& keys);
    void KeyExchange_Failed(const NtsKeFailure& failure);
    void Exchange_KissOfDeath(const QByteArray& code, const QByteArray& packet);
    void Exchange_Failed(int number, const QString& description);
    std::chrono::milliseconds TimeLeft() const;

    NtsKeClient keyExchange_;
    NtpExchange exchange_;
    QString host_;
    int port_ = 0;
    NtsKeys keys_;
    // The unique identifiers of this exchange's requests, one for each.
    QList<QByteArray> uniqueIds_;
    // The server lost its keys once (NTSN): a second key establishment is under way.
    bool renewed_ = false;
    QElapsedTimer started_;
    // Runs while a key establishment does; the NTP exchange keeps the rest of the limit itself.
    QTimer keyLimit_;
    std::chrono::milliseconds limit_{15000};
};

} // namespace horlan
