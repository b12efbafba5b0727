#include "runtime/PreviousInstance.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

// Runs the probe to its end and returns what it printed.
QByteArray Ask() {
    QProcess probe;
    probe.start(QStringLiteral(PROBE), {QStringLiteral("instance")});
    EXPECT_TRUE(probe.waitForFinished(20000));
    return probe.readAllStandardOutput().trimmed();
}

} // namespace

TEST(LockFileInstance, ASecondCopyIsTurnedAwayUntilTheFirstDies) {
    QProcess first;
    first.start(QStringLiteral(PROBE), {QStringLiteral("instance"), QStringLiteral("hold")});
    ASSERT_TRUE(first.waitForReadyRead(20000));
    EXPECT_EQ(first.readAllStandardOutput().trimmed(), QByteArrayLiteral("prev=0"));
    EXPECT_EQ(Ask(), QByteArrayLiteral("prev=1"));
    first.kill(); // a crash leaves the lock file behind; the next copy takes it over
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_TRUE(QFile::exists(LockFileInstance::DefaultLockPath()));
    EXPECT_EQ(Ask(), QByteArrayLiteral("prev=0"));
}
