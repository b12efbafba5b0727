#include "timesync/NtpPacket.h"

#include <QtEndian>

namespace horlan {

namespace {

// Seconds from 1900-01-01 to 1970-01-01.
constexpr qint64 UnixEpochInNtp = 2208988800;
// Root delay and dispersion are 16.16 fixed point: 16 s and more are refused.
constexpr quint32 RootLimit = 16u << 16;

quint32 Read32(QByteArrayView packet, qsizetype at) {
    return qFromBigEndian<quint32>(packet.data() + at);
}

quint64 Read64(QByteArrayView packet, qsizetype at) {
    return qFromBigEndian<quint64>(packet.data() + at);
}

} // namespace

QByteArray NtpRequest(quint64 transmit) {
    QByteArray packet(NtpHeaderBytes, '\0');
    packet[0] = char((0 << 6) | (4 << 3) | 3);
    qToBigEndian(transmit, packet.data() + 40);
    return packet;
}

NtpReply CheckNtpReply(QByteArrayView packet, quint64 origin) {
    NtpReply reply;
    if (packet.size() < NtpHeaderBytes) {
        return reply;
    }
    const auto first = static_cast<unsigned char>(packet[0]);
    reply.Leap = first >> 6;
    reply.Version = (first >> 3) & 7;
    reply.Mode = first & 7;
    reply.Stratum = static_cast<unsigned char>(packet[1]);
    reply.Origin = Read64(packet, 24);
    reply.Receive = Read64(packet, 32);
    reply.Transmit = Read64(packet, 40);
    if (reply.Origin != origin) {
        reply.Kind = NtpReply::Verdict::NotOurs;
        return reply;
    }
    if (reply.Mode != 4 || reply.Version < 1 || reply.Version > 4) {
        return reply;
    }
    if (reply.Stratum == 0) {
        reply.KissCode = packet.sliced(12, 4).toByteArray();
        reply.Kind = NtpReply::Verdict::KissOfDeath;
        return reply;
    }
    if (reply.Stratum > 15 || reply.Leap == 3 || reply.Transmit == 0 ||
        Read32(packet, 4) >= RootLimit || Read32(packet, 8) >= RootLimit) {
        return reply;
    }
    reply.Kind = NtpReply::Verdict::Valid;
    return reply;
}

ClockTime NtpToClockTime(quint64 timestamp, ClockTime pivot) {
    using namespace std::chrono;
    const qint64 pivotSeconds = floor<seconds>(pivot).time_since_epoch().count() + UnixEpochInNtp;
    const auto low = static_cast<quint32>(timestamp >> 32);
    // The difference from the pivot's low 32 bits, read as signed, picks the nearest era.
    const auto step = static_cast<qint32>(low - static_cast<quint32>(pivotSeconds));
    const qint64 ntpSeconds = pivotSeconds + step;
    const quint64 fraction = timestamp & 0xFFFFFFFFu;
    const auto nanos = static_cast<qint64>((fraction * 1000000000u) >> 32);
    return ClockTime(seconds(ntpSeconds - UnixEpochInNtp) + nanoseconds(nanos));
}

std::optional<NtpResult> ComputeNtpResult(ClockTime t1, ClockTime t2, ClockTime t3, ClockTime t4) {
    const auto delay = (t4 - t1) - (t3 - t2);
    if (delay.count() < 0) {
        return std::nullopt;
    }
    return NtpResult{((t2 - t1) + (t3 - t4)) / 2, delay};
}

} // namespace horlan
