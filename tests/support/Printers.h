#pragma once

// Readable failure messages for Qt texts.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
