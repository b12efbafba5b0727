#include "storage/appdata.h"

#include "support/ScopedEnvFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

enum class Before { Nothing, BothFolders, FirstIsFile, SecondIsFile, NoBaseFolder };

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(AppData, ProgramDataFolderAndFallback) {
    const struct {
        const char* what;
        Before before;
        const char* fallback;
        bool expectProgramFolder; // else the fallback rule applies
        const char* expectedFallbackResult;
    } rows[] = {
        {"both folders present", Before::BothFolders, "/opt/h", true, nullptr},
        {"neither present: both created", Before::Nothing, "/opt/h", true, nullptr},
        {"base folder itself missing", Before::NoBaseFolder, "/opt/h", true, nullptr},
        {"first level is a plain file", Before::FirstIsFile, "/opt/h", false, "/opt/h/"},
        {"second level is a plain file", Before::SecondIsFile, "/opt/h", false, "/opt/h/"},
        {"fallback ending in the separator", Before::FirstIsFile, "/opt/h/", false, "/opt/h/"},
        {"fallback at the root", Before::FirstIsFile, "/", false, "/"},
        {"empty fallback", Before::FirstIsFile, "", false, "/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScopedEnvFolder data("XDG_DATA_HOME");
        QString base = data.Path();
        const QString first = base + QStringLiteral("/Vantorel software");
        const QString second = first + QStringLiteral("/Horlan");
        switch (row.before) {
        case Before::Nothing:
            break;
        case Before::BothFolders:
            ASSERT_TRUE(QDir().mkpath(second));
            Touch(second + QStringLiteral("/list.txt"));
            break;
        case Before::FirstIsFile:
            Touch(first);
            break;
        case Before::SecondIsFile:
            ASSERT_TRUE(QDir().mkdir(first));
            Touch(second);
            break;
        case Before::NoBaseFolder:
            base += QStringLiteral("/not/yet");
            qputenv("XDG_DATA_HOME", base.toLocal8Bit());
            break;
        }

        const QString result = GetAppDataFolder(QString::fromLatin1(row.fallback));

        if (row.expectProgramFolder) {
            EXPECT_EQ(result, base + QStringLiteral("/Vantorel software/Horlan/"));
            EXPECT_TRUE(QFileInfo(result).isDir());
            EXPECT_TRUE(QFileInfo(result).isWritable());
        } else {
            EXPECT_EQ(result, QString::fromLatin1(row.expectedFallbackResult));
        }
        if (row.before == Before::BothFolders) {
            // Nothing inside was touched or replaced.
            EXPECT_TRUE(QFile::exists(second + QStringLiteral("/list.txt")));
        }
        if (row.before == Before::FirstIsFile) {
            EXPECT_TRUE(QFileInfo(first).isFile());
        }
        if (row.before == Before::SecondIsFile) {
            EXPECT_TRUE(QFileInfo(first).isDir()) << "the first level stays created";
        }
    }
}

TEST(AppData, EveryCallLooksAgain) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    const QString folder = GetAppDataFolder(QStringLiteral("/opt/h"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().rmdir(data.Path() + QStringLiteral("/Vantorel software")));
    EXPECT_EQ(GetAppDataFolder(QStringLiteral("/opt/h")), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(AppData, SpecialFolders) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    EXPECT_EQ(GetSpecialFolder(CSIDL_APPDATA), data.Path() + QStringLiteral("/"));
    EXPECT_EQ(GetSpecialFolder(5), QString()) << "My Documents is not known here";
    EXPECT_EQ(GetSpecialFolder(0), QString());
}

TEST(AppData, FolderExists) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    Touch(data.Path() + QStringLiteral("/plain"));
    const struct {
        QString path;
        bool exists;
    } rows[] = {
        {data.Path(), true},
        {data.Path() + QStringLiteral("/"), true},
        {data.Path() + QStringLiteral("///"), true},
        {data.Path() + QStringLiteral("/plain"), false},
        {data.Path() + QStringLiteral("/plain/"), false},
        {data.Path() + QStringLiteral("/missing"), false},
        {QString(), false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FolderExists(row.path), row.exists) << row.path.toStdString();
    }
}

TEST(AppData, TrailingSeparators) {
    const struct {
        const char* text;
        const char* added;
        const char* stripped;
    } rows[] = {
        {"", "/", ""},  {"a", "a/", "a"},   {"a/", "a/", "a"},      {"a//", "a//", "a"},
        {"/", "/", ""}, {"///", "///", ""}, {"a/b", "a/b/", "a/b"}, {"a\\", "a\\/", "a\\"},
    };
    for (const auto& row : rows) {
        const QString text = QString::fromLatin1(row.text);
        EXPECT_EQ(AddBackslash(text), QString::fromLatin1(row.added)) << row.text;
        EXPECT_EQ(StripBackslashes(text), QString::fromLatin1(row.stripped)) << row.text;
    }
}
