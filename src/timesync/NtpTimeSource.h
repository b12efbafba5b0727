#pragma once

#include "timesync/NtpExchange.h"
#include "timesync/TimeSource.h"

namespace horlan {

// Plain NTP: one client exchange, checked by the protocol's rules but not authenticated.
class NtpTimeSource : public TimeSource {
    Q_OBJECT

public:
    NtpTimeSource(SystemClock& clock, QObject* parent = nullptr);

    void Start(const ServerEntry& entry) override;
    void Abandon() override;

    // The whole exchange's time limit (15 s); tests shorten it.
    void SetTimeLimit(std::chrono::milliseconds limit) { limit_ = limit; }

private:
    NtpExchange exchange_;
    QString host_;
    std::chrono::milliseconds limit_{15000};
};

// The box for a Kiss-o'-Death: its own for DENY, RSTR and RATE, which refuse this computer;
// an invalid response for any other code.
MsgBoxRequest KissBox(const QString& host, const QByteArray& code);

// The sample an NTP answer gives: θ with ± δ/2, and the server's time at its arrival.
TimeSample NtpSample(const QString& host, const NtpAnswer& answer, bool authenticated);

} // namespace horlan
