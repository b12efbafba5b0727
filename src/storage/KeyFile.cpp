#include "storage/KeyFile.h"

#include "storage/KeyStore.h"

#include <QString>

#include <cctype>

namespace horlan {

namespace {

bool SameName(const QByteArray& a, const QByteArray& b) {
    return QString::fromLatin1(a).compare(QString::fromLatin1(b), Qt::CaseInsensitive) == 0;
}

bool IsPrintable(char c) {
    return c >= 0x20 && c <= 0x7e;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

QByteArray Hex(char c) {
    return QByteArray(1, c).toHex().toUpper();
}

// The root key's name as the table spells it, or empty for an unknown name.
QByteArray CanonicalRoot(const QByteArray& name) {
    for (const RootKeyEntry& root : RootKeyTable) {
        if (SameName(name, root.Name)) {
            return root.Name;
        }
    }
    return {};
}

QByteArray QuoteText(const QByteArray& bytes) {
    QByteArray out("\"");
    for (char c : bytes) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (IsPrintable(c)) {
            out += c;
        } else {
            out += "\\x" + Hex(c);
        }
    }
    return out + '"';
}

QByteArray EscapeHeader(const QByteArray& path) {
    QByteArray out;
    for (char c : path) {
        out += IsPrintable(c) && c != '%' ? QByteArray(1, c) : '%' + Hex(c);
    }
    return out;
}

std::optional<char> HexByte(const QByteArray& text, qsizetype at) {
    if (at + 2 > text.size()) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = text.mid(at, 2).toInt(&ok, 16);
    if (!ok || !std::isxdigit(static_cast<unsigned char>(text[at])) ||
        !std::isxdigit(static_cast<unsigned char>(text[at + 1]))) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

std::optional<QByteArray> UnescapeHeader(const QByteArray& text) {
    QByteArray out;
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

// Reads a quoted text starting at `pos` (on the opening quote) and moves `pos` past it.
std::optional<QByteArray> ReadQuoted(const QByteArray& line, qsizetype& pos) {
    if (pos >= line.size() || line[pos] != '"') {
        return std::nullopt;
    }
    QByteArray out;
    for (++pos; pos < line.size(); ++pos) {
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

void SkipSpaces(const QByteArray& line, qsizetype& pos) {
    while (pos < line.size() && IsSpace(line[pos])) {
        ++pos;
    }
}

QByteArray TrimSpaces(const QByteArray& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && IsSpace(line[begin])) {
        ++begin;
    }
    while (end > begin && IsSpace(line[end - 1])) {
        --end;
    }
    return line.mid(begin, end - begin);
}

// Parses `"name" = "data"` or `"name" = raw:"data"`.
std::optional<KeyFile::Value> ParseValueLine(const QByteArray& line) {
    qsizetype pos = 0;
    const auto name = ReadQuoted(line, pos);
    SkipSpaces(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') {
        return std::nullopt;
    }
    ++pos;
    SkipSpaces(line, pos);
    const bool raw = line.mid(pos, 4) == "raw:";
    if (raw) {
        pos += 4;
    }
    auto data = ReadQuoted(line, pos);
    if (!data || pos != line.size()) {
        return std::nullopt;
    }
    if (!raw) {
        data->append('\0');
    }
    return KeyFile::Value{*name, *data};
}

} // namespace

bool KeyFile::IsValidPath(const QByteArray& path) {
    const QList<QByteArray> levels = path.split('\\');
    if (CanonicalRoot(levels.first()).isEmpty()) {
        return false;
    }
    return std::none_of(levels.begin(), levels.end(),
                        [](const QByteArray& l) { return l.isEmpty(); });
}

std::optional<KeyFile> KeyFile::Parse(const QByteArray& bytes) {
    // Text editors may put a UTF-8 byte order mark in front of a file saved by hand.
    static const QByteArray kByteOrderMark("\xEF\xBB\xBF");
    const QByteArray text =
        bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes;
    KeyFile file;
    std::optional<QByteArray> section;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        line = TrimSpaces(line);
        if (line.isEmpty() || line.startsWith(';')) {
            continue;
        }
        if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2) {
            section = UnescapeHeader(line.mid(1, line.size() - 2));
            if (!section || !IsValidPath(*section)) {
                return std::nullopt;
            }
            file.AddKey(*section);
            continue;
        }
        const auto value = ParseValueLine(line);
        if (!section || !value) {
            return std::nullopt;
        }
        file.SetValue(*section, value->Name, value->Data);
    }
    return file;
}

QByteArray KeyFile::ToBytes() const {
    QByteArray out;
    for (const Key& key : keys_) {
        if (!out.isEmpty()) {
            out += '\n';
        }
        out += '[' + EscapeHeader(key.Path) + "]\n";
        for (const Value& value : key.Values) {
            out += QuoteText(value.Name) + '=';
            if (value.Data.endsWith('\0')) {
                out += QuoteText(value.Data.chopped(1));
            } else {
                out += "raw:" + QuoteText(value.Data);
            }
            out += '\n';
        }
    }
    return out;
}

const KeyFile::Key* KeyFile::Find(const QByteArray& path) const {
    for (const Key& key : keys_) {
        if (SameName(key.Path, path)) {
            return &key;
        }
    }
    return nullptr;
}

KeyFile::Key* KeyFile::Find(const QByteArray& path) {
    return const_cast<Key*>(std::as_const(*this).Find(path));
}

bool KeyFile::HasKey(const QByteArray& path) const {
    if (!IsValidPath(path)) {
        return false;
    }
    return !path.contains('\\') || Find(path) != nullptr;
}

void KeyFile::AddKey(const QByteArray& path) {
    const QList<QByteArray> levels = path.split('\\');
    QByteArray canonical = CanonicalRoot(levels.first());
    // A root key gets a section of its own only when it is the key asked for.
    if (levels.size() == 1 && !Find(canonical)) {
        keys_.append(Key{canonical, {}});
    }
    for (qsizetype i = 1; i < levels.size(); ++i) {
        canonical += '\\' + levels[i];
        if (const Key* existing = Find(canonical)) {
            canonical = existing->Path;
        } else {
            keys_.append(Key{canonical, {}});
        }
    }
}

std::optional<QByteArray> KeyFile::ValueOf(const QByteArray& path, const QByteArray& name) const {
    if (const Key* key = Find(path)) {
        for (const Value& value : key->Values) {
            if (SameName(value.Name, name)) {
                return value.Data;
            }
        }
    }
    return std::nullopt;
}

bool KeyFile::SetValue(const QByteArray& path, const QByteArray& name, const QByteArray& data) {
    if (!HasKey(path)) {
        return false;
    }
    if (!Find(path)) {
        AddKey(path);
    }
    Key* key = Find(path);
    for (Value& value : key->Values) {
        if (SameName(value.Name, name)) {
            value.Data = data;
            return true;
        }
    }
    key->Values.append(Value{name, data});
    return true;
}

} // namespace horlan
