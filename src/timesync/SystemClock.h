#pragma once

#include <QString>
#include <cstdint>

namespace horlan {

// The clock record handed to the operating system: a moment in UTC, whole fields.
// wDayOfWeek and wMilliseconds are left 0 by the program.
struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0; // 1..12
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0; // 1..31
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;

    bool operator==(const SYSTEMTIME&) const = default;
};

// What became of a request to set the clock. `Reason` is the system's own text when it
// refused ("Operation not permitted").
struct ClockResult {
    bool Ok = false;
    QString Reason;
};

// Seam: sets the system clock.
class SystemClock {
public:
    virtual ~SystemClock() = default;

    // Sets the system clock to the UTC moment in `utc`.
    virtual ClockResult SetSystemTime(const SYSTEMTIME& utc) = 0;
};

// The real clock of this machine (clock_settime on CLOCK_REALTIME). Linked only into the
// shipped executable.
class RealSystemClock : public SystemClock {
public:
    ClockResult SetSystemTime(const SYSTEMTIME& utc) override;
};

} // namespace horlan
