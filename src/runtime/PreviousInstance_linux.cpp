#include "runtime/PreviousInstance.h"

#include "runtime/RegularFile.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

namespace horlan {

LockFileInstance::LockFileInstance(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)) {
    // A running copy holds the lock however long it runs: staleness comes only from a
    // holder that no longer exists, never from the lock's age.
    lock_->setStaleLockTime(0);
    // Anything but a lock file in its place is no other copy, and is left alone.
    otherCopy_ = IsRegularFileOrMissing(lockPath) && !lock_->tryLock(0) &&
                 lock_->error() == QLockFile::LockFailedError;
}

LockFileInstance::~LockFileInstance() = default;

bool LockFileInstance::PrevInstance() {
    return otherCopy_;
}

QString LockFileInstance::DefaultLockPath() {
    const QString runtimeFolder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeFolder.isEmpty() && QDir(runtimeFolder).exists()) {
        return runtimeFolder + QStringLiteral("/horlan.lock");
    }
    return QDir::tempPath() + QStringLiteral("/horlan-%1.lock").arg(::getuid());
}

} // namespace horlan
