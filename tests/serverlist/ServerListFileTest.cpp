#include "serverlist/ServerListFile.h"

#include "runtime/RuntimeError.h"
#include "storage/appdata.h"
#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>

using namespace horlan;

namespace {

const QString kFallback = QStringLiteral("/nonexistent/program/folder");

QStringList Entries(const QComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i) {
        entries << combo.itemText(i);
    }
    return entries;
}

// The block a new list.txt holds for the built-in servers.
QByteArray BuiltInBlock() {
    QByteArray block;
    for (const QString& name : BuiltInServerList()) {
        block += "\r\n" + name.toLatin1();
    }
    return block + "\r\n";
}

// What the main window does with the list at start-up.
void StartUp(QComboBox& combo) {
    try {
        RefreshListFile(kFallback);
        LoadComboFromFile(combo, ListFilePath(kFallback), kFallback);
    } catch (const RuntimeError& e) {
        if (e.Number() != ErrFileNotFound) {
            throw;
        }
        LoadInternalList(combo);
        CreateList(combo, kFallback);
    }
}

} // namespace

TEST(ServerListFile, BuiltInListIsFourteenNamesInOrder) {
    const QStringList names = BuiltInServerList();
    ASSERT_EQ(names.size(), 14);
    EXPECT_EQ(names.first(), QStringLiteral("time.inrim.it"));
    EXPECT_EQ(names.last(), QStringLiteral("utcnist2.colorado.edu"));
    // Ascending, with a full stop before a hyphen.
    for (qsizetype i = 1; i < names.size(); ++i) {
        QString a = names[i - 1], b = names[i];
        a.replace(QLatin1Char('.'), QLatin1Char(',')); // ',' sorts before '-'
        b.replace(QLatin1Char('.'), QLatin1Char(','));
        EXPECT_LT(a, b) << names[i].toStdString();
    }
}

TEST(ServerListFile, LineRule) {
    const struct {
        QByteArray bytes;
        QList<QByteArray> lines;
    } rows[] = {
        {"", {}},
        {"a", {"a"}},
        {"\r", {""}},
        {"\n", {"\n"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a\nb\n"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\r\n", {"a\n"}},
        {"\r\n\r\n\r\n", {"", "", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SplitListLines(row.bytes), row.lines)
            << row.bytes.toPercentEncoding().constData();
    }
}

TEST(ServerListFile, StartUpRewritesAndLoadsTheFile) {
    const QStringList builtIn = BuiltInServerList();
    const struct {
        const char* what;
        std::optional<QByteArray> before; // nullopt: no list.txt
        QByteArray after;
        QStringList entries;
    } rows[] = {
        {"LF line ends only", QByteArray("a\nb\n"), "a\r\nb\r\n\r\n", {"a", "b"}},
        {"CR line ends only", QByteArray("a\rb\r"), "a\r\nb\r\n", {"a", "b"}},
        {"last line without end", QByteArray("a\r\nb"), "a\r\nb\r\n", {"a", "b"}},
        {"line of spaces", QByteArray("a\r\n   \r\nb\r\n"), "a\r\n   \r\nb\r\n", {"a", "b"}},
        {"line with a tab", QByteArray("\t\r\n"), "\t\r\n", {"\t"}},
        {"padded name kept verbatim", QByteArray(" h.a.b  \r\n"), " h.a.b  \r\n", {" h.a.b  "}},
        {"8-bit name",
         QByteArray("h\xe9.a.b\r\n"),
         "h\xe9.a.b\r\n",
         {QStringLiteral("h\u00e9.a.b")}},
        {"mixed line ends", QByteArray("a\r\r\nb\nc"), "a\r\n\r\nb\r\nc\r\n", {"a", "b", "c"}},
        {"zero bytes", QByteArray(""), BuiltInBlock(), builtIn},
        {"three empty lines", QByteArray("\r\n\r\n\r\n"), "\r\n\r\n\r\n" + BuiltInBlock(), builtIn},
        {"no list.txt", std::nullopt, BuiltInBlock(), builtIn},
        {"a written list passes unchanged", BuiltInBlock(), BuiltInBlock(), builtIn},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString list = ListFilePath(kFallback);
        ASSERT_TRUE(list.startsWith(data.Path()));
        if (row.before) {
            WriteFileBytes(list, *row.before);
        }
        QComboBox combo;
        StartUp(combo);
        EXPECT_EQ(ReadFileBytes(list), row.after);
        EXPECT_FALSE(QFile::exists(TempFilePath(kFallback)));
        EXPECT_EQ(Entries(combo), row.entries);
        EXPECT_EQ(combo.currentIndex(), 0);

        // From then on every start leaves the file as it is.
        QComboBox again;
        StartUp(again);
        EXPECT_EQ(ReadFileBytes(list), row.after);
        EXPECT_EQ(Entries(again), row.entries);
    }
}

TEST(ServerListFile, RefreshOverwritesAStaleTempFile) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    WriteFileBytes(ListFilePath(kFallback), "a\nb");
    WriteFileBytes(TempFilePath(kFallback), "stale, and longer than the new content");
    RefreshListFile(kFallback);
    EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), QByteArray("a\r\nb\r\n"));
    EXPECT_FALSE(QFile::exists(TempFilePath(kFallback)));
}

TEST(ServerListFile, RefreshFailures) {
    const struct {
        const char* what;
        bool listIsFolder;
        bool tempIsFolder;
        bool listMissing;
        int number;
    } rows[] = {
        {"list.txt missing", false, false, true, ErrFileNotFound},
        {"list.txt missing beside a stale temp.txt", false, true, true, ErrFileNotFound},
        {"list.txt is a folder", true, false, false, ErrPathFileAccess},
        {"temp.txt cannot be written", false, true, false, ErrPathFileAccess},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString list = ListFilePath(kFallback);
        if (row.listIsFolder) {
            ASSERT_TRUE(QDir().mkdir(list));
        } else if (!row.listMissing) {
            WriteFileBytes(list, "a\nb");
        }
        if (row.tempIsFolder) {
            ASSERT_TRUE(QDir().mkdir(TempFilePath(kFallback)));
        }
        try {
            RefreshListFile(kFallback);
            ADD_FAILURE() << "no error raised";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), row.number);
        }
        if (!row.listIsFolder && !row.listMissing) {
            EXPECT_EQ(ReadFileBytes(list), QByteArray("a\nb")) << "list.txt left as it was";
        }
        EXPECT_EQ(QFile::exists(list), !row.listMissing);
    }
}

TEST(ServerListFile, CreateListAppendsOneBlock) {
    const struct {
        const char* what;
        std::optional<QByteArray> before;
        QStringList entries;
        QByteArray after;
    } rows[] = {
        {"empty drop-down, no file", std::nullopt, {}, "\r\n"},
        {"two entries, no file", std::nullopt, {"A", "B"}, "\r\nA\r\nB\r\n"},
        {"second block behind the first", QByteArray("\r\nA\r\n"), {"B"}, "\r\nA\r\n\r\nB\r\n"},
        {"behind a file without a final line end", QByteArray("x"), {"B"}, "x\r\nB\r\n"},
        {"8-bit entry", std::nullopt, {QStringLiteral("\u00e9")}, "\r\n\xe9\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScopedEnvFolder data("XDG_DATA_HOME");
        if (row.before) {
            WriteFileBytes(ListFilePath(kFallback), *row.before);
        }
        QComboBox combo;
        combo.addItems(row.entries);
        CreateList(combo, kFallback);
        EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), row.after);
    }
}

TEST(ServerListFile, CreateListReportsAFileItCannotWrite) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    ASSERT_TRUE(QDir().mkdir(ListFilePath(kFallback)));
    QComboBox combo;
    try {
        CreateList(combo, kFallback);
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), ErrPathFileAccess);
    }
}

TEST(ServerListFile, LoadFallsBackToTheBuiltInList) {
    const QStringList builtIn = BuiltInServerList();
    const struct {
        const char* what;
        QStringList entriesBefore;
        bool fileIsFolder;
        QStringList entries;
        QByteArray fileAfter; // list.txt in the program data folder
    } rows[] = {
        {"unreadable file", {}, true, builtIn, BuiltInBlock()},
        {"entries before are cleared first", {"x"}, true, builtIn, BuiltInBlock()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString source = data.Path() + QStringLiteral("/elsewhere.txt");
        ASSERT_TRUE(QDir().mkdir(source));
        QComboBox combo;
        combo.addItems(row.entriesBefore);
        LoadComboFromFile(combo, source, kFallback);
        EXPECT_EQ(Entries(combo), row.entries);
        EXPECT_EQ(combo.currentIndex(), 0);
        EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), row.fileAfter);
    }
}

TEST(ServerListFile, LoadInternalListKeepsEntries) {
    QComboBox combo;
    combo.addItems({"mine.a.b", "other.a.b"});
    combo.setCurrentIndex(1);
    LoadInternalList(combo);
    EXPECT_EQ(Entries(combo), QStringList({"mine.a.b", "other.a.b"}) + BuiltInServerList());
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST(ServerListFile, FileExists) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    const QString file = data.Path() + QStringLiteral("/list.txt");
    WriteFileBytes(file, "");
    const struct {
        QString path;
        bool exists;
    } rows[] = {
        {file, true},         {data.Path() + QStringLiteral("/missing.txt"), false},
        {data.Path(), false}, {data.Path() + QStringLiteral("/"), false},
        {QString(), false},   {file + QStringLiteral("/below"), false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fileexists(row.path), row.exists) << row.path.toStdString();
    }
}
