// Whole exchanges through the real window and the real socket control, against loopback
// time servers (each test on its own 127.0.0.x).

#include "MainWindowHarness.h"
#include "support/TimeServerFixture.h"

#include "runtime/ErrorReport.h"
#include "serverlist/ServerListFile.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace horlan;
using namespace std::chrono_literals;

namespace {

const QByteArray kE0 = QByteArray::fromHex("E0000000"); // 2019-02-02 11:39:44 UTC

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

SYSTEMTIME Expected2019() {
    SYSTEMTIME t;
    t.wYear = 2019;
    t.wMonth = 2;
    t.wDay = 2;
    t.wHour = 11;
    t.wMinute = 39;
    t.wSecond = 44;
    return t;
}

// Resident memory of this process, in bytes.
qint64 ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : -1;
}

class SynchronizeTest : public MainWindowTest {
protected:
    void Choose(const QString& entry) {
        Combo1()->addItem(entry);
        Combo1()->setCurrentIndex(Combo1()->count() - 1);
    }
    void ClickSync() { QTest::mouseClick(Child<QPushButton>("cmdSync"), Qt::LeftButton); }

    Winsock* Winsock1() const { return Child<Winsock>("Winsock1"); }

    // Waits until the window's socket control has raised its close event; the window's own
    // handler has run by then.
    bool WaitClosed() const {
        QSignalSpy closed(Winsock1(), &Winsock::Closed);
        return closed.wait(10000);
    }
};

} // namespace

TEST_F(SynchronizeTest, RepliesOfTheServer) {
    const struct {
        const char* address;
        TimeServerReply reply;
        bool clockSet;
        const char* status;
        bool invalidBox;
    } rows[] = {
        {"127.0.0.101", TimeServerReply::Send(kE0), true, "Clock synchronized succesfully.", false},
        {"127.0.0.102",
         TimeServerReply::SendPieces(
             {QByteArray(1, '\xE0'), QByteArray(1, 0), QByteArray(1, 0), QByteArray(1, 0)}, 30ms),
         true, "Clock synchronized succesfully.", false},
        {"127.0.0.103", TimeServerReply::Send(QByteArray::fromHex("E00000")), false, "Working...",
         true},
        {"127.0.0.104", TimeServerReply::Send(QByteArray::fromHex("E000000000")), false,
         "Working...", true},
        {"127.0.0.105", TimeServerReply::CloseAtOnce(), false, "Working...", true},
        // Before 1921: the computation overflows and the exchange ends without a word.
        {"127.0.0.106", TimeServerReply::Send(QByteArray(4, 0)), false, "Working...", false},
    };
    ASSERT_NE(Open(), nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address);
        TimeServerFixture server(QString::fromLatin1(row.address));
        ASSERT_TRUE(server.IsListening()) << server.ErrorString().toStdString();
        server.Script({row.reply});
        msgBox.Boxes.clear();
        clock.Calls.clear();
        bell.Count = 0;

        Choose(QString::fromLatin1(row.address));
        ClickSync();
        EXPECT_EQ(Label("lblSync"), WorkingText());
        ASSERT_TRUE(WaitClosed());

        EXPECT_EQ(Label("lblSync"), QString::fromLatin1(row.status));
        EXPECT_EQ(bell.Count, row.clockSet ? 1 : 0);
        if (row.clockSet) {
            ASSERT_EQ(clock.Calls.size(), 1);
            EXPECT_EQ(clock.Calls[0], Expected2019());
            EXPECT_EQ(Label("lblUTCdate"),
                      GeneralDateText(QDateTime(QDate(2019, 2, 2), QTime(11, 39, 44), Qt::UTC)));
        } else {
            EXPECT_TRUE(clock.Calls.isEmpty());
        }
        if (row.invalidBox) {
            ASSERT_EQ(msgBox.Boxes.size(), 1);
            EXPECT_EQ(msgBox.Boxes[0], InvalidResponseBox());
        } else {
            EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
        }
    }
}

TEST_F(SynchronizeTest, AClockThatCannotBeSetIsNotReportedAsSet) {
    TimeServerFixture server(QStringLiteral("127.0.0.107"));
    server.Script({TimeServerReply::Send(kE0)});
    clock.RefuseReason = QStringLiteral("Operation not permitted");
    ASSERT_NE(Open(), nullptr);
    Choose(QStringLiteral("127.0.0.107"));
    ClickSync();
    ASSERT_TRUE(WaitClosed());

    EXPECT_EQ(clock.Calls.size(), 1);
    EXPECT_EQ(bell.Count, 0);
    ASSERT_EQ(msgBox.Boxes.size(), 1);
    EXPECT_EQ(msgBox.Boxes[0].Title, QStringLiteral("Oops"));
    EXPECT_EQ(msgBox.Boxes[0].Icon, MsgBoxIcon::Exclamation);
    EXPECT_EQ(msgBox.Boxes[0].Prompt,
              QStringLiteral("The system clock could not be set.\r\nOperation not permitted\r\n\r\n"
                             "Horlan needs the right to set the system clock."));
    EXPECT_EQ(Label("lblSync"), QStringLiteral("Clock not synchronized."));
    EXPECT_EQ(Label("lblUTCdate"),
              GeneralDateText(QDateTime(QDate(2019, 2, 2), QTime(11, 39, 44), Qt::UTC)));
}

TEST_F(SynchronizeTest, EntryCheckAndTrimming) {
    const struct {
        const char* entry;
        bool accepted;
    } rows[] = {
        {"a.b", false},    {"a.b.c.d.e", false},      {"     ", false},
        {"nodots", false}, {"  127.0.0.108  ", true},
    };
    TimeServerFixture server(QStringLiteral("127.0.0.108"));
    server.Script({TimeServerReply::Send(kE0)});
    ASSERT_NE(Open(), nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        msgBox.Boxes.clear();
        Choose(QString::fromLatin1(row.entry));
        ClickSync();
        if (row.accepted) {
            ASSERT_TRUE(WaitClosed());
            EXPECT_EQ(clock.Calls.size(), 1);
            EXPECT_TRUE(msgBox.Boxes.isEmpty());
        } else {
            ASSERT_EQ(msgBox.Boxes.size(), 1);
            EXPECT_EQ(msgBox.Boxes[0], NotATimeServerBox());
            EXPECT_EQ(Label("lblSync"), WaitingText());
        }
    }
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(SynchronizeTest, RefusedConnectionShowsItsBoxAndKeepsTheStatus) {
    RefusingEndpoint refusing(QStringLiteral("127.0.0.109"));
    ASSERT_NE(Open(), nullptr);
    Choose(QStringLiteral("127.0.0.109"));
    ClickSync();
    QTRY_COMPARE_WITH_TIMEOUT(msgBox.Boxes.size(), 1, 10000);
    // The refused box names neither number nor description.
    EXPECT_EQ(msgBox.Boxes[0], SocketErrorBox(10061, QString()));
    EXPECT_EQ(Label("lblSync"), WorkingText());
    EXPECT_TRUE(clock.Calls.isEmpty());
}

TEST_F(SynchronizeTest, NoAddressAtLoadEndsTheProgramAtSynchronize) {
    localHost.IP.clear();
    ASSERT_NE(Open(), nullptr);
    Choose(QStringLiteral("127.0.0.110"));
    ClickSync();
    ASSERT_EQ(msgBox.Boxes.size(), 1);
    EXPECT_EQ(msgBox.Boxes[0], NoConnectionBox());
    EXPECT_EQ(end.Count, 1);
    EXPECT_EQ(Label("lblSync"), WaitingText());
}

TEST_F(SynchronizeTest, ASecondSynchronizeAbandonsAHeldExchange) {
    TimeServerFixture server(QStringLiteral("127.0.0.111"));
    server.Script({TimeServerReply::Hold(), TimeServerReply::Send(kE0)});
    ASSERT_NE(Open(), nullptr);
    Choose(QStringLiteral("127.0.0.111"));
    ClickSync();
    QTRY_COMPARE_WITH_TIMEOUT(server.Accepted(), 1, 10000);
    ClickSync();
    ASSERT_TRUE(WaitClosed());
    QTRY_COMPARE(server.Open(), 0); // the held connection was let go
    EXPECT_EQ(clock.Calls.size(), 1);
    EXPECT_EQ(Label("lblSync"), SynchronizedText());
    EXPECT_TRUE(msgBox.Boxes.isEmpty());
}

TEST_F(SynchronizeTest, AnEndlessServerNeitherGrowsMemoryNorEndsTheWait) {
    TimeServerFixture server(QStringLiteral("127.0.0.112"));
    server.Script({TimeServerReply::Stream(), TimeServerReply::Send(kE0)});
    ASSERT_NE(Open(), nullptr);
    Choose(QStringLiteral("127.0.0.112"));
    ClickSync();
    QTRY_VERIFY_WITH_TIMEOUT(server.BytesStreamed() > 8 * 1024 * 1024, 30000);
    const qint64 before = ResidentBytes();
    QTRY_VERIFY_WITH_TIMEOUT(server.BytesStreamed() > 72 * 1024 * 1024, 60000);
    const qint64 after = ResidentBytes();
    // AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing there.
    if (!kAddressSanitizer) {
        EXPECT_LT(after - before, 16 * 1024 * 1024) << "64 MiB streamed";
    }
    EXPECT_EQ(Label("lblSync"), WorkingText());
    EXPECT_TRUE(msgBox.Boxes.isEmpty());

    ClickSync();
    QTRY_COMPARE_WITH_TIMEOUT(clock.Calls.size(), 1, 10000);
    EXPECT_EQ(Label("lblSync"), SynchronizedText());
}

TEST_F(SynchronizeTest, EnterPressesSynchronizeOrTheFocusedButton) {
    ASSERT_NE(Open(), nullptr);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Choose(QStringLiteral("a.b"));
    Combo1()->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Return);
    ASSERT_EQ(msgBox.Boxes.size(), 1) << "at once, without an animated press";
    EXPECT_EQ(msgBox.Boxes[0], NotATimeServerBox());

    // Enter on "E&xit" closes the window like the button.
    auto* cmdExit = Child<QPushButton>("cmdExit");
    cmdExit->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Enter);
    EXPECT_EQ(end.Count, 1);
}
