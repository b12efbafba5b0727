#pragma once

#include "storage/KeyFile.h"
#include "storage/KeyStore.h"

#include <QString>

#include <functional>
#include <optional>

namespace horlan {

// The key store in one per-user text file (format in KeyFile.h).
//
// Every call reads the file afresh, once, but parses it only when its bytes differ from those
// last read or saved here, whose parsed content is kept with them. Comparing the bytes, not
// the file's size and times, cannot miss a change (times are as coarse as the kernel's tick
// and a replaced file's inode number comes back), and costs little beside parsing: the file
// is compared a block at a time as it is read. A change is made to the kept content itself,
// so a large file is neither copied nor allocated again while it stays the same.
//
// Every change is a read-modify-write under an exclusive lock file beside the file
// ("<file>.lock") and is saved by an atomic replace, so a crash or a second copy of the program can
// neither lose a change nor leave a half-written file. A change that would leave the file as it
// is takes no lock and writes nothing. Reading takes no lock and never creates the
// file or its folder. Only a regular file is ever opened: anything else in its place (a FIFO, a
// device) is a file that cannot be read, and no change is saved over it.
//
// A file that cannot be parsed is never overwritten: the next change renames it aside
// ("<file>.corrupt", bytes unchanged; ".corrupt.1" and so on when that name is taken) and
// starts from an empty store. Until then reads find nothing in it.
class FileKeyStore : public KeyStore {
public:
    explicit FileKeyStore(QString path);

    // $XDG_CONFIG_HOME/Vantorel/Horlan/registry.reg (~/.config when the variable is unset).
    static QString DefaultPath();

    const QString& Path() const { return path_; }

    bool CreateKey(quint32 root, const QByteArray& subKey) override;
    std::optional<QByteArray> QueryValue(quint32 root, const QByteArray& subKey,
                                         const QByteArray& valueName) override;
    bool SetValues(quint32 root, const QByteArray& subKey,
                   const QList<NamedValue>& values) override;

private:
    enum class Status { Loaded, Missing, Unreadable, Corrupt };

    // Reads the file; when Loaded, last_ holds its content.
    Status Load();
    void Forget();
    // Runs `change` on the current content under the lock and saves the result when it
    // changed anything. `change` answers false to refuse; nothing is written then. When
    // `isDone` finds the content as the change would leave it, neither the lock is taken nor
    // anything written.
    bool Change(const std::function<bool(const KeyFile&)>& isDone,
                const std::function<bool(KeyFile&)>& change);
    bool MoveAside() const;

    QString path_;
    // The bytes last read or saved, and their parsed content (nullopt before the first and
    // after a change that was not saved).
    QByteArray lastBytes_;
    std::optional<KeyFile> last_;
};

} // namespace horlan
