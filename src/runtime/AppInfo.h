#pragma once

#include <QString>

namespace horlan {

// The application's title: the caption of the main window and of every message box
// shown without a title of its own.
inline QString AppTitle() {
    return QStringLiteral("Horlan");
}

// Line break inside message texts.
inline constexpr const char* vbCrLf = "\r\n";

} // namespace horlan
