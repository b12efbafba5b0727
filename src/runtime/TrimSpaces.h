#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace horlan {

// `text` without the leading and trailing characters for which `isBlank` holds. Every
// trimming rule of the program goes through here.
template <class View, class IsBlank> View TrimmedBy(View text, IsBlank isBlank) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// Without leading and trailing spaces (32): tabs and other blanks stay.
inline QByteArrayView TrimSpaces(QByteArrayView text) {
    return TrimmedBy(text, [](char c) { return c == ' '; });
}

inline QString TrimSpaces(QStringView text) {
    return TrimmedBy(text, [](QChar c) { return c == u' '; }).toString();
}

} // namespace horlan
