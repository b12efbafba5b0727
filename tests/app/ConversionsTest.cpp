#include "app/Conversions.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace horlan;

namespace {

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

} // namespace

TEST(Conversions, StoredIndexToInteger) {
    const struct {
        std::optional<QString> text;
        int value;
        int error;
    } rows[] = {
        {QStringLiteral("3"), 3, 0},
        {QStringLiteral("-1"), -1, 0},
        {QStringLiteral(" 12 "), 12, 0},
        {QStringLiteral("2.5"), 2, 0}, // halves go to the even neighbour
        {QStringLiteral("3.5"), 4, 0},
        {std::nullopt, 0, 0}, // no value at all reads as zero
        {QStringLiteral("Error"), 0, ErrTypeMismatch},
        {QStringLiteral(""), 0, ErrTypeMismatch},
        {QStringLiteral("32767"), 32767, 0},
        {QStringLiteral("32768"), 0, ErrOverflow},
        {QStringLiteral("-32769"), 0, ErrOverflow},
    };
    for (const auto& row : rows) {
        const QString shown = row.text.value_or(QStringLiteral("<none>"));
        qint16 value = 0;
        EXPECT_EQ(ErrorOf([&] { value = CInt(row.text); }), row.error) << shown.toStdString();
        if (row.error == 0) {
            EXPECT_EQ(value, row.value) << shown.toStdString();
        }
    }
}

TEST(Conversions, PositionTextReadsBackToTheSameNumber) {
    const float values[] = {0.0f,
                            1200.0f,
                            -45.0f,
                            3150.0f,
                            12.5f,
                            -0.1f,
                            16777216.0f,
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::denorm_min()};
    for (const float value : values) {
        const QString text = SingleToText(value);
        EXPECT_FALSE(text.contains(QLatin1Char(','))) << text.toStdString();
        EXPECT_FALSE(text.startsWith(QLatin1Char(' '))) << text.toStdString();
        EXPECT_EQ(CSng(text), value) << text.toStdString();
    }
    EXPECT_EQ(SingleToText(1200.0f), QStringLiteral("1200"));
    EXPECT_EQ(SingleToText(-45.0f), QStringLiteral("-45"));
    EXPECT_EQ(ErrorOf([] { CSng(QStringLiteral("Error")); }), ErrTypeMismatch);
    EXPECT_EQ(ErrorOf([] { CSng(QStringLiteral("1e39")); }), ErrOverflow);
    EXPECT_EQ(ErrorOf([] { CSng(QStringLiteral("-1e39")); }), ErrOverflow);
    EXPECT_EQ(CSng(std::nullopt), 0.0f);
}
