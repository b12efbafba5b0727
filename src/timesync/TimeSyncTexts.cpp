#include "timesync/TimeSyncTexts.h"

#include "runtime/AppInfo.h"

#include <cstdlib>

namespace horlan {

namespace {

QString Oops() {
    return QStringLiteral("Oops");
}

} // namespace

QString WorkingText() {
    return QStringLiteral("Working...");
}

QString WaitingText() {
    return QStringLiteral("Waiting...");
}

QString WaitingUtcText() {
    return QStringLiteral("Waiting ...");
}

QString SynchronizedText() {
    return QStringLiteral("Clock synchronized succesfully.");
}

QString NotSynchronizedText() {
    return QStringLiteral("Clock not synchronized.");
}

MsgBoxRequest InvalidResponseBox() {
    return {QStringLiteral("NTP Server returned an invalid response."), MsgBoxIcon::Critical,
            QStringLiteral("Invalid Response "), QString(), 0};
}

namespace {

// "3.2 s behind" or "0.4 s ahead", to `decimals` places.
QString Offset(qint64 offsetMs, int decimals) {
    return QStringLiteral("%1 s %2")
        .arg(static_cast<double>(std::abs(offsetMs)) / 1000.0, 0, 'f', decimals)
        .arg(offsetMs >= 0 ? QStringLiteral("behind") : QStringLiteral("ahead"));
}

} // namespace

QString OutcomeText(ClockOutcome outcome, qint64 offsetMs) {
    const QString was =
        QStringLiteral("The clock was ") + Offset(offsetMs, 1) +
        (offsetMs >= 0 ? QStringLiteral(" the server") : QStringLiteral(" of the server"));
    switch (outcome) {
    case ClockOutcome::Agreed:
        return QStringLiteral(
            "The clock agreed with the server to within a second and was left as it was.");
    case ClockOutcome::Set:
        return was + QStringLiteral(" and has been set.");
    case ClockOutcome::NotSet:
        break;
    }
    return was + QStringLiteral("; it could not be set.");
}

QString OutcomeLogLine(const QString& host, ClockOutcome outcome, qint64 offsetMs) {
    const QString start = QStringLiteral("horlan: ") + host + QStringLiteral(": clock ");
    switch (outcome) {
    case ClockOutcome::Agreed:
        return start + QStringLiteral("within a second of the server, left as it was");
    case ClockOutcome::Set:
        return start + Offset(offsetMs, 3) + QStringLiteral(", set");
    case ClockOutcome::NotSet:
        break;
    }
    return start + Offset(offsetMs, 3) + QStringLiteral(", could not be set");
}

MsgBoxRequest ClockNotSetBox(const ClockResult& result) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString reason = result.AutomaticSync
                               ? QStringLiteral("Automatic time synchronization is enabled.")
                               : result.Reason;
    const QString advice =
        result.AutomaticSync
            ? QStringLiteral("Turn it off in the system's date and time settings to set the "
                             "clock with Horlan.")
            : QStringLiteral("Horlan needs the right to set the system clock.");
    return {QStringLiteral("The system clock could not be set.") + crlf + reason + crlf + crlf +
                advice,
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

MsgBoxRequest NotATimeServerBox() {
    return {
        QStringLiteral("The selected list entry does not seem to be a time server.") +
            QString::fromLatin1(vbCrLf) +
            QStringLiteral("Please check the address or try another time server from the list."),
        MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

} // namespace horlan
