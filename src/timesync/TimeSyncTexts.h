#pragma once

#include "runtime/MsgBox.h"
#include "timesync/SystemClock.h"
#include "timesync/TimeSource.h"

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
// lblSync while the system asks the user for the right to set the clock.
QString WaitingForPermissionText();

// What an exchange did to the clock.
enum class ClockOutcome {
    Agreed, // as close to the server as the exchange can tell: left as it was
    Set,
    NotSet,   // the system refused
    Declined, // the user said no to a large change
};

// lblSync's tooltip and accessible description after an exchange: the offset found, with
// its uncertainty, and what became of the clock.
QString OutcomeText(ClockOutcome outcome, const TimeSample& sample);

// The same as one line for standard error, naming the server, in milliseconds.
QString OutcomeLogLine(ClockOutcome outcome, const TimeSample& sample);

// A span of time for people: milliseconds to three places below a millisecond and to one
// place below a second, else seconds to three places.
QString DurationText(std::chrono::nanoseconds span);

// A long span in years (of 365 days), days, hours and minutes, leaving out those that are 0.
QString DifferenceInWords(std::chrono::nanoseconds span);

// The question before a correction larger than BigJump: Yes sets the clock.
MsgBoxRequest BigJumpQuestion(const TimeSample& sample);

// The server sent a Kiss-o'-Death that refuses this computer (DENY, RSTR, RATE).
MsgBoxRequest KissOfDeathBox(const QString& host, const QByteArray& code);

// Network Time Security failed: the server's certificate is not to be trusted (`reason` as
// the TLS library gives it), the server offers no NTS, it answered the key establishment
// with its Error record `code`, or no authenticated reply came within the time limit.
MsgBoxRequest NtsCertificateBox(const QString& host, const QString& reason);
MsgBoxRequest NtsNotOfferedBox(const QString& host);
MsgBoxRequest NtsServerErrorBox(const QString& host, int code);
MsgBoxRequest NoAuthenticatedTimeBox(const QString& host);

// The reply was not a valid answer (for the Time Protocol: not exactly four bytes long).
MsgBoxRequest InvalidResponseBox();
// The system refused to set the clock, for the reason in `result`.
MsgBoxRequest ClockNotSetBox(const ClockResult& result);
// The chosen list entry does not have two or three dots.
MsgBoxRequest NotATimeServerBox();

} // namespace horlan
