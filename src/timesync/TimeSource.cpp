#include "timesync/TimeSource.h"

namespace horlan {

ClockAction DecideClock(const TimeSample& sample, const QDateTime& buildDay) {
    // No server can be right with a time before this program was built.
    if (sample.ServerTime < buildDay) {
        return ClockAction::Refuse;
    }
    const auto size = sample.Offset.count() < 0 ? -sample.Offset : sample.Offset;
    if (size <= sample.Uncertainty + sample.Slack) {
        return ClockAction::LeaveAlone;
    }
    return size > BigJump ? ClockAction::Ask : ClockAction::Set;
}

} // namespace horlan
