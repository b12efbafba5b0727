#include "netstatus/ActivityPicture.h"

#include "runtime/RuntimeError.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace horlan;

TEST(ActivityIndicator, OnlyGrowthOfATotalCountsAsActivity) {
    const struct {
        qint64 received, sent;
        int picture;
    } ticks[] = {
        {0, 0, 1}, // a table that cannot be read: both totals stay 0
        {5000, 1000, 4}, {5000, 1200, 3},
        {5100, 1200, 2}, {5100, 1200, 1},
        {4000, 1300, 3}, // received fell: no activity, and 4000 is the new reference
        {4100, 1300, 2}, {(1LL << 32) + 4100, (1LL << 31) + 1300, 4}, // past the 32-bit range
    };
    ActivityIndicator indicator;
    for (const auto& t : ticks) {
        EXPECT_EQ(indicator.Next(t.received, t.sent), t.picture) << t.received << " " << t.sent;
    }
}

// Picture 2 lights the upper left screen (received), 3 the lower right one (sent), 4 both.
TEST(ActivityPicture, ScreensShowWhatGrew) {
    const QColor olive(0x80, 0x80, 0x00), cyan(0x00, 0xFF, 0xFF);
    for (const int number : {1, 2, 3, 4}) {
        const QImage image = ActivityPicture(number).toImage();
        EXPECT_EQ(image.pixelColor(4, 2), number % 2 == 0 ? cyan : olive) << number;
        EXPECT_EQ(image.pixelColor(12, 9), number >= 3 ? cyan : olive) << number;
    }
    EXPECT_THROW(ActivityPicture(5), RuntimeError);
}
