#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <array>

namespace horlan {

// The predefined root keys and their handles: the one table every key path is checked
// against.
struct RootKeyEntry {
    const char* Name;
    quint32 Handle;
};
inline constexpr std::array<RootKeyEntry, 7> RootKeyTable{{
    {"HKEY_CLASSES_ROOT", 0x80000000u},
    {"HKEY_CURRENT_USER", 0x80000001u},
    {"HKEY_LOCAL_MACHINE", 0x80000002u},
    {"HKEY_USERS", 0x80000003u},
    {"HKEY_PERFORMANCE_DATA", 0x80000004u},
    {"HKEY_CURRENT_CONFIG", 0x80000005u},
    {"HKEY_DYN_DATA", 0x80000006u},
}};

// The table entry named `name` (in the table's order, with or without regard to letter case),
// or null.
const RootKeyEntry* FindRootKey(QByteArrayView name, Qt::CaseSensitivity cs);

// The table entry of a handle, or null.
const RootKeyEntry* FindRootKey(quint32 handle);

} // namespace horlan
