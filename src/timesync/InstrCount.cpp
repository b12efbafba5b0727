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

QString TrimSpaces(const QString& entry) {
    qsizetype first = 0;
    qsizetype last = entry.size();
    while (first < last && entry.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && entry.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return entry.mid(first, last - first);
}

bool IsTimeServerEntry(const QString& entry) {
    const int dots = InstrCount(TrimSpaces(entry), QStringLiteral("."));
    return dots >= 2 && dots <= 3;
}

} // namespace horlan
