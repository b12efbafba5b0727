#include "storage/Registry.h"

#include "runtime/RuntimeError.h"
#include "runtime/TrimSpaces.h"

namespace horlan {

Registry::Registry(KeyStore& store, MsgBox& msgBox) : store_(store), msgBox_(msgBox) {}

quint32 Registry::RootKeyFromName(const QString& name) {
    const RootKeyEntry* root = FindRootKey(name.toLatin1(), Qt::CaseSensitive);
    return root == nullptr ? 0 : root->Handle;
}

KeyPathParts Registry::SplitKeyPath(const QString& keyPath) {
    if (!keyPath.startsWith(QLatin1String("HKEY_")) || keyPath.endsWith(QLatin1Char('\\'))) {
        msgBox_(IncorrectFormatPrompt(keyPath), MsgBoxIcon::None);
        return {};
    }
    const qsizetype slash = keyPath.indexOf(QLatin1Char('\\'));
    if (slash < 0) {
        return {RootKeyFromName(keyPath), QString()};
    }
    return {RootKeyFromName(keyPath.left(slash)), keyPath.mid(slash + 1)};
}

void Registry::CreateKey(const QString& keyPath) {
    const KeyPathParts parts = SplitKeyPath(keyPath);
    if (parts.Root == 0) {
        return;
    }
    store_.CreateKey(parts.Root, parts.SubKey.toLatin1());
}

std::optional<QString> Registry::GetKeyValue(const QString& keyPath, const QString& valueName) {
    const KeyPathParts parts = SplitKeyPath(keyPath);
    if (parts.Root == 0) {
        return std::nullopt;
    }
    const auto data = store_.QueryValue(parts.Root, parts.SubKey.toLatin1(), valueName.toLatin1());
    if (!data || data->size() > ReadBufferSize) {
        return RegistryErrorText();
    }
    // The read lands in a buffer of spaces: trimming spaces takes those after the
    // terminator too, so the terminator is then the last character left.
    const QByteArray buffer = *data + QByteArray(ReadBufferSize - data->size(), ' ');
    const QByteArrayView text = TrimSpaces(buffer);
    if (text.isEmpty()) {
        Raise(ErrInvalidProcedureCall);
    }
    return QString::fromLatin1(text.chopped(1));
}

void Registry::SetKeyValue(const QString& keyPath, const QString& valueName, const QString& text) {
    SetKeyValues(keyPath, {{valueName, text}});
}

void Registry::SetKeyValues(const QString& keyPath,
                            const QList<std::pair<QString, QString>>& values) {
    const KeyPathParts parts = SplitKeyPath(keyPath);
    if (parts.Root == 0) {
        return;
    }
    QList<KeyStore::NamedValue> data;
    data.reserve(values.size());
    for (const auto& [name, text] : values) {
        data.append({name.toLatin1(), text.toLatin1() + '\0'});
    }
    // The store refuses a key that does not exist.
    store_.SetValues(parts.Root, parts.SubKey.toLatin1(), data);
}

} // namespace horlan
