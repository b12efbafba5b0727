#include "app/Conversions.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <limits>

using namespace horlan;
using namespace Qt::StringLiterals;

TEST(Conversions, StoredIndexToInteger) {
    // Halves go to the even neighbour; no value at all reads as zero.
    const std::pair<std::optional<QString>, int> rows[] = {{u" 12 "_s, 12},   {u"-1"_s, -1},
                                                           {u"2.5"_s, 2},     {u"3.5"_s, 4},
                                                           {std::nullopt, 0}, {u"32767"_s, 32767}};
    for (const auto& [text, value] : rows) {
        EXPECT_EQ(CInt(text), value) << text.value_or(u"<none>"_s).toStdString();
    }
    for (const char* text : {"Error", "", "32768", "-32769"}) {
        EXPECT_THROW(CInt(QString::fromLatin1(text)), RuntimeError) << text;
    }
}

TEST(Conversions, PositionTextReadsBackToTheSameNumber) {
    for (const float value :
         {0.0f, 1200.0f, -45.0f, 12.5f, -0.1f, 16777216.0f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::denorm_min()}) {
        const QString text = SingleToText(value);
        EXPECT_FALSE(text.contains(QLatin1Char(',')) || text.startsWith(QLatin1Char(' ')))
            << text.toStdString();
        EXPECT_EQ(CSng(text), value) << text.toStdString();
    }
    EXPECT_EQ(SingleToText(-45.0f), u"-45"_s);
    EXPECT_EQ(CSng(std::nullopt), 0.0f);
    for (const char* text : {"Error", "1e39", "-1e39"}) {
        EXPECT_THROW(CSng(QString::fromLatin1(text)), RuntimeError) << text;
    }
}
