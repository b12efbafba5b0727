#include "timesync/NtsTimeSource.h"

#include "timesync/NtpTimeSource.h"
#include "timesync/NtsPacket.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeSyncTexts.h"

#include <algorithm>
#include <cerrno>

namespace horlan {

NtsTimeSource::NtsTimeSource(SystemClock& clock, QObject* parent)
    : TimeSource(parent), keyExchange_(this), exchange_(clock, this) {
    connect(&keyExchange_, &NtsKeClient::Established, this,
            &NtsTimeSource::KeyExchange_Established);
    connect(&keyExchange_, &NtsKeClient::Failed, this, &NtsTimeSource::KeyExchange_Failed);
    connect(&exchange_, &NtpExchange::Answered, this,
            [this](const NtpAnswer& answer) { emit Sampled(NtpSample(host_, answer, true)); });
    connect(&exchange_, &NtpExchange::KissOfDeath, this, &NtsTimeSource::Exchange_KissOfDeath);
    connect(&exchange_, &NtpExchange::Failed, this, &NtsTimeSource::Exchange_Failed);
    keyLimit_.setSingleShot(true);
    connect(&keyLimit_, &QTimer::timeout, this, [this] {
        Abandon();
        emit Failed(SocketErrorBox(WSAETIMEDOUT, ErrnoDescription(ETIMEDOUT)));
    });
}

std::chrono::milliseconds NtsTimeSource::TimeLeft() const {
    const auto left = limit_ - std::chrono::milliseconds(started_.elapsed());
    return std::max(left, std::chrono::milliseconds(1));
}

void NtsTimeSource::Start(const ServerEntry& entry) {
    Abandon();
    host_ = entry.Host;
    port_ = entry.Port;
    renewed_ = false;
    started_.start();
    StartKeyExchange();
}

void NtsTimeSource::StartKeyExchange() {
    keyLimit_.start(TimeLeft());
    keyExchange_.SetStepTimeout(TimeLeft());
    keyExchange_.Start(host_, static_cast<quint16>(port_));
}

void NtsTimeSource::Abandon() {
    keyLimit_.stop();
    keyExchange_.Abandon();
    exchange_.Abandon();
    keys_ = {};
    uniqueIds_.clear();
}

void NtsTimeSource::KeyExchange_Established(const NtsKeys& keys) {
    keyLimit_.stop();
    keys_ = keys;
    uniqueIds_.clear();
    NtpExchange::Guard guard;
    // Each request carries an identifier and a cookie of its own, so that no two can be
    // linked, and a reply proves which request it answers.
    guard.Protect = [this](const QByteArray& header) {
        const QByteArray cookie =
            keys_.Cookies.size() > 1 ? keys_.Cookies.takeFirst() : keys_.Cookies.value(0);
        uniqueIds_ << NtsRandomBytes(NtsUniqueIdBytes);
        return NtsRequest(header, uniqueIds_.back(), cookie, keys_.C2S);
    };
    guard.Accept = [this](const QByteArray& reply) {
        return std::any_of(uniqueIds_.cbegin(), uniqueIds_.cend(), [&](const QByteArray& id) {
            return CheckNtsReply(reply, id, keys_.S2C).Authentic;
        });
    };
    exchange_.Start(keys.NtpServer, keys.NtpPort, TimeLeft(), guard);
}

void NtsTimeSource::KeyExchange_Failed(const NtsKeFailure& failure) {
    Abandon();
    switch (failure.What) {
    case NtsKeFailure::Kind::Socket:
        emit Failed(SocketErrorBox(failure.Number, failure.Description));
        return;
    case NtsKeFailure::Kind::Certificate:
        emit Failed(NtsCertificateBox(host_, failure.Description));
        return;
    case NtsKeFailure::Kind::NoNts:
        emit Failed(NtsNotOfferedBox(host_));
        return;
    case NtsKeFailure::Kind::ServerError:
    case NtsKeFailure::Kind::ServerWarning:
        emit Failed(NtsServerErrorBox(host_, failure.Number));
        return;
    case NtsKeFailure::Kind::BadReply:
        break;
    }
    emit Failed(InvalidResponseBox());
}

void NtsTimeSource::Exchange_KissOfDeath(const QByteArray& code, const QByteArray& packet) {
    // The server no longer knows the keys of our cookie: one more key establishment, within
    // the same limit, if the kiss answers our own request.
    if (code == "NTSN") {
        const bool ours =
            std::any_of(uniqueIds_.cbegin(), uniqueIds_.cend(), [&](const QByteArray& id) {
                return CheckNtsReply(packet, id, keys_.S2C).UniqueIdMatches;
            });
        if (!renewed_ && ours) {
            renewed_ = true;
            StartKeyExchange();
            return;
        }
        emit Failed(NoAuthenticatedTimeBox(host_));
        return;
    }
    emit Failed(KissBox(host_, code));
}

void NtsTimeSource::Exchange_Failed(int number, const QString& description) {
    emit Failed(number == WSAETIMEDOUT ? NoAuthenticatedTimeBox(host_)
                                       : SocketErrorBox(number, description));
}

} // namespace horlan
