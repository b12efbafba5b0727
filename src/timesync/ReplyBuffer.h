#pragma once

#include <QByteArray>

namespace horlan {

// The bytes a time server sent in one exchange. A valid reply is four bytes, so only the
// first few are kept while every byte is counted: a server streaming without end cannot
// grow memory, and the length check still sees the true length.
class ReplyBuffer {
public:
    // Bytes kept at most; anything beyond is only counted.
    static constexpr qsizetype KeptBytes = 8;

    void Clear();
    void Append(const QByteArray& bytes);

    // Every byte appended since the last Clear().
    qint64 Length() const { return length_; }

    // The first bytes received, at most KeptBytes of them.
    QByteArray Bytes() const { return kept_; }

private:
    QByteArray kept_;
    qint64 length_ = 0;
};

} // namespace horlan
