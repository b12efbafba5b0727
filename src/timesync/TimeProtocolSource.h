#pragma once

#include "timesync/ReplyBuffer.h"
#include "timesync/TimeSource.h"
#include "timesync/Winsock.h"

#include <QElapsedTimer>

namespace horlan {

// The Time Protocol (RFC 868) over TCP: the server sends four bytes, its time in whole
// seconds, and closes the connection. Its socket control is `Winsock1`.
class TimeProtocolSource : public TimeSource {
    Q_OBJECT

public:
    TimeProtocolSource(SystemClock& clock, QObject* parent = nullptr);

    void Start(const ServerEntry& entry) override;
    void Abandon() override;

private:
    void Winsock1_Connect();
    void Winsock1_DataArrival(qint64 bytesTotal);
    void Winsock1_Close();
    void Winsock1_Error(int number, const QString& description);
    void DecodeTimeReply(const horlan::ReplyBuffer& reply);

    SystemClock& clock_;
    Winsock Winsock1;
    horlan::ReplyBuffer ReplyBuffer;
    QElapsedTimer connectMoment_;
    // Half the round trip of the exchange, in seconds.
    float SyncDelay = 0.0f;
};

} // namespace horlan
