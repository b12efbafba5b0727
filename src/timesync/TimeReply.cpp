#include "timesync/TimeReply.h"

#include "runtime/RuntimeError.h"

#include <cmath>
#include <limits>

namespace horlan {

namespace {

// Where the count of the second era starts: 2^32 s after 1900-01-01.
constexpr qint64 EraSeconds = qint64(1) << 32;

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
    for (const QChar letter : format) {
        if (letter == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && letter == QLatin1Char('t')) {
            continue;
        }
        result.append(letter);
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
    qint64 count = 0;
    for (const char byte : reply) {
        count = count * 256 + static_cast<unsigned char>(byte);
    }
    if (count < EraSeconds / 2) {
        count += EraSeconds;
    }
    const qint32 delay = RoundHalfEven(SyncDelay);
    const QDateTime server = QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC).addSecs(count);
    const QDateTime moment = server.addSecs(delay);

    TimeReply result;
    const QDate date = moment.date();
    const QTime time = moment.time();
    result.Record.wYear = static_cast<std::uint16_t>(date.year());
    result.Record.wMonth = static_cast<std::uint16_t>(date.month());
    result.Record.wDay = static_cast<std::uint16_t>(date.day());
    result.Record.wHour = static_cast<std::uint16_t>(time.hour());
    result.Record.wMinute = static_cast<std::uint16_t>(time.minute());
    result.Record.wSecond = static_cast<std::uint16_t>(time.second());
    result.Utc = moment;
    result.Server = server;
    result.Estimate = ToClockTime(server) + std::chrono::milliseconds(500) +
                      std::chrono::milliseconds(std::llround(double(SyncDelay) * 1000.0));
    return result;
}

QDateTime BuildDay() {
    return QDateTime(QDate::fromString(QStringLiteral(HORLAN_BUILD_DAY), Qt::ISODate), QTime(0, 0),
                     Qt::UTC);
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
