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

TEST(ActivityPicture, ScreensAndLightsShowWhatGrew) {
    const QColor olive(0x80, 0x80, 0x00), cyan(0x00, 0xFF, 0xFF), green(0x00, 0xFF, 0x00);
    const struct {
        int number;
        QColor upperLeftScreen, lowerRightScreen, light;
    } pictures[] = {
        {1, olive, olive, green},
        {2, cyan, olive, cyan},
        {3, olive, cyan, cyan},
        {4, cyan, cyan, cyan},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.number);
        const QImage image = ActivityPicture(p.number).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(image.pixelColor(0, 15).alpha(), 0); // one transparent colour
        EXPECT_EQ(image.pixelColor(4, 2), p.upperLeftScreen);
        EXPECT_EQ(image.pixelColor(12, 9), p.lowerRightScreen);
        EXPECT_EQ(image.pixelColor(6, 4), p.light);
        EXPECT_EQ(image.pixelColor(13, 12), p.light);
    }
    EXPECT_THROW(ActivityPicture(5), RuntimeError);
}
