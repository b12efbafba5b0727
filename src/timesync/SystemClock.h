#pragma once

#include <QDateTime>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

class QObject;

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

// What became of a request to set the clock.
struct ClockResult {
    bool Ok = false;
    // The system's own text when it refused ("Operation not permitted", a D-Bus error's
    // message).
    QString Reason;
    // The refusal came because the system keeps its clock synchronized itself; the user can
    // turn that off, Horlan never does.
    bool AutomaticSync = false;
};

// A reading of the system's real-time clock: nanoseconds since 1970-01-01 00:00:00 UTC.
using ClockTime = std::chrono::sys_time<std::chrono::nanoseconds>;

// The reading as a date-time in UTC, to the millisecond (rounded down).
QDateTime ToDateTime(ClockTime time);
// The date-time as a reading.
ClockTime ToClockTime(const QDateTime& utc);

// Seam: reads and sets the system clock.
class SystemClock {
public:
    using Done = std::function<void(const ClockResult&)>;

    virtual ~SystemClock() = default;

    // The current moment in UTC.
    virtual ClockTime Now() = 0;

    // Asks the system to move its clock by `change` (positive: forward). `done` receives the
    // outcome exactly once on the calling thread: before this returns, or later from the
    // event loop (a request that asks the user for a password may take minutes). It is
    // never called once `context` has been destroyed.
    virtual void AdjustBy(std::chrono::microseconds change, QObject* context, Done done) = 0;
};

// The record as a moment in UTC.
QDateTime RecordToUtc(const SYSTEMTIME& utc);

// Sets the clock through systemd-timedated on the system bus (found the usual way, so
// DBUS_SYSTEM_BUS_ADDRESS points it elsewhere): SetTime with the change in microseconds,
// relative, so a password prompt that takes a minute does not make it stale, and
// interactive, so polkit may ask the user.
class TimedatedClock : public SystemClock {
public:
    // How long the user has to answer polkit's password prompt.
    static constexpr int AnswerTimeoutMs = 120 * 1000;

    // `now` reads the clock; tests pass one of their own.
    explicit TimedatedClock(std::function<ClockTime()> now = &SystemNow);

    ClockTime Now() override;
    void AdjustBy(std::chrono::microseconds change, QObject* context, Done done) override;

    // The system's real-time clock.
    static ClockTime SystemNow();

private:
    std::function<ClockTime()> now_;
};

// This machine's clock: clock_settime when the process holds CAP_SYS_TIME, else
// systemd-timedated. Linked only into the shipped executable.
class RealSystemClock : public SystemClock {
public:
    ClockTime Now() override;
    void AdjustBy(std::chrono::microseconds change, QObject* context, Done done) override;

private:
    TimedatedClock timedated_;
};

} // namespace horlan
