// Whole exchanges through the real window and the real socket control, against loopback time
// servers (each test on its own 127.0.0.x), with systemd-timedated played by a fake on a
// private bus.

#include "MainWindowHarness.h"
#include "support/TimeServerFixture.h"

#include "runtime/ErrorReport.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <QtEndian>

using namespace horlan;

namespace {

// The server's second in most exchanges: well after any build of the program.
const QDateTime kServer = BuildDay().addDays(100).addSecs(3723);

// What a server sends for `utc`: seconds since 1900 in 32 bits, wrapping every 2^32 s.
QByteArray ReplyFor(const QDateTime& utc) {
    QByteArray bytes(4, '\0');
    qToBigEndian(quint32(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC).secsTo(utc)),
                 bytes.data());
    return bytes;
}

// systemd-timedated as the tests play it, on a dbus-daemon of its own that it makes this
// process's system bus: it notes each SetTime as "usec relative interactive prompt-allowed"
// and answers after DelayMs, with the error ErrorName when that is set.
class FakeTimedated : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")

public:
    FakeTimedated() {
        daemon.start("dbus-daemon",
                     {"--session", "--nofork", "--print-address", "--address=unix:tmpdir=/tmp"});
        daemon.waitForReadyRead(10000);
        const QByteArray address = daemon.readLine().trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        Bus = QDBusConnection::connectToBus(QString::fromLatin1(address), "timedated");
        Bus.registerObject("/org/freedesktop/timedate1", this, QDBusConnection::ExportAllSlots);
    }
    ~FakeTimedated() override {
        daemon.kill();
        daemon.waitForFinished();
    }

    QProcess daemon;
    QDBusConnection Bus{QString()};
    QStringList Calls;
    QString ErrorName, ErrorText;
    int DelayMs = 0;

public slots:
    void SetTime(qlonglong usec, bool relative, bool interactive, const QDBusMessage& call) {
        Calls << QStringLiteral("%1 %2 %3 %4")
                     .arg(usec)
                     .arg(relative)
                     .arg(interactive)
                     .arg(call.isInteractiveAuthorizationAllowed());
        call.setDelayedReply(true);
        QTimer::singleShot(DelayMs, this, [this, call] {
            Bus.send(ErrorName.isEmpty() ? call.createReply()
                                         : call.createErrorReply(ErrorName, ErrorText));
        });
    }
};

class SynchronizeTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { timedated = std::make_unique<FakeTimedated>(); }
    static void TearDownTestSuite() { timedated.reset(); }
    SynchronizeTest() {
        timedated->Calls.clear();
        timedated->ErrorName.clear();
        timedated->DelayMs = 0;
        timedated->Bus.registerService(QStringLiteral("org.freedesktop.timedate1"));
        Now = kServer.addSecs(-100);
    }

    // Chooses `entry` and presses "&Synchronize".
    void Sync(const char* entry) {
        Combo1()->addItem(QString::fromLatin1(entry));
        Combo1()->setCurrentIndex(Combo1()->count() - 1);
        QTest::mouseClick(Child<QPushButton>("cmdSync"), Qt::LeftButton);
    }
    static bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }
    QString Tooltip() const { return Child<QLabel>("lblSync")->toolTip(); }

    static inline std::unique_ptr<FakeTimedated> timedated;
};

} // namespace

TEST_F(SynchronizeTest, RepliesThatSetTheClock) {
    // Entry, server's second, pause before each of its four bytes, the local clock from the
    // server's second (ms), half the round trip added (s), tooltip.
    const std::tuple<const char*, QDateTime, int, int, int, const char*> rows[] = {
        {"127.0.0.101", kServer, 0, -60000, 0, "60.0 s behind the server and has been set."},
        {"  127.0.0.102  ", kServer, 0, 3000, 0, "3.0 s ahead of the server and has been set."},
        {"127.0.0.103", kServer, 500, -60000, 1, "61.0 s behind the server and has been set."},
        {"127.0.0.104", QDateTime::fromString("2036-02-07T06:28:17Z", Qt::ISODate), 0, -5000, 0,
         "5.0 s behind the server and has been set."}, // sent as 00 00 00 01
    };
    ASSERT_NE(Open(), nullptr);
    for (const auto& [entry, server, pauseMs, clockMs, delay, tooltip] : rows) {
        SCOPED_TRACE(entry);
        TimeServerFixture fixture(QString::fromLatin1(entry).trimmed());
        const QByteArray bytes = ReplyFor(server);
        fixture.Script = {
            {{bytes.left(1), bytes.mid(1, 1), bytes.mid(2, 1), bytes.mid(3)}, pauseMs}};
        Now = server.addMSecs(clockMs);
        timedated->Calls.clear();
        Sync(entry);
        EXPECT_EQ(Label("lblSync"), WorkingText());
        ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); }));
        EXPECT_EQ(timedated->Calls,
                  QStringList{QStringLiteral("%1 1 1 1").arg((delay * 1000LL - clockMs) * 1000)});
        EXPECT_EQ(Label("lblUTCdate"), GeneralDateText(server.addSecs(delay)));
        EXPECT_EQ(Tooltip(), QStringLiteral("The clock was ") + tooltip);
        EXPECT_EQ(Child<QLabel>("lblSync")->accessibleDescription(), Tooltip());
    }
    EXPECT_EQ(bell.Count, 4);
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
}

TEST_F(SynchronizeTest, AClockThatAgreesIsLeftAlone) {
    TimeServerFixture server(QStringLiteral("127.0.0.105"));
    server.Script = {{{ReplyFor(kServer)}}};
    ASSERT_NE(Open(), nullptr);
    for (const int lateMs : {0, 400, 1000}) {
        Now = kServer.addMSecs(lateMs);
        Sync("127.0.0.105");
        ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); })) << lateMs;
        EXPECT_EQ(Tooltip(), OutcomeText(ClockOutcome::Agreed, 0));
    }
    EXPECT_EQ(bell.Count, 3);
    EXPECT_TRUE(timedated->Calls.isEmpty());
}

TEST_F(SynchronizeTest, FailedExchangesShowTheirBoxAndReadNotSynchronized) {
    const QString invalid = InvalidResponseBox().Prompt,
                  notSet = "The system clock could not be set.\r\n",
                  tryAnother = "\r\nPlease try another time server from the list.",
                  right = "\r\n\r\nHorlan needs the right to set the system clock.";
    const TimeServerReply good{{ReplyFor(kServer)}};
    // Address, server's script (empty: nothing listens), timedated's error ("-": no timedated on
    // the bus) and its text, the box's text.
    const std::tuple<const char*, QList<TimeServerReply>, const char*, const char*, QString>
        rows[] = {
            {"127.0.0.106", {{{QByteArray::fromHex("E00000")}}}, "", "", invalid},
            {"127.0.0.107", {{{ReplyFor(kServer) + 'x'}}}, "", "", invalid},
            {"127.0.0.108", {{}}, "", "", invalid},
            // 1976: before this program was built, so no server can be right.
            {"127.0.0.109", {{{QByteArray::fromHex("90000000")}}}, "", "", invalid},
            {"127.0.0.110", {}, "", "", "The connection was refused/rejected." + tryAnother},
            {"127.0.0.111",
             {{{}, 0, TimeServerReply::Ending::Hold}},
             "",
             "",
             "The connection timed out." + tryAnother},
            {"127.0.0.115",
             {good},
             "org.freedesktop.timedate1.AutomaticTimeSyncEnabled",
             "Automatic time sync is on",
             notSet + "Automatic time synchronization is enabled.\r\n\r\nTurn it off in the "
                      "system's date and time "
                      "settings to set the clock with Horlan."},
            {"127.0.0.116",
             {good},
             "org.freedesktop.DBus.Error.AccessDenied",
             "Permission denied",
             notSet + "Permission denied" + right},
            {"127.0.0.117",
             {good},
             "-",
             "",
             notSet + "The name org.freedesktop.timedate1 was not provided by any .service files" +
                 right},
        };
    ASSERT_NE(Open(), nullptr);
    Child<Winsock>("Winsock1")->SetReplyTimeout(std::chrono::milliseconds(500));
    for (const auto& [address, script, errorName, errorText, prompt] : rows) {
        SCOPED_TRACE(address);
        TimeServerFixture server(QString::fromLatin1(address), script.isEmpty() ? 0 : 37);
        server.Script = script;
        timedated->ErrorName = QString::fromLatin1(errorName);
        timedated->ErrorText = QString::fromLatin1(errorText);
        if (timedated->ErrorName == "-") {
            timedated->Bus.unregisterService(QStringLiteral("org.freedesktop.timedate1"));
        }
        msgBox.Boxes.clear();
        Sync(address);
        ASSERT_TRUE(WaitFor([&] { return !msgBox.Boxes.isEmpty(); }));
        EXPECT_EQ(msgBox.Boxes[0].Prompt, prompt);
        EXPECT_EQ(Label("lblSync"), NotSynchronizedText());
        EXPECT_TRUE(WaitFor([&] { return server.Open == 0; }));
    }
    EXPECT_EQ(Tooltip(), "The clock was 100.0 s behind the server; it could not be set.");
    EXPECT_EQ(timedated->Calls.size(), 2);
    EXPECT_EQ(bell.Count, 0);
}

TEST_F(SynchronizeTest, TheWindowGoesOnWhileTimedatedAsksForThePassword) {
    timedated->DelayMs = 1500;
    TimeServerFixture server(QStringLiteral("127.0.0.114"));
    server.Script = {{{ReplyFor(kServer)}}};
    ASSERT_NE(Open(), nullptr);
    Sync("127.0.0.114");
    ASSERT_TRUE(WaitFor([&] { return !timedated->Calls.isEmpty(); }));
    const int refreshes = interfaces.Reads;
    EXPECT_TRUE(WaitFor([&] { return interfaces.Reads > refreshes + 2; }));
    QTest::mouseClick(Child<QPushButton>("cmdSync"), Qt::LeftButton);
    EXPECT_EQ(Label("lblSync"), WorkingText());
    ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); }));
    EXPECT_EQ(timedated->Calls, QStringList{"100000000 1 1 1"});
    EXPECT_EQ(server.Accepted, 1);
}

TEST_F(SynchronizeTest, AMissingAddressIsReadAgainBeforeTheProgramEnds) {
    localHost.IP.clear();
    ASSERT_NE(Open(), nullptr);
    Sync("a.b.c");
    EXPECT_EQ(msgBox.Boxes.value(0), NoConnectionBox());
    EXPECT_EQ(end.Count, 1);
    localHost.IP = QStringLiteral("2001:db8::2"); // the network came up after the window's load
    Sync("a.b");
    EXPECT_EQ(Label("lblIPaddress"), localHost.IP);
    EXPECT_EQ(msgBox.Boxes.value(1), NotATimeServerBox());
    EXPECT_EQ(end.Count, 1);
}

TEST_F(SynchronizeTest, AnEndlessServerGrowsNoMemoryAndASecondSynchronizeDropsIt) {
    TimeServerFixture server(QStringLiteral("127.0.0.113"));
    server.Script = {{{}, 0, TimeServerReply::Ending::Stream}, {{ReplyFor(kServer)}}};
    const auto resident = [] {
        QFile statm(QStringLiteral("/proc/self/statm"));
        return statm.open(QIODevice::ReadOnly)
                   ? statm.readAll().split(' ').value(1).toLongLong() * 4096
                   : 0;
    };
    ASSERT_NE(Open(), nullptr);
    Sync("127.0.0.113");
    ASSERT_TRUE(WaitFor([&] { return server.Streamed > 2 << 20; }));
    const qint64 before = resident();
    ASSERT_TRUE(WaitFor([&] { return server.Streamed > 18 << 20; }));
#if !defined(__SANITIZE_ADDRESS__) // its quarantine keeps freed memory resident
    EXPECT_LT(resident() - before, 8 << 20) << "16 MiB streamed";
#endif
    Sync("127.0.0.113");
    EXPECT_TRUE(WaitFor([&] { return timedated->Calls.size() == 1 && server.Open == 0; }));
}

#include "SynchronizeTest.moc"
