#include "netstatus/ActivityPicture.h"

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
