#pragma once

#include <QByteArray>

#include <cstdlib>

// Ends the run as a crash, so that libFuzzer keeps the input, when a property fails.
inline void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
