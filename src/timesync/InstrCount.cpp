#include "timesync/InstrCount.h"

#include "timesync/ServerEntry.h"

namespace horlan {

int InstrCount(const QString& StringToSearch, const QString& StringToFind) {
    if (StringToFind.isEmpty()) {
        return 0;
    }
    if (StringToSearch.isEmpty()) {
        return -1;
    }
    int count = 0;
    qsizetype from = 0;
    while ((from = StringToSearch.indexOf(StringToFind, from, Qt::CaseSensitive)) >= 0) {
        ++count;
        from += StringToFind.size();
    }
    return count;
}

bool IsTimeServerEntry(const QString& entry) {
    return ParseServerEntry(entry).has_value();
}

} // namespace horlan
