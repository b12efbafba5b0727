#include "timesync/SocketErrors.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

namespace horlan {

MsgBoxRequest SocketErrorBox(int number, const QString& description) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString oops = QCoreApplication::translate("SocketErrors", "Oops");
    const QString tryAnother = QCoreApplication::translate(
        "SocketErrors", "Please try another time server from the list.");
    const QString generated =
        QCoreApplication::translate("SocketErrors", "An error was generated:") + crlf +
        QCoreApplication::translate("SocketErrors", "Number: ") + QString::number(number) + crlf +
        QCoreApplication::translate("SocketErrors", "Description: ") + description;
    switch (number) {
    case WSAENETDOWN:
        return {generated + crlf + crlf +
                    QCoreApplication::translate(
                        "SocketErrors",
                        "Please check your internet connection, and/or firewall settings."),
                MsgBoxIcon::Exclamation, QString(), QString(), 0};
    case WSAETIMEDOUT:
        return {QCoreApplication::translate("SocketErrors", "The connection timed out.") + crlf +
                    tryAnother,
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSAECONNREFUSED:
        return {
            QCoreApplication::translate("SocketErrors", "The connection was refused/rejected.") +
                crlf + tryAnother,
            MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSAHOST_NOT_FOUND:
    case WSATRY_AGAIN:
        return {QCoreApplication::translate("SocketErrors", "Could not find the host.") + crlf +
                    tryAnother,
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSANO_DATA:
        return {
            QCoreApplication::translate(
                "SocketErrors", "Could not retrieve a valid name or data record from the host.") +
                crlf +
                QCoreApplication::translate(
                    "SocketErrors",
                    "Please check the address or try another time server from the list."),
            MsgBoxIcon::Exclamation, oops, QString(), 0};
    default:
        return {generated, MsgBoxIcon::Exclamation, QString(), QString(), 0};
    }
}

} // namespace horlan
