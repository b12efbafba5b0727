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
    const struct {
        const char* name;
        QString program;
        QStringList arguments;
        bool started;
    } rows[] = {
        {"existing program", QStringLiteral("true"), {}, true},
        {"argument with shell characters", QStringLiteral("touch"), {marker}, true},
        {"missing program", QStringLiteral("horlan-no-such-program"), {}, false},
        {"a folder", dir.path(), {}, false},
    };
    DesktopShell shell;
    for (const auto& row : rows) {
        EXPECT_EQ(shell.StartDetached(row.program, row.arguments), row.started) << row.name;
    }
    // One argument, not parsed by a shell: exactly that file appears, nothing else.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("a file; with spaces")});
}
