#include "storage/appdata.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace horlan {

QChar PathSeparator() {
    return QLatin1Char('/');
}

QString GetSpecialFolder(int csidl) {
    if (csidl != CSIDL_APPDATA) {
        return {};
    }
    // $XDG_DATA_HOME, or ~/.local/share when it is unset.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (path.isEmpty()) {
        return {};
    }
    // A fresh account may not have it yet; the base directory convention is to create it
    // private to the user rather than give up.
    if (!QDir(path).exists()) {
        if (!QDir().mkpath(path)) {
            return {};
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return AddBackslash(path);
}

} // namespace horlan
