#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace horlan {

// Seam: whether another copy of the program runs in the user's session.
class PreviousInstance {
public:
    virtual ~PreviousInstance() = default;

    // True when another copy of the program was already running when this one started.
    virtual bool PrevInstance() = 0;
};

// A lock file held for the life of the object. The first copy takes the lock; later copies
// find it taken. The lock of a copy that died without releasing it is taken over.
class LockFileInstance : public PreviousInstance {
public:
    explicit LockFileInstance(const QString& lockPath = DefaultLockPath());
    ~LockFileInstance() override;

    bool PrevInstance() override;

    // The lock in the user's runtime folder ($XDG_RUNTIME_DIR), or in the temporary folder
    // with the user's id in its name when there is none.
    static QString DefaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
    bool otherCopy_ = false;
};

} // namespace horlan
