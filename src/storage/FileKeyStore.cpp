#include "storage/FileKeyStore.h"

#include "runtime/RegularFile.h"
#include "storage/KeyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

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

FileKeyStore::Status FileKeyStore::Load(KeyFile& file) {
    FileContents contents = ReadRegularFile(path_);
    switch (contents.Status) {
    case FileStatus::Missing:
        return Status::Missing;
    case FileStatus::Refused:
        return Status::Unreadable;
    case FileStatus::Done:
        break;
    }
    // The same bytes parse to the same content; parsing is what costs in a large file.
    if (!last_ || contents.Bytes != lastBytes_) {
        auto parsed = KeyFile::Parse(contents.Bytes);
        if (!parsed) {
            return Status::Corrupt;
        }
        Remember(std::move(contents.Bytes), std::move(*parsed));
    }
    // A shallow copy: a change to it leaves the remembered content as it was.
    file = *last_;
    return Status::Loaded;
}

void FileKeyStore::Remember(QByteArray bytes, KeyFile file) {
    lastBytes_ = std::move(bytes);
    last_ = std::move(file);
}

bool FileKeyStore::MoveAside() const {
    QString aside = path_ + QStringLiteral(".corrupt");
    for (int n = 1; QFileInfo::exists(aside); ++n) {
        aside = path_ + QStringLiteral(".corrupt.") + QString::number(n);
    }
    return QFile::rename(path_, aside);
}

bool FileKeyStore::Change(const std::function<bool(KeyFile&)>& change) {
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeoutMs)) {
        return false;
    }
    KeyFile file;
    const Status status = Load(file);
    // The remembered content may hold changes already saved: only new ones count.
    const int saved = file.Changes();
    if (status == Status::Unreadable || !change(file)) {
        return false;
    }
    if (file.Changes() == saved) {
        return true;
    }
    if (status == Status::Corrupt && !MoveAside()) {
        return false;
    }
    const QByteArray bytes = file.ToBytes();
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        return false;
    }
    Remember(bytes, std::move(file));
    return true;
}

bool FileKeyStore::CreateKey(quint32 root, const QByteArray& subKey) {
    const QByteArray path = FullPath(root, subKey);
    if (!KeyFile::IsValidPath(path)) {
        return false;
    }
    return Change([&](KeyFile& file) {
        file.AddKey(path);
        return true;
    });
}

std::optional<QByteArray> FileKeyStore::QueryValue(quint32 root, const QByteArray& subKey,
                                                   const QByteArray& valueName) {
    KeyFile file;
    if (Load(file) != Status::Loaded) {
        return std::nullopt;
    }
    return file.ValueOf(FullPath(root, subKey), valueName);
}

bool FileKeyStore::SetValue(quint32 root, const QByteArray& subKey, const QByteArray& valueName,
                            const QByteArray& data) {
    // Below a root key nothing exists without the file's folder; a refused write must not
    // create it.
    if (!subKey.isEmpty() && !QFileInfo(QFileInfo(path_).absolutePath()).isDir()) {
        return false;
    }
    const QByteArray path = FullPath(root, subKey);
    return Change([&](KeyFile& file) { return file.SetValue(path, valueName, data); });
}

} // namespace horlan
