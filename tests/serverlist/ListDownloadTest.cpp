#include "serverlist/ListDownload.h"

#include "LoopbackHttpServer.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

const QByteArray OldList = "old.example\r\n";
const QByteArray NewList = "time.example\r\nclock.example\r\n";

// A folder holding a list.txt with the old bytes.
struct ListFolder {
    QTemporaryDir Dir;
    ListFolder() {
        QFile file(Target());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(OldList);
    }
    QString Target() const { return Dir.filePath(QStringLiteral("list.txt")); }
    QByteArray Bytes() const {
        QFile file(Target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList Entries() const {
        return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

struct Result {
    DownloadOutcome Outcome = DownloadOutcome::Cancelled;
    QString Reason;
    bool Finished = false;
};

// Runs `download` to its end; `whileRunning` may act on its first progress report.
Result RunToEnd(ListDownload& download, const std::function<void()>& onFirstProgress = {}) {
    Result result;
    int finishedCount = 0;
    QObject::connect(&download, &ListDownload::Finished, [&](DownloadOutcome o, const QString& r) {
        result = {o, r, true};
        ++finishedCount;
    });
    if (onFirstProgress) {
        auto once = std::make_shared<bool>(false);
        QObject::connect(&download, &ListDownload::Progress, [once, onFirstProgress] {
            if (!*once) {
                *once = true;
                onFirstProgress();
            }
        });
    }
    download.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.Finished; }, 60000));
    EXPECT_EQ(finishedCount, 1);
    return result;
}

QByteArray Head(const char* status, const QByteArray& headers = {}) {
    return QByteArray("HTTP/1.1 ") + status + "\r\nConnection: close" + headers;
}

QByteArray Length(qint64 n) {
    return "\r\nContent-Length: " + QByteArray::number(n);
}

// A port on `ip` where nothing listens.
quint16 ClosedPort(const QString& ip) {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress(ip), 0));
    return probe.serverPort();
}

} // namespace

TEST(ListDownload, SavesOnlyACompleteAcceptableList) {
    const QByteArray lfList = "a.example\nb.example\n";
    LoopbackHttpServer server({
        {"/good", {Head("200 OK", Length(NewList.size())), NewList}},
        {"/lf-no-length", {Head("200 OK"), lfList}},
        {"/moved", {Head("302 Found", "\r\nLocation: /good" + Length(0)), {}}},
        {"/missing", {Head("404 Not Found", Length(9)), "not here\n"}},
        {"/server-error", {Head("500 Internal Server Error", Length(0)), {}}},
        {"/cut", {Head("200 OK", Length(1000)), NewList}},
        {"/endless", {Head("200 OK"), {}, CannedReply::Endless}},
        {"/announced-huge",
         {Head("200 OK", Length(2 * 1024 * 1024)), NewList, CannedReply::KeepOpen}},
        {"/empty", {Head("200 OK", Length(0)), {}}},
        {"/stalls", {Head("200 OK", Length(1000)), NewList, CannedReply::KeepOpen}},
    });
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.61")));
    const QUrl nowhere(QStringLiteral("http://127.0.0.61:%1/list.txt")
                           .arg(ClosedPort(QStringLiteral("127.0.0.61"))));

    const struct {
        const char* name;
        QUrl address;
        DownloadOutcome outcome;
        QByteArray saved; // the bytes of list.txt afterwards
        const char* reasonHas;
        int stallMs;
    } rows[] = {
        {"good list", server.Url("/good"), DownloadOutcome::Saved, NewList, "", 30000},
        {"LF lines, no length", server.Url("/lf-no-length"), DownloadOutcome::Saved, lfList, "",
         30000},
        {"redirect followed", server.Url("/moved"), DownloadOutcome::Saved, NewList, "", 30000},
        {"404", server.Url("/missing"), DownloadOutcome::Failed, OldList, "404", 30000},
        {"500", server.Url("/server-error"), DownloadOutcome::Failed, OldList, "500", 30000},
        {"body cut short", server.Url("/cut"), DownloadOutcome::Failed, OldList, "of 1000 bytes",
         30000},
        {"body never ends", server.Url("/endless"), DownloadOutcome::Failed, OldList, "1 MiB",
         30000},
        {"announced too big", server.Url("/announced-huge"), DownloadOutcome::Failed, OldList,
         "1 MiB", 30000},
        {"empty body", server.Url("/empty"), DownloadOutcome::Failed, OldList, "empty", 30000},
        {"stalls", server.Url("/stalls"), DownloadOutcome::Failed, OldList, "nothing arrived", 300},
        {"nobody listening", nowhere, DownloadOutcome::Failed, OldList, "", 30000},
    };
    for (const auto& row : rows) {
        ListFolder folder;
        ListDownload download(row.address, folder.Target());
        download.SetStallTimeout(row.stallMs);
        const Result result = RunToEnd(download);
        EXPECT_EQ(result.Outcome, row.outcome) << row.name << ": " << result.Reason.toStdString();
        EXPECT_TRUE(result.Reason.contains(QString::fromLatin1(row.reasonHas)))
            << row.name << ": " << result.Reason.toStdString();
        EXPECT_EQ(result.Reason.isEmpty(), row.outcome == DownloadOutcome::Saved) << row.name;
        EXPECT_EQ(folder.Bytes(), row.saved) << row.name;
        EXPECT_EQ(folder.Entries(), QStringList{QStringLiteral("list.txt")})
            << row.name << ": a temporary file was left behind";
    }
}

TEST(ListDownload, CancelKeepsTheOldList) {
    LoopbackHttpServer server(
        {{"/slow", {Head("200 OK", Length(1000)), NewList, CannedReply::KeepOpen}}});
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.62")));
    ListFolder folder;
    ListDownload download(server.Url("/slow"), folder.Target());
    const Result result = RunToEnd(download, [&] { download.Cancel(); });
    EXPECT_EQ(result.Outcome, DownloadOutcome::Cancelled);
    EXPECT_EQ(folder.Bytes(), OldList);
    EXPECT_EQ(folder.Entries(), QStringList{QStringLiteral("list.txt")});
}

TEST(ListDownload, TlsCertificatesAreCheckedAndRedirectsNeverDowngrade) {
    const QString ip = QStringLiteral("127.0.0.63");
    const std::optional<TlsIdentity> identity = TlsIdentity::SelfSigned(ip);
    if (!identity) {
        GTEST_SKIP() << "no openssl tool or no TLS backend";
    }
    LoopbackHttpServer plain({{"/good", {Head("200 OK", Length(NewList.size())), NewList}}});
    ASSERT_TRUE(plain.Listen(ip));
    LoopbackHttpServer secure(
        {
            {"/good", {Head("200 OK", Length(NewList.size())), NewList}},
            {"/to-plain",
             {Head("302 Found", "\r\nLocation: " + plain.Url("/good").toEncoded() + Length(0)),
              {}}},
        },
        identity);
    ASSERT_TRUE(secure.Listen(ip));

    const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
    const struct {
        const char* name;
        bool trusted;
        const char* path;
        DownloadOutcome outcome;
        QByteArray saved;
        const char* reasonHas;
    } rows[] = {
        {"self-signed, not trusted", false, "/good", DownloadOutcome::Failed, OldList,
         "certificate"},
        {"trusted", true, "/good", DownloadOutcome::Saved, NewList, ""},
        {"trusted, redirect to plain http", true, "/to-plain", DownloadOutcome::Failed, OldList,
         "redirect"},
    };
    for (const auto& row : rows) {
        QSslConfiguration config = original;
        if (row.trusted) {
            config.addCaCertificate(identity->Certificate);
        }
        QSslConfiguration::setDefaultConfiguration(config);
        ListFolder folder;
        ListDownload download(secure.Url(QString::fromLatin1(row.path)), folder.Target());
        const Result result = RunToEnd(download);
        EXPECT_EQ(result.Outcome, row.outcome) << row.name << ": " << result.Reason.toStdString();
        EXPECT_TRUE(result.Reason.contains(QString::fromLatin1(row.reasonHas), Qt::CaseInsensitive))
            << row.name << ": " << result.Reason.toStdString();
        EXPECT_EQ(folder.Bytes(), row.saved) << row.name;
        EXPECT_EQ(folder.Entries(), QStringList{QStringLiteral("list.txt")}) << row.name;
    }
    QSslConfiguration::setDefaultConfiguration(original);
    EXPECT_EQ(plain.Requests, 0) << "a redirect from https went to plain http";
}

TEST(ListDownload, RefusesToStartWithoutMeansOrPlace) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QUrl address;
        QString target;
        int error; // 0: starts
    } rows[] = {
        {"no backend for the scheme", QUrl(QStringLiteral("gopher://127.0.0.64/list.txt")),
         dir.filePath(QStringLiteral("list.txt")), ErrFileNotFound},
        {"folder missing", QUrl(QStringLiteral("http://127.0.0.64:9/list.txt")),
         dir.filePath(QStringLiteral("no/such/folder/list.txt")), ErrPathFileAccess},
        {"http", QUrl(QStringLiteral("http://127.0.0.64:9/list.txt")),
         dir.filePath(QStringLiteral("list.txt")), 0},
    };
    for (const auto& row : rows) {
        ListDownload download(row.address, row.target);
        int error = 0;
        try {
            download.Start();
            download.Cancel();
        } catch (const RuntimeError& e) {
            error = e.Number();
        }
        EXPECT_EQ(error, row.error) << row.name;
    }
}
