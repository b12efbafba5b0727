#include "serverlist/ListDownload.h"

#include "LoopbackHttpServer.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

// The list file is replaced only by a complete server list, and no temporary is left.
TEST(ListDownload, SavesOnlyACompleteServerList) {
    const QByteArray oldList = "old.example.org\r\n", newList = "time.example.org\r\nclock\r\n";
    const QByteArray lfList = "a.example.org\nb.example.org\n", ok = "HTTP/1.1 200 OK",
                     head99 = ok + "\r\nContent-Length: 99";
    const struct {
        const char* path;
        CannedReply reply;
        QByteArray saved; // the bytes of list.txt afterwards
        const char* reasonHas;
        bool https = false; // with a certificate no one trusts
    } rows[] = {
        {"/good", {ok + "\r\nContent-Length: 24", newList}, newList, ""},
        {"/lf-no-length", {ok, lfList}, lfList, ""},
        {"/missing", {"HTTP/1.1 404 Not Found", "not here\n"}, oldList, "answered 404 Not Found"},
        {"/cut", {head99, newList}, oldList, "of 99 bytes"},
        {"/endless", {ok, {}, CannedReply::Endless}, oldList, "1 MiB"},
        {"/empty", {ok + "\r\nContent-Length: 0", {}}, oldList, "empty"},
        {"/stalls", {head99, newList, CannedReply::KeepOpen}, oldList, "nothing"},
        {"/html", {ok, " \r\n<html>\r\ntime.example.org\r\n"}, oldList, "a web page"},
        {"/binary", {ok, newList + QByteArray(1, '\0')}, oldList, "binary"},
        {"/no-entry", {ok, "localhost\r\nexample.org\r\na.b.c.d.e\r\n"}, oldList, "no line"},
        {"/good", {ok, newList}, oldList, "certificate", true},
    };
    QHash<QByteArray, CannedReply> replies;
    for (const auto& row : rows) {
        replies.insert(row.path, row.reply);
    }
    LoopbackHttpServer server(replies), tls(replies);
    QTemporaryDir keys;
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.61")));
    ASSERT_TRUE(tls.ListenWithUntrustedCertificate(QStringLiteral("127.0.0.62"), keys.path()));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("list.txt"));
        WriteFileBytes(target, oldList);
        ListDownload download((row.https ? tls : server).Url(row.path), target);
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
