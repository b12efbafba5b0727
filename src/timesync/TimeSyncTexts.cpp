#include "timesync/TimeSyncTexts.h"

#include "runtime/AppInfo.h"

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

MsgBoxRequest ClockNotSetBox(const QString& reason) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    return {QStringLiteral("The system clock could not be set.") + crlf + reason + crlf + crlf +
                QStringLiteral("Horlan needs the right to set the system clock."),
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
