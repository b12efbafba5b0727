#include "storage/FileKeyStore.h"

#include "storage/KeyFile.h"

#include <QDir>
#include <QFile>
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
    for (const RootKeyEntry& entry : RootKeyTable) {
        if (entry.Handle == root) {
            return subKey.isEmpty() ? QByteArray(entry.Name) : entry.Name + ('\\' + subKey);
        }
    }
    return {};
}

} // namespace

FileKeyStore::FileKeyStore(QString path) : path_(std::move(path)) {}

QString FileKeyStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vantorel/Horlan/registry.reg");
}

FileKeyStore::Status FileKeyStore::Load(KeyFile& file) const {
    QFile in(path_);
    if (!in.open(QIODevice::ReadOnly)) {
        return in.exists() ? Status::Unreadable : Status::Missing;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return Status::Unreadable;
    }
    auto parsed = KeyFile::Parse(bytes);
    if (!parsed) {
        return Status::Corrupt;
    }
    file = std::move(*parsed);
    return Status::Loaded;
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
    switch (Load(file)) {
    case Status::Unreadable:
        return false;
    case Status::Corrupt:
        if (!MoveAside()) {
            return false;
        }
        break;
    case Status::Missing:
    case Status::Loaded:
        break;
    }
    const QByteArray before = file.ToBytes();
    if (!change(file)) {
        return false;
    }
    const QByteArray after = file.ToBytes();
    if (after == before) {
        return true;
    }
    QSaveFile out(path_);
    return out.open(QIODevice::WriteOnly) && out.write(after) == after.size() && out.commit();
}

bool FileKeyStore::CreateKey(quint32 root, const QByteArray& subKey) {
    const QByteArray path = FullPath(root, subKey);
    if (!KeyFile::IsValidPath(path)) {
        return false;
    }
    return Change([&](KeyFile& file) {
        if (!file.HasKey(path)) {
            file.AddKey(path);
        }
        return true;
    });
}

bool FileKeyStore::KeyExists(quint32 root, const QByteArray& subKey) {
    const QByteArray path = FullPath(root, subKey);
    KeyFile file;
    const Status status = Load(file);
    return (status == Status::Loaded || status == Status::Missing) && file.HasKey(path);
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
    // A refused write must not even create the folder or the lock file.
    if (!KeyExists(root, subKey)) {
        return false;
    }
    const QByteArray path = FullPath(root, subKey);
    return Change([&](KeyFile& file) { return file.SetValue(path, valueName, data); });
}

} // namespace horlan
