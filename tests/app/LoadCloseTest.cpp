// The window's load step and its closing, through the real window on the real settings file
// and list file in private folders.

#include "MainWindowHarness.h"

#include "netstatus/ActivityPicture.h"
#include "serverlist/ServerListFile.h"
#include "support/FileBytes.h"
#include "timesync/TimeSyncTexts.h"

#include <QMainWindow>
#include <QTest>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace horlan;

namespace {

QByteArray BuiltInListFile() {
    return "\r\n" + BuiltInServerList().join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

bool SamePicture(const QLabel* label, int picture) {
    return label->pixmap().toImage() == ActivityPicture(picture).toImage();
}

// Tests run as root, whom file permissions do not stop: while alive, this thread works without
// the rights that pass them by, as a user's program does.
class WithoutFileRights {
public:
    WithoutFileRights() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct dropped[2] = {saved_[0], saved_[1]};
        dropped[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        EXPECT_EQ(syscall(SYS_capset, &header_, dropped), 0);
    }
    ~WithoutFileRights() { syscall(SYS_capset, &header_, saved_); }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

// Names and sizes of what a folder holds, without opening anything.
QMap<QString, qint64> Sizes(const QString& folder) {
    QMap<QString, qint64> sizes;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        sizes.insert(info.fileName(), info.isSymLink() ? -2 : info.isDir() ? -1 : info.size());
    }
    return sizes;
}

} // namespace

TEST_F(MainWindowTest, FirstRunThenSecondRun) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->geometry().topLeft(), frmMain::kDesignClientOrigin);
    EXPECT_EQ(Combo1()->currentText(), QStringLiteral("time.inrim.it"));
    EXPECT_EQ(ReadFileBytes(ListFile()), BuiltInListFile());
    EXPECT_EQ(QStringList({Label("lblHostname"), Label("lblIPaddress"), Label("lblUTCdate"),
                           Label("lblSync")}),
              QStringList({"testhost", "127.0.0.1", "Waiting ...", WaitingText()}));
    EXPECT_FALSE(Label("lblLocalTime").isEmpty());
    EXPECT_TRUE(SamePicture(Child<QLabel>("Image1"), 1));
    window->move(-30, -3); // partly off the screen: negative numbers
    Combo1()->setCurrentIndex(5);
    Close();
    EXPECT_EQ(end.Count, 1);
    EXPECT_EQ(Setting(QStringLiteral("Left")), QStringLiteral("-450"));
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->pos(), QPoint(-30, -3));
    EXPECT_EQ(Combo1()->currentIndex(), 5);
    EXPECT_EQ(ReadFileBytes(ListFile()), BuiltInListFile()); // a CR LF file stays as it is
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
    // Minimised: only the server is written.
    window->showMinimized();
    window->move(0, 0);
    Combo1()->setCurrentIndex(2);
    Close();
    EXPECT_EQ(Setting(QStringLiteral("Left")), QStringLiteral("-450"));
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("2"));
}

TEST_F(MainWindowTest, StoredLastServer) {
    WriteFileBytes(ListFile(), BuiltInListFile());
    // Not a number ("x"): the labels are filled again, without a message; beyond the list or
    // the index: the common error report.
    for (const auto& [stored, selected, reports] :
         {std::tuple{"-1", 0, 0}, {"13", 13, 0}, {"x", 0, 0}, {"20", 0, 1}, {"99999", 0, 1}}) {
        msgBox.Boxes.clear();
        SetSetting(QStringLiteral("LastServer"), QString::fromLatin1(stored));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Combo1()->currentIndex(), selected) << stored;
        EXPECT_EQ(msgBox.Boxes.size(), reports) << stored;
    }
}

TEST_F(MainWindowTest, ListFileIsRefreshedAtEveryStart) {
    WriteFileBytes(ListFile(), "a.b.c\nd.e.f\n");
    WriteFileBytes(DataFolder() + QStringLiteral("temp.txt"), "left over from a crash");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(ReadFileBytes(ListFile()), QByteArray("a.b.c\r\nd.e.f\r\n\r\n"));
    EXPECT_FALSE(QFile::exists(DataFolder() + QStringLiteral("temp.txt")));
    EXPECT_EQ(Combo1()->itemText(1), QStringLiteral("d.e.f"));
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
}

TEST_F(MainWindowTest, HostileListFileStillGivesServers) {
    const QString list = ListFile();
    const QString target = DataFolder() + QStringLiteral("target.txt");
    const QStringList fromFile{"a.b.c", "d.e.f"};
    const QStringList builtIn = BuiltInServerList();
    const struct {
        const char* what;
        std::function<void()> make;
        QStringList servers;
        int reports;                   // error reports naming Form_Load
        QMap<QString, qint64> written; // files the start created
    } rows[] = {
        {"read-only folder",
         [&] {
             WriteFileBytes(list, "a.b.c\r\nd.e.f\r\n");
             QFile::setPermissions(DataFolder(), QFile::ReadOwner | QFile::ExeOwner);
         },
         fromFile,
         1,
         {}},
        {"folder", [&] { QDir().mkpath(list); }, builtIn, 1, {}},
        {"unreadable file",
         [&] {
             WriteFileBytes(list, "a.b.c\r\n");
             QFile::setPermissions(list, QFile::WriteOwner);
         },
         builtIn,
         1,
         {}},
        {"FIFO", [&] { mkfifo(QFile::encodeName(list), 0600); }, builtIn, 1, {}},
        {"dangling link",
         [&] { QFile::link(target, list); },
         builtIn,
         0,
         {{QStringLiteral("target.txt"), BuiltInListFile().size()}}},
        {"dangling link into nowhere",
         [&] { QFile::link(DataFolder() + QStringLiteral("none/target.txt"), list); },
         builtIn,
         1,
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        msgBox.Boxes.clear();
        QDir(DataFolder()).removeRecursively();
        QDir().mkpath(DataFolder());
        row.make();
        QMap<QString, qint64> expected = Sizes(DataFolder());
        expected.insert(row.written);
        {
            WithoutFileRights user;
            ASSERT_NE(Open(), nullptr);
        }
        EXPECT_EQ(Sizes(DataFolder()), expected);
        QFile::setPermissions(DataFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(Combo1()->count(), row.servers.size());
        EXPECT_EQ(Combo1()->itemText(1), row.servers.value(1));
        EXPECT_EQ(Combo1()->currentIndex(), 0);
        EXPECT_EQ(msgBox.Boxes.size(), row.reports) << msgBox.Boxes.value(0);
        for (const MsgBoxRequest& box : msgBox.Boxes) {
            EXPECT_TRUE(box.Prompt.contains(QStringLiteral("\r\nForm_Load\r\n"))) << box;
        }
    }
}

TEST_F(MainWindowTest, AfterAFailedRefreshTheSavedServerIsKept) {
    QDir().mkpath(ListFile());
    for (const auto& [saved, selected] : {std::pair{"3", 3}, {"20", 0}}) {
        SetSetting(QStringLiteral("LastServer"), QString::fromLatin1(saved));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Combo1()->currentIndex(), selected);
        Close();
        EXPECT_EQ(Setting(QStringLiteral("LastServer")), QString::fromLatin1(saved));
    }
    ASSERT_NE(Open(), nullptr);
    Combo1()->setCurrentIndex(2); // the user's own choice is saved
    Close();
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("2"));
}

TEST_F(MainWindowTest, ExitFromTheMenuClosesLikeTheButton) {
    ASSERT_NE(Open(), nullptr);
    auto* other = new QMainWindow;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();
    QPointer<QMainWindow> watch(other);
    Child<QAction>("menuExit")->trigger();
    EXPECT_EQ(end.Count, 1);
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("0"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 1000)) << "other window open";
}

TEST_F(MainWindowTest, TheWindowKeepsItsSize) {
    ASSERT_NE(Open(), nullptr);
    const QSize fixed = window->size();
    EXPECT_EQ(window->centralWidget()->size(), frmMain::kClientSize);
    window->resize(fixed.width() + 100, fixed.height() + 60);
    EXPECT_EQ(window->size(), fixed);
    EXPECT_TRUE(window->centralWidget()->rect().contains(Child<QWidget>("Frame1")->geometry()));
    EXPECT_GE(Child<QWidget>("cmdInetStatus")->y(), frmMain::kClientSize.height());
}

TEST_F(MainWindowTest, ActivityPictureFollowsTheCounters) {
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1000)};
    ASSERT_NE(Open(), nullptr);
    QLabel* image = Child<QLabel>("Image1");
    for (const auto& [sent, picture] : {std::pair{1000, 4}, {1000, 1}, {1200, 3}}) {
        interfaces.Rows = {MakeInterfaceRow(1, 5000, sent)};
        EXPECT_TRUE(QTest::qWaitFor([&] { return SamePicture(image, picture); }, 1000)) << picture;
    }
}

TEST_F(MainWindowTest, StoredPositions) {
    // Saved positions are the frame's; the design position is the client area's.
    const struct {
        const char* top;
        const char* left;
        std::optional<QPoint> pos; // none: the design position
    } rows[] = {
        {"1500", "3000", QPoint(200, 100)},
        {"-45", "-450", QPoint(-30, -3)},
        {"1e30", "1e30", std::nullopt},     // no window can stand there
        {"300000", "300000", std::nullopt}, // on no screen: it would be lost
    };
    for (const auto& row : rows) {
        SetSetting(QStringLiteral("Top"), QString::fromLatin1(row.top));
        SetSetting(QStringLiteral("Left"), QString::fromLatin1(row.left));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(window->pos(), row.pos.value_or(frmMain::kDesignClientOrigin -
                                                  (window->geometry().topLeft() - window->pos())))
            << row.top;
        window.reset();
    }
}
