#pragma once

#include "runtime/TrimSpaces.h"

#include <QString>

namespace horlan {

// The number of non-overlapping, case-sensitive occurrences of `StringToFind` in
// `StringToSearch`, counted as "pieces after splitting, minus one": 0 when `StringToFind` is
// empty, -1 when `StringToSearch` is empty (and `StringToFind` is not).
int InstrCount(const QString& StringToSearch, const QString& StringToFind);

// The entry check of "&Synchronize": a bare name with exactly two or three dots after
// trimming, or an ntp:// or nts:// address (see ParseServerEntry).
bool IsTimeServerEntry(const QString& entry);

} // namespace horlan
