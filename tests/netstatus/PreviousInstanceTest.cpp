#include "runtime/PreviousInstance.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace horlan;

namespace {

// Runs the probe to its end and returns what it printed.
QByteArray Ask() {
    QProcess probe;
    probe.start(QStringLiteral(INSTANCE_PROBE), {});
    EXPECT_TRUE(probe.waitForFinished(20000));
    return probe.readAllStandardOutput().trimmed();
}

} // namespace

TEST(LockFileInstance, ASecondCopyIsTurnedAwayUntilTheFirstDies) {
    QProcess first;
    first.start(QStringLiteral(INSTANCE_PROBE), {QStringLiteral("hold")});
    ASSERT_TRUE(first.waitForReadyRead(20000));
    EXPECT_EQ(first.readAllStandardOutput().trimmed(), QByteArrayLiteral("prev=0"));

    EXPECT_EQ(Ask(), QByteArrayLiteral("prev=1"));
    EXPECT_EQ(Ask(), QByteArrayLiteral("prev=1"));

    // A crash leaves the lock file behind; the next copy takes it over.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_TRUE(QFile::exists(LockFileInstance::DefaultLockPath()));
    EXPECT_EQ(Ask(), QByteArrayLiteral("prev=0"));
}

TEST(LockFileInstance, TheLockLivesInTheUsersRuntimeFolder) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const struct {
        QByteArray runtimeFolder;
        QString expected;
    } rows[] = {
        {saved, QString::fromLocal8Bit(saved) + QStringLiteral("/horlan.lock")},
        {QByteArray(), QDir::tempPath() + QStringLiteral("/horlan-%1.lock").arg(::getuid())},
        {QByteArrayLiteral("/nonexistent/runtime"),
         QDir::tempPath() + QStringLiteral("/horlan-%1.lock").arg(::getuid())},
    };
    for (const auto& row : rows) {
        qputenv("XDG_RUNTIME_DIR", row.runtimeFolder);
        EXPECT_EQ(LockFileInstance::DefaultLockPath(), row.expected);
    }
    qputenv("XDG_RUNTIME_DIR", saved);
}
