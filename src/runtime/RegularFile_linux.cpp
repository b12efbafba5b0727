#include "runtime/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
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

// Opens `path` only when a regular file is there (or nothing, when `flags` create it), without
// blocking, and keeps the descriptor only when it is still a regular file, so that a FIFO
// swapped in after the type check cannot block either. -1 with `status` saying why otherwise;
// `info` describes the opened file.
int OpenRegular(const QString& path, int flags, FileStatus& status, struct stat& info) {
    if (!IsRegularOrMissing(path, info, status) ||
        (status == FileStatus::Missing && (flags & O_CREAT) == 0)) {
        return -1;
    }
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        status = StatusOf(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        status = FileStatus::Refused;
        return -1;
    }
    status = FileStatus::Done;
    return fd;
}

// Reads what is left of `fd` onto the end of `bytes`.
bool ReadRest(int fd, QByteArray& bytes) {
    for (;;) {
        if (bytes.size() == bytes.capacity()) {
            bytes.reserve(bytes.size() * 2 + 1);
        }
        const qsizetype size = bytes.size();
        // The room beyond the size is read into, then counted in.
        bytes.resize(bytes.capacity());
        const ssize_t got =
            ::read(fd, bytes.data() + size, static_cast<size_t>(bytes.size() - size));
        bytes.resize(size + std::max<ssize_t>(got, 0));
        if (got == 0) {
            return true;
        }
        if (got < 0 && errno != EINTR) {
            return false;
        }
    }
}

} // namespace

FileStatus ReadRegularFileUnlessSame(const QString& path, QByteArrayView known,
                                     std::optional<QByteArray>& bytes) {
    bytes.reset();
    FileStatus status = FileStatus::Missing;
    struct stat info {};
    const int fd = OpenRegular(path, O_RDONLY, status, info);
    if (fd < 0) {
        return status;
    }
    // Compared a block at a time, an unchanged file costs no room of its own.
    std::array<char, 1 << 16> block;
    qsizetype same = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            status = FileStatus::Refused;
            break;
        }
        if (got == 0) {
            if (same != known.size()) {
                bytes = known.first(same).toByteArray();
            }
            break;
        }
        if (same + got <= known.size() &&
            std::memcmp(known.data() + same, block.data(), static_cast<size_t>(got)) == 0) {
            same += got;
            continue;
        }
        // Different: the whole file is read, with room for it at once (and one byte more, for
        // the read that finds the end).
        QByteArray all;
        all.reserve(std::max<qsizetype>(static_cast<qsizetype>(info.st_size), same + got) + 1);
        all.append(known.first(same)).append(block.data(), got);
        if (!ReadRest(fd, all)) {
            status = FileStatus::Refused;
        }
        bytes = std::move(all);
        break;
    }
    ::close(fd);
    if (status != FileStatus::Done) {
        bytes.reset();
    }
    return status;
}

FileContents ReadRegularFile(const QString& path) {
    FileContents contents;
    std::optional<QByteArray> bytes;
    contents.Status = ReadRegularFileUnlessSame(path, {}, bytes);
    contents.Bytes = bytes.value_or(QByteArray());
    return contents;
}

bool CanReadRegularFile(const QString& path) {
    FileStatus status = FileStatus::Done;
    struct stat info {};
    const int fd = OpenRegular(path, O_RDONLY, status, info);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

bool IsRegularFileOrMissing(const QString& path) {
    FileStatus status = FileStatus::Done;
    struct stat info {};
    return IsRegularOrMissing(path, info, status);
}

FileStatus AppendToRegularFile(const QString& path, const QByteArray& bytes) {
    FileStatus status = FileStatus::Done;
    struct stat info {};
    const int fd = OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, status, info);
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
