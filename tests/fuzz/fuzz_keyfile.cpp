#include "Require.h"
#include "storage/KeyFile.h"

using horlan::KeyFile;

// Whatever a settings file holds, what the program writes back must read back as the same
// keys and values in the same order.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto first = KeyFile::Parse(Bytes(data, size));
    if (!first) {
        return 0;
    }
    const auto second = KeyFile::Parse(first->ToBytes());
    Require(second && second->KeyCount() == first->KeyCount());
    const QList<KeyFile::Key> before = first->Keys();
    const QList<KeyFile::Key> after = second->Keys();
    for (qsizetype k = 0; k < before.size(); ++k) {
        const KeyFile::Key& a = before[k];
        const KeyFile::Key& b = after[k];
        Require(a.Path == b.Path && a.Values.size() == b.Values.size());
        for (qsizetype v = 0; v < a.Values.size(); ++v) {
            Require(a.Values[v].Name == b.Values[v].Name && a.Values[v].Data == b.Values[v].Data);
        }
    }
    return 0;
}
