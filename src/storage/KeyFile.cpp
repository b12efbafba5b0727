#include "storage/KeyFile.h"

#include "runtime/TrimSpaces.h"

#include <QHashFunctions>

#include <cstring>

namespace horlan {

namespace {

// Latin-1 letters fold to lower case, as QString compares them without regard to case.
constexpr std::array<unsigned char, 256> FoldTable = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(upper ? c + 0x20 : c);
    }
    return table;
}();

unsigned char Fold(char c) {
    return FoldTable[static_cast<unsigned char>(c)];
}

bool SameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsPrintable(char c) {
    return c >= 0x20 && c <= 0x7e;
}

bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

void AppendHex(QByteArray& out, char c) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    out += Digits[byte >> 4];
    out += Digits[byte & 0xF];
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const unsigned char lower = Fold(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::optional<char> HexByte(QByteArrayView text, qsizetype at) {
    if (at + 2 > text.size()) {
        return std::nullopt;
    }
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) {
        return std::nullopt;
    }
    return static_cast<char>(high * 16 + low);
}

int RootPosition(QByteArrayView name) {
    const RootKeyEntry* root = FindRootKey(name, Qt::CaseInsensitive);
    return root == nullptr ? -1 : static_cast<int>(root - RootKeyTable.data());
}

// Bytes that stand for themselves are appended a run at a time: a large file is mostly such.
void AppendQuoted(QByteArray& out, QByteArrayView bytes) {
    out += '"';
    qsizetype plain = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (IsPrintable(c) && c != '\\' && c != '"') {
            continue;
        }
        out.append(bytes.sliced(plain, i - plain));
        plain = i + 1;
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else {
            out += "\\x";
            AppendHex(out, c);
        }
    }
    out.append(bytes.sliced(plain));
    out += '"';
}

void AppendHeader(QByteArray& out, QByteArrayView path) {
    out += '[';
    qsizetype plain = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsPrintable(c) && c != '%') {
            continue;
        }
        out.append(path.sliced(plain, i - plain));
        plain = i + 1;
        out += '%';
        AppendHex(out, c);
    }
    out.append(path.sliced(plain));
    out += "]\n";
}

std::optional<QByteArray> UnescapeHeader(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const auto byte = HexByte(text, i + 1);
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
        i += 2;
    }
    return out;
}

// Reads a quoted text starting at `pos` (on the opening quote) and moves `pos` past it. A text
// without escapes is left where it is, in `plain`; otherwise what it stands for is appended to
// `decoded`. False when it is not a well-formed quoted text.
bool ReadQuoted(QByteArrayView line, qsizetype& pos, QByteArrayView& plain, bool& isPlain,
                QByteArray& decoded) {
    if (pos >= line.size() || line[pos] != '"') {
        return false;
    }
    const qsizetype begin = ++pos;
    const qsizetype close = line.indexOf('"', begin);
    const auto* escape =
        close < 0 ? nullptr : std::memchr(line.data() + begin, '\\', std::size_t(close - begin));
    isPlain = close >= 0 && escape == nullptr;
    if (isPlain) {
        plain = line.sliced(begin, close - begin);
        pos = close + 1;
        return true;
    }
    for (; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            decoded += c;
            continue;
        }
        if (++pos >= line.size()) {
            return false;
        }
        if (line[pos] == '\\' || line[pos] == '"') {
            decoded += line[pos];
        } else if (line[pos] == 'x') {
            const auto byte = HexByte(line, pos + 1);
            if (!byte) {
                return false;
            }
            decoded += *byte;
            pos += 2;
        } else {
            return false;
        }
    }
    return false;
}

void SkipSpaces(QByteArrayView line, qsizetype& pos) {
    while (pos < line.size() && IsSpaceOrTab(line[pos])) {
        ++pos;
    }
}

// FNV-1a over the folded bytes, started from the owner (the parent key, or the key of a value)
// and from the seed Qt draws for each run, so that no file can make its names collide on purpose.
size_t FoldedHash(qsizetype owner, QByteArrayView text) {
    static const size_t seed = QHashSeed::globalSeed();
    size_t hash = (0xcbf29ce484222325ull ^ seed) + static_cast<size_t>(owner);
    for (char c : text) {
        hash = (hash ^ Fold(c)) * 0x100000001b3ull;
    }
    // The tables pick slots by the low bits, which FNV alone spreads poorly.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    return hash ^ (hash >> 33);
}

// How many lines of `bytes` start with `[` and with `"`: about as many keys and values as the
// file holds, to make room for at once.
std::pair<qsizetype, qsizetype> CountLines(QByteArrayView bytes) {
    qsizetype headers = 0;
    qsizetype values = 0;
    for (qsizetype begin = 0; begin < bytes.size();) {
        const char first = bytes[begin];
        headers += first == '[';
        values += first == '"';
        const auto* end = static_cast<const char*>(
            std::memchr(bytes.data() + begin, '\n', std::size_t(bytes.size() - begin)));
        begin = end == nullptr ? bytes.size() : end - bytes.data() + 1;
    }
    return {headers, values};
}

} // namespace

void KeyFile::Index::Reserve(qsizetype records) {
    size_t count = 16;
    while (static_cast<size_t>(records) * 4 > count * 3) {
        count *= 2;
    }
    if (count > slots_.size()) {
        Resize(count);
    }
}

template <class IsIt> qsizetype KeyFile::Index::Find(size_t hash, IsIt isIt) const {
    if (slots_.empty()) {
        return -1;
    }
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.Record < 0) {
            return -1;
        }
        if (slot.Hash == hash && isIt(slot.Record)) {
            return slot.Record;
        }
    }
}

void KeyFile::Index::Place(Slot slot) {
    const size_t mask = slots_.size() - 1;
    size_t i = slot.Hash & mask;
    while (slots_[i].Record >= 0) {
        i = (i + 1) & mask;
    }
    slots_[i] = slot;
}

void KeyFile::Index::Resize(size_t count) {
    std::vector<Slot> old(count, Slot{0, -1});
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.Record >= 0) {
            Place(slot);
        }
    }
}

void KeyFile::Index::Insert(size_t hash, qsizetype record) {
    // At most three quarters full, so that a probe soon meets an empty slot.
    if (static_cast<size_t>(used_ + 1) * 4 > slots_.size() * 3) {
        Resize(slots_.empty() ? 16 : slots_.size() * 2);
    }
    Place({hash, record});
    ++used_;
}

QByteArrayView KeyFile::View(Text text) const {
    return text.Begin >= 0 ? QByteArrayView(source_).sliced(text.Begin, text.Size)
                           : QByteArrayView(added_).sliced(-1 - text.Begin, text.Size);
}

KeyFile::Text KeyFile::Added(QByteArrayView bytes) {
    const Text added{-1 - added_.size(), bytes.size()};
    added_.append(bytes);
    return added;
}

KeyFile::Text KeyFile::InSource(QByteArrayView bytes) const {
    return {bytes.data() - source_.constData(), bytes.size()};
}

void KeyFile::PathOf(qsizetype key, QByteArray& path) const {
    // Levels are written from the last to the first, at the back of room measured first.
    qsizetype size = 0;
    qsizetype above = key;
    for (; above >= 0; above = keys_[static_cast<size_t>(above)].Parent) {
        size += keys_[static_cast<size_t>(above)].Level.Size + 1;
    }
    const QByteArrayView root(RootKeyTable[static_cast<std::size_t>(-1 - above)].Name);
    const bool ownSection = keys_[static_cast<size_t>(key)].Level.Size == 0;
    path.resize(root.size() + size - (ownSection ? 1 : 0));
    char* end = path.data() + path.size();
    for (above = key; above >= 0 && !ownSection; above = keys_[static_cast<size_t>(above)].Parent) {
        const QByteArrayView level = View(keys_[static_cast<size_t>(above)].Level);
        end -= level.size();
        std::memcpy(end, level.data(), std::size_t(level.size()));
        *--end = '\\';
    }
    std::memcpy(path.data(), root.data(), std::size_t(root.size()));
}

QByteArray KeyFile::DataOf(const ValueRecord& value) const {
    QByteArray data = View(value.Data).toByteArray();
    if (value.String) {
        data.append('\0');
    }
    return data;
}

bool KeyFile::IsValidPath(QByteArrayView path) {
    const qsizetype slash = path.indexOf('\\');
    if (RootPosition(slash < 0 ? path : path.first(slash)) < 0) {
        return false;
    }
    // No empty level: no doubled backslash and none at the end.
    return slash < 0 || (!path.endsWith('\\') && !path.contains("\\\\"));
}

std::optional<KeyFile> KeyFile::Parse(const QByteArray& source) {
    KeyFile file;
    file.source_ = source;
    QByteArrayView bytes(source);
    // Text editors may put a UTF-8 byte order mark in front of a file saved by hand.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    const auto [headers, values] = CountLines(bytes);
    file.keys_.reserve(static_cast<size_t>(headers));
    file.values_.reserve(static_cast<size_t>(values));
    file.children_.Reserve(headers);
    qsizetype section = -1;
    // Sections mostly follow their siblings: the key above the last header is looked up once.
    QByteArrayView lastAbove;
    qsizetype lastAboveKey = -1;
    for (qsizetype begin = 0; begin < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', begin);
        if (end < 0) {
            end = bytes.size();
        }
        QByteArrayView line = bytes.sliced(begin, end - begin);
        begin = end + 1;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        line = TrimmedBy(line, IsSpaceOrTab);
        if (line.isEmpty() || line.startsWith(';')) {
            continue;
        }
        if (line.size() >= 2 && line.startsWith('[') && line.endsWith(']')) {
            const QByteArrayView header = line.sliced(1, line.size() - 2);
            std::optional<QByteArray> unescaped;
            if (header.contains('%')) {
                unescaped = UnescapeHeader(header);
                if (!unescaped) {
                    return std::nullopt;
                }
            }
            const QByteArrayView path = unescaped ? QByteArrayView(*unescaped) : header;
            if (!IsValidPath(path)) {
                return std::nullopt;
            }
            const qsizetype lastSlash = path.lastIndexOf('\\');
            if (!unescaped && lastSlash > 0 && path.first(lastSlash) == lastAbove) {
                section = file.Descend(lastAboveKey, path.sliced(lastSlash), true, true);
                continue;
            }
            section = file.Locate(path, true, !unescaped);
            const qsizetype firstSlash = path.indexOf('\\');
            if (!unescaped && lastSlash > firstSlash) {
                lastAbove = path.first(lastSlash);
                lastAboveKey = file.Find(lastAbove);
            }
            continue;
        }
        if (section < 0) {
            return std::nullopt;
        }
        // "name" = "data" or "name" = raw:"data"
        QByteArrayView plain;
        bool isPlain = false;
        qsizetype pos = 0;
        qsizetype decoded = file.added_.size();
        if (!ReadQuoted(line, pos, plain, isPlain, file.added_)) {
            return std::nullopt;
        }
        const Text name =
            isPlain ? file.InSource(plain) : Text{-1 - decoded, file.added_.size() - decoded};
        SkipSpaces(line, pos);
        if (pos >= line.size() || line[pos] != '=') {
            return std::nullopt;
        }
        ++pos;
        SkipSpaces(line, pos);
        const bool raw = line.sliced(pos).startsWith("raw:");
        if (raw) {
            pos += 4;
        }
        decoded = file.added_.size();
        if (!ReadQuoted(line, pos, plain, isPlain, file.added_) || pos != line.size()) {
            return std::nullopt;
        }
        Text data =
            isPlain ? file.InSource(plain) : Text{-1 - decoded, file.added_.size() - decoded};
        // Raw data that ends in NUL is a string, as it is written back.
        const bool string = !raw || file.View(data).endsWith('\0');
        if (raw && string) {
            --data.Size;
        }
        file.SetValueAt(section, name, data, string);
    }
    file.changes_ = 0;
    return file;
}

QByteArray KeyFile::ToBytes() const {
    QByteArray out;
    // Headers and quotes add a little to the text; escapes may add more.
    out.reserve(source_.size() + added_.size() +
                static_cast<qsizetype>(keys_.size() * 64 + values_.size() * 8));
    QByteArray path;
    for (qsizetype k = 0; k < KeyCount(); ++k) {
        const KeyRecord& key = keys_[static_cast<size_t>(k)];
        if (key.FirstValue < 0 && key.Level.Size > 0 && k + 1 < KeyCount() &&
            keys_[static_cast<size_t>(k + 1)].Parent == k) {
            continue;
        }
        if (!out.isEmpty()) {
            out += '\n';
        }
        PathOf(k, path);
        AppendHeader(out, path);
        for (qsizetype v = key.FirstValue; v >= 0; v = values_[static_cast<size_t>(v)].Next) {
            const ValueRecord& value = values_[static_cast<size_t>(v)];
            AppendQuoted(out, View(value.Name));
            out += value.String ? "=" : "=raw:";
            AppendQuoted(out, View(value.Data));
            out += '\n';
        }
    }
    return out;
}

QList<KeyFile::Key> KeyFile::Keys() const {
    QList<Key> keys;
    for (qsizetype k = 0; k < KeyCount(); ++k) {
        Key key;
        PathOf(k, key.Path);
        for (qsizetype v = keys_[static_cast<size_t>(k)].FirstValue; v >= 0;
             v = values_[static_cast<size_t>(v)].Next) {
            const ValueRecord& value = values_[static_cast<size_t>(v)];
            key.Values.append({View(value.Name).toByteArray(), DataOf(value)});
        }
        keys.append(std::move(key));
    }
    return keys;
}

qsizetype KeyFile::AppendKey(Text level, qsizetype parent) {
    keys_.push_back({level, parent});
    ++changes_;
    const auto key = static_cast<qsizetype>(keys_.size() - 1);
    if (level.Size > 0) {
        children_.Insert(FoldedHash(parent, View(level)), key);
    }
    return key;
}

qsizetype KeyFile::Locate(QByteArrayView path, bool create, bool inSource) {
    qsizetype end = path.indexOf('\\');
    const int root = RootPosition(end < 0 ? path : path.first(end));
    if (root < 0) {
        return -1;
    }
    auto& rootSection = rootSections_[static_cast<std::size_t>(root)];
    if (end < 0) {
        // A root key gets a section of its own only when it is the key asked for.
        if (rootSection < 0 && create) {
            rootSection = AppendKey({}, -1 - root);
        }
        return rootSection;
    }
    return Descend(-1 - root, path.sliced(end), create, inSource);
}

qsizetype KeyFile::Descend(qsizetype above, QByteArrayView path, bool create, bool inSource) {
    qsizetype key = above;
    for (qsizetype end = 0; end < path.size();) {
        const qsizetype begin = end + 1;
        end = path.indexOf('\\', begin);
        if (end < 0) {
            end = path.size();
        }
        const QByteArrayView level = path.sliced(begin, end - begin);
        const size_t hash = FoldedHash(key, level);
        const qsizetype found = children_.Find(hash, [&](qsizetype child) {
            const KeyRecord& record = keys_[static_cast<size_t>(child)];
            return record.Parent == key && SameName(View(record.Level), level);
        });
        if (found >= 0) {
            key = found;
            continue;
        }
        if (!create) {
            return -1;
        }
        key = AppendKey(inSource ? InSource(level) : Added(level), key);
    }
    return key;
}

qsizetype KeyFile::Find(QByteArrayView path) const {
    // Without `create` nothing is changed.
    return const_cast<KeyFile*>(this)->Locate(path, false);
}

qsizetype KeyFile::FindValue(qsizetype key, QByteArrayView name) const {
    const KeyRecord& record = keys_[static_cast<size_t>(key)];
    if (record.ValueCount > ScannedValues) {
        return names_.Find(FoldedHash(key, name), [&](qsizetype v) {
            const ValueRecord& value = values_[static_cast<size_t>(v)];
            return value.Key == key && SameName(View(value.Name), name);
        });
    }
    for (qsizetype v = record.FirstValue; v >= 0; v = values_[static_cast<size_t>(v)].Next) {
        if (SameName(View(values_[static_cast<size_t>(v)].Name), name)) {
            return v;
        }
    }
    return -1;
}

void KeyFile::SetValueAt(qsizetype key, Text name, Text data, bool string) {
    if (const qsizetype found = FindValue(key, View(name)); found >= 0) {
        ValueRecord& value = values_[static_cast<size_t>(found)];
        if (value.String != string || View(value.Data) != View(data)) {
            value.Data = data;
            value.String = string;
            ++changes_;
        }
        return;
    }
    const auto added = static_cast<qsizetype>(values_.size());
    values_.push_back({key, name, data, string});
    KeyRecord& record = keys_[static_cast<size_t>(key)];
    if (record.LastValue >= 0) {
        values_[static_cast<size_t>(record.LastValue)].Next = added;
    } else {
        record.FirstValue = added;
    }
    record.LastValue = added;
    ++changes_;
    // Past the scanned few, every value of the key goes into the index.
    if (++record.ValueCount == ScannedValues + 1) {
        for (qsizetype v = record.FirstValue; v >= 0; v = values_[static_cast<size_t>(v)].Next) {
            names_.Insert(FoldedHash(key, View(values_[static_cast<size_t>(v)].Name)), v);
        }
    } else if (record.ValueCount > ScannedValues) {
        names_.Insert(FoldedHash(key, View(name)), added);
    }
}

bool KeyFile::HasKey(QByteArrayView path) const {
    if (!IsValidPath(path)) {
        return false;
    }
    return !path.contains('\\') || Find(path) >= 0;
}

void KeyFile::AddKey(QByteArrayView path) {
    Locate(path, true);
}

std::optional<QByteArray> KeyFile::ValueOf(QByteArrayView path, QByteArrayView name) const {
    const qsizetype key = Find(path);
    if (key < 0) {
        return std::nullopt;
    }
    const qsizetype found = FindValue(key, name);
    if (found < 0) {
        return std::nullopt;
    }
    return DataOf(values_[static_cast<size_t>(found)]);
}

bool KeyFile::SetValue(QByteArrayView path, QByteArrayView name, QByteArrayView data) {
    if (!HasKey(path)) {
        return false;
    }
    const qsizetype key = Locate(path, true);
    const bool string = data.endsWith('\0');
    if (string) {
        data.chop(1);
    }
    // An unchanged value adds nothing to the text.
    if (const qsizetype found = FindValue(key, name); found >= 0) {
        const ValueRecord& value = values_[static_cast<size_t>(found)];
        if (value.String == string && View(value.Data) == data) {
            return true;
        }
    }
    const Text nameText = Added(name);
    SetValueAt(key, nameText, Added(data), string);
    return true;
}

} // namespace horlan
