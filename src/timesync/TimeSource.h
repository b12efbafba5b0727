#pragma once

#include "runtime/MsgBox.h"
#include "timesync/ServerEntry.h"
#include "timesync/SystemClock.h"

#include <QDateTime>
#include <QObject>
#include <chrono>

namespace horlan {

// What one exchange with a time server proved about the local clock.
struct TimeSample {
    // The server as the user named it.
    QString Host;
    // The server's time when the exchange ended, for the UTC label.
    QDateTime ServerTime;
    // How far the local clock lags the server (θ): positive when it is behind.
    std::chrono::nanoseconds Offset{};
    // The exchange cannot tell the server's time more closely than ± this.
    std::chrono::nanoseconds Uncertainty{};
    // Added to the uncertainty before a clock counts as wrong: the resolution of the
    // exchange's own timing (1 ms for NTP; none for the Time Protocol, whose window is exact).
    std::chrono::nanoseconds Slack{};
    // The answer came over a channel that proved the server's identity (NTS).
    bool Authenticated = false;
};

// A way to ask a time server, one exchange at a time. Every exchange that is started ends in
// exactly one signal, Sampled or Failed, on the owner's thread, unless it is abandoned first
// (by Abandon, a new Start, or the source's destruction): then it signals nothing.
class TimeSource : public QObject {
    Q_OBJECT

public:
    explicit TimeSource(QObject* parent = nullptr) : QObject(parent) {}

    // Starts asking `entry`; returns at once. An exchange still under way is abandoned first.
    virtual void Start(const ServerEntry& entry) = 0;

    // Abandons the exchange under way, if any. Harmless when idle.
    virtual void Abandon() = 0;

signals:
    void Sampled(const horlan::TimeSample& sample);
    // The exchange failed: `box` says why, in the user's words.
    void Failed(const horlan::MsgBoxRequest& box);
};

// What to do with a sample, decided alike for every kind of server.
enum class ClockAction {
    Refuse,     // no right server can say this: a time before the program was built
    LeaveAlone, // the clock agrees with the server as far as the exchange can tell
    Ask,        // a change so large that the user must agree to it first
    Set,
};

// Corrections larger than this, either way, need the user's yes.
inline constexpr std::chrono::hours BigJump{15};

ClockAction DecideClock(const TimeSample& sample, const QDateTime& buildDay);

} // namespace horlan
