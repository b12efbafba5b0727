#include "runtime/Shell.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

// Only programs that exit at once are started here; the desktop's handlers are left alone.
TEST(DesktopShell, StartDetachedSaysWhetherTheProgramStarted) {
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("a file; with spaces"));
    DesktopShell shell;
    EXPECT_TRUE(shell.StartDetached(QStringLiteral("touch"), {marker}));
    EXPECT_FALSE(shell.StartDetached(QStringLiteral("horlan-no-such-program"), {}));
    EXPECT_FALSE(shell.StartDetached(dir.path(), {}));
    // One argument, not parsed by a shell: exactly that file appears, nothing else.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(marker).fileName()});
}
