#include "runtime/TerminationSignal.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

using namespace horlan;

TEST(TerminationSignal, EachRequestFromOutsideArrivesOnTheWindowThread) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TerminationSignal termination;
        QSignalSpy requested(&termination, &TerminationSignal::Requested);
        ASSERT_EQ(::raise(signal), 0); // would end the test process without the handler
        ASSERT_TRUE(requested.wait(5000));
        EXPECT_EQ(requested.size(), 1);
    }
}
