#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <optional>

namespace horlan {

// The program's own files are read and appended to only when they are regular files: a FIFO
// or a device in their place would block the window thread inside open() or read().

enum class FileStatus {
    Done,
    Missing, // nothing by that name; a dangling symbolic link counts as nothing
    Refused  // a folder, FIFO, device or socket, or a file the system refuses
};

struct FileContents {
    FileStatus Status = FileStatus::Missing;
    QByteArray Bytes;
};

// The whole content of the regular file at `path`. Never opens anything else.
FileContents ReadRegularFile(const QString& path);
// The same, unless the content is `known`: then `bytes` is left empty (nullopt), and nothing
// is allocated for the read. Also nullopt unless Done.
FileStatus ReadRegularFileUnlessSame(const QString& path, QByteArrayView known,
                                     std::optional<QByteArray>& bytes);

// Whether `path` is a regular file that can be opened for reading.
bool CanReadRegularFile(const QString& path);

// Whether `path` is a regular file or nothing at all. A lock file is taken only then: QLockFile
// reads one that exists to see whether its owner is gone, and a FIFO would block that read.
bool IsRegularFileOrMissing(const QString& path);

// Appends `bytes` to the regular file at `path`, creating it when missing (through a dangling
// symbolic link, its target). Missing when the folder is missing; Refused when something
// other than a regular file is in the way or the write fails.
FileStatus AppendToRegularFile(const QString& path, const QByteArray& bytes);

// Puts what was written to `file` in place of the file it replaces. commit() alone would do so
// even when writing out the last buffered bytes failed (a full disk, a size limit), leaving a
// truncated file; flushing first catches that, and the unsaved file is then discarded.
inline bool CommitSaveFile(QSaveFile& file) {
    return file.flush() && file.commit();
}

} // namespace horlan
