#include "Require.h"
#include "timesync/InstrCount.h"
#include "timesync/ServerEntry.h"

#include <QStringList>

using namespace horlan;

// The entry check of "&Synchronize", the addresses it reads and the count it rests on. Input: the text to search, a
// NUL, and the text to find.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromUtf8(Bytes(data, size));
    const qsizetype cut = input.indexOf(QChar(0));
    const QString search = cut < 0 ? input : input.left(cut);
    const QString find = cut < 0 ? QStringLiteral(".") : input.mid(cut + 1);
    const int pieces = int(search.split(find).size());
    Require(InstrCount(search, find) == (find.isEmpty() ? 0 : search.isEmpty() ? -1 : pieces - 1));
    const QString trimmed = TrimSpaces(search);
    const qsizetype lead = search.indexOf(trimmed);
    Require(!trimmed.startsWith(u' ') && !trimmed.endsWith(u' ') && lead >= 0 &&
            QString(search).remove(u' ') == QString(trimmed).remove(u' ') &&
            search.mid(lead + trimmed.size()).count(u' ') == search.size() - lead - trimmed.size());
    const qsizetype dots = trimmed.count(u'.');
    const std::optional<ServerEntry> entry = ParseServerEntry(search);
    Require(IsTimeServerEntry(search) == entry.has_value());
    if (!trimmed.contains(QLatin1String("://"))) {
        Require(entry.has_value() == (dots >= 2 && dots <= 3));
    } else if (entry) {
        Require(entry->Kind != ServerEntry::Protocol::Time && entry->Port >= 1 &&
                entry->Port <= 65535 && !entry->Host.isEmpty() && !entry->Host.contains(u' ') &&
                !entry->Host.contains(u'/') && !entry->Host.contains(u'@'));
    }
    return 0;
}
