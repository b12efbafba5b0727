// The window's load step and its closing, through the real window on the real settings file
// and list file in private folders.

#include "MainWindowHarness.h"

#include "netstatus/ActivityPicture.h"
#include "runtime/ErrorReport.h"
#include "serverlist/ServerListFile.h"
#include "timesync/TimeSyncTexts.h"

#include <QFile>
#include <QMainWindow>
#include <QTest>

using namespace horlan;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray BuiltInListFile() {
    QByteArray bytes;
    for (const QString& name : BuiltInServerList()) {
        bytes += "\r\n" + name.toLatin1();
    }
    return bytes + "\r\n";
}

bool SamePicture(const QLabel* label, int picture) {
    return label->pixmap().toImage() == ActivityPicture(picture).toImage();
}

} // namespace

TEST_F(MainWindowTest, FirstRunUsesTheDesignPositionAndTheBuiltInList) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->geometry().topLeft(), frmMain::kDesignClientOrigin);
    EXPECT_EQ(Combo1()->count(), 14);
    EXPECT_EQ(Combo1()->currentIndex(), 0);
    EXPECT_EQ(Combo1()->currentText(), QStringLiteral("time.inrim.it"));
    EXPECT_EQ(ReadBytes(ListFile()), BuiltInListFile());
    EXPECT_TRUE(QFile::exists(FileKeyStore::DefaultPath()));
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);

    EXPECT_EQ(Label("lblHostname"), QStringLiteral("testhost"));
    EXPECT_EQ(Label("lblIPaddress"), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Label("lblUTCdate"), QStringLiteral("Waiting ..."));
    EXPECT_EQ(Label("lblSync"), WaitingText());
    EXPECT_FALSE(Label("lblLocalTime").isEmpty());
    EXPECT_TRUE(SamePicture(Child<QLabel>("Image1"), 1));
}

TEST_F(MainWindowTest, SecondRunComesBackWhereTheFirstWasClosed) {
    ASSERT_NE(Open(), nullptr);
    window->move(300, 200);
    Combo1()->setCurrentIndex(5);
    Close();
    EXPECT_EQ(end.Count, 1);
    EXPECT_EQ(Setting(QStringLiteral("Top")), QStringLiteral("3000"));
    EXPECT_EQ(Setting(QStringLiteral("Left")), QStringLiteral("4500"));
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("5"));

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(window->pos(), QPoint(300, 200));
    EXPECT_EQ(Combo1()->currentIndex(), 5);
    EXPECT_EQ(ReadBytes(ListFile()), BuiltInListFile()); // the refresh keeps a CR LF file as it is
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);

    // Partly off the screen: negative numbers are stored and restored.
    window->move(-30, -3);
    Close();
    EXPECT_EQ(Setting(QStringLiteral("Left")), QStringLiteral("-450"));
    EXPECT_EQ(Setting(QStringLiteral("Top")), QStringLiteral("-45"));
}

TEST_F(MainWindowTest, StoredLastServer) {
    const struct {
        const char* stored;
        int selected;
        bool report;
    } rows[] = {
        {"-1", 0, false},
        {"13", 13, false},
        {"20", 0, true},   // beyond the 14 entries
        {"x", 0, false},   // not a number: the labels are filled again, no message
        {"99999", 0, true} // does not fit the index
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        msgBox.Boxes.clear();
        SetSetting(QStringLiteral("LastServer"), QString::fromLatin1(row.stored));
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Combo1()->currentIndex(), row.selected);
        EXPECT_EQ(Combo1()->count(), 14);
        if (row.report) {
            ASSERT_EQ(msgBox.Boxes.size(), 1);
            EXPECT_EQ(msgBox.Boxes[0].Title, QStringLiteral("Error"));
            EXPECT_TRUE(msgBox.Boxes[0].Prompt.contains(QStringLiteral("\r\nForm_Load\r\n")))
                << msgBox.Boxes[0];
        } else {
            EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
        }
        window.reset();
    }
}

TEST_F(MainWindowTest, ListFileIsRefreshedAtEveryStart) {
    QDir().mkpath(DataFolder());
    WriteBytes(ListFile(), "a.b.c\nd.e.f\n");
    WriteBytes(DataFolder() + QStringLiteral("temp.txt"), "left over from a crash");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(ReadBytes(ListFile()), QByteArray("a.b.c\r\nd.e.f\r\n\r\n"));
    EXPECT_FALSE(QFile::exists(DataFolder() + QStringLiteral("temp.txt")));
    ASSERT_EQ(Combo1()->count(), 2);
    EXPECT_EQ(Combo1()->itemText(1), QStringLiteral("d.e.f"));
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
}

TEST_F(MainWindowTest, ClosingMinimisedOrWithAnEmptyList) {
    // Minimised: only the server is written.
    ASSERT_NE(Open(), nullptr);
    Combo1()->setCurrentIndex(2);
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    Close();
    EXPECT_EQ(Setting(QStringLiteral("Top")), QStringLiteral("Error"));
    EXPECT_EQ(Setting(QStringLiteral("Left")), QStringLiteral("Error"));
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("2"));

    // A list that cannot be read leaves the drop-down empty; "-1" is stored.
    QFile::remove(ListFile());
    QDir().mkpath(ListFile());
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(msgBox.Boxes.size(), 1);
    EXPECT_TRUE(msgBox.Boxes[0].Prompt.contains(QStringLiteral("\r\nForm_Load\r\n")));
    EXPECT_EQ(Combo1()->count(), 0);
    Close();
    EXPECT_EQ(Setting(QStringLiteral("LastServer")), QStringLiteral("-1"));
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
    QTRY_VERIFY(watch.isNull()); // the program's other windows were closed
}

TEST_F(MainWindowTest, TheWindowKeepsItsSize) {
    ASSERT_NE(Open(), nullptr);
    const QSize fixed = window->size();
    EXPECT_EQ(window->centralWidget()->size(), frmMain::kClientSize);
    window->resize(fixed.width() + 100, fixed.height() + 60);
    EXPECT_EQ(window->size(), fixed);
    // Frame1 shows whole; the status button lies below the visible part.
    const QWidget* frame = Child<QWidget>("Frame1");
    EXPECT_TRUE(window->centralWidget()->rect().contains(frame->geometry()));
    EXPECT_GE(Child<QWidget>("cmdInetStatus")->y(), frmMain::kClientSize.height());
}

TEST_F(MainWindowTest, ActivityPictureFollowsTheCounters) {
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1000)};
    ASSERT_NE(Open(), nullptr);
    QLabel* image = Child<QLabel>("Image1");
    QTRY_VERIFY(SamePicture(image, 4));
    QTRY_VERIFY(SamePicture(image, 1)); // nothing moved since
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1200)};
    QTRY_VERIFY(SamePicture(image, 3));
}

TEST_F(MainWindowTest, StoredPositions) {
    // Saved positions are the frame's; the design position is the client area's.
    const struct {
        const char* top;
        const char* left;
        std::optional<int> x; // none: the design position
        std::optional<int> y;
    } rows[] = {
        {"1500", "3000", 200, 100},
        {"1e30", "1e30", std::nullopt, std::nullopt},     // no window can stand there
        {"300000", "300000", std::nullopt, std::nullopt}, // on no screen: it would be lost
        {"-45", "-450", -30, -3},                         // partly off the screen is kept
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.top);
        SetSetting(QStringLiteral("Top"), QString::fromLatin1(row.top));
        SetSetting(QStringLiteral("Left"), QString::fromLatin1(row.left));
        ASSERT_NE(Open(), nullptr);
        const QPoint design =
            frmMain::kDesignClientOrigin - (window->geometry().topLeft() - window->pos());
        EXPECT_EQ(window->pos(), QPoint(row.x.value_or(design.x()), row.y.value_or(design.y())));
        EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
        window.reset();
    }
}
