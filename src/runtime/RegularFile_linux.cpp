#include "runtime/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace horlan {

namespace {

FileStatus StatusOf(int error) {
    return error == ENOENT || error == ENOTDIR ? FileStatus::Missing : FileStatus::Refused;
}

// Opening a device can have effects of its own: anything but a regular file is refused
// before it is opened. False when something else is there.
bool IsRegularOrMissing(const QString& path, struct stat& info, FileStatus& status) {
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        status = StatusOf(errno);
        return status == FileStatus::Missing;
    }
    status = S_ISREG(info.st_mode) ? FileStatus::Done : FileStatus::Refused;
    return status == FileStatus::Done;
}

// Opens without blocking and keeps the descriptor only when it is a regular file, so that a
// FIFO swapped in after the type check cannot block either.
int OpenRegular(const QString& path, int flags, FileStatus& status) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        status = StatusOf(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        status = FileStatus::Refused;
        return -1;
    }
    status = FileStatus::Done;
    return fd;
}

} // namespace

FileStatus ReadRegularFile(const QString& path, QByteArray& bytes) {
    FileStatus status = FileStatus::Missing;
    struct stat info {};
    if (!IsRegularOrMissing(path, info, status) || status == FileStatus::Missing) {
        return status;
    }
    const int fd = OpenRegular(path, O_RDONLY, status);
    if (fd < 0) {
        return status;
    }
    // With one byte more than the size, the read that finds the end needs no more room. A
    // buffer that is big enough and not shared is filled again without being allocated anew.
    bytes.resize(static_cast<qsizetype>(info.st_size) + 1);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(size * 2);
        }
        const ssize_t got =
            ::read(fd, bytes.data() + size, static_cast<size_t>(bytes.size() - size));
        if (got > 0) {
            size += got;
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            status = FileStatus::Refused;
            break;
        }
    }
    ::close(fd);
    bytes.truncate(status == FileStatus::Done ? size : 0);
    return status;
}

FileContents ReadRegularFile(const QString& path) {
    FileContents contents;
    contents.Status = ReadRegularFile(path, contents.Bytes);
    return contents;
}

bool CanReadRegularFile(const QString& path) {
    FileStatus status = FileStatus::Done;
    struct stat info {};
    if (!IsRegularOrMissing(path, info, status) || status == FileStatus::Missing) {
        return false;
    }
    const int fd = OpenRegular(path, O_RDONLY, status);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

FileStatus AppendToRegularFile(const QString& path, const QByteArray& bytes) {
    FileStatus status = FileStatus::Done;
    struct stat info {};
    if (!IsRegularOrMissing(path, info, status)) {
        return status;
    }
    const int fd = OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, status);
    if (fd < 0) {
        return status;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            status = FileStatus::Refused;
            break;
        }
        written += put;
    }
    if (::close(fd) != 0) {
        status = FileStatus::Refused;
    }
    return status;
}

} // namespace horlan
