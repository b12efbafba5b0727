#include "Require.h"
#include "app/Conversions.h"
#include "runtime/RuntimeError.h"

#include <cmath>
#include <cstring>

using namespace horlan;

// The text of a stored setting as a single and as an integer: a number, a type mismatch or an
// overflow; a single written as text reads back as the same single (also from raw bits).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto roundTrips = [](float value) {
        return !std::isfinite(value) || CSng(SingleToText(value)) == value;
    };
    try {
        const float single = CSng(QString::fromUtf8(Bytes(data, size)));
        Require(std::isfinite(single) && roundTrips(single));
        Require(std::fabs(CInt(QString::fromUtf8(Bytes(data, size))) - single) <= 0.5f);
    } catch (const RuntimeError& error) {
        Require(error.Number() == ErrTypeMismatch || error.Number() == ErrOverflow);
    }
    float bits = 0;
    std::memcpy(&bits, data, std::min<size_t>(size, 4));
    Require(roundTrips(bits));
    return 0;
}
