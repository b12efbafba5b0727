#pragma once

#include <QString>

namespace horlan {

// Makes the whole content of the file at `path` durable on its device.
// Returns false when the file cannot be opened or flushed.
bool SyncFileToDisk(const QString& path);

// Replaces `target` by `source` in one atomic step (the target's old or new content is
// visible at every moment, never neither), then makes the rename durable.
// Returns false when the rename fails; `target` is then unchanged.
bool ReplaceFileAtomically(const QString& source, const QString& target);

} // namespace horlan
