#include "storage/FileKeyStore.h"
#include "storage/KeyFile.h"

#include "support/ScopedEnvFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace horlan;

TEST(RegistryConcurrency, TwoProcessesWritingOneKeyLoseNothing) {
    constexpr int Writes = 300;
    ScopedEnvFolder config("XDG_CONFIG_HOME");
    const QString path = FileKeyStore::DefaultPath();

    QProcess first;
    QProcess second;
    first.start(QStringLiteral(HORLAN_REGISTRY_HAMMER),
                {path, QStringLiteral("Top"), QString::number(Writes)});
    second.start(QStringLiteral(HORLAN_REGISTRY_HAMMER),
                 {path, QStringLiteral("Left"), QString::number(Writes)});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());

    // Meanwhile this process reads along: the file must parse every time it is there.
    int reads = 0;
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            ASSERT_TRUE(KeyFile::Parse(bytes).has_value()) << bytes.constData();
            ++reads;
        }
        (first.state() != QProcess::NotRunning ? first : second).waitForFinished(1);
    }

    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    FileKeyStore store(path);
    EXPECT_EQ(store.QueryValue(0x80000001u, "Software\\Vantorel\\Horlan", "Top"),
              QByteArray::number(Writes) + '\0');
    EXPECT_EQ(store.QueryValue(0x80000001u, "Software\\Vantorel\\Horlan", "Left"),
              QByteArray::number(Writes) + '\0');
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".corrupt")));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".lock")));
    RecordProperty("ConcurrentReads", reads);
}
