#include "timesync/TimeSyncTexts.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

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

MsgBoxRequest ClockNotSetBox(const QString& reason) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    return {QCoreApplication::translate("TimeSyncTexts", "The system clock could not be set.") +
                crlf + reason + crlf + crlf +
                QCoreApplication::translate("TimeSyncTexts",
                                            "Horlan needs the right to set the system clock."),
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
