#include "netstatus/ActivityPicture.h"

#include "runtime/RuntimeError.h"

namespace horlan {

int ActivityIndicator::Next(qint64 bytesReceived, qint64 bytesSent) {
    const bool received = bytesReceived > lastReceived_;
    const bool sent = bytesSent > lastSent_;
    lastReceived_ = bytesReceived;
    lastSent_ = bytesSent;
    if (received && sent) {
        return 4;
    }
    if (sent) {
        return 3;
    }
    if (received) {
        return 2;
    }
    return 1;
}

QPixmap ActivityPicture(int number) {
    if (number < 1 || number > 4) {
        Raise(ErrInvalidProcedureCall);
    }
    // QPixmap keeps loaded files in its cache, so the timer's calls decode each picture once.
    return QPixmap(QStringLiteral(":/netstatus/activity%1.xpm").arg(number));
}

QIcon InternetStatusIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/netstatus/clock16.xpm")));
    icon.addPixmap(QPixmap(QStringLiteral(":/netstatus/clock32.xpm")));
    return icon;
}

QPixmap GlobePicture() {
    return QPixmap(QStringLiteral(":/netstatus/globe.xpm"));
}

} // namespace horlan
