#include "serverlist/frmDownload.h"

#include "LoopbackHttpServer.h"
#include "serverlist/SaveLocation.h"
#include "storage/appdata.h"
#include "support/FileBytes.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

class RecordingSaveLocation : public SaveLocation {
public:
    QString Ask(QWidget*, const QString& suggestedPath) override {
        Suggested.append(suggestedPath);
        return Answer;
    }
    QStringList Suggested;
    QString Answer;
};

// A download dialog on recorders, with a private data folder whose name has capitals.
struct Harness {
    ScopedEnvFolder data{"XDG_DATA_HOME"};
    QString fallback = data.Path() + QStringLiteral("/Program");
    RecordingShell shell;
    RecordingMsgBox msgBox;
    RecordingEnd end;
    RecordingSaveLocation save;
    QPointer<frmDownload> instance;

    QString Folder() const { return GetAppDataFolder(fallback); }
    QString List() const { return Folder() + QStringLiteral("list.txt"); }
    frmDownload* Open(const QUrl& address = QUrl(QStringLiteral("http://127.0.0.1:9/"))) {
        return frmDownload::ShowOne(instance, shell, msgBox, end, save, fallback, address);
    }
    template <class T> T* Child(const char* name = nullptr) {
        return instance->findChild<T*>(name ? QString::fromLatin1(name) : QString());
    }
    ~Harness() { delete instance.data(); }
};

} // namespace

TEST(frmDownload, OneInstanceShowingTheDataFolder) {
    Harness h;
    frmDownload* first = h.Open();
    EXPECT_EQ(h.Open(), first);
    auto* link = h.Child<QLabel>("lblLink");
    // In its real case: this file system tells "Horlan" from "horlan".
    EXPECT_EQ(link->text(), h.Folder());
    EXPECT_TRUE(link->text().endsWith(QStringLiteral("/Vantorel software/Horlan/")));
    EXPECT_EQ(link->toolTip(),
              QStringLiteral(" Click here to open this location in the file manager "));
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(h.shell.ShownFolders, QStringList{h.Folder()});
    QTest::keyClick(first, Qt::Key_Return); // Enter downloads: it asks where to save
    EXPECT_EQ(h.save.Suggested, QStringList{h.List()});
    QTest::keyClick(first, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.instance.isNull(); })) << "closing kept it";
    EXPECT_NE(h.Open(), nullptr);
    EXPECT_TRUE(h.msgBox.Boxes.isEmpty());
}

TEST(frmDownload, DownloadEndsInOneBox) {
    const QByteArray oldList = "old.example\r\n", newList = "time.example.org\r\n";
    LoopbackHttpServer server({{"/list.txt", {"HTTP/1.1 200 OK", newList}}});
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.65")));
    const struct {
        QUrl address;
        const char* saveAt; // below the data folder
        const char *title, *promptHas;
        int ends;
    } rows[] = {
        {server.Url("/list.txt"), "list.txt", "Thank you", "was saved as:\r\n", 0},
        {server.Url("/none.txt"), "list.txt", "Oops", "404 Not Found", 0},
        {QUrl(QStringLiteral("gopher://127.0.0.65/")), "list.txt", "Oops", "No Internet", 1},
        {server.Url("/list.txt"), "no/such/list.txt", "Error",
         "Error 75 - Path/File access error: ", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.promptHas);
        Harness h;
        WriteFileBytes(h.List(), oldList);
        h.save.Answer = h.Folder() + QLatin1String(row.saveAt);
        h.Open(row.address);
        h.Child<QPushButton>("cmdDownload")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !h.msgBox.Boxes.isEmpty(); }));
        ASSERT_EQ(h.msgBox.Boxes.size(), 1);
        EXPECT_EQ(h.msgBox.Boxes[0].Title, QLatin1String(row.title));
        EXPECT_TRUE(h.msgBox.Boxes[0].Prompt.contains(QLatin1String(row.promptHas)));
        EXPECT_EQ(h.end.Count, row.ends);
        EXPECT_EQ(ReadFileBytes(h.List()), row.title == rows[0].title ? newList : oldList);
        EXPECT_EQ(h.Child<QProgressDialog>(), nullptr) << "progress left";
        EXPECT_TRUE(h.Child<QPushButton>("cmdDownload")->isEnabled());
    }
}

TEST(frmDownload, DrawingBackLeavesTheListAlone) {
    LoopbackHttpServer server(
        {{"/slow.txt", {"HTTP/1.1 200 OK\r\nContent-Length: 99", "x", CannedReply::KeepOpen}}});
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.66")));
    Harness h;
    WriteFileBytes(h.List(), "old");
    h.Open(server.Url("/slow.txt"));
    h.Child<QPushButton>("cmdDownload")->click(); // the save dialog is cancelled
    EXPECT_EQ(server.Requests, 0);

    h.save.Answer = h.List();
    h.Child<QPushButton>("cmdDownload")->click();
    ASSERT_NE(h.instance->CurrentDownload(), nullptr);
    QSignalSpy progress(h.instance->CurrentDownload(), &ListDownload::Progress);
    ASSERT_TRUE(progress.wait(10000));
    QSignalSpy reported(h.instance, &frmDownload::DownloadReported);
    h.Child<QProgressDialog>()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(reported.wait(10000));
    EXPECT_TRUE(h.msgBox.Boxes.isEmpty());
    EXPECT_EQ(ReadFileBytes(h.List()), QByteArray("old"));
    EXPECT_EQ(h.Child<QProgressDialog>(), nullptr);
}
