#include "timesync/TimeSyncTexts.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

#include <cstdlib>

namespace horlan {

namespace {

QString Oops() {
    return QCoreApplication::translate("TimeSyncTexts", "Oops");
}

} // namespace

QString WorkingText() {
    return QCoreApplication::translate("TimeSyncTexts", "Working...");
}

QString WaitingText() {
    return QCoreApplication::translate("TimeSyncTexts", "Waiting...");
}

QString WaitingUtcText() {
    return QCoreApplication::translate("TimeSyncTexts", "Waiting ...");
}

QString SynchronizedText() {
    return QCoreApplication::translate("TimeSyncTexts", "Clock synchronized succesfully.");
}

QString NotSynchronizedText() {
    return QCoreApplication::translate("TimeSyncTexts", "Clock not synchronized.");
}

MsgBoxRequest InvalidResponseBox() {
    return {
        QCoreApplication::translate("TimeSyncTexts", "NTP Server returned an invalid response."),
        MsgBoxIcon::Critical, QCoreApplication::translate("TimeSyncTexts", "Invalid Response "),
        QString(), 0};
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
    const QString seconds =
        QString::number(static_cast<double>(std::abs(offsetMs)) / 1000.0, 'f', 1);
    const bool behind = offsetMs >= 0;
    switch (outcome) {
    case ClockOutcome::Agreed:
        return QCoreApplication::translate(
            "TimeSyncTexts",
            "The clock agreed with the server to within a second and was left as it was.");
    case ClockOutcome::Set:
        return (behind
                    ? QCoreApplication::translate(
                          "TimeSyncTexts", "The clock was %1 s behind the server and has been set.")
                    : QCoreApplication::translate(
                          "TimeSyncTexts",
                          "The clock was %1 s ahead of the server and has been set."))
            .arg(seconds);
    case ClockOutcome::NotSet:
        break;
    }
    return (behind
                ? QCoreApplication::translate(
                      "TimeSyncTexts", "The clock was %1 s behind the server; it could not be set.")
                : QCoreApplication::translate(
                      "TimeSyncTexts",
                      "The clock was %1 s ahead of the server; it could not be set."))
        .arg(seconds);
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
                               ? QCoreApplication::translate(
                                     "TimeSyncTexts", "Automatic time synchronization is enabled.")
                               : result.Reason;
    const QString advice =
        result.AutomaticSync
            ? QCoreApplication::translate("TimeSyncTexts",
                                          "Turn it off in the system's date and time settings "
                                          "to set the clock with Horlan.")
            : QCoreApplication::translate("TimeSyncTexts",
                                          "Horlan needs the right to set the system clock.");
    return {QCoreApplication::translate("TimeSyncTexts", "The system clock could not be set.") +
                crlf + reason + crlf + crlf + advice,
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

MsgBoxRequest NotATimeServerBox() {
    return {QCoreApplication::translate(
                "TimeSyncTexts", "The selected list entry does not seem to be a time server.") +
                QString::fromLatin1(vbCrLf) +
                QCoreApplication::translate(
                    "TimeSyncTexts",
                    "Please check the address or try another time server from the list."),
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

} // namespace horlan
