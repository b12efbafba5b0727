#include "serverlist/ListFileDisk.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace horlan {

namespace {

bool SyncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool SyncFileToDisk(const QString& path) {
    return SyncPath(path, O_RDONLY);
}

bool ReplaceFileAtomically(const QString& source, const QString& target) {
    // rename(2) replaces an existing target atomically; QFile::rename would refuse it.
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) !=
        0) {
        return false;
    }
    // The new directory entry survives a power cut only once the folder is synced; the rename
    // itself has happened either way, so a failure here is not reported.
    SyncPath(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}

} // namespace horlan
