#include "runtime/TerminationSignal.h"

#include <QTest>

#include <csignal>

#include <gtest/gtest.h>

using namespace horlan;

// Each request to end arrives as one Requested on the window thread instead of killing the
// program; without the handler, raise() would end this test program.
TEST(TerminationSignal, EachRequestReachesTheWindowThread) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        const TerminationSignal termination;
        int requests = 0;
        QObject::connect(&termination, &TerminationSignal::Requested, [&] { ++requests; });
        ASSERT_EQ(::raise(number), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return requests > 0; }, 1000)) << number;
        QTest::qWait(20);
        EXPECT_EQ(requests, 1) << number;
    }
}
