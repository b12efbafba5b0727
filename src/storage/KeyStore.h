#pragma once

#include "storage/RootKeys.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <optional>

namespace horlan {

// Seam: a hierarchical store of keys holding named values, as the registry is.
// A key is addressed by a root handle from RootKeyTable and a subkey path whose levels are
// separated by "\" (empty = the root key itself). Names are 8-bit texts; key paths and value
// names compare without regard to letter case and keep the case they were created with.
// Value data are raw bytes, stored and returned unchanged (a string value is its text plus a
// terminating NUL). No method throws for a store failure: it answers false or nullopt.
class KeyStore {
public:
    virtual ~KeyStore() = default;

    // Creates the key and every missing key above it; an existing key is left unchanged.
    // False when the root is unknown, the path is invalid (an empty level) or the store
    // cannot be changed.
    virtual bool CreateKey(quint32 root, const QByteArray& subKey) = 0;

    // The data of a value; nullopt when the key or the value does not exist or the store
    // cannot be read.
    virtual std::optional<QByteArray> QueryValue(quint32 root, const QByteArray& subKey,
                                                 const QByteArray& valueName) = 0;

    struct NamedValue {
        QByteArray Name;
        QByteArray Data;
    };

    // Sets values of an existing key, replacing any values of those names, in one change: all
    // of them are stored or none. False, with nothing written, when the key does not exist or
    // the store cannot be changed.
    virtual bool SetValues(quint32 root, const QByteArray& subKey,
                           const QList<NamedValue>& values) = 0;

    // Sets one value, as SetValues does.
    bool SetValue(quint32 root, const QByteArray& subKey, const QByteArray& valueName,
                  const QByteArray& data) {
        return SetValues(root, subKey, {{valueName, data}});
    }
};

} // namespace horlan
