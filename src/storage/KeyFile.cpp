#include "storage/KeyFile.h"

#include "runtime/TrimSpaces.h"

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

// Reads a quoted text starting at `pos` (on the opening quote) and moves `pos` past it;
// `extra` more bytes are reserved behind the text.
std::optional<QByteArray> ReadQuoted(QByteArrayView line, qsizetype& pos, qsizetype extra = 0) {
    if (pos >= line.size() || line[pos] != '"') {
        return std::nullopt;
    }
    const qsizetype begin = ++pos;
    const qsizetype close = line.indexOf('"', begin);
    const auto* escape =
        close < 0 ? nullptr : std::memchr(line.data() + begin, '\\', std::size_t(close - begin));
    if (close >= 0 && escape == nullptr) {
        // Most texts hold no escape: one copy.
        QByteArray out;
        out.reserve(close - begin + extra);
        out.append(line.sliced(begin, close - begin));
        pos = close + 1;
        return out;
    }
    QByteArray out;
    for (; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size()) {
            return std::nullopt;
        }
        if (line[pos] == '\\' || line[pos] == '"') {
            out += line[pos];
        } else if (line[pos] == 'x') {
            const auto byte = HexByte(line, pos + 1);
            if (!byte) {
                return std::nullopt;
            }
            out += *byte;
            pos += 2;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void SkipSpaces(QByteArrayView line, qsizetype& pos) {
    while (pos < line.size() && IsSpaceOrTab(line[pos])) {
        ++pos;
    }
}

// Value names repeat from key to key: the last few are shared instead of copied again.
class NameCache {
public:
    QByteArray Share(QByteArray name) {
        for (const QByteArray& known : recent_) {
            if (known == name) {
                return known;
            }
        }
        next_ = (next_ + 1) % recent_.size();
        recent_[next_] = name;
        return name;
    }

private:
    std::array<QByteArray, 4> recent_;
    std::size_t next_ = 0;
};

// Parses `"name" = "data"` or `"name" = raw:"data"`.
std::optional<KeyFile::Value> ParseValueLine(QByteArrayView line, NameCache& names) {
    qsizetype pos = 0;
    auto name = ReadQuoted(line, pos);
    SkipSpaces(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') {
        return std::nullopt;
    }
    ++pos;
    SkipSpaces(line, pos);
    const bool raw = line.sliced(pos).startsWith("raw:");
    if (raw) {
        pos += 4;
    }
    auto data = ReadQuoted(line, pos, 1);
    if (!data || pos != line.size()) {
        return std::nullopt;
    }
    if (!raw) {
        data->append('\0');
    }
    return KeyFile::Value{names.Share(std::move(*name)), std::move(*data)};
}

} // namespace

KeyFile::IndexName::IndexName(qsizetype owner, QByteArray text, qsizetype begin, qsizetype end)
    : Owner(owner), Text(std::move(text)), Begin(begin), End(end) {
    // FNV-1a over the folded bytes, started from the owner.
    size_t hash = 0xcbf29ce484222325ull + static_cast<size_t>(owner);
    for (char c : View()) {
        hash = (hash ^ Fold(c)) * 0x100000001b3ull;
    }
    // The table picks buckets by the low bits, which FNV alone spreads poorly.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    FoldedHash = hash ^ (hash >> 33);
}

bool KeyFile::IndexName::operator==(const IndexName& other) const {
    return FoldedHash == other.FoldedHash && Owner == other.Owner && SameName(View(), other.View());
}

KeyFile::IndexName KeyFile::Lookup(qsizetype owner, QByteArrayView text) {
    return {owner, QByteArray::fromRawData(text.data(), text.size()), 0, text.size()};
}

bool KeyFile::IsValidPath(QByteArrayView path) {
    const qsizetype slash = path.indexOf('\\');
    if (RootPosition(slash < 0 ? path : path.first(slash)) < 0) {
        return false;
    }
    // No empty level: no doubled backslash and none at the end.
    return slash < 0 || (!path.endsWith('\\') && !path.contains("\\\\"));
}

std::optional<KeyFile> KeyFile::Parse(QByteArrayView bytes) {
    // Text editors may put a UTF-8 byte order mark in front of a file saved by hand.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    KeyFile file;
    qsizetype section = -1;
    // Sections mostly follow their siblings: the key above the last header is looked up once.
    QByteArrayView lastAbove;
    qsizetype lastAboveKey = -1;
    NameCache names;
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
                section = file.Descend(lastAboveKey, path.sliced(lastSlash), true);
                continue;
            }
            section = file.Locate(path, true);
            const qsizetype firstSlash = path.indexOf('\\');
            if (!unescaped && lastSlash > firstSlash) {
                lastAbove = path.first(lastSlash);
                lastAboveKey = file.Find(lastAbove);
            }
            continue;
        }
        auto value = ParseValueLine(line, names);
        if (section < 0 || !value) {
            return std::nullopt;
        }
        file.SetValueAt(section, std::move(value->Name), std::move(value->Data));
    }
    file.changes_ = 0;
    return file;
}

QByteArray KeyFile::ToBytes() const {
    QByteArray out;
    for (const Key& key : keys_) {
        if (!out.isEmpty()) {
            out += '\n';
        }
        AppendHeader(out, key.Path);
        for (const Value& value : key.Values) {
            AppendQuoted(out, value.Name);
            out += '=';
            if (value.Data.endsWith('\0')) {
                AppendQuoted(out, QByteArrayView(value.Data).chopped(1));
            } else {
                out += "raw:";
                AppendQuoted(out, value.Data);
            }
            out += '\n';
        }
    }
    return out;
}

qsizetype KeyFile::AppendKey(QByteArray path) {
    keys_.append(Key{std::move(path), {}});
    ++changes_;
    return keys_.size() - 1;
}

qsizetype KeyFile::Locate(QByteArrayView path, bool create) {
    qsizetype end = path.indexOf('\\');
    const int root = RootPosition(end < 0 ? path : path.first(end));
    if (root < 0) {
        return -1;
    }
    auto& rootSection = rootSections_[static_cast<std::size_t>(root)];
    if (end < 0) {
        // A root key gets a section of its own only when it is the key asked for.
        if (rootSection < 0 && create) {
            rootSection = AppendKey(RootKeyTable[static_cast<std::size_t>(root)].Name);
        }
        return rootSection;
    }
    return Descend(-1 - root, path.sliced(end), create);
}

qsizetype KeyFile::Descend(qsizetype above, QByteArrayView path, bool create) {
    qsizetype key = above;
    for (qsizetype end = 0; end < path.size();) {
        const qsizetype begin = end + 1;
        end = path.indexOf('\\', begin);
        if (end < 0) {
            end = path.size();
        }
        const QByteArrayView level = path.sliced(begin, end - begin);
        const auto found = children_.constFind(Lookup(key, level));
        if (found != children_.cend()) {
            key = *found;
            continue;
        }
        if (!create) {
            return -1;
        }
        // The new key keeps the spelling of the keys above it as they were first created.
        const QByteArrayView parent =
            key < 0 ? QByteArrayView(RootKeyTable[static_cast<std::size_t>(-1 - key)].Name)
                    : QByteArrayView(keys_[key].Path);
        QByteArray full;
        full.reserve(parent.size() + 1 + level.size());
        full.append(parent).append('\\').append(level);
        const qsizetype child = AppendKey(full);
        children_.insert({key, full, full.size() - level.size(), full.size()}, child);
        key = child;
    }
    return key;
}

qsizetype KeyFile::Find(QByteArrayView path) const {
    // Without `create` nothing is changed.
    return const_cast<KeyFile*>(this)->Locate(path, false);
}

qsizetype KeyFile::FindValue(qsizetype key, QByteArrayView name) const {
    const QList<Value>& values = keys_[key].Values;
    if (values.size() > ScannedValues) {
        return values_.value(Lookup(key, name), -1);
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (SameName(values[i].Name, name)) {
            return i;
        }
    }
    return -1;
}

void KeyFile::SetValueAt(qsizetype key, const QByteArray& name, QByteArray data) {
    QList<Value>& values = keys_[key].Values;
    if (const qsizetype found = FindValue(key, name); found >= 0) {
        if (values[found].Data != data) {
            values[found].Data = std::move(data);
            ++changes_;
        }
        return;
    }
    values.append(Value{name, std::move(data)});
    ++changes_;
    const auto index = [&](qsizetype i) {
        values_.insert({key, values[i].Name, 0, values[i].Name.size()}, i);
    };
    // Past the scanned few, every value of the key goes into the index.
    if (values.size() == ScannedValues + 1) {
        for (qsizetype i = 0; i < values.size(); ++i) {
            index(i);
        }
    } else if (values.size() > ScannedValues) {
        index(values.size() - 1);
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
    return keys_[key].Values[found].Data;
}

bool KeyFile::SetValue(QByteArrayView path, QByteArrayView name, const QByteArray& data) {
    if (!HasKey(path)) {
        return false;
    }
    SetValueAt(Locate(path, true), name.toByteArray(), data);
    return true;
}

} // namespace horlan
