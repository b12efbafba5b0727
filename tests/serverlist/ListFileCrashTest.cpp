#include "serverlist/ServerListFile.h"

#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

using namespace horlan;

namespace {

const QString kFallback = QStringLiteral("/nonexistent/program/folder");

} // namespace

TEST(ListFileCrash, KilledRefreshLeavesTheOldOrTheNewList) {
    constexpr int Kills = 300;
    constexpr qint64 TimeBudgetMs = 20000;
    ScopedEnvFolder data("XDG_DATA_HOME");
    const QString list = ListFilePath(kFallback);
    const QString temp = TempFilePath(kFallback);

    // Big enough that a refresh takes a while: LF line ends only, so every refresh of the
    // old bytes changes them.
    QByteArray oldBytes;
    for (int i = 0; i < 4000; ++i) {
        oldBytes += "time-" + QByteArray::number(i) + ".example.net\n";
    }
    const QByteArray newBytes = QByteArray(oldBytes).replace("\n", "\r\n") + "\r\n";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.Path());
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 4000);

    QElapsedTimer budget;
    budget.start();
    int kills = 0, oldSeen = 0, tempLeft = 0;
    for (; kills < Kills && budget.elapsed() < TimeBudgetMs; ++kills) {
        if (kills % 2 == 0) {
            QFile file(list);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(oldBytes), oldBytes.size());
        }
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(HORLAN_LIST_REFRESHER), {});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << "the refresher did not start";
        // The kill lands at a random moment of the refresh loop.
        QThread::usleep(static_cast<unsigned long>(delayUs(random)));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << child.readAllStandardError().constData();

        const QByteArray now = ReadFileBytes(list);
        ASSERT_TRUE(now == oldBytes || now == newBytes)
            << "after kill " << kills << ": " << now.size() << " bytes";
        oldSeen += now == oldBytes;
        tempLeft += QFile::exists(temp);
    }
    ASSERT_GT(kills, 0);
    RecordProperty("Kills", kills);
    RecordProperty("OldListSeen", oldSeen);
    RecordProperty("TempLeftBehind", tempLeft);
    std::printf("kills %d, old list seen %d, temp.txt left behind %d\n", kills, oldSeen, tempLeft);

    // The next start simply overwrites whatever temp.txt was left.
    RefreshListFile(kFallback);
    EXPECT_EQ(ReadFileBytes(list), newBytes);
    EXPECT_FALSE(QFile::exists(temp));
}
