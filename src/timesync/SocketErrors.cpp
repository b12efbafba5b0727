#include "timesync/SocketErrors.h"

#include "runtime/AppInfo.h"

namespace horlan {

MsgBoxRequest SocketErrorBox(int number, const QString& description) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString oops = QStringLiteral("Oops");
    const QString tryAnother = QStringLiteral("Please try another time server from the list.");
    const QString generated = QStringLiteral("An error was generated:") + crlf +
                              QStringLiteral("Number: ") + QString::number(number) + crlf +
                              QStringLiteral("Description: ") + description;
    switch (number) {
    case WSAENETDOWN:
        return {
            generated + crlf + crlf +
                QStringLiteral("Please check your internet connection, and/or firewall settings."),
            MsgBoxIcon::Exclamation, QString(), QString(), 0};
    case WSAETIMEDOUT:
        return {QStringLiteral("The connection timed out.") + crlf + tryAnother,
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSAECONNREFUSED:
        return {QStringLiteral("The connection was refused/rejected.") + crlf + tryAnother,
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSAHOST_NOT_FOUND:
    case WSATRY_AGAIN:
        return {QStringLiteral("Could not find the host.") + crlf + tryAnother,
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    case WSANO_DATA:
        return {QStringLiteral("Could not retrieve a valid name or data record from the host.") +
                    crlf +
                    QStringLiteral(
                        "Please check the address or try another time server from the list."),
                MsgBoxIcon::Exclamation, oops, QString(), 0};
    default:
        return {generated, MsgBoxIcon::Exclamation, QString(), QString(), 0};
    }
}

} // namespace horlan
