#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "storage/RootKeys.h"

#include <array>
#include <optional>
#include <vector>

namespace horlan {

// The content of the per-user settings file: keys, each with its named values.
//
// The file is text, one section per key, in the order the keys were created:
//
//     [HKEY_CURRENT_USER\Software\Vantorel\Horlan]
//     "Top"="1230"
//     "Left"=raw:"12\x00"
//
// A section header holds the full key path, root key name first; a byte outside printable
// ASCII, and "%" itself, is written there as %HH (the backslash already separates levels).
// A value line is a quoted name, "=", and quoted data; inside quotes "\\" stands for a
// backslash, "\"" for a quote and "\xHH" for any byte, and the writer uses \xHH for every byte
// outside printable ASCII. Plain quoted data is a string value: its bytes plus the NUL that
// ends them. Data that does not end in NUL is written raw:"...", byte for byte.
// When reading, spaces and tabs around brackets, names and "=" are ignored, as are empty
// lines and lines starting with ";"; CR LF line ends are accepted. A key named in a header
// also brings every key above it; a section or value named twice is merged, the later value
// winning. Anything else makes the file unreadable as a whole. The writer leaves out the
// section of a key without values when a key right below it follows at once: that key's
// header brings it back in the same place, so a deep path is not written again for each level.
//
// Key paths and value names compare without regard to letter case (Latin-1) and keep the case
// they were first created with. A path without "\" is a root key, which always exists.
//
// Every operation takes time in proportion to the length of its arguments, and parsing and
// writing in proportion to the length of the file. Paths, names and data are stretches of the
// parsed bytes themselves, or of one block of text for what had to be decoded or was added;
// a key holds its last level and the key above it. Keys are indexed level by level and values
// by key, in tables hashed without regard to case. So parsing copies no text and allocates
// nothing per key, and no lookup scans other keys or builds a string.
class KeyFile {
public:
    struct Value {
        QByteArray Name;
        QByteArray Data;
    };
    struct Key {
        QByteArray Path;
        QList<Value> Values;
    };

    // nullopt when `source` does not follow the format. The content keeps a shallow copy of
    // `source`.
    static std::optional<KeyFile> Parse(const QByteArray& source);
    QByteArray ToBytes() const;

    // Whether `path` is well formed: a known root key name, then levels that are not empty.
    static bool IsValidPath(QByteArrayView path);

    bool HasKey(QByteArrayView path) const;
    // Creates the key with every missing key above it. The path must be valid.
    void AddKey(QByteArrayView path);
    // nullopt when the key or the value does not exist.
    std::optional<QByteArray> ValueOf(QByteArrayView path, QByteArrayView name) const;
    // Sets a value of a key that exists; false when it does not.
    bool SetValue(QByteArrayView path, QByteArrayView name, QByteArrayView data);

    // How many keys there are; a root key counts only when it has a section of its own.
    qsizetype KeyCount() const { return static_cast<qsizetype>(keys_.size()); }
    // The keys in file order, with copies of their values in order.
    QList<Key> Keys() const;
    // How many keys and values were added or changed since the content was parsed or created.
    int Changes() const { return changes_; }

private:
    // A stretch of source_ (Begin >= 0) or of added_ (at -1 - Begin).
    struct Text {
        qsizetype Begin = 0;
        qsizetype Size = 0;
    };
    struct KeyRecord {
        // The last level of the path (empty for a root key's own section), and the key above
        // it: a first level's parent, and a root key's, is -1 - (the root's position in the
        // root key table).
        Text Level;
        qsizetype Parent;
        // The key's values in the order they were created, linked through ValueRecord::Next.
        qsizetype FirstValue = -1;
        qsizetype LastValue = -1;
        qsizetype ValueCount = 0;
    };
    struct ValueRecord {
        qsizetype Key;
        Text Name;
        // A string's bytes without the NUL that ends them; other data byte for byte.
        Text Data;
        bool String;
        qsizetype Next = -1;
    };

    // An open-addressing hash table of record numbers; finding needs a test of whether a
    // record is the one sought, as the records hold the text.
    class Index {
    public:
        void Reserve(qsizetype records);
        template <class IsIt> qsizetype Find(size_t hash, IsIt isIt) const;
        void Insert(size_t hash, qsizetype record);

    private:
        struct Slot {
            size_t Hash;
            qsizetype Record; // -1 when empty
        };
        void Place(Slot slot);
        void Resize(size_t count);
        std::vector<Slot> slots_;
        qsizetype used_ = 0;
    };

    QByteArrayView View(Text text) const;
    Text Added(QByteArrayView bytes);
    // Where `bytes`, which lie in source_, are in it.
    Text InSource(QByteArrayView bytes) const;
    // The full path of `key`, built in `path`.
    void PathOf(qsizetype key, QByteArray& path) const;
    // Data as the callers see it: a string's bytes with their NUL.
    QByteArray DataOf(const ValueRecord& value) const;

    // The index of the key at `path`, -1 when it is missing (or, for a root key, has no
    // section of its own). With `create`, missing keys are added; the path must be valid then,
    // and `inSource` says that it lies in source_, where the new keys' levels are left.
    qsizetype Locate(QByteArrayView path, bool create, bool inSource = false);
    // The same for the levels in `path` below the key `above`.
    qsizetype Descend(qsizetype above, QByteArrayView path, bool create, bool inSource = false);
    qsizetype Find(QByteArrayView path) const;
    qsizetype AppendKey(Text level, qsizetype parent);
    qsizetype FindValue(qsizetype key, QByteArrayView name) const;
    // Sets the value named by `name` of `key` to `data`, a string when `string`.
    void SetValueAt(qsizetype key, Text name, Text data, bool string);

    QByteArray source_;
    QByteArray added_;
    std::vector<KeyRecord> keys_;
    std::vector<ValueRecord> values_;
    Index children_; // keys by parent and level
    Index names_;    // values by key and name, of the keys with more than ScannedValues
    // A key's values are looked up one by one up to this many, and through names_ beyond.
    static constexpr qsizetype ScannedValues = 8;
    using RootSections = std::array<qsizetype, RootKeyTable.size()>;
    static constexpr RootSections NoSections() {
        RootSections none{};
        none.fill(-1);
        return none;
    }
    RootSections rootSections_ = NoSections();
    int changes_ = 0;
};

} // namespace horlan
