#include "timesync/InstrCount.h"

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
    const int dots = InstrCount(TrimSpaces(entry), QStringLiteral("."));
    return dots >= 2 && dots <= 3;
}

} // namespace horlan
