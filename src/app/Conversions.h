#pragma once

#include <QString>
#include <optional>

namespace horlan {

// Text of a stored setting to a single-precision number. The empty result (no value at all)
// converts to 0; text that is not a number raises a type mismatch (13).
float CSng(const std::optional<QString>& text);

// Text of a stored setting to a 16-bit integer, rounding halves to even. The empty result
// converts to 0; text that is not a number raises a type mismatch (13), a number outside
// -32768..32767 an overflow (6).
qint16 CInt(const std::optional<QString>& text);

// A single-precision number as the shortest decimal text that reads back to the same number,
// independent of the user's locale ("1200", "-45", "12.5").
QString SingleToText(float value);

} // namespace horlan
