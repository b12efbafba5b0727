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
// as a date-time in UTC.
struct TimeReply {
    SYSTEMTIME Record;
    QDateTime Utc;
};

// Decodes a four-byte reply (seconds since 1900-01-01 00:00:00 UTC, most significant byte
// first) and adds `SyncDelay` (half the round trip in seconds, rounded to whole seconds with
// halves to the even neighbour). Throws RuntimeError ErrOverflow when the moment before or
// after the delay lies outside 32-bit seconds around 1990-01-01, and ErrInvalidProcedureCall
// when `reply` is not four bytes long.
TimeReply ComputeTimeReply(const QByteArray& reply, float SyncDelay);

// `utc` as the general date of `locale`: short date, a space, long time; the date alone
// when the time is exactly midnight.
QString GeneralDateText(const QDateTime& utc, const QLocale& locale = QLocale());

// `local` as short date, a space and long time of `locale`.
QString LocalDateTimeText(const QDateTime& local, const QLocale& locale = QLocale());

} // namespace horlan
