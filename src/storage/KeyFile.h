#pragma once

#include <QByteArray>
#include <QList>

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
// Key paths and value names compare without regard to letter case and keep the case they
// were first created with. A path without "\" is a root key, which always exists.
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
    static std::optional<KeyFile> Parse(const QByteArray& bytes);
    QByteArray ToBytes() const;

    // Whether `path` is well formed: a known root key name, then levels that are not empty.
    static bool IsValidPath(const QByteArray& path);

    bool HasKey(const QByteArray& path) const;
    // Creates the key with every missing key above it. The path must be valid.
    void AddKey(const QByteArray& path);
    // nullopt when the key or the value does not exist.
    std::optional<QByteArray> ValueOf(const QByteArray& path, const QByteArray& name) const;
    // Sets a value of a key that exists; false when it does not.
    bool SetValue(const QByteArray& path, const QByteArray& name, const QByteArray& data);

    const QList<Key>& Keys() const { return keys_; }

private:
    const Key* Find(const QByteArray& path) const;
    Key* Find(const QByteArray& path);

    QList<Key> keys_;
};

} // namespace horlan
