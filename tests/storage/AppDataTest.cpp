#include "storage/appdata.h"

#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

using namespace horlan;

TEST(AppData, ProgramDataFolderIsMadeWhenMissingAndLookedForEveryTime) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (data.Path() + QStringLiteral("/not/yet")).toLocal8Bit());
    const QString expected = data.Path() + QStringLiteral("/not/yet/Vantorel software/Horlan/");
    EXPECT_EQ(GetAppDataFolder(QStringLiteral("/opt/h")), expected);
    ASSERT_TRUE(QDir(expected).removeRecursively());
    EXPECT_EQ(GetAppDataFolder(QStringLiteral("/opt/h")), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    WriteFileBytes(expected + QStringLiteral("list.txt"), "kept");
    EXPECT_EQ(GetAppDataFolder(QStringLiteral("/opt/h")), expected);
    EXPECT_EQ(ReadFileBytes(expected + QStringLiteral("list.txt")), QByteArray("kept"));
}

TEST(AppData, FallbackWhenAFileIsInTheWay) {
    const char* rows[][3] = {
        {"", "/opt/h", "/opt/h/"}, {"/Horlan", "/opt/h/", "/opt/h/"}, {"", "", "/"}};
    for (const auto& [inTheWay, fallback, result] : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        WriteFileBytes(data.Path() + QStringLiteral("/Vantorel software") + QLatin1String(inTheWay),
                       "file");
        EXPECT_EQ(GetAppDataFolder(QString::fromLatin1(fallback)), QLatin1String(result))
            << inTheWay;
    }
}
