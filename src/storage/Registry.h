#pragma once

#include "runtime/MsgBox.h"
#include "storage/KeyStore.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace horlan {

// The text GetKeyValue answers when a value cannot be read.
inline QString RegistryErrorText() {
    return QStringLiteral("Error");
}

// The message for a key path that does not start with "HKEY_" or ends in a backslash.
inline QString IncorrectFormatPrompt(const QString& keyPath) {
    return QCoreApplication::translate("Registry", "Incorrect Format:") + QStringLiteral("\n\n") +
           keyPath;
}

// A key path split into its root key handle (0 for none) and the path below it.
struct KeyPathParts {
    quint32 Root = 0;
    QString SubKey;

    bool operator==(const KeyPathParts&) const = default;
};

// String values addressed by full key paths such as
// "HKEY_CURRENT_USER\Software\Vantorel\Horlan". Failures of the store are silent: reads
// answer "Error", writes simply do not happen. Texts are 8-bit (Latin-1) in the store.
class Registry {
public:
    // The size of the read buffer, terminator included: longer values read as "Error".
    static constexpr int ReadBufferSize = 255;

    Registry(KeyStore& store, MsgBox& msgBox);

    // Creates the key with every missing key above it.
    void CreateKey(const QString& keyPath);

    // The stored text without its leading spaces (trailing ones kept), "Error" when the key
    // or value is missing or does not fit the read buffer, or nullopt when the path names no
    // known root key. Throws RuntimeError 5 when the stored data is empty (not even a NUL).
    std::optional<QString> GetKeyValue(const QString& keyPath, const QString& valueName);

    // Writes `text` as a string value into an existing key; a missing key is not created.
    void SetKeyValue(const QString& keyPath, const QString& valueName, const QString& text);

    // Writes several string values (name, text) into an existing key in one change: either
    // all of them are stored or none is.
    void SetKeyValues(const QString& keyPath, const QList<std::pair<QString, QString>>& values);

    // Checks and splits a key path; a malformed one shows the "Incorrect Format:" box and
    // gives root 0.
    KeyPathParts SplitKeyPath(const QString& keyPath);

    // The handle of a root key name (exact letter case), 0 for an unknown name.
    static quint32 RootKeyFromName(const QString& name);

private:
    KeyStore& store_;
    MsgBox& msgBox_;
};

} // namespace horlan
