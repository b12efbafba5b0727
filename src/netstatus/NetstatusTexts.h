#pragma once

#include <QCoreApplication>
#include <QString>

namespace horlan {

// The texts the network status windows and boxes show, byte for byte.

inline QString IpHelperNotSupportedText() {
    return QCoreApplication::translate("NetstatusTexts",
                                       "IP Helper is not supported by this system.");
}

inline QString frmInfoCaption() {
    return QCoreApplication::translate("NetstatusTexts", "Internet Connection Status");
}

// The procedure name that frmInfo's load step gives the common error report.
inline QString frmInfoLoadProcedure() {
    return QStringLiteral("frmInfo - Form_Load");
}

// What the activity picture `picture` (1..4) shows, for screen readers.
inline QString ActivityDescription(int picture) {
    switch (picture) {
    case 2:
        return QCoreApplication::translate("NetstatusTexts", "Receiving");
    case 3:
        return QCoreApplication::translate("NetstatusTexts", "Sending");
    case 4:
        return QCoreApplication::translate("NetstatusTexts", "Receiving and sending");
    default:
        return QCoreApplication::translate("NetstatusTexts", "Idle");
    }
}

} // namespace horlan
