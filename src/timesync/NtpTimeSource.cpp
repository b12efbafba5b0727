#include "timesync/NtpTimeSource.h"

#include "timesync/SocketErrors.h"
#include "timesync/TimeSyncTexts.h"

namespace horlan {

TimeSample NtpSample(const QString& host, const NtpAnswer& answer, bool authenticated) {
    TimeSample sample;
    sample.Host = host;
    sample.ServerTime = ToDateTime(answer.Arrival + answer.Result.Offset);
    sample.Offset = answer.Result.Offset;
    sample.Uncertainty = answer.Result.Delay / 2;
    sample.Slack = std::chrono::milliseconds(1);
    sample.Authenticated = authenticated;
    return sample;
}

MsgBoxRequest KissBox(const QString& host, const QByteArray& code) {
    if (code == "DENY" || code == "RSTR" || code == "RATE") {
        return KissOfDeathBox(host, code);
    }
    return InvalidResponseBox();
}

NtpTimeSource::NtpTimeSource(SystemClock& clock, QObject* parent)
    : TimeSource(parent), exchange_(clock, this) {
    connect(&exchange_, &NtpExchange::Answered, this,
            [this](const NtpAnswer& answer) { emit Sampled(NtpSample(host_, answer, false)); });
    connect(&exchange_, &NtpExchange::KissOfDeath, this,
            [this](const QByteArray& code) { emit Failed(KissBox(host_, code)); });
    connect(&exchange_, &NtpExchange::Invalid, this, [this] { emit Failed(InvalidResponseBox()); });
    connect(&exchange_, &NtpExchange::Failed, this, [this](int number, const QString& description) {
        emit Failed(SocketErrorBox(number, description));
    });
}

void NtpTimeSource::Start(const ServerEntry& entry) {
    host_ = entry.Host;
    exchange_.Start(entry.Host, entry.Port, limit_);
}

void NtpTimeSource::Abandon() {
    exchange_.Abandon();
}

} // namespace horlan
