#include "runtime/RuntimeError.h"
#include "support/Recorders.h"
#include "timesync/InstrCount.h"
#include "timesync/NtpPacket.h"
#include "timesync/ServerEntry.h"
#include "timesync/TimeSource.h"
#include "timesync/RouteTable_linux.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace horlan;

TEST(ServerEntry, BareNamesNeedTwoOrThreeDotsAddressesFollowUrlRules) {
    using P = ServerEntry::Protocol;
    const std::pair<QString, std::optional<ServerEntry>> entries[] = {
        {"a.b.c", ServerEntry{P::Time, "a.b.c", 37}},
        {"  a.b.c.d  ", ServerEntry{P::Time, "a.b.c.d", 37}},
        {"\ta.b.c", ServerEntry{P::Time, "\ta.b.c", 37}}, // only spaces are trimmed
        {"a.b", {}},
        {"a.b.c.d.e", {}},
        {"   ", {}},
        {" NTP://pool.ntp.org ", ServerEntry{P::Ntp, "pool.ntp.org", 123}},
        {"ntp://localhost:1123/", ServerEntry{P::Ntp, "localhost", 1123}},
        {"ntp://192.0.2.1:65535", ServerEntry{P::Ntp, "192.0.2.1", 65535}},
        {"nts://[2001:db8::1]", ServerEntry{P::Nts, "2001:db8::1", 4460}},
        {"nts://time.example:4461", ServerEntry{P::Nts, "time.example", 4461}},
        {"ntp://a.b:0", {}},
        {"ntp://a.b:65536", {}},
        {"ntp://a.b:", {}},
        {"ntp://a.b/x", {}},
        {"ntp://user@a.b", {}},
        {"ntp://-a.b", {}},
        {"ntp://1.2.3", {}},
        {"ntp://256.1.1.1", {}},
        {"ntp://[192.0.2.1]", {}},
        {"ntp://2001:db8::1", {}},
        {"ntp://", {}},
        {"http://a.b.c", {}},
    };
    for (const auto& [entry, parsed] : entries) {
        EXPECT_EQ(ParseServerEntry(entry), parsed) << entry.toStdString();
        EXPECT_EQ(IsTimeServerEntry(entry), parsed.has_value()) << entry.toStdString();
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
    using namespace std::chrono;
    const TimeSample sample{"time.example", {}, microseconds(41300), microseconds(200), {}, true};
    EXPECT_EQ(OutcomeLogLine(ClockOutcome::Set, sample),
              "horlan: time.example (authenticated with NTS): clock 41.300 ms behind (± 0.200 ms), "
              "set");
    EXPECT_EQ(OutcomeText(ClockOutcome::Declined, {"a", {}, -seconds(3), milliseconds(1), {}}),
              "The clock was 3.000 s ahead of the server (± 1.0 ms); you chose not to set it.");
    EXPECT_EQ(DifferenceInWords(-(hours(24 * 731 + 1) + minutes(1) + seconds(59))),
              "2 years, 1 day, 1 hour and 2 minutes"); // rounded
    EXPECT_TRUE(KissOfDeathBox("a.b", "RA\nE").Prompt.startsWith(
        "The time server a.b refuses to serve this computer now (Kiss-o'-Death code RA?E)."));
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
    // The middle of the server's second plus half the round trip, to the millisecond.
    EXPECT_EQ(ToDateTime(ComputeTimeReply(QByteArray::fromHex("E0000000"), 0.51f).Estimate),
              QDateTime::fromString("2019-02-02T11:39:45.010Z", Qt::ISODate));
    // The labels' texts in the user's locale; the date alone at midnight.
    const QDateTime utc(QDate(2019, 2, 2), QTime(23, 5, 9), Qt::UTC);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(GeneralDateText(utc, us), "2/2/19 11:05:09 PM");
    EXPECT_EQ(GeneralDateText(utc.addSecs(3291), us), "2/3/19");
    EXPECT_EQ(LocalDateTimeText(QDateTime(utc.date(), QTime(0, 0)), us), "2/2/19 12:00:00 AM");
}

TEST(TimeSource, OneDecisionForEverySample) {
    using namespace std::chrono;
    const QDateTime day = BuildDay();
    // Server's time (days after the build), offset, uncertainty, slack (ms), the action.
    const std::tuple<int, qint64, qint64, qint64, ClockAction> rows[] = {
        {-1, 60000, 0, 0, ClockAction::Refuse},       {0, -1001, 500, 500, ClockAction::Set},
        {0, -1000, 500, 500, ClockAction::LeaveAlone}, {0, 501, 500, 0, ClockAction::Set},
        {0, 54000000, 0, 0, ClockAction::Set},         {0, -54000001, 0, 0, ClockAction::Ask},
    };
    for (const auto& [days, offset, uncertainty, slack, action] : rows) {
        const TimeSample sample{"a", day.addDays(days), milliseconds(offset),
                                milliseconds(uncertainty), milliseconds(slack)};
        EXPECT_EQ(DecideClock(sample, day), action) << offset;
    }
}

TEST(NtpPacket, ErasAroundTheBuildAndTheOffsetFromFourTimestamps) {
    using namespace std::chrono;
    const ClockTime pivot = ToClockTime(QDateTime::fromString("2030-01-01T00:00:00Z", Qt::ISODate));
    // 2036-02-07 06:28:16 wraps to 0; half a second is 2^31 in the fraction.
    EXPECT_EQ(ToDateTime(NtpToClockTime(0x0000000180000000, pivot)),
              QDateTime::fromString("2036-02-07T06:28:17.500Z", Qt::ISODate));
    EXPECT_EQ(ToDateTime(NtpToClockTime(0xE000000000000000, pivot)),
              QDateTime::fromString("2019-02-02T11:39:44Z", Qt::ISODate));
    const ClockTime t1 = pivot;
    const auto result = ComputeNtpResult(t1, t1 + 15ms, t1 + 16ms, t1 + 3ms);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Offset, 14ms);
    EXPECT_EQ(result->Delay, 2ms);
    EXPECT_FALSE(ComputeNtpResult(t1, t1 + 15ms, t1 + 18ms, t1 + 2ms)) << "negative delay";
}

TEST(TimedatedClock, WithoutABusTheRefusalSaysWhyAtOnce) {
    QObject context; // the test main points the system bus where nothing listens
    ClockResult result{true};
    TimedatedClock().AdjustBy(std::chrono::seconds(1), &context,
                              [&](auto answer) { result = answer; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !result.Ok && !result.Reason.isEmpty(); }, 5000));
}
