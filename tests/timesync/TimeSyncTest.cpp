#include "runtime/RuntimeError.h"
#include "support/Recorders.h"
#include "timesync/InstrCount.h"
#include "timesync/RouteTable.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSyncTexts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <netdb.h>

using namespace horlan;

TEST(InstrCount, CountsPiecesMinusOneAndChecksEntries) {
    const std::tuple<QString, QString, int> rows[] = {
        {"a.b.c", ".", 2}, {"aaa", "aa", 1}, {"aaaa", "aa", 2}, {"A", "a", 0}, {"", ".", -1}};
    for (const auto& [search, find, count] : rows) {
        EXPECT_EQ(InstrCount(search, find), count) << search.toStdString();
    }
    for (const QString entry : {"a.b.c", "a.b.c.d", "  time.nist.gov  ", "\ttime.nist.gov"}) {
        EXPECT_TRUE(IsTimeServerEntry(entry)) << entry.toStdString();
    }
    for (const QString entry : {"a.b", "a.b.c.d.e", "   ", "nodots"}) {
        EXPECT_FALSE(IsTimeServerEntry(entry)) << entry.toStdString();
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
        {SocketErrorBox(11004, "Gone"), oops,
         "Could not retrieve a valid name or data record from the host." + check},
        {SocketErrorBox(-5, "Gone"), "", error.arg(-5)},
        {NotATimeServerBox(), oops,
         "The selected list entry does not seem to be a time server." + check},
    };
    for (const auto& [box, title, prompt] : rows) {
        EXPECT_EQ(box, (MsgBoxRequest{prompt, MsgBoxIcon::Exclamation, title, QString(), 0}));
    }
    EXPECT_EQ(InvalidResponseBox(), (MsgBoxRequest{"NTP Server returned an invalid response.",
                                                   MsgBoxIcon::Critical,
                                                   "Invalid Response ",
                                                   {},
                                                   0}));
    EXPECT_EQ(OutcomeLogLine("time.nist.gov", ClockOutcome::Set, 3214),
              "horlan: time.nist.gov: clock 3.214 s behind, set");
}

TEST(SocketErrors, SystemFailuresMapToWindowsSocketsNumbers) {
    const int rows[][2] = {{ENETDOWN, 10050}, {ECONNRESET, 10054}, {ETIMEDOUT, 10060},
                           {EPERM, 10013},    {EPIPE, 10058},      {ENOENT, 10107}};
    for (const auto& [errnoValue, number] : rows) {
        EXPECT_EQ(WinsockNumberFromErrno(errnoValue), number) << errnoValue;
    }
    EXPECT_EQ(WinsockNumberFromLookup(EAI_NONAME, 0), 11001);
    EXPECT_EQ(WinsockNumberFromLookup(EAI_NODATA, 0), 11004);
    EXPECT_EQ(WinsockNumberFromLookup(EAI_SYSTEM, ENETUNREACH), 10051);
    EXPECT_EQ(LookupDescription(EAI_AGAIN, 0), "Temporary failure in name resolution");
}

TEST(LocalHost, DefaultRouteInterfaceAndItsAddress) {
    const QString route = "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\tMTU\n"
                          "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\n"
                          "tun0\t00000000\t00000000\t0000\t0\t0\t0\t00000000\t0\n"
                          "eth1\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\n";
    EXPECT_EQ(DefaultRouteInterface(route), "wlan0"); // tun0 is not up; eth1's is no default
    EXPECT_EQ(DefaultRouteInterface(route + "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t0\t0\n"),
              "eth0");
    const InterfaceAddress lo{"lo", "127.0.0.1", true, true}, linkLocal{"eth0", "fe80::1", true},
        global{"eth0", "2001:db8::2", true}, eth0{"eth0", "192.0.2.2", true},
        down{"eth1", "198.51.100.2", false}, wlan{"wlan0", "203.0.113.9", true};
    EXPECT_EQ(ChooseLocalIP({lo, eth0, wlan}, "wlan0"), "203.0.113.9");
    EXPECT_EQ(ChooseLocalIP({lo, down, linkLocal, global, eth0}, ""), "192.0.2.2");
    EXPECT_EQ(ChooseLocalIP({lo, down, linkLocal, global}, "eth0"), "2001:db8::2");
    EXPECT_EQ(ChooseLocalIP({lo, down, linkLocal}, ""), "");
}

TEST(TimeReply, DecodesServerSecondsPlusRoundedDelay) {
    const std::tuple<const char*, float, const char*> rows[] = {
        {"E0000000", 0.3f, "2019-02-02T11:39:44"},
        {"E0000000", 0.5f, "2019-02-02T11:39:44"},
        {"E0000000", 0.51f, "2019-02-02T11:39:45"},
        {"E0000020", 2.5f, "2019-02-02T11:40:18"},
        {"80000000", 1.5f, "1968-01-20T03:14:10"},
        {"FFFFFFFF", 0.0f, "2036-02-07T06:28:15"},
        // The count wraps: below 2^31 it belongs to the next era.
        {"00000000", 0.0f, "2036-02-07T06:28:16"},
        {"00000001", 0.0f, "2036-02-07T06:28:17"},
        {"7FFFFFFF", 0.0f, "2104-02-26T09:42:23"}};
    for (const auto& [hex, delay, text] : rows) {
        const TimeReply reply = ComputeTimeReply(QByteArray::fromHex(hex), delay);
        const QDateTime utc = QDateTime::fromString(QString::fromLatin1(text) + 'Z', Qt::ISODate);
        EXPECT_EQ(reply.Utc, utc) << hex << " " << delay;
        EXPECT_EQ(RecordToUtc(reply.Record), utc) << hex << " " << delay;
        EXPECT_EQ(reply.Record.wDayOfWeek + reply.Record.wMilliseconds, 0);
    }
    const std::tuple<const char*, float, int> failures[] = {
        {"E00000", 0.0f, ErrInvalidProcedureCall},
        {"E000000000", 0.0f, ErrInvalidProcedureCall},
        {"E0000000", 3e9f, ErrOverflow},
        {"E0000000", NAN, ErrOverflow}};
    for (const auto& [hex, delay, number] : failures) {
        try {
            ComputeTimeReply(QByteArray::fromHex(hex), delay);
            ADD_FAILURE() << hex << " " << delay;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), number) << hex;
        }
    }
}

TEST(TimeReply, ClockAgreesWithinTheSecondAndTheRoundTrip) {
    const std::tuple<int, double, bool> rows[] = {{-1, 0, false},    {0, 0, true},
                                                  {1000, 0, true},   {1001, 0, false},
                                                  {1600, 0.6, true}, {1601, 0.6, false}};
    for (const auto& [lateMs, roundTrip, agrees] : rows) {
        EXPECT_EQ(ClockAgrees(BuildDay(), BuildDay().addMSecs(lateMs), roundTrip), agrees)
            << lateMs;
    }
}

TEST(TimeReply, LabelTextsInTheUsersLocale) {
    const QDateTime utc(QDate(2019, 2, 2), QTime(23, 5, 9), Qt::UTC);
    const QLocale german(QLocale::German, QLocale::Germany),
        us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(GeneralDateText(utc, german), "02.02.19 23:05:09");
    EXPECT_EQ(GeneralDateText(utc, us), "2/2/19 11:05:09 PM");
    EXPECT_EQ(GeneralDateText(utc.addSecs(3291), us), "2/3/19");
    EXPECT_EQ(LocalDateTimeText(QDateTime(utc.date(), QTime(0, 0)), us), "2/2/19 12:00:00 AM");
}
