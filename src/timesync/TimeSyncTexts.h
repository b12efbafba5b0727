#pragma once

#include "runtime/MsgBox.h"
#include "timesync/SystemClock.h"

#include <QString>

namespace horlan {

// The texts a time query shows to the user, in one place.

// lblSync while an exchange is under way.
QString WorkingText();
// lblSync before the first synchronization.
QString WaitingText();
// lblUTCdate before the first synchronization (with its space before the dots).
QString WaitingUtcText();
// lblSync after the clock was set.
QString SynchronizedText();
// lblSync after a failed exchange, or when the system refused to set the clock.
QString NotSynchronizedText();

// What an exchange did to the clock.
enum class ClockOutcome {
    Agreed, // within the second the server allows: left as it was
    Set,
    NotSet, // the system refused
};

// lblSync's tooltip and accessible description after an exchange; `offsetMs` is the
// change the server asked for (its time minus the local clock), in milliseconds.
QString OutcomeText(ClockOutcome outcome, qint64 offsetMs);

// The same as one line for standard error, naming the server `host`.
QString OutcomeLogLine(const QString& host, ClockOutcome outcome, qint64 offsetMs);

// The reply was not exactly four bytes long.
MsgBoxRequest InvalidResponseBox();
// The system refused to set the clock, for the reason in `result`.
MsgBoxRequest ClockNotSetBox(const ClockResult& result);
// The chosen list entry does not have two or three dots.
MsgBoxRequest NotATimeServerBox();

} // namespace horlan
