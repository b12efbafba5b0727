#include "timesync/SystemClock.h"

#include <cerrno>
#include <cstdint>
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

ClockResult SetDirectly(std::chrono::microseconds change) {
    // Read and set in one go, so the change is measured from the clock as it is now.
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return {false, QString::fromLocal8Bit(std::strerror(errno)), false};
    }
    const std::int64_t ns = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec +
                            std::int64_t(change.count()) * 1000;
    if (ns < 0) {
        return {false, QString::fromLocal8Bit(std::strerror(EINVAL)), false};
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    if (clock_settime(CLOCK_REALTIME, &ts) != 0) {
        return {false, QString::fromLocal8Bit(std::strerror(errno)), false};
    }
    return {true, {}, false};
}

} // namespace

ClockTime RealSystemClock::Now() {
    return TimedatedClock::SystemNow();
}

void RealSystemClock::AdjustBy(std::chrono::microseconds change, QObject* context, Done done) {
    if (HoldsTimeCapability()) {
        done(SetDirectly(change));
        return;
    }
    timedated_.AdjustBy(change, context, std::move(done));
}


} // namespace horlan
