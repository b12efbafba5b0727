#pragma once

#include "runtime/MsgBox.h"

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
// lblSync after the system refused to set the clock.
QString NotSynchronizedText();

// The reply was not exactly four bytes long.
MsgBoxRequest InvalidResponseBox();
// The system refused to set the clock; `reason` is its own text ("Operation not permitted").
MsgBoxRequest ClockNotSetBox(const QString& reason);
// The chosen list entry does not have two or three dots.
MsgBoxRequest NotATimeServerBox();

} // namespace horlan
