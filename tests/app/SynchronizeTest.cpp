// Exchanges through the real window against loopback servers and a fake timedated.

#include "MainWindowHarness.h"
#include "support/ChronydFixture.h"
#include "support/FakeNtpServer.h"
#include "support/TimeServerFixture.h"

#include "runtime/ErrorReport.h"
#include "timesync/NtpTimeSource.h"
#include "timesync/NtsTimeSource.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <QtEndian>

using namespace horlan;
using namespace std::chrono_literals;

namespace {

const QDateTime kServer = BuildDay().addDays(100).addSecs(3723);

// What a server sends for `utc`: seconds since 1900 in 32 bits, wrapping every 2^32 s.
QByteArray ReplyFor(const QDateTime& utc) {
    QByteArray bytes(4, '\0');
    qToBigEndian(quint32(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC).secsTo(utc)),
                 bytes.data());
    return bytes;
}

// systemd-timedated on a dbus-daemon it makes this process's system bus: notes each SetTime's
// microseconds (marked unless relative and interactive) and answers after DelayMs, or ErrorName.
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

    QProcess daemon;
    QDBusConnection Bus{QString()};
    struct {
        QStringList Calls;
        QString ErrorName;
        int DelayMs = 0;
    } Test; // what one test sets and sees

public slots:
    void SetTime(qlonglong usec, bool relative, bool interactive, const QDBusMessage& call) {
        const bool asks = relative && interactive && call.isInteractiveAuthorizationAllowed();
        Test.Calls << QString::number(usec) + (asks ? "" : " without asking");
        call.setDelayedReply(true);
        QTimer::singleShot(Test.DelayMs, this, [this, call] {
            Bus.send(Test.ErrorName.isEmpty()
                         ? call.createReply()
                         : call.createErrorReply(Test.ErrorName, "Permission denied"));
        });
    }
};

class SynchronizeTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { timedated = std::make_unique<FakeTimedated>(); }
    static void TearDownTestSuite() { timedated.reset(); }
    SynchronizeTest() {
        timedated->Test = {};
        timedated->Bus.registerService(QStringLiteral("org.freedesktop.timedate1"));
        Now = kServer.addSecs(-100);
    }

    void Sync(const char* entry) {
        Combo1()->addItem(QString::fromLatin1(entry));
        Combo1()->setCurrentIndex(Combo1()->count() - 1);
        QTest::mouseClick(Child<QPushButton>("cmdSync"), Qt::LeftButton);
    }
    static bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }
    // The change each SetTime asked for, in microseconds.
    static QList<qint64> Changes() {
        QList<qint64> changes;
        for (const QString& call : timedated->Test.Calls) {
            changes << call.section(' ', 0, 0).toLongLong();
        }
        return changes;
    }
    QString Tooltip() const { return Child<QLabel>("lblSync")->toolTip(); }

    static inline std::unique_ptr<FakeTimedated> timedated;
};

} // namespace

TEST_F(SynchronizeTest, ExchangesThatSucceed) {
    const QDateTime wrapped = QDateTime::fromString("2036-02-07T06:28:17Z", Qt::ISODate);
    const QString agreed = "The clock agreed with the server to within 5";
    // Entry, server's second, pause before each of its four bytes (ms), the local clock from
    // the server's second (ms), half the round trip added to the label (s), the change set
    // (ms: the middle of the server's second plus half the round trip), the tooltip's start.
    const std::tuple<const char*, QDateTime, int, int, int, int, QString> rows[] = {
        {"127.0.0.101", kServer, 0, -60000, 0, 60500, "The clock was 60.5"},
        {"  127.0.0.102  ", kServer, 0, 3000, 0, -2500, "The clock was 2."},
        {"127.0.0.103", kServer, 500, -60000, 1, 61500, "The clock was 61."},
        {"127.0.0.104", wrapped, 0, -5000, 0, 5500, "The clock was 5.5"},
        {"127.0.0.105", kServer, 0, 0, 0, 0, agreed},
        {"127.0.0.105", kServer, 0, 1000, 0, 0, agreed},
        {"127.0.0.118", kServer, 0, -72000000, 0, 72000500, "The clock was 72000.5"},
    };
    msgBox.Yes = true; // to the one question, for the 20 hours of 127.0.0.118
    ASSERT_NE(Open(), nullptr);
    for (const auto& [entry, server, pauseMs, clockMs, delay, changeMs, tooltip] : rows) {
        SCOPED_TRACE(entry);
        TimeServerFixture fixture(QString::fromLatin1(entry).trimmed());
        const QByteArray bytes = ReplyFor(server);
        fixture.Script = {
            {{bytes.left(1), bytes.mid(1, 1), bytes.mid(2, 1), bytes.mid(3)}, pauseMs}};
        Now = server.addMSecs(clockMs);
        timedated->Test.Calls.clear();
        Sync(entry);
        ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); }));
        ASSERT_EQ(Changes().size(), changeMs == 0 ? 0 : 1);
        EXPECT_NEAR(Changes().value(0) / 1000, changeMs, 100);
        EXPECT_EQ(Label("lblUTCdate"), GeneralDateText(server.addSecs(delay)));
        EXPECT_TRUE(Tooltip().startsWith(tooltip)) << Tooltip().toStdString();
        EXPECT_EQ(Child<QLabel>("lblSync")->accessibleDescription(), Tooltip());
    }
    EXPECT_EQ(bell.Count, 7);
    ASSERT_EQ(msgBox.Boxes.size(), 1);
    EXPECT_EQ(msgBox.Boxes[0].Icon, MsgBoxIcon::Question);
}

TEST_F(SynchronizeTest, ALargeChangeWaitsForTheUsersYes) {
    TimeServerFixture server(QStringLiteral("127.0.0.119"));
    server.Script = {{{ReplyFor(kServer)}}};
    ASSERT_NE(Open(), nullptr);
    for (const bool yes : {false, true}) {
        Now = kServer.addSecs(-20 * 3600);
        msgBox.Yes = yes;
        msgBox.Boxes.clear();
        timedated->Test.Calls.clear();
        Sync("127.0.0.119");
        ASSERT_TRUE(WaitFor([&] { return !Label("lblSync").endsWith("..."); }));
        ASSERT_EQ(msgBox.Boxes.size(), 1);
        EXPECT_EQ(msgBox.Boxes[0].Prompt,
                  BigJumpQuestion({"127.0.0.119", kServer, 72000500ms}).Prompt);
        EXPECT_EQ(Label("lblSync"), yes ? SynchronizedText() : NotSynchronizedText());
        EXPECT_EQ(Changes().size(), yes ? 1 : 0);
        EXPECT_EQ(Tooltip().endsWith("you chose not to set it."), !yes);
    }
}

TEST_F(SynchronizeTest, NtpSetsTheClockToTheMillisecond) {
    ChronydFixture chronyd({QStringLiteral("127.0.0.120")});
    ASSERT_TRUE(chronyd.Serving) << chronyd.Log().toStdString();
    ASSERT_NE(Open(), nullptr);
    // How far the local clock is ahead of the server (µs); whether it is set.
    const std::pair<qint64, bool> rows[] = {{250300, true}, {400, false}, {-3000000, true}};
    for (const auto& [ahead, set] : rows) {
        SCOPED_TRACE(ahead);
        Skew = std::chrono::microseconds(ahead);
        timedated->Test.Calls.clear();
        Sync("ntp://127.0.0.120");
        ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); }));
        ASSERT_EQ(Changes().size(), set ? 1 : 0) << Tooltip().toStdString();
        EXPECT_NEAR(Changes().value(0), set ? -ahead : 0, 2000);
    }
    EXPECT_TRUE(Tooltip().startsWith("The clock was 3.00")) << Tooltip().toStdString();
    EXPECT_TRUE(Tooltip().contains("behind the server (± 0.")) << Tooltip().toStdString();
}

TEST_F(SynchronizeTest, NtpRepliesCountOnlyWhenTheyKeepTheRules) {
    using A = FakeNtpServer::Answer;
    const QString invalid = InvalidResponseBox().Prompt,
                  again = "\r\nPlease try another time server from the list.";
    // Address (a server there unless refused), its answer, the box ("" for none), requests.
    const std::tuple<const char*, A, QString, int> rows[] = {
        {"127.0.0.121", A::WrongOriginFirst, "", 1},
        {"127.0.0.122", A::Kiss, KissOfDeathBox("127.0.0.122", "RATE").Prompt, 1},
        {"127.0.0.123", A::Leap3, invalid, 1},
        {"127.0.0.124", A::Short, invalid, 1},
        {"127.0.0.125", A::Stratum16, invalid, 1},
        {"127.0.0.126", A::Silent, "The connection timed out." + again, 3},
        {"127.0.0.127", A::Right, "The connection was refused/rejected." + again, 0},
    };
    ASSERT_NE(Open(), nullptr);
    Skew = 0ns;
    Child<NtpTimeSource>("NtpSource")->SetTimeLimit(3500ms);
    for (const auto& [address, answer, prompt, requests] : rows) {
        SCOPED_TRACE(address);
        FakeNtpServer server(requests == 0 ? "127.0.0.1" : address, answer, 41s);
        msgBox.Boxes.clear();
        timedated->Test.Calls.clear();
        Sync((QStringLiteral("ntp://") + address).toLatin1());
        ASSERT_TRUE(WaitFor([&] { return !Label("lblSync").endsWith("..."); }));
        EXPECT_EQ(msgBox.Boxes.value(0).Prompt, prompt);
        EXPECT_EQ(server.Origins.size(), requests) << "each try with a new random timestamp";
        ASSERT_EQ(Changes().size(), prompt.isEmpty() ? 1 : 0);
        EXPECT_NEAR(Changes().value(0), prompt.isEmpty() ? 41000000 : 0, 20000);
    }
}

// Stands between Horlan and chronyd's NTP port: passes the traffic, keeping the last reply,
// or flips the last byte of each reply (inside the authenticator), or answers every request
// with the reply it kept.
struct NtpRelay {
    enum class Mode { Pass, Flip, Replay };
    NtpRelay(const QString& address, quint16 port) : To(port) {
        Front.bind(QHostAddress(address), port);
        QObject::connect(&Front, &QUdpSocket::readyRead, &Front, [this] {
            const QNetworkDatagram request = Front.receiveDatagram();
            Client = request;
            if (How == Mode::Replay) {
                Answer(Kept);
            } else {
                Back.writeDatagram(request.data(), QHostAddress("127.0.0.150"), To);
            }
        });
        QObject::connect(&Back, &QUdpSocket::readyRead, &Back, [this] {
            QByteArray reply = Back.receiveDatagram().data();
            Kept = How == Mode::Pass ? reply : Kept;
            reply.back() = char(reply.back() ^ (How == Mode::Flip ? 1 : 0));
            Answer(reply);
        });
    }
    void Answer(const QByteArray& reply) {
        Front.writeDatagram(reply, Client.senderAddress(), quint16(Client.senderPort()));
    }
    Mode How = Mode::Pass;
    quint16 To;
    QByteArray Kept;
    QNetworkDatagram Client;
    QUdpSocket Front, Back;
};

TEST_F(SynchronizeTest, NtsCountsOnlyAuthenticatedTime) {
    using Cert = ChronydFixture::Cert;
    using Mode = NtpRelay::Mode;
    const QString host = "127.0.0.150", none = NoAuthenticatedTimeBox(host).Prompt;
    // chronyd's certificate, what the relay does to its replies, the box ("" for none).
    const std::tuple<Cert, Mode, QString> rows[] = {
        {Cert::Valid, Mode::Pass, ""},
        {Cert::OtherName, Mode::Pass, NtsCertificateBox(host, "IP address mismatch").Prompt},
        {Cert::Expired, Mode::Pass, NtsCertificateBox(host, "certificate has expired").Prompt},
        {Cert::Untrusted, Mode::Pass,
         NtsCertificateBox(host, "unable to get local issuer certificate").Prompt},
        {Cert::Valid, Mode::Flip, none},
        {Cert::Valid, Mode::Replay, none}, // the first row's reply
    };
    NtpRelay relay("127.0.0.151", 11126);
    ASSERT_NE(Open(), nullptr);
    Child<NtsTimeSource>("NtsSource")->SetTimeLimit(3500ms);
    Skew = 250ms;
    for (const auto& [cert, mode, prompt] : rows) {
        SCOPED_TRACE(prompt.toStdString());
        ChronydFixture chronyd({host, 11126, cert, 4460, "127.0.0.151"});
        ASSERT_TRUE(chronyd.Serving) << chronyd.Log().toStdString();
        qputenv("SSL_CERT_FILE", chronyd.CaFile().toUtf8());
        relay.How = mode;
        msgBox.Boxes.clear();
        timedated->Test.Calls.clear();
        Sync("nts://127.0.0.150");
        ASSERT_TRUE(WaitFor([&] { return !Label("lblSync").endsWith("..."); }));
        EXPECT_EQ(msgBox.Boxes.value(0).Prompt, prompt);
        ASSERT_EQ(Changes().size(), prompt.isEmpty() ? 1 : 0);
        // The relay forwards on this busy thread: the path is not symmetric to the millisecond.
        EXPECT_NEAR(Changes().value(0), prompt.isEmpty() ? -250000 : 0, 25000);
        EXPECT_EQ(Tooltip().endsWith("authenticated with NTS."), prompt.isEmpty());
    }
}

// Posts a click on Synchronize as the socket reports the server's close: the click waits in
// the queue while the reply is decoded.
class ClickAsTheReplyEnds : public QObject {
public:
    ClickAsTheReplyEnds(QPushButton* button, Winsock* socket) : button_(button) {
        connect(socket, &Winsock::DataArrival, this, [this] { armed_ = true; });
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The control's own notifiers have no parent; Qt's sockets' have.
        if (armed_ && event->type() == QEvent::SockAct && watched->parent() == nullptr) {
            armed_ = false;
            QMetaObject::invokeMethod(button_, &QPushButton::click, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPushButton* button_;
    bool armed_ = false;
};

TEST_F(SynchronizeTest, ASynchronizeDuringTheReplyNeverMixesTwoExchanges) {
    TimeServerFixture server(QStringLiteral("127.0.0.99"));
    server.Script = {{{ReplyFor(kServer)}}};
    ASSERT_NE(Open(), nullptr);
    ClickAsTheReplyEnds probe(Child<QPushButton>("cmdSync"), Child<Winsock>("Winsock1"));
    Sync("127.0.0.99");
    ASSERT_TRUE(WaitFor([&] { return !Label("lblSync").endsWith("..."); }));
    EXPECT_EQ(Label("lblSync"), SynchronizedText());
    EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
    EXPECT_EQ(Changes().size(), 1);
}

TEST_F(SynchronizeTest, FailedExchangesShowTheirBoxAndReadNotSynchronized) {
    const QString invalid = InvalidResponseBox().Prompt,
                  again = "\r\nPlease try another time server from the list.";
    const QList<TimeServerReply> good{{{ReplyFor(kServer)}}},
        hold{{{}, 0, TimeServerReply::Ending::Hold}},
        reset{{{}, 0, TimeServerReply::Ending::Reset}};
    const ClockResult noRight{false, "Permission denied"};
    // Address, server's script (none: nothing listens), timedated's error ("-": no timedated on
    // the bus), the box's text.
    const std::tuple<const char*, QList<TimeServerReply>, const char*, QString> rows[] = {
        {"127.0.0.106", {{{QByteArray::fromHex("E00000")}}}, "", invalid},
        {"127.0.0.107", {{{ReplyFor(kServer) + 'x'}}}, "", invalid},
        {"127.0.0.108", {{}}, "", invalid},
        {"127.0.0.109",
         {{{QByteArray::fromHex("90000000")}}},
         "",
         invalid}, // 1976, before the build
        {"127.0.0.110", {}, "", "The connection was refused/rejected." + again},
        {"127.0.0.111", hold, "", "The connection timed out." + again},
        {"127.0.0.112", reset, "",
         "An error was generated:\r\nNumber: 10054\r\nDescription: Connection reset by peer"},
        {"127.0.0.115", good, "org.freedesktop.timedate1.AutomaticTimeSyncEnabled",
         ClockNotSetBox({false, {}, true}).Prompt},
        {"127.0.0.116", good, "org.freedesktop.DBus.Error.AccessDenied",
         ClockNotSetBox(noRight).Prompt},
        {"127.0.0.117", good, "-",
         ClockNotSetBox(
             {false, "The name org.freedesktop.timedate1 was not provided by any .service files"})
             .Prompt},
    };
    ASSERT_NE(Open(), nullptr);
    Child<Winsock>("Winsock1")->SetReplyTimeout(std::chrono::milliseconds(1000));
    for (const auto& [address, script, errorName, prompt] : rows) {
        SCOPED_TRACE(address);
        TimeServerFixture server(QString::fromLatin1(address), script.isEmpty() ? 0 : 37);
        server.Script = script;
        timedated->Test.ErrorName = QString::fromLatin1(errorName);
        if (timedated->Test.ErrorName == "-") {
            timedated->Bus.unregisterService(QStringLiteral("org.freedesktop.timedate1"));
        }
        msgBox.Boxes.clear();
        Sync(address);
        ASSERT_TRUE(WaitFor([&] { return !msgBox.Boxes.isEmpty(); }));
        EXPECT_EQ(msgBox.Boxes[0].Prompt, prompt);
        EXPECT_EQ(Label("lblSync"), NotSynchronizedText());
        EXPECT_TRUE(WaitFor([&] { return server.Open == 0; }));
    }
    EXPECT_TRUE(Tooltip().startsWith("The clock was 100.5")) << Tooltip().toStdString();
    EXPECT_TRUE(Tooltip().endsWith(" ms); it could not be set.")) << Tooltip().toStdString();
    EXPECT_EQ(bell.Count, 0);
}

TEST_F(SynchronizeTest, TheWindowGoesOnWhileTimedatedAsksForThePassword) {
    timedated->Test.DelayMs = 1500;
    TimeServerFixture server(QStringLiteral("127.0.0.114"));
    server.Script = {{{ReplyFor(kServer)}}};
    ASSERT_NE(Open(), nullptr);
    Sync("127.0.0.114");
    ASSERT_TRUE(WaitFor([&] { return !timedated->Test.Calls.isEmpty(); }));
    const int refreshes = interfaces.Reads;
    EXPECT_TRUE(WaitFor([&] { return interfaces.Reads > refreshes + 2; }));
    QTest::mouseClick(Child<QPushButton>("cmdSync"), Qt::LeftButton);
    EXPECT_EQ(Label("lblSync"), WaitingForPermissionText());
    ASSERT_TRUE(WaitFor([&] { return Label("lblSync") == SynchronizedText(); }));
    ASSERT_EQ(Changes().size(), 1);
    EXPECT_NEAR(Changes()[0], 100500000, 100000);
    EXPECT_EQ(server.Accepted, 1);
}

TEST_F(SynchronizeTest, AMissingAddressIsReadAgainBeforeTheProgramEnds) {
    localHost.IP.clear();
    ASSERT_NE(Open(), nullptr);
    Sync("a.b.c");
    EXPECT_EQ(msgBox.Boxes.value(0), NoConnectionBox());
    localHost.IP = QStringLiteral("2001:db8::2"); // the network came up after the window's load
    Sync("a.b");
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
    [[maybe_unused]] const qint64 before = resident(); // unread under AddressSanitizer
    ASSERT_TRUE(WaitFor([&] { return server.Streamed > 18 << 20; }));
#if !defined(__SANITIZE_ADDRESS__) // its quarantine keeps freed memory resident
    EXPECT_LT(resident() - before, 8 << 20) << "16 MiB streamed";
#endif
    Sync("127.0.0.113");
    EXPECT_TRUE(WaitFor([&] { return timedated->Test.Calls.size() == 1 && server.Open == 0; }));
}

TEST_F(SynchronizeTest, EnterPressesSynchronizeOrTheFocusedButton) {
    ASSERT_NE(Open(), nullptr);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Combo1()->addItem(QStringLiteral("a.b"));
    Combo1()->setCurrentIndex(Combo1()->count() - 1);
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

#include "SynchronizeTest.moc"
