#include "app/Conversions.h"

#include "runtime/RuntimeError.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace horlan {

namespace {

double ParseNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        Raise(ErrTypeMismatch);
    }
    return value;
}

} // namespace

float CSng(const std::optional<QString>& text) {
    if (!text) {
        return 0.0f;
    }
    const double value = ParseNumber(*text);
    // Halfway between the largest single and the next power of two: from here on a number
    // no longer rounds to a single.
    constexpr double kSingleLimit = 0x1.ffffffp127;
    if (std::fabs(value) >= kSingleLimit) {
        Raise(ErrOverflow);
    }
    return static_cast<float>(value);
}

qint16 CInt(const std::optional<QString>& text) {
    if (!text) {
        return 0;
    }
    const double rounded =
        std::nearbyint(ParseNumber(*text)); // the default mode rounds halves to even
    if (rounded < -32768.0 || rounded > 32767.0) {
        Raise(ErrOverflow);
    }
    return static_cast<qint16>(rounded);
}

QString SingleToText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

} // namespace horlan
