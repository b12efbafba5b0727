#pragma once

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace horlan {

// The file's bytes, or "<unreadable>" when it cannot be opened (missing, a folder...).
inline QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Replaces the file's content with `bytes`, creating its folder when missing.
inline void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace horlan
