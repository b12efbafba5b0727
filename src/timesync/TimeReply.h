#pragma once

#include "timesync/SystemClock.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace horlan {

// The TCP port of the Time Protocol.
inline constexpr int TimePort = 37;

// A time server's reply turned into the moment to set: the clock record and the same moment
// as a date-time in UTC, and the server's second as it sent it.
struct TimeReply {
    SYSTEMTIME Record;
    QDateTime Utc;
    QDateTime Server;
    // The best estimate of the server's time when its reply arrived: the reply names the
    // second in which the server sent it, so the middle of that second plus half the round
    // trip, to the millisecond. It is right to within ± (0.5 s + half the round trip).
    ClockTime Estimate;
};

// Decodes a four-byte reply (seconds since 1900-01-01 00:00:00 UTC, most significant byte
// first) and adds `SyncDelay` (half the round trip in seconds, rounded to whole seconds with
// halves to the even neighbour). The 32-bit count wraps on 2036-02-07 06:28:16 UTC: a count
// below 2^31 (before 1968 in the first era) belongs to the next era. Throws RuntimeError
// ErrInvalidProcedureCall when `reply` is not four bytes long, and ErrOverflow when
// `SyncDelay` is not a number of seconds that fits 32 bits.
TimeReply ComputeTimeReply(const QByteArray& reply, float SyncDelay);

// The start (UTC) of the day this build was made: no right reply lies before it.
QDateTime BuildDay();

// `utc` as the general date of `locale`: short date, a space, long time; the date alone
// when the time is exactly midnight.
QString GeneralDateText(const QDateTime& utc, const QLocale& locale = QLocale());

// `local` as short date, a space and long time of `locale`.
QString LocalDateTimeText(const QDateTime& local, const QLocale& locale = QLocale());

} // namespace horlan
