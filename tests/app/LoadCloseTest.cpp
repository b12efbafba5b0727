// The window's load step and its closing, through the real window on the real settings file
// and list file in private folders.

#include "MainWindowHarness.h"

#include "netstatus/ActivityPicture.h"
#include "serverlist/ServerListFile.h"
#include "support/FileBytes.h"
#include "timesync/TimeSyncTexts.h"

#include <QMainWindow>
#include <QSessionManager>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace horlan;
using namespace Qt::StringLiterals;

namespace {

QByteArray BuiltInListFile() {
    return "\r\n" + BuiltInServerList().join(u"\r\n"_s).toLatin1() + "\r\n";
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

} // namespace

TEST_F(MainWindowTest, FirstRunThenLaterRuns) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->geometry().topLeft(), frmMain::kDesignClientOrigin);
    EXPECT_EQ(Combo1()->currentText(), u"time.inrim.it"_s);
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
    EXPECT_EQ(Setting(u"Left"_s), u"-450"_s);
    // A CR LF list is not written again: kept elsewhere behind a link, both stay as they are.
    const QString kept = program.path() + u"/kept.txt"_s;
    const auto time = std::filesystem::file_time_type(std::chrono::hours(1));
    ASSERT_TRUE(QFile::rename(ListFile(), kept) && QFile::link(kept, ListFile()));
    std::filesystem::last_write_time(kept.toStdString(), time);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->pos(), QPoint(-30, -3));
    EXPECT_EQ(Combo1()->currentIndex(), 5);
    EXPECT_EQ(ReadFileBytes(kept), BuiltInListFile());
    EXPECT_TRUE(QFileInfo(ListFile()).isSymLink());
    EXPECT_EQ(std::filesystem::last_write_time(kept.toStdString()), time);
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
    // Minimised: only the server is written.
    window->showMinimized();
    window->move(0, 0);
    Combo1()->setCurrentIndex(2);
    Close();
    EXPECT_EQ(Setting(u"Left"_s), u"-450"_s);
    EXPECT_EQ(Setting(u"LastServer"_s), u"2"_s);
    // One change: a save that a size limit fails (even for root) keeps the old Top and Left.
    SetSetting(u"Pad"_s, QString(200, u'p')); // room for the lock file below the limit
    ASSERT_NE(Open(), nullptr);
    window->move(-300, -30); // one more digit each
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{static_cast<rlim_t>(QFileInfo(keyStore.Path()).size() + 1), limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Close();
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(QStringList({*Setting(u"Top"_s), *Setting(u"Left"_s)}), QStringList({"-45", "-450"}));
}

TEST_F(MainWindowTest, StoredLastServer) {
    WriteFileBytes(ListFile(), BuiltInListFile());
    // Not a number ("x"): the labels are filled again, without a message; past the end of the
    // list as for none; beyond an index: the common error report.
    for (const auto& [stored, selected, reports] :
         {std::tuple{"-1", 0, 0}, {"13", 13, 0}, {"x", 0, 0}, {"14", 0, 0}, {"99999", 0, 1}}) {
        msgBox.Boxes.clear();
        SetSetting(u"LastServer"_s, QString::fromLatin1(stored));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Combo1()->currentIndex(), selected) << stored;
        EXPECT_EQ(msgBox.Boxes.size(), reports) << stored;
    }
}

TEST_F(MainWindowTest, HostileListFileStillGivesServers) {
    const QString list = ListFile();
    const QString target = DataFolder() + u"target.txt"_s;
    const QStringList builtIn = BuiltInServerList();
    const auto readOnly = [&] {
        QFile::setPermissions(DataFolder(), QFile::ReadOwner | QFile::ExeOwner);
    };
    const QByteArray none = "<unreadable>", written = BuiltInListFile();
    const struct {
        const char* what;
        QStringList servers;
        int reports;       // error reports naming Form_Load
        QByteArray target; // what the start wrote through a link
        std::function<void()> make;
    } rows[] = {
        {"read-only folder",
         {"a.b.c", "d.e.f"},
         1,
         none,
         [&] { WriteFileBytes(list, "a.b.c\r\nd.e.f"), readOnly(); }},
        {"folder", builtIn, 1, none, [&] { QDir().mkpath(list); }},
        {"unreadable file", builtIn, 1, none,
         [&] { WriteFileBytes(list, "a"), QFile::setPermissions(list, {}); }},
        {"FIFO", builtIn, 1, none, [&] { mkfifo(QFile::encodeName(list), 0600); }},
        {"dangling link", builtIn, 0, written, [&] { QFile::link(target, list); }},
        {"dangling link into nowhere", builtIn, 1, none,
         [&] { QFile::link(target + u"/x"_s, list); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        msgBox.Boxes.clear();
        QDir(DataFolder()).removeRecursively();
        QDir().mkpath(DataFolder());
        row.make();
        {
            WithoutFileRights user;
            ASSERT_NE(Open(), nullptr);
        }
        EXPECT_EQ(ReadFileBytes(target), row.target);
        EXPECT_FALSE(QFileInfo::exists(DataFolder() + u"temp.txt"_s));
        QFile::setPermissions(DataFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(QStringList({Combo1()->itemText(1), Combo1()->itemText(row.servers.size())}),
                  QStringList({row.servers[1], {}})); // the entries end where the list does
        EXPECT_EQ(msgBox.Boxes.size(), row.reports) << msgBox.Boxes.value(0);
        for (const MsgBoxRequest& box : msgBox.Boxes) {
            EXPECT_TRUE(box.Prompt.contains(u"\r\nForm_Load\r\n"_s)) << box;
        }
    }
}

TEST_F(MainWindowTest, AfterAFailedRefreshTheSavedServerIsKept) {
    QDir().mkpath(ListFile());
    for (const auto& [saved, selected] : {std::pair{"3", 3}, {"20", 0}}) {
        SetSetting(u"LastServer"_s, QString::fromLatin1(saved));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Combo1()->currentIndex(), selected);
        Close();
        EXPECT_EQ(Setting(u"LastServer"_s), QString::fromLatin1(saved));
    }
    ASSERT_NE(Open(), nullptr);
    Combo1()->setCurrentIndex(2); // the user's own choice is saved
    Close();
    EXPECT_EQ(Setting(u"LastServer"_s), u"2"_s);
}

TEST_F(MainWindowTest, SessionEndAndExitCloseEveryWindow) {
    ASSERT_NE(Open(), nullptr);
    QMainWindow other;
    other.show();
    Combo1()->setCurrentIndex(2);
    // Asked for the settings before a logout, which may still be cancelled.
    emit qApp->commitDataRequest(*qApp->findChild<QSessionManager*>());
    EXPECT_EQ(Setting(u"LastServer"_s), u"2"_s);
    EXPECT_TRUE(other.isVisible());
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(); }); // the session ends
    QCoreApplication::exec();
    EXPECT_EQ(end.Count, 1);
    EXPECT_FALSE(other.isVisible());
    ASSERT_NE(Open(), nullptr);
    Child<QAction>("menuExit")->trigger();
    EXPECT_EQ(end.Count, 2);
}

TEST_F(MainWindowTest, TheWindowKeepsItsSize) {
    ASSERT_NE(Open(), nullptr);
    window->resize(window->size() + QSize(100, 60));
    EXPECT_EQ(window->centralWidget()->size(), frmMain::kClientSize);
}

TEST_F(MainWindowTest, ActivityPictureFollowsTheCounters) {
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1000)};
    ASSERT_NE(Open(), nullptr);
    QLabel* image = Child<QLabel>("Image1");
    for (const auto& [sent, picture] : {std::pair{1000, 4}, {1000, 1}, {1200, 3}}) {
        interfaces.Rows = {MakeInterfaceRow(1, 5000, sent)};
        EXPECT_TRUE(QTest::qWaitFor([&, want = picture] { return SamePicture(image, want); }, 1000))
            << picture;
    }
}

TEST_F(MainWindowTest, StoredPositions) {
    // Saved positions are the frame's; the design position is the client area's. No window can
    // stand at 1e30, and one on no screen would be lost: those open at the design position.
    for (const auto& [top, left, pos] :
         {std::tuple{"1500", "3000", std::optional(QPoint(200, 100))},
          {"1e30", "1e30", std::nullopt},
          {"300000", "3e5", std::nullopt}}) {
        SetSetting(u"Top"_s, QString::fromLatin1(top));
        SetSetting(u"Left"_s, QString::fromLatin1(left));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(window->pos(), pos.value_or(frmMain::kDesignClientOrigin -
                                              (window->geometry().topLeft() - window->pos())));
    }
}
