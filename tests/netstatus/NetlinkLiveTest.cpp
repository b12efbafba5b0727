#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include <QProcess>
#include <QUdpSocket>

#include <gtest/gtest.h>

using namespace horlan;

// The first read dumps the links, the next ones read the counters alone; both follow the
// kernel's. The totals leave loopback out.
TEST(NetlinkInterfaceTable, ReadsFollowTheKernelsCounters) {
    NetlinkInterfaceTable table;
    std::vector<InterfaceRow> first, second;
    TrafficTotals before, after;
    ASSERT_EQ(table.Read(first), InterfaceTableResult::Ok);
    ASSERT_EQ(table.ReadTotals(before), InterfaceTableResult::Ok);
    QUdpSocket socket; // 1000 bytes through the loopback interface, the first in the table
    ASSERT_TRUE(socket.bind(QHostAddress(QStringLiteral("127.0.0.61")), 0));
    socket.writeDatagram(QByteArray(1000, 'x'), socket.localAddress(), socket.localPort());
    ASSERT_EQ(table.Read(second), InterfaceTableResult::Ok);
    ASSERT_EQ(table.ReadTotals(after), InterfaceTableResult::Ok);
    ASSERT_EQ(second.size(), first.size());
    EXPECT_EQ(QString::fromUtf16(second[0].Name.data(), second[0].NameLength),
              QStringLiteral("lo"));
    EXPECT_TRUE(second[0].Loopback);
    EXPECT_GE(second[0].InOctets, first[0].InOctets + 1000);
    EXPECT_GE(second[0].OutOctets, first[0].OutOctets + 1000);
    EXPECT_LT(after.Received - before.Received + (after.Sent - before.Sent), 1000u);
    EXPECT_EQ(table.LinkDumps(), 1u);
}

// A socket that never waits hands back a dump whose rest has not come as still going on.
TEST(NetlinkSocket, NeverWaitingTakesWhatHasCome) {
    NetlinkSocket netlink;
    std::vector<quint8> buffer(4096);
    ASSERT_TRUE(netlink.Open(NetlinkSocket::Waiting::Never));
    ASSERT_TRUE(netlink.RequestStatistics(netlink.NextSequence()));
    int datagrams = 0;
    const auto endless = [&](std::span<const quint8>) { return ++datagrams, DumpProgress::More; };
    EXPECT_EQ(netlink.ReceiveDump(buffer, endless), DumpProgress::More);
    EXPECT_GE(datagrams, 1);
}

// A bridge without ports, where the default route leads: a local network.
TEST(NetlinkInFreshNamespace, LinksDumpedAgainOnlyWhenTheyChangeAndRoutesTellTheConnection) {
    QProcess process;
    process.start(QStringLiteral("unshare"),
                  {QStringLiteral("-n"), PROBE, QStringLiteral("links")});
    ASSERT_TRUE(process.waitForFinished(20000));
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        GTEST_SKIP() << "no network namespace with a bridge here";
    }
    EXPECT_EQ(process.readAllStandardOutput().toStdString(),
              "start redumped lo/65536/lo/0 connected=0/0\n"
              "quiet same lo/65536/lo/0 connected=0/0\n"
              "added redumped lo/65536/lo/0 br0/1400/uplink/0 connected=0/0\n"
              "up redumped lo/65536/lo/0 br0/1400/uplink/1 connected=0/0\n"
              "routed same lo/65536/lo/0 br0/1400/uplink/1 connected=1/2\n"
              "removed redumped lo/65536/lo/0 connected=0/0\n");
}
