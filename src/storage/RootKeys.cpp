#include "storage/RootKeys.h"

#include <algorithm>

namespace horlan {

const RootKeyEntry* FindRootKey(QByteArrayView name, Qt::CaseSensitivity cs) {
    const auto* found =
        std::find_if(RootKeyTable.begin(), RootKeyTable.end(), [&](const auto& root) {
            return name.compare(QByteArrayView(root.Name), cs) == 0;
        });
    return found == RootKeyTable.end() ? nullptr : found;
}

const RootKeyEntry* FindRootKey(quint32 handle) {
    const auto* found = std::find_if(RootKeyTable.begin(), RootKeyTable.end(),
                                     [&](const auto& root) { return root.Handle == handle; });
    return found == RootKeyTable.end() ? nullptr : found;
}

} // namespace horlan
