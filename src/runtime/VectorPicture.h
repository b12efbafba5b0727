#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace horlan {

// The drawing at `path` (an SVG resource) as a pixmap of `size` logical pixels, rendered for
// the screen's device pixel ratio so that it stays sharp when the desktop scales windows.
QPixmap VectorPicture(const QString& path, QSize size);

} // namespace horlan
