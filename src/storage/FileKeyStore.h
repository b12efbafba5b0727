#pragma once

#include "storage/KeyStore.h"

#include <QString>

#include <functional>

namespace horlan {

class KeyFile;

// The key store in one per-user text file (format in KeyFile.h).
//
// Nothing is cached: every call reads the file afresh, once. Every change is a
// read-modify-write under an exclusive lock file beside the file ("<file>.lock") and is saved
// by an atomic replace, so a crash or a second copy of the program can neither lose a change
// nor leave a half-written file. Reading takes no lock and never creates the file or its
// folder. Only a regular file is ever opened: anything else in its place (a FIFO, a device)
// is a file that cannot be read, and no change is saved over it.
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
    bool SetValue(quint32 root, const QByteArray& subKey, const QByteArray& valueName,
                  const QByteArray& data) override;

private:
    enum class Status { Loaded, Missing, Unreadable, Corrupt };

    Status Load(KeyFile& file) const;
    // Runs `change` on the current content under the lock and saves the result when it
    // changed anything. `change` answers false to refuse; nothing is written then.
    bool Change(const std::function<bool(KeyFile&)>& change);
    bool MoveAside() const;

    QString path_;
};

} // namespace horlan
