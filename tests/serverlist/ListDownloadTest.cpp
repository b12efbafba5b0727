#include "serverlist/ListDownload.h"

#include "LoopbackHttpServer.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

// The list file is replaced only by a complete, acceptable list, and no temporary is left.
TEST(ListDownload, SavesOnlyACompleteAcceptableList) {
    const QByteArray oldList = "old.example\r\n", newList = "time.example\r\nclock.example\r\n";
    const QByteArray lfList = "a.example\nb.example\n",
                     head99 = "HTTP/1.1 200 OK\r\nContent-Length: 99";
    const struct {
        const char* path;
        CannedReply reply;
        QByteArray saved; // the bytes of list.txt afterwards
        const char* reasonHas;
    } rows[] = {
        {"/good", {"HTTP/1.1 200 OK\r\nContent-Length: 29", newList}, newList, ""},
        {"/lf-no-length", {"HTTP/1.1 200 OK", lfList}, lfList, ""},
        {"/missing", {"HTTP/1.1 404 Not Found", "not here\n"}, oldList, "answered 404 Not Found"},
        {"/cut", {head99, newList}, oldList, "of 99 bytes"},
        {"/endless", {"HTTP/1.1 200 OK", {}, CannedReply::Endless}, oldList, "1 MiB"},
        {"/empty", {"HTTP/1.1 200 OK\r\nContent-Length: 0", {}}, oldList, "empty"},
        {"/stalls", {head99, newList, CannedReply::KeepOpen}, oldList, "nothing"},
    };
    QHash<QByteArray, CannedReply> replies;
    for (const auto& row : rows) {
        replies.insert(row.path, row.reply);
    }
    LoopbackHttpServer server(replies);
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.61")));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("list.txt"));
        WriteFileBytes(target, oldList);
        ListDownload download(server.Url(row.path), target);
        download.SetStallTimeout(row.reply.End == CannedReply::KeepOpen ? 300 : 30000);
        std::optional<std::pair<DownloadOutcome, QString>> result;
        QObject::connect(&download, &ListDownload::Finished,
                         [&](DownloadOutcome outcome, const QString& reason) {
                             EXPECT_FALSE(result) << "finished twice";
                             result = {outcome, reason};
                         });
        download.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
        const bool saved = row.saved != oldList;
        EXPECT_EQ(result->first, saved ? DownloadOutcome::Saved : DownloadOutcome::Failed);
        EXPECT_TRUE(result->second.contains(QLatin1String(row.reasonHas), Qt::CaseInsensitive))
            << result->second.toStdString();
        EXPECT_EQ(result->second.isEmpty(), saved);
        EXPECT_EQ(ReadFileBytes(target), row.saved);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("list.txt")});
    }
}
