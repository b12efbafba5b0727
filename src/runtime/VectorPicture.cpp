#include "runtime/VectorPicture.h"

#include <QGuiApplication>
#include <QIcon>

namespace horlan {

QPixmap VectorPicture(const QString& path, QSize size) {
    return QIcon(path).pixmap(size, qApp->devicePixelRatio());
}

} // namespace horlan
