#include "serverlist/ServerListFile.h"

#include "runtime/RuntimeError.h"
#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace horlan;
using namespace Qt::StringLiterals;

namespace {

const QString kFallback = u"/nonexistent/program/folder"_s;

QByteArray Block(const QStringList& entries) {
    return entries.isEmpty() ? "\r\n" : "\r\n" + entries.join(u"\r\n"_s).toLatin1() + "\r\n";
}

} // namespace

TEST(ServerListFile, BuiltInListIsFourteenNamesInOrder) {
    QStringList names = BuiltInServerList().replaceInStrings(u"."_s, u","_s);
    EXPECT_EQ(names.size(), 14);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())); // ',' sorts before '-' as '.' must
}

TEST(ServerListFile, LineRuleConversionAndEntries) {
    const struct {
        QByteArray bytes;
        QList<QByteArray> lines;
        QByteArray converted; // what the start-up refresh writes
        QStringList entries;  // read from the converted file
    } rows[] = {
        {"", {}, "", {}},
        {"a", {"a"}, "a\r\n", {"a"}},
        {"\r", {""}, "\r\n", {}},
        {"a\nb\n", {"a\nb\n"}, "a\r\nb\r\n\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}, "a\r\nb\r\n", {"a", "b"}},
        {"a\r\r\nb\nc", {"a", "", "b\nc"}, "a\r\n\r\nb\r\nc\r\n", {"a", "b", "c"}},
        {"a\n\r\n", {"a\n"}, "a\r\n\r\n", {"a"}},
        {"\r\n \r\n\t\r\n h\xe9  ",
         {"", " ", "\t", " h\xe9  "},
         "\r\n \r\n\t\r\n h\xe9  \r\n",
         {"\t", u" h\u00e9  "_s}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toPercentEncoding().constData());
        EXPECT_EQ(SplitListLines(row.bytes), row.lines);
        EXPECT_EQ(ConvertLineEnds(row.bytes), row.converted);
        EXPECT_EQ(ConvertLineEnds(row.converted), row.converted) << "a second start changes it";
        EXPECT_EQ(ListEntries(row.converted), row.entries);
    }
}

TEST(ServerListFile, CreateListAppendsOneBlock) {
    const struct {
        QByteArray before;
        QStringList entries;
    } rows[] = {{"", {}}, {"", {"A", "B"}}, {"\r\nA\r\n", {"B"}}, {"x", {u"\u00e9"_s}}};
    for (const auto& row : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        WriteFileBytes(ListFilePath(kFallback), row.before);
        CreateList(row.entries, kFallback);
        EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), row.before + Block(row.entries));
    }
}

TEST(ServerListFile, LoadFallsBackToTheBuiltInList) {
    for (const QByteArray before : {"", "\r\n\r\n\r\n", "   \r\n"}) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        WriteFileBytes(ListFilePath(kFallback), before);
        EXPECT_EQ(LoadComboFromFile(ListFilePath(kFallback), kFallback), BuiltInServerList());
        EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), before + Block(BuiltInServerList()));
    }
}

TEST(ServerListFile, OnlyRegularFilesAreOpened) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    const QString file = data.Path() + u"/file"_s;
    const QString fifo = ListFilePath(kFallback);
    const QString link = data.Path() + u"/link"_s;
    WriteFileBytes(file, "");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo), 0600), 0);
    ASSERT_TRUE(QFile::link(data.Path() + u"/nowhere"_s, link));
    EXPECT_TRUE(fileexists(file));
    for (const QString& path :
         {data.Path() + u"/missing"_s, data.Path(), QString(), file + u"/below"_s, fifo, link}) {
        EXPECT_FALSE(fileexists(path)) << path.toStdString();
    }
    EXPECT_THROW(ReadListFile(fifo), RuntimeError);
    EXPECT_THROW(CreateList({}, kFallback), RuntimeError) << "written into a FIFO";
}

TEST(ServerListFile, RefreshReplacesTheFileAtomically) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    WriteFileBytes(ListFilePath(kFallback), "a\nb");
    WriteFileBytes(TempFilePath(kFallback), "stale, and longer than the new content");
    QFile reader(ListFilePath(kFallback));
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    RefreshListFile(kFallback);
    EXPECT_EQ(reader.readAll(), QByteArray("a\nb")) << "list.txt was rewritten in place";
    EXPECT_EQ(ReadFileBytes(ListFilePath(kFallback)), QByteArray("a\r\nb\r\n"));
    EXPECT_FALSE(QFile::exists(TempFilePath(kFallback)));
}
