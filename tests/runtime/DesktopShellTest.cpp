#include "runtime/Shell.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

// Only programs that exit at once are started here; the desktop's handlers are left alone.
TEST(DesktopShell, StartAndReportGivesTheExitStatus) {
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("a file; with spaces"));
    const struct {
        const char* name;
        QString program;
        QStringList arguments;
        std::optional<int> exitStatus;
    } rows[] = {
        {"existing program", QStringLiteral("true"), {}, 0},
        {"failing program", QStringLiteral("false"), {}, 1},
        {"argument with shell characters", QStringLiteral("touch"), {marker}, 0},
        {"missing program", QStringLiteral("horlan-no-such-program"), {}, std::nullopt},
        {"a folder", dir.path(), {}, std::nullopt},
    };
    DesktopShell shell;
    QObject context;
    for (const auto& row : rows) {
        std::optional<std::optional<int>> reported;
        shell.StartAndReport(row.program, row.arguments, &context,
                             [&](std::optional<int> status) { reported = status; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return reported.has_value(); })) << row.name;
        EXPECT_EQ(*reported, row.exitStatus) << row.name;
    }
    // One argument, not parsed by a shell: exactly that file appears, nothing else.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(marker).fileName()});
}
