#include "runtime/PreviousInstance.h"

#include <QFile>
#include <QProcess>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace horlan;

TEST(LockFileInstance, ASecondCopyIsTurnedAwayUntilTheFirstDies) {
    const auto ask = [](QProcess& probe, const QStringList& mode) {
        probe.start(QStringLiteral(PROBE), mode);
        EXPECT_TRUE(probe.waitForReadyRead(20000));
        return probe.readAllStandardOutput().trimmed();
    };
    QProcess first, second, third;
    EXPECT_EQ(ask(first, {QStringLiteral("instance"), QStringLiteral("hold")}), "prev=0");
    EXPECT_EQ(ask(second, {QStringLiteral("instance")}), "prev=1");
    first.kill(); // a crash leaves the lock file behind; the next copy takes it over
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_TRUE(QFile::exists(LockFileInstance::DefaultLockPath()));
    EXPECT_EQ(ask(third, {QStringLiteral("instance")}), "prev=0");
}

// A FIFO in the lock's place would block the check for a lock left by a crash.
TEST(LockFileInstance, SomethingElseInTheLocksPlaceIsNoOtherCopy) {
    const QString path = LockFileInstance::DefaultLockPath() + QStringLiteral(".fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(path), 0600), 0);
    EXPECT_FALSE(LockFileInstance(path).PrevInstance());
    QFile::remove(path);
}
