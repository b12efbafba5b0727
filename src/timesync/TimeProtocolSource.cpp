#include "timesync/TimeProtocolSource.h"

#include "runtime/RuntimeError.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

namespace horlan {

namespace {

// A server that has not closed the connection by then is not going to answer.
constexpr std::chrono::seconds ReplyTimeLimit{15};

} // namespace

TimeProtocolSource::TimeProtocolSource(SystemClock& clock, QObject* parent)
    : TimeSource(parent), clock_(clock), Winsock1(this) {
    Winsock1.setObjectName(QStringLiteral("Winsock1"));
    Winsock1.SetReplyTimeout(ReplyTimeLimit);
    connect(&Winsock1, &Winsock::Connected, this, &TimeProtocolSource::Winsock1_Connect);
    connect(&Winsock1, &Winsock::DataArrival, this, &TimeProtocolSource::Winsock1_DataArrival);
    connect(&Winsock1, &Winsock::Closed, this, &TimeProtocolSource::Winsock1_Close);
    connect(&Winsock1, &Winsock::Error, this, &TimeProtocolSource::Winsock1_Error);
}

void TimeProtocolSource::Start(const ServerEntry& entry) {
    Winsock1.Close();
    ReplyBuffer.Clear();
    connectMoment_.invalidate();
    Winsock1.SetRemoteHost(entry.Host);
    Winsock1.SetRemotePort(entry.Port);
    Winsock1.Connect();
}

void TimeProtocolSource::Abandon() {
    Winsock1.Close();
    ReplyBuffer.Clear();
}

void TimeProtocolSource::Winsock1_Connect() {
    connectMoment_.start();
}

void TimeProtocolSource::Winsock1_DataArrival(qint64 /*bytesTotal*/) {
    ReplyBuffer.Append(Winsock1.GetData());
}

void TimeProtocolSource::Winsock1_Close() {
    // One call: the connection is gone, and nothing else runs in between.
    Winsock1.Close();
    SyncDelay =
        static_cast<float>(connectMoment_.isValid() ? connectMoment_.nsecsElapsed() / 1e9 : 0.0) /
        2.0f;
    DecodeTimeReply(ReplyBuffer);
}

void TimeProtocolSource::Winsock1_Error(int number, const QString& description) {
    emit Failed(SocketErrorBox(number, description));
}

void TimeProtocolSource::DecodeTimeReply(const horlan::ReplyBuffer& reply) {
    const ClockTime now = clock_.Now();
    if (reply.Length() != 4) {
        emit Failed(InvalidResponseBox());
        return;
    }
    TimeReply time;
    try {
        time = ComputeTimeReply(reply.Bytes(), SyncDelay);
    } catch (const RuntimeError&) {
        emit Failed(InvalidResponseBox());
        return;
    }
    // The reply names the second in which the server sent it: the estimate is the middle of
    // that second, so ± half a second and half the round trip.
    TimeSample sample;
    sample.Host = Winsock1.RemoteHost();
    sample.ServerTime = time.Utc;
    sample.Offset = time.Estimate - now;
    sample.Uncertainty = time.Estimate - ToClockTime(time.Server);
    emit Sampled(sample);
}

} // namespace horlan
