#include "netstatus/ActivityPicture.h"

#include "runtime/RuntimeError.h"
#include "runtime/VectorPicture.h"

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
    return VectorPicture(QStringLiteral(":/netstatus/activity%1.svg").arg(number), QSize(16, 16));
}

QIcon InternetStatusIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/netstatus/clock16.xpm")));
    icon.addPixmap(QPixmap(QStringLiteral(":/netstatus/clock32.xpm")));
    return icon;
}

QPixmap GlobePicture() {
    return VectorPicture(QStringLiteral(":/netstatus/globe.svg"), QSize(32, 32));
}

} // namespace horlan
