#include "timesync/TimeReply.h"

#include "runtime/RuntimeError.h"

#include <cmath>
#include <limits>

namespace horlan {

namespace {

// Seconds from 1900-01-01 to 1990-01-01, the base the reply is counted from.
constexpr double SecondsTo1990 = 2840140800.0;

qint32 ToLong(double value) {
    if (!(value >= std::numeric_limits<qint32>::min() &&
          value <= std::numeric_limits<qint32>::max())) {
        Raise(ErrOverflow);
    }
    return static_cast<qint32>(value);
}

// Whole seconds, halves to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2). Done by hand
// so that it does not depend on the floating-point rounding mode.
qint32 RoundHalfEven(float seconds) {
    const double value = seconds;
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction < 0.5) {
        return ToLong(down);
    }
    if (fraction > 0.5 || std::fmod(down, 2.0) != 0.0) {
        return ToLong(down + 1.0);
    }
    return ToLong(down);
}

// The long time format without a time-zone field: the zone of a clock reading is not part
// of the time of day the label shows.
QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && c == QLatin1Char('t')) {
            continue;
        }
        result.append(c);
    }
    return result.trimmed();
}

QString TimeText(const QTime& time, const QLocale& locale) {
    return locale.toString(time, LongTimeFormat(locale));
}

} // namespace

TimeReply ComputeTimeReply(const QByteArray& reply, float SyncDelay) {
    if (reply.size() != 4) {
        Raise(ErrInvalidProcedureCall);
    }
    double T = 0;
    for (const char byte : reply) {
        T = T * 256.0 + static_cast<unsigned char>(byte);
    }
    const qint32 S = ToLong(T - SecondsTo1990);
    const qint32 D = RoundHalfEven(SyncDelay);
    qint32 N = 0;
    if (__builtin_add_overflow(D, S, &N)) {
        Raise(ErrOverflow);
    }
    const QDateTime base(QDate(1990, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime U = base.addSecs(N);

    TimeReply result;
    const QDate date = U.date();
    const QTime time = U.time();
    result.Record.wYear = static_cast<std::uint16_t>(date.year());
    result.Record.wMonth = static_cast<std::uint16_t>(date.month());
    result.Record.wDay = static_cast<std::uint16_t>(date.day());
    result.Record.wHour = static_cast<std::uint16_t>(time.hour());
    result.Record.wMinute = static_cast<std::uint16_t>(time.minute());
    result.Record.wSecond = static_cast<std::uint16_t>(time.second());
    result.Utc = U;
    return result;
}

QString GeneralDateText(const QDateTime& utc, const QLocale& locale) {
    const QString date = locale.toString(utc.date(), QLocale::ShortFormat);
    if (utc.time() == QTime(0, 0)) {
        return date;
    }
    return date + QLatin1Char(' ') + TimeText(utc.time(), locale);
}

QString LocalDateTimeText(const QDateTime& local, const QLocale& locale) {
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           TimeText(local.time(), locale);
}

} // namespace horlan
