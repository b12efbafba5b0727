#include "storage/FileKeyStore.h"

#include "runtime/RegularFile.h"
#include "storage/KeyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace horlan {

namespace {

// Long enough for any other copy's read-modify-write; short enough not to hang the window
// forever behind a lock that cannot be taken.
constexpr int LockTimeoutMs = 10000;

QByteArray FullPath(quint32 root, const QByteArray& subKey) {
    const RootKeyEntry* entry = FindRootKey(root);
    if (entry == nullptr) {
        return {};
    }
    return subKey.isEmpty() ? QByteArray(entry->Name) : entry->Name + ('\\' + subKey);
}

} // namespace

FileKeyStore::FileKeyStore(QString path) : path_(std::move(path)) {}

QString FileKeyStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vantorel/Horlan/registry.reg");
}

FileKeyStore::Status FileKeyStore::Load() {
    std::optional<QByteArray> changed;
    switch (ReadRegularFileUnlessSame(path_, lastBytes_, changed)) {
    case FileStatus::Missing:
        return Status::Missing;
    case FileStatus::Refused:
        return Status::Unreadable;
    case FileStatus::Done:
        break;
    }
    // The same bytes parse to the same content; parsing is what costs in a large file.
    if (!changed && last_) {
        return Status::Loaded;
    }
    const QByteArray bytes = changed.value_or(QByteArray());
    auto parsed = KeyFile::Parse(bytes);
    if (!parsed) {
        return Status::Corrupt;
    }
    last_ = std::move(parsed);
    lastBytes_ = bytes;
    return Status::Loaded;
}

void FileKeyStore::Forget() {
    last_.reset();
    lastBytes_.clear();
}

bool FileKeyStore::MoveAside() const {
    QString aside = path_ + QStringLiteral(".corrupt");
    for (int n = 1; QFileInfo::exists(aside); ++n) {
        aside = path_ + QStringLiteral(".corrupt.") + QString::number(n);
    }
    return QFile::rename(path_, aside);
}

bool FileKeyStore::Change(const std::function<bool(const KeyFile&)>& isDone,
                          const std::function<bool(KeyFile&)>& change) {
    // Most changes at start-up find the file as they would leave it; they cost no lock and no
    // write to the disk.
    if (Load() == Status::Loaded && isDone(*last_)) {
        return true;
    }
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }
    const QString lockPath = path_ + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!IsRegularFileOrMissing(lockPath) || !lock.tryLock(LockTimeoutMs)) {
        return false;
    }
    const Status status = Load();
    if (status == Status::Unreadable) {
        return false;
    }
    // The remembered content is changed in place, and forgotten unless the change is saved.
    KeyFile fresh;
    KeyFile& file = status == Status::Loaded ? *last_ : fresh;
    const int before = file.Changes();
    const bool accepted = change(file);
    if (file.Changes() == before) {
        return accepted;
    }
    if (!accepted || (status == Status::Corrupt && !MoveAside())) {
        Forget();
        return false;
    }
    QByteArray bytes = file.ToBytes();
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
        !CommitSaveFile(out)) {
        Forget();
        return false;
    }
    lastBytes_ = std::move(bytes);
    if (status != Status::Loaded) {
        last_ = std::move(fresh);
    }
    return true;
}

bool FileKeyStore::CreateKey(quint32 root, const QByteArray& subKey) {
    const QByteArray path = FullPath(root, subKey);
    if (!KeyFile::IsValidPath(path)) {
        return false;
    }
    return Change([&](const KeyFile& file) { return file.HasKey(path); },
                  [&](KeyFile& file) {
                      file.AddKey(path);
                      return true;
                  });
}

std::optional<QByteArray> FileKeyStore::QueryValue(quint32 root, const QByteArray& subKey,
                                                   const QByteArray& valueName) {
    if (Load() != Status::Loaded) {
        return std::nullopt;
    }
    return last_->ValueOf(FullPath(root, subKey), valueName);
}

bool FileKeyStore::SetValues(quint32 root, const QByteArray& subKey,
                             const QList<NamedValue>& values) {
    // Below a root key nothing exists without the file's folder; a refused write must not
    // create it.
    if (!subKey.isEmpty() && !QFileInfo(QFileInfo(path_).absolutePath()).isDir()) {
        return false;
    }
    const QByteArray path = FullPath(root, subKey);
    const auto isDone = [&](const KeyFile& file) {
        return file.HasKey(path) &&
               std::all_of(values.cbegin(), values.cend(), [&](const NamedValue& value) {
                   return file.ValueOf(path, value.Name) == value.Data;
               });
    };
    return Change(isDone, [&](KeyFile& file) {
        // All values or none: the key is there for each once it is there for the first.
        if (!file.HasKey(path)) {
            return false;
        }
        for (const NamedValue& value : values) {
            file.SetValue(path, value.Name, value.Data);
        }
        return true;
    });
}

} // namespace horlan
