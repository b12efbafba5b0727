#include "support/Recorders.h"
#include "timesync/InstrCount.h"
#include "timesync/ReplyBuffer.h"
#include "timesync/RouteTable_linux.h"
#include "timesync/SocketErrors.h"
#include "timesync/TimeSyncTexts.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

using namespace horlan;

TEST(InstrCount, CountsPiecesMinusOne) {
    const struct {
        const char* search;
        const char* find;
        int count;
    } rows[] = {
        {"a.b.c", ".", 2}, {"aaa", "aa", 1},  {"aaaa", "aa", 2}, {"A", "a", 0},
        {"", ".", -1},     {"abc", "", 0},    {"", "", 0},       {"...", ".", 3},
        {".a.", ".", 2},   {"a..b", "..", 1}, {"abab", "ab", 2}, {"x", "xy", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(InstrCount(QString::fromLatin1(row.search), QString::fromLatin1(row.find)),
                  row.count)
            << '"' << row.search << "\" / \"" << row.find << '"';
    }
}

TEST(InstrCount, EntryNeedsTwoOrThreeDotsAfterTrimmingSpaces) {
    const struct {
        const char* entry;
        bool accepted;
        const char* trimmed;
    } rows[] = {
        {"a.b", false, "a.b"},
        {"a.b.c", true, "a.b.c"},
        {"a.b.c.d", true, "a.b.c.d"},
        {"a.b.c.d.e", false, "a.b.c.d.e"},
        {"192.0.2.2", true, "192.0.2.2"},
        {"   ", false, ""},
        {"", false, ""},
        {"nodots", false, "nodots"},
        {"  time.nist.gov  ", true, "time.nist.gov"},
        {"\ttime.nist.gov", true, "\ttime.nist.gov"},
    };
    for (const auto& row : rows) {
        const QString entry = QString::fromLatin1(row.entry);
        EXPECT_EQ(IsTimeServerEntry(entry), row.accepted) << '"' << row.entry << '"';
        EXPECT_EQ(TrimSpaces(entry), QString::fromLatin1(row.trimmed)) << '"' << row.entry << '"';
    }
}

TEST(ReplyBuffer, CountsEveryByteAndKeepsOnlyTheFirst) {
    const struct {
        QList<QByteArray> pieces;
        qint64 length;
        QByteArray bytes;
    } rows[] = {
        {{}, 0, {}},
        {{"\xE0", QByteArray(3, '\0')}, 4, QByteArray("\xE0\0\0\0", 4)},
        {{"abc", "defgh", "ijk"}, 11, "abcdefgh"},
        {{QByteArray(16 * 1024 * 1024, 'z'), "tail"}, 16 * 1024 * 1024 + 4, "zzzzzzzz"},
    };
    for (const auto& row : rows) {
        ReplyBuffer buffer;
        buffer.Append("stale");
        buffer.Clear();
        for (const QByteArray& piece : row.pieces) {
            buffer.Append(piece);
        }
        EXPECT_EQ(buffer.Length(), row.length);
        EXPECT_EQ(buffer.Bytes(), row.bytes);
    }
}

TEST(SocketErrors, BoxChosenByNumber) {
    const QString description = QStringLiteral("Software caused connection abort");
    const struct {
        int number;
        const char* title;
        const char* prompt;
    } rows[] = {
        {10050, "",
         "An error was generated:\r\nNumber: 10050\r\nDescription: Software caused connection "
         "abort\r\n\r\nPlease check your internet connection, and/or firewall settings."},
        {10060, "Oops",
         "The connection timed out.\r\nPlease try another time server from the list."},
        {10061, "Oops",
         "The connection was refused/rejected.\r\nPlease try another time server from the list."},
        {11001, "Oops",
         "Could not find the host.\r\nPlease try another time server from the list."},
        {11002, "Oops",
         "Could not find the host.\r\nPlease try another time server from the list."},
        {11004, "Oops",
         "Could not retrieve a valid name or data record from the host.\r\nPlease check the "
         "address or try another time server from the list."},
        {10053, "",
         "An error was generated:\r\nNumber: 10053\r\nDescription: Software caused connection "
         "abort"},
        {-5, "",
         "An error was generated:\r\nNumber: -5\r\nDescription: Software caused connection "
         "abort"},
    };
    for (const auto& row : rows) {
        const MsgBoxRequest box = SocketErrorBox(row.number, description);
        EXPECT_EQ(box, (MsgBoxRequest{QString::fromLatin1(row.prompt), MsgBoxIcon::Exclamation,
                                      QString::fromLatin1(row.title), QString(), 0}))
            << row.number;
    }
}

TEST(SocketErrors, SystemFailuresMapToWindowsSocketsNumbers) {
    const struct {
        int errnoValue;
        int number;
    } errnoRows[] = {
        {ENETDOWN, 10050},      {ENETUNREACH, 10051},  {ECONNRESET, 10054},   {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},  {EHOSTUNREACH, 10065}, {ECONNABORTED, 10053}, {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049}, {EACCES, 10013},       {EPERM, 10013},        {EHOSTDOWN, 10064},
        {EAFNOSUPPORT, 10047},  {EMFILE, 10024},       {ENOBUFS, 10055},      {EPIPE, 10058},
        {ENOENT, 10107},
    };
    for (const auto& row : errnoRows) {
        EXPECT_EQ(WinsockNumberFromErrno(row.errnoValue), row.number) << row.errnoValue;
    }
    EXPECT_EQ(ErrnoDescription(ECONNREFUSED), QStringLiteral("Connection refused"));

    const struct {
        int lookupError;
        int errnoValue;
        int number;
        const char* description;
    } lookupRows[] = {
        {EAI_NONAME, 0, 11001, "Name or service not known"},
        {EAI_AGAIN, 0, 11002, "Temporary failure in name resolution"},
        {EAI_NODATA, 0, 11004, "No address associated with hostname"},
        {EAI_ADDRFAMILY, 0, 11004, "Address family for hostname not supported"},
        {EAI_FAIL, 0, 11003, "Non-recoverable failure in name resolution"},
        {EAI_MEMORY, 0, 11003, "Memory allocation failure"},
        {EAI_SYSTEM, ENETUNREACH, 10051, "Network is unreachable"},
    };
    for (const auto& row : lookupRows) {
        EXPECT_EQ(WinsockNumberFromLookup(row.lookupError, row.errnoValue), row.number)
            << row.lookupError;
        EXPECT_EQ(LookupDescription(row.lookupError, row.errnoValue),
                  QString::fromLatin1(row.description));
    }
}

TEST(TimeSyncTexts, BoxesOfAnExchange) {
    const struct {
        MsgBoxRequest box;
        MsgBoxIcon icon;
        const char* title;
        const char* prompt;
    } rows[] = {
        {InvalidResponseBox(), MsgBoxIcon::Critical, "Invalid Response ",
         "NTP Server returned an invalid response."},
        {ClockNotSetBox(QStringLiteral("Operation not permitted")), MsgBoxIcon::Exclamation, "Oops",
         "The system clock could not be set.\r\nOperation not permitted\r\n\r\nHorlan needs the "
         "right to set the system clock."},
        {NotATimeServerBox(), MsgBoxIcon::Exclamation, "Oops",
         "The selected list entry does not seem to be a time server.\r\nPlease check the address "
         "or try another time server from the list."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.box, (MsgBoxRequest{QString::fromLatin1(row.prompt), row.icon,
                                          QString::fromLatin1(row.title), QString(), 0}));
    }
}

TEST(RouteTable, InterfaceOfTheDefaultRoute) {
    const QString header = QStringLiteral(
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n");
    const struct {
        const char* rows;
        const char* interface;
    } rows[] = {
        {"eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
         "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n",
         "eth0"},
        {"eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n", ""},
        {"wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
         "eth1\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n",
         "eth1"},
        // A default route that is not up does not count.
        {"tun0\t00000000\t00000000\t0000\t0\t0\t0\t00000000\t0\t0\t0\n"
         "eth0\t00000000\t010200C0\t0003\t0\t0\t50\t00000000\t0\t0\t0\n",
         "eth0"},
        {"", ""},
        {"garbage line\n", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DefaultRouteInterface(header + QString::fromLatin1(row.rows)),
                  QString::fromLatin1(row.interface))
            << row.rows;
    }
}
