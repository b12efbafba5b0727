#include "runtime/RuntimeError.h"
#include "support/Recorders.h"
#include "timesync/InstrCount.h"
#include "timesync/RouteTable_linux.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace horlan;

TEST(InstrCount, EntriesNeedTwoOrThreeDotsAfterTrimming) {
    const std::pair<QString, bool> entries[] = {
        {"a.b.c", true}, {"a.b.c.d", true},    {"  a.b.c  ", true}, {"\ta.b.c", true},
        {"a.b", false},  {"a.b.c.d.e", false}, {"   ", false}};
    for (const auto& [entry, ok] : entries) {
        EXPECT_EQ(IsTimeServerEntry(entry), ok) << entry.toStdString();
    }
}

TEST(TimeSyncTexts, BoxesByByte) {
    const QString error = "An error was generated:\r\nNumber: %1\r\nDescription: Gone",
                  oops = "Oops",
                  check = "\r\nPlease check the address or try another time server from the list.";
    const std::tuple<MsgBoxRequest, QString, QString> rows[] = {
        {SocketErrorBox(10050, "Gone"), "",
         error.arg(10050) +
             "\r\n\r\nPlease check your internet connection, and/or firewall settings."},
        {SocketErrorBox(11002, "Gone"), oops,
         "Could not find the host.\r\nPlease try another time server from the list."},
        {SocketErrorBox(-5, "Gone"), "", error.arg(-5)},
        {NotATimeServerBox(), oops,
         "The selected list entry does not seem to be a time server." + check},
    };
    for (const auto& [box, title, prompt] : rows) {
        EXPECT_EQ(box, (MsgBoxRequest{prompt, MsgBoxIcon::Exclamation, title, QString(), 0}));
    }
    EXPECT_EQ(
        ClockNotSetBox({false, {}, true}).Prompt,
        "The system clock could not be set.\r\nAutomatic time synchronization is enabled.\r\n\r\n"
        "Turn it off in the system's date and time settings to set the clock with Horlan.");
    EXPECT_EQ(ClockNotSetBox({false, "Gone"}),
              (MsgBoxRequest{"The system clock could not be set.\r\nGone\r\n\r\n"
                             "Horlan needs the right to set the system clock.",
                             MsgBoxIcon::Exclamation, "Oops", QString(), 0}));
    EXPECT_EQ(InvalidResponseBox(),
              (MsgBoxRequest{"NTP Server returned an invalid response.", MsgBoxIcon::Critical,
                             "Invalid Response ", QString(), 0}));
    EXPECT_EQ(OutcomeLogLine("time.nist.gov", ClockOutcome::Set, 3214),
              "horlan: time.nist.gov: clock 3.214 s behind, set");
}

TEST(LocalHost, AddressOfTheDefaultRouteElseIPv4ElseGlobalIPv6) {
    const InterfaceAddress lo{"lo", "127.0.0.1", true, true}, linkLocal{"eth0", "fe80::1", true},
        global{"eth0", "2001:db8::2", true}, eth0{"eth0", "192.0.2.2", true},
        down{"eth1", "198.51.100.2", false}, wlan{"wlan0", "203.0.113.9", true};
    EXPECT_EQ(ChooseLocalIP({lo, eth0, wlan}, "wlan0"), "203.0.113.9");
    EXPECT_EQ(ChooseLocalIP({lo, down, linkLocal, global, eth0}, ""), "192.0.2.2");
    EXPECT_EQ(ChooseLocalIP({lo, down, linkLocal, global}, "eth0"), "2001:db8::2");
}

TEST(TimeReply, DecodesServerSecondsPlusRoundedDelayAndAgrees) {
    // The count wraps: below 2^31 it belongs to the next era.
    const std::tuple<const char*, float, const char*> rows[] = {
        {"E0000000", 0.5f, "2019-02-02T11:39:44"}, {"E0000000", 0.51f, "2019-02-02T11:39:45"},
        {"E0000020", 2.5f, "2019-02-02T11:40:18"}, {"80000000", 1.5f, "1968-01-20T03:14:10"},
        {"FFFFFFFF", 0.0f, "2036-02-07T06:28:15"}, {"00000000", 0.0f, "2036-02-07T06:28:16"},
        {"00000001", 0.0f, "2036-02-07T06:28:17"}, {"7FFFFFFF", 0.0f, "2104-02-26T09:42:23"}};
    for (const auto& [hex, delay, text] : rows) {
        const TimeReply reply = ComputeTimeReply(QByteArray::fromHex(hex), delay);
        const QDateTime utc = QDateTime::fromString(QString::fromLatin1(text) + 'Z', Qt::ISODate);
        EXPECT_EQ(reply.Utc, utc) << hex << " " << delay;
        EXPECT_EQ(RecordToUtc(reply.Record), utc) << hex << " " << delay;
    }
    EXPECT_THROW(ComputeTimeReply(QByteArray::fromHex("E0000000"), qQNaN()), RuntimeError);
    // The local clock agrees from the server's second to 1 s plus the round trip after it.
    const std::tuple<int, double, bool> agreements[] = {
        {-1, 0, false}, {1001, 0, false}, {1600, 0.6, true}, {1601, 0.6, false}};
    for (const auto& [lateMs, roundTrip, agrees] : agreements) {
        EXPECT_EQ(ClockAgrees(BuildDay(), BuildDay().addMSecs(lateMs), roundTrip), agrees)
            << lateMs;
    }
    // The labels' texts in the user's locale; the date alone at midnight.
    const QDateTime utc(QDate(2019, 2, 2), QTime(23, 5, 9), Qt::UTC);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(GeneralDateText(utc, us), "2/2/19 11:05:09 PM");
    EXPECT_EQ(GeneralDateText(utc.addSecs(3291), us), "2/3/19");
    EXPECT_EQ(LocalDateTimeText(QDateTime(utc.date(), QTime(0, 0)), us), "2/2/19 12:00:00 AM");
}

TEST(TimedatedClock, WithoutABusTheRefusalSaysWhyAtOnce) {
    QObject context; // the test main points the system bus where nothing listens
    ClockResult result{true};
    TimedatedClock().SetSystemTime({2030, 1, 0, 1}, &context,
                                   [&](auto answer) { result = answer; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !result.Ok && !result.Reason.isEmpty(); }, 5000));
}
