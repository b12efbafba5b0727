#pragma once

#include <QIcon>
#include <QPixmap>
#include <QtGlobal>

namespace horlan {

// Which activity picture to show, from the byte totals seen on each timer tick.
class ActivityIndicator {
public:
    // The picture for this tick: 1 = no total grew, 2 = only received grew, 3 = only sent
    // grew, 4 = both grew. Only growth counts; the totals given become the references for
    // the next tick, also when they fell. Both references start at 0.
    int Next(qint64 bytesReceived, qint64 bytesSent);

private:
    qint64 lastReceived_ = 0;
    qint64 lastSent_ = 0;
};

// Activity picture `number` (1..4), 16 x 16 logical pixels drawn for the screen's pixel ratio:
// two computers joined by a cable. Raises ErrInvalidProcedureCall for another number.
QPixmap ActivityPicture(int number);

// The connection status window's icon: a grey clock face, 16 x 16 and 32 x 32.
QIcon InternetStatusIcon();

// The connection status window's 32 x 32 picture: a globe and two computers joined by a cable.
QPixmap GlobePicture();

} // namespace horlan
