#include "serverlist/frmDownload.h"

#include "LoopbackHttpServer.h"
#include "runtime/ErrorReport.h"
#include "serverlist/ListUpdateTexts.h"
#include "serverlist/SaveLocation.h"
#include "storage/appdata.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QApplication>
#include <QFile>
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

// Everything a download dialog needs, with a private data folder whose name has capitals.
struct Harness {
    ScopedEnvFolder data{"XDG_DATA_HOME"};
    QString fallback = data.Path() + QStringLiteral("/Program");
    RecordingShell shell;
    RecordingMsgBox msgBox;
    RecordingEnd end;
    RecordingSaveLocation save;

    QString Folder() const { return GetAppDataFolder(fallback); }
    frmDownload* Open(QPointer<frmDownload>& instance,
                      const QUrl& address = QUrl(QStringLiteral("http://127.0.0.1:9/list.txt"))) {
        return frmDownload::ShowOne(instance, shell, msgBox, end, save, fallback, address);
    }
};

int OpenDownloadDialogs() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        count += qobject_cast<frmDownload*>(w) != nullptr && w->isVisible();
    }
    return count;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(frmDownload, OneInstanceBroughtBackAndFreshAfterClosing) {
    Harness h;
    QPointer<frmDownload> instance;
    frmDownload* first = h.Open(instance);
    EXPECT_EQ(h.Open(instance), first);
    EXPECT_EQ(OpenDownloadDialogs(), 1);

    first->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return instance.isNull(); })) << "closing keeps it alive";
    EXPECT_EQ(OpenDownloadDialogs(), 0);

    h.Open(instance);
    EXPECT_FALSE(instance.isNull());
    EXPECT_EQ(OpenDownloadDialogs(), 1);
    delete instance.data();
}

TEST(frmDownload, FolderLinkShowsTheDataFolder) {
    const struct {
        const char* name;
        bool showFails;
    } rows[] = {{"shown", false}, {"no file manager", true}};
    for (const auto& row : rows) {
        Harness h;
        if (row.showFails) {
            h.shell.ShowFolderError =
                RuntimeError(ErrFileNotFound, QStringLiteral("File not found"));
        }
        QPointer<frmDownload> instance;
        frmDownload* dlg = h.Open(instance);
        auto* link = dlg->findChild<QLabel*>(QStringLiteral("lblLink"));
        ASSERT_NE(link, nullptr);
        // In its real case: this file system tells "Horlan" from "horlan".
        EXPECT_EQ(link->text(), h.Folder()) << row.name;
        EXPECT_TRUE(link->text().endsWith(QStringLiteral("/Vantorel software/Horlan/")))
            << link->text().toStdString();
        EXPECT_EQ(link->toolTip(),
                  QStringLiteral(" Click here to open this location in the file manager "));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));

        QTest::mouseClick(link, Qt::LeftButton);

        EXPECT_EQ(h.shell.ShownFolders, QStringList{h.Folder()}) << row.name;
        const QList<MsgBoxRequest> boxes =
            row.showFails ? QList<MsgBoxRequest>{CommonErrorReport(
                                *h.shell.ShowFolderError, QStringLiteral("frmDownload - lbl_Link"))}
                          : QList<MsgBoxRequest>{};
        EXPECT_EQ(h.msgBox.Boxes, boxes) << row.name;
        EXPECT_TRUE(dlg->isVisible()) << row.name;
        delete dlg;
    }
}

TEST(frmDownload, KeysAndButtons) {
    const struct {
        const char* name;
        void (*act)(frmDownload&);
        bool closes;
        bool asksWhereToSave;
    } rows[] = {
        {"Enter", [](frmDownload& d) { QTest::keyClick(&d, Qt::Key_Return); }, false, true},
        {"Escape", [](frmDownload& d) { QTest::keyClick(&d, Qt::Key_Escape); }, true, false},
        {"Cancel",
         [](frmDownload& d) { d.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click(); },
         true, false},
        {"title bar close", [](frmDownload& d) { d.close(); }, true, false},
    };
    for (const auto& row : rows) {
        Harness h;
        QPointer<frmDownload> instance;
        row.act(*h.Open(instance));
        EXPECT_EQ(QTest::qWaitFor([&] { return instance.isNull(); }, row.closes ? 5000 : 0),
                  row.closes)
            << row.name;
        const QStringList asked = row.asksWhereToSave
                                      ? QStringList{h.Folder() + QStringLiteral("list.txt")}
                                      : QStringList{};
        EXPECT_EQ(h.save.Suggested, asked) << row.name;
        EXPECT_TRUE(h.msgBox.Boxes.isEmpty()) << row.name;
        delete instance.data();
    }
}

TEST(frmDownload, DownloadReportsItsOutcome) {
    const QByteArray oldList = "old.example\r\n";
    const QByteArray newList = "time.example\r\n";
    LoopbackHttpServer server({
        {"/list.txt",
         {"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
              QByteArray::number(newList.size()),
          newList}},
        {"/slow.txt", {"HTTP/1.1 200 OK\r\nContent-Length: 1000", newList, CannedReply::KeepOpen}},
    });
    ASSERT_TRUE(server.Listen(QStringLiteral("127.0.0.65")));

    enum class Box { None, Saved, Failed404, NoConnection, CommonError };
    const struct {
        const char* name;
        QUrl address;
        bool answerSave;   // the user picks a place (else cancels the save dialog)
        bool writable;     // the picked place can take a file
        bool cancelOnData; // the progress dialog's Cancel is pressed during the transfer
        Box box;
        bool newBytes;
    } rows[] = {
        {"good list", server.Url("/list.txt"), true, true, false, Box::Saved, true},
        {"404", server.Url("/none.txt"), true, true, false, Box::Failed404, false},
        {"save dialog cancelled", server.Url("/list.txt"), false, true, false, Box::None, false},
        {"cancel pressed", server.Url("/slow.txt"), true, true, true, Box::None, false},
        {"no means to download", QUrl(QStringLiteral("gopher://127.0.0.65/list.txt")), true, true,
         false, Box::NoConnection, false},
        {"place not writable", server.Url("/list.txt"), true, false, false, Box::CommonError,
         false},
    };
    for (const auto& row : rows) {
        Harness h;
        const QString target = h.Folder() + QStringLiteral("list.txt");
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(oldList);
        }
        if (row.answerSave) {
            h.save.Answer = row.writable ? target : h.Folder() + QStringLiteral("no/such/list.txt");
        }
        const int requestsBefore = server.Requests;
        QPointer<frmDownload> instance;
        frmDownload* dlg = h.Open(instance, row.address);
        QSignalSpy reported(dlg, &frmDownload::DownloadReported);

        dlg->findChild<QPushButton*>(QStringLiteral("cmdDownload"))->click();
        if (row.cancelOnData) {
            ASSERT_NE(dlg->CurrentDownload(), nullptr);
            QSignalSpy progress(dlg->CurrentDownload(), &ListDownload::Progress);
            ASSERT_TRUE(progress.wait(10000)) << row.name;
            auto* progressDialog = dlg->findChild<QProgressDialog*>();
            ASSERT_NE(progressDialog, nullptr) << row.name;
            ASSERT_TRUE(progressDialog->isVisible()) << row.name;
            progressDialog->findChild<QPushButton*>()->click();
        }
        const bool transfers =
            row.box == Box::Saved || row.box == Box::Failed404 || row.cancelOnData;
        if (transfers) {
            ASSERT_TRUE(reported.count() == 1 || reported.wait(20000)) << row.name;
        }

        QList<MsgBoxRequest> boxes;
        switch (row.box) {
        case Box::None:
            break;
        case Box::Saved:
            boxes = {ListSavedBox(target)};
            break;
        case Box::Failed404:
            boxes = {DownloadFailedBox(row.address.toString(),
                                       QStringLiteral("the server answered 404 Not Found"))};
            break;
        case Box::NoConnection:
            boxes = {NoConnectionBox()};
            break;
        case Box::CommonError:
            ASSERT_EQ(h.msgBox.Boxes.size(), 1) << row.name;
            EXPECT_EQ(h.msgBox.Boxes[0].Title, QStringLiteral("Error"));
            EXPECT_TRUE(h.msgBox.Boxes[0].Prompt.contains(
                QStringLiteral("Error 75 - Path/File access error")));
            EXPECT_TRUE(h.msgBox.Boxes[0].Prompt.contains(
                QStringLiteral("\r\nfrmDownload - cmdDownload_Click\r\n")));
            boxes = h.msgBox.Boxes;
            break;
        }
        EXPECT_EQ(h.msgBox.Boxes, boxes) << row.name;
        EXPECT_EQ(h.end.Count, row.box == Box::NoConnection ? 1 : 0) << row.name;
        EXPECT_EQ(FileBytes(target), row.newBytes ? newList : oldList) << row.name;
        EXPECT_EQ(h.save.Suggested.size(), row.box == Box::NoConnection ? 0 : 1) << row.name;
        if (!row.answerSave) {
            EXPECT_EQ(server.Requests, requestsBefore) << row.name << ": fetched without a place";
        }
        EXPECT_EQ(dlg->findChild<QProgressDialog*>(), nullptr) << row.name << ": progress left";
        EXPECT_TRUE(dlg->findChild<QPushButton*>(QStringLiteral("cmdDownload"))->isEnabled());
        delete dlg;
    }
}
