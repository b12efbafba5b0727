#include "timesync/SystemClock.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace horlan {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

} // namespace

ClockResult RealSystemClock::SetSystemTime(const SYSTEMTIME& utc) {
    if (utc.wMonth < 1 || utc.wMonth > 12 || utc.wDay < 1 || utc.wDay > 31 || utc.wHour > 23 ||
        utc.wMinute > 59 || utc.wSecond > 59 || utc.wMilliseconds > 999) {
        return {false, QString::fromLocal8Bit(std::strerror(EINVAL))};
    }
    const long long days = DaysFromCivil(utc.wYear, utc.wMonth, utc.wDay);
    timespec ts{};
    ts.tv_sec =
        static_cast<time_t>(days * 86400 + utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond);
    ts.tv_nsec = static_cast<long>(utc.wMilliseconds) * 1000000L;
    if (clock_settime(CLOCK_REALTIME, &ts) != 0) {
        return {false, QString::fromLocal8Bit(std::strerror(errno))};
    }
    return {true, {}};
}

} // namespace horlan
