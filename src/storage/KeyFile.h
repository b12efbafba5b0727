#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include "storage/RootKeys.h"

#include <array>
#include <optional>

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
// winning. Anything else makes the file unreadable as a whole.
//
// Key paths and value names compare without regard to letter case (Latin-1) and keep the case
// they were first created with. A path without "\" is a root key, which always exists.
//
// Every operation takes time in proportion to the length of its arguments, and parsing and
// writing in proportion to the length of the file: keys are indexed level by level and values
// by key, hashed without regard to case, so no lookup scans other keys or builds a string.
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

    // nullopt when `bytes` do not follow the format.
    static std::optional<KeyFile> Parse(QByteArrayView bytes);
    QByteArray ToBytes() const;

    // Whether `path` is well formed: a known root key name, then levels that are not empty.
    static bool IsValidPath(QByteArrayView path);

    bool HasKey(QByteArrayView path) const;
    // Creates the key with every missing key above it. The path must be valid.
    void AddKey(QByteArrayView path);
    // nullopt when the key or the value does not exist.
    std::optional<QByteArray> ValueOf(QByteArrayView path, QByteArrayView name) const;
    // Sets a value of a key that exists; false when it does not.
    bool SetValue(QByteArrayView path, QByteArrayView name, const QByteArray& data);

    // The keys in file order; a root key is here only when it has a section of its own.
    const QList<Key>& Keys() const { return keys_; }
    // How many keys and values were added or changed since the content was parsed or created.
    int Changes() const { return changes_; }

private:
    // A level of a key path under its parent key, or a value name under its key: `Text`
    // shares the bytes of the path or name it is part of, so the index copies no text. The
    // hash of the folded text is kept, so that growing the index and probing it do not read
    // the text again.
    struct IndexName {
        IndexName(qsizetype owner, QByteArray text, qsizetype begin, qsizetype end);

        qsizetype Owner;
        QByteArray Text;
        qsizetype Begin;
        qsizetype End;
        size_t FoldedHash;

        QByteArrayView View() const { return QByteArrayView(Text).sliced(Begin, End - Begin); }
        bool operator==(const IndexName& other) const;
        friend size_t qHash(const IndexName& name, size_t seed) { return name.FoldedHash ^ seed; }
    };
    static IndexName Lookup(qsizetype owner, QByteArrayView text);

    // The index of the key at `path`, -1 when it is missing (or, for a root key, has no
    // section of its own). With `create`, missing keys are added; the path must be valid then.
    qsizetype Locate(QByteArrayView path, bool create);
    // The same for the levels in `path` below the key `above` (see children_).
    qsizetype Descend(qsizetype above, QByteArrayView path, bool create);
    qsizetype Find(QByteArrayView path) const;
    qsizetype AppendKey(QByteArray path);
    qsizetype FindValue(qsizetype key, QByteArrayView name) const;
    void SetValueAt(qsizetype key, const QByteArray& name, QByteArray data);

    // A key's values are looked up one by one up to this many, and through values_ beyond.
    static constexpr qsizetype ScannedValues = 8;

    QList<Key> keys_;
    // A first level's parent is written -1 - (its root's position in the root key table).
    QHash<IndexName, qsizetype> children_;
    QHash<IndexName, qsizetype> values_; // of the keys with more than ScannedValues values
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

// Growing the lists moves their bytes instead of each element.
Q_DECLARE_TYPEINFO(horlan::KeyFile::Value, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(horlan::KeyFile::Key, Q_RELOCATABLE_TYPE);
