#include "timesync/SystemClock.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace horlan {

namespace {

// Whether this process may set the clock itself: CAP_SYS_TIME in its effective set.
bool HoldsTimeCapability() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    return (data[CAP_TO_INDEX(CAP_SYS_TIME)].effective & CAP_TO_MASK(CAP_SYS_TIME)) != 0;
}

ClockResult SetDirectly(const SYSTEMTIME& utc) {
    const QDateTime moment = RecordToUtc(utc);
    if (!moment.isValid()) {
        return {false, QString::fromLocal8Bit(std::strerror(EINVAL)), false};
    }
    const qint64 ms = moment.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    if (clock_settime(CLOCK_REALTIME, &ts) != 0) {
        return {false, QString::fromLocal8Bit(std::strerror(errno)), false};
    }
    return {true, {}, false};
}

} // namespace

QDateTime RealSystemClock::Now() {
    return QDateTime::currentDateTimeUtc();
}

void RealSystemClock::SetSystemTime(const SYSTEMTIME& utc, QObject* context, Done done) {
    if (HoldsTimeCapability()) {
        done(SetDirectly(utc));
        return;
    }
    timedated_.SetSystemTime(utc, context, std::move(done));
}

} // namespace horlan
