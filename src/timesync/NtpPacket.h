#pragma once

#include "timesync/SystemClock.h"

#include <QByteArray>
#include <QByteArrayView>
#include <chrono>
#include <optional>

namespace horlan {

// The fixed part of an NTPv4 packet, in bytes.
inline constexpr qsizetype NtpHeaderBytes = 48;

// A client-mode request (leap 0, version 4, mode 3), zero but for its transmit timestamp.
// The timestamp is a random number the reply must echo: it does not reveal the local clock.
QByteArray NtpRequest(quint64 transmit);

// What the fields of a reply say, and whether it may be used.
struct NtpReply {
    enum class Verdict {
        Valid,
        NotOurs,     // its origin is not our transmit timestamp: ignore it, keep waiting
        Invalid,     // it breaks the protocol's rules
        KissOfDeath, // stratum 0: the server refuses, `KissCode` says why
    };
    Verdict Kind = Verdict::Invalid;
    int Leap = 0;
    int Version = 0;
    int Mode = 0;
    int Stratum = 0;
    quint64 Origin = 0;
    quint64 Receive = 0;
    quint64 Transmit = 0;
    // Four ASCII letters from the reference identifier when Kind is KissOfDeath.
    QByteArray KissCode;
};

// Reads and checks a reply to the request whose transmit timestamp was `origin`. A reply is
// valid when it has at least 48 bytes, mode 4, version 1 to 4, our origin, stratum 1 to 15,
// a leap indicator other than 3 (unsynchronized), a non-zero transmit timestamp, and root
// delay and root dispersion each under 16 s.
NtpReply CheckNtpReply(QByteArrayView packet, quint64 origin);

// An NTP timestamp (seconds since 1900 in the high 32 bits, a binary fraction in the low)
// as a clock reading. The 32-bit seconds repeat every 136 years: the era chosen is the one
// that puts the moment within 68 years of `pivot`.
ClockTime NtpToClockTime(quint64 timestamp, ClockTime pivot);

// The two results of one exchange: the local clock's offset θ from the server (positive when
// the clock is behind) and the round-trip delay δ, from the request's departure `t1`, its
// arrival at the server `t2`, the reply's departure `t3` and its arrival here `t4`. Nothing
// when δ comes out negative, which no real exchange can give.
struct NtpResult {
    std::chrono::nanoseconds Offset;
    std::chrono::nanoseconds Delay;
};
std::optional<NtpResult> ComputeNtpResult(ClockTime t1, ClockTime t2, ClockTime t3, ClockTime t4);

} // namespace horlan
