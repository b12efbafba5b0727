#include "Require.h"
#include "timesync/NtpPacket.h"

#include <QtEndian>

using namespace horlan;

// An NTP reply as it comes off the network, checked against the origin it carries itself and
// against another: a reply passes only with its rules kept, and its timestamps always land
// within 68 years of the pivot.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray packet = Bytes(data, size);
    const quint64 carried = size >= 32 ? qFromBigEndian<quint64>(data + 24) : 0;
    for (const quint64 origin : {carried, carried + 1}) {
        const NtpReply reply = CheckNtpReply(packet, origin);
        if (reply.Kind == NtpReply::Verdict::Invalid || reply.Kind == NtpReply::Verdict::NotOurs) {
            continue;
        }
        Require(size >= 48 && reply.Origin == origin && reply.Mode == 4 && reply.Version >= 1 &&
                reply.Version <= 4);
        if (reply.Kind == NtpReply::Verdict::KissOfDeath) {
            Require(reply.Stratum == 0 && reply.KissCode.size() == 4);
            continue;
        }
        Require(reply.Stratum >= 1 && reply.Stratum <= 15 && reply.Leap != 3 &&
                reply.Transmit != 0 && (data[4] & 0xF0) == 0 && (data[8] & 0xF0) == 0);
        using namespace std::chrono;
        const ClockTime pivot = ClockTime(seconds(1798761600)); // 2027-01-01
        const ClockTime t2 = NtpToClockTime(reply.Receive, pivot);
        const ClockTime t3 = NtpToClockTime(reply.Transmit, pivot);
        Require(abs(t3 - pivot) <= seconds(qint64(1) << 31));
        const auto result = ComputeNtpResult(pivot, t2, t3, pivot + milliseconds(5));
        Require(!result || result->Delay >= nanoseconds(0));
    }
    return 0;
}
