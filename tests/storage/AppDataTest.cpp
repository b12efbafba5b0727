#include "storage/appdata.h"

#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

using namespace horlan;
using namespace Qt::StringLiterals;

TEST(AppData, ProgramDataFolderIsMadeWhenMissingAndLookedForEveryTime) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (data.Path() + u"/not/yet"_s).toLocal8Bit());
    const QString expected = data.Path() + u"/not/yet/Vantorel software/Horlan/"_s;
    EXPECT_EQ(GetAppDataFolder(u"/opt/h"_s), expected);
    ASSERT_TRUE(QDir(expected).removeRecursively());
    EXPECT_EQ(GetAppDataFolder(u"/opt/h"_s), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    WriteFileBytes(expected + u"list.txt"_s, "kept");
    EXPECT_EQ(GetAppDataFolder(u"/opt/h"_s), expected);
    EXPECT_EQ(ReadFileBytes(expected + u"list.txt"_s), QByteArray("kept"));
}

TEST(AppData, FallbackWhenAFileIsInTheWay) {
    const char* rows[][3] = {
        {"", "/opt/h", "/opt/h/"}, {"/Horlan", "/opt/h/", "/opt/h/"}, {"", "", "/"}};
    for (const auto& [inTheWay, fallback, result] : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        WriteFileBytes(data.Path() + u"/Vantorel software"_s + QLatin1String(inTheWay), "file");
        EXPECT_EQ(GetAppDataFolder(QString::fromLatin1(fallback)), QLatin1String(result))
            << inTheWay;
    }
}
