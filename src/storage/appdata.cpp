#include "storage/appdata.h"

#include "runtime/ResumeNext.h"

#include <QDir>
#include <QFileInfo>

namespace horlan {

namespace {

// Creates one folder level when it is missing; false when it is still not a folder after.
bool EnsureFolder(const QString& path) {
    return FolderExists(path) || (QDir().mkdir(StripBackslashes(path)) && FolderExists(path));
}

} // namespace

QString GetAppDataFolder(const QString& fallback) {
    QString base;
    ResumeNext([&] { base = GetSpecialFolder(CSIDL_APPDATA); });
    if (base.isEmpty()) {
        return AddBackslash(fallback);
    }
    const QString first =
        AddBackslash(base) + QStringLiteral("Vantorel software") + PathSeparator();
    if (!EnsureFolder(first)) {
        return AddBackslash(fallback);
    }
    const QString second = first + QStringLiteral("Horlan") + PathSeparator();
    if (!EnsureFolder(second)) {
        return AddBackslash(fallback);
    }
    return second;
}

bool FolderExists(const QString& path) {
    const QString stripped = StripBackslashes(path);
    return !stripped.isEmpty() && QFileInfo(stripped).isDir();
}

QString AddBackslash(const QString& text) {
    return text.endsWith(PathSeparator()) ? text : text + PathSeparator();
}

QString StripBackslashes(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == PathSeparator()) {
        --end;
    }
    return text.left(end);
}

} // namespace horlan
