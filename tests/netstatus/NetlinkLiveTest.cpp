// The kernel's own answers on this machine, where they are known.
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include "support/FileBytes.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <map>

using namespace horlan;

namespace {

// Received and sent bytes of every interface as /proc/net/dev shows them.
std::map<QString, std::pair<quint64, quint64>> ProcNetDev() {
    std::map<QString, std::pair<quint64, quint64>> counters;
    for (QByteArray line : ReadFileBytes(QStringLiteral("/proc/net/dev")).split('\n')) {
        if (line.contains(':')) {
            const auto fields = line.replace(':', ' ').simplified().split(' ');
            counters[QString::fromLatin1(fields[0])] = {fields[1].toULongLong(),
                                                        fields[9].toULongLong()};
        }
    }
    return counters;
}

} // namespace

// The first read dumps the links, the next ones read the counters alone.
TEST(NetlinkInterfaceTable, ReadsFollowTheKernelsCounters) {
    QTemporaryDir sysfs; // the speed is read once per interface, in Mb/s
    WriteFileBytes(sysfs.filePath(QStringLiteral("lo/speed")), "2500\n");
    NetlinkInterfaceTable table(sysfs.path());
    for (int read = 0; read < 2; ++read) {
        const auto before = ProcNetDev();
        std::vector<InterfaceRow> rows;
        ASSERT_EQ(table.Read(rows), InterfaceTableResult::Ok);
        const auto after = ProcNetDev();
        ASSERT_EQ(rows.size(), after.size());
        for (const InterfaceRow& row : rows) { // other tests may use the interfaces meanwhile
            const auto name = QString::fromUtf16(row.Name.data(), row.NameLength);
            SCOPED_TRACE(name.toStdString() + " in read " + std::to_string(read));
            ASSERT_TRUE(before.count(name));
            EXPECT_TRUE(row.InOctets >= before.at(name).first &&
                        row.InOctets <= after.at(name).first);
            EXPECT_TRUE(row.OutOctets >= before.at(name).second &&
                        row.OutOctets <= after.at(name).second);
            EXPECT_EQ(row.Speed, name == QStringLiteral("lo") ? 2'500'000'000u : 0u);
        }
        WriteFileBytes(sysfs.filePath(QStringLiteral("lo/speed")), "10\n");
        QUdpSocket socket; // traffic for the next read to see
        ASSERT_TRUE(socket.bind(QHostAddress(QStringLiteral("127.0.0.61")), 0));
        socket.writeDatagram(QByteArray(1000, 'x'), socket.localAddress(), socket.localPort());
    }
    EXPECT_EQ(table.LinkDumps(), 1u);
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
    EXPECT_EQ(process.readAllStandardOutput().trimmed().split('\n'),
              QList<QByteArray>({"start redumped lo/65536/lo/0 connected=0/0",
                                 "quiet same lo/65536/lo/0 connected=0/0",
                                 "added redumped lo/65536/lo/0 br0/1400/uplink/0 connected=0/0",
                                 "up redumped lo/65536/lo/0 br0/1400/uplink/1 connected=0/0",
                                 "routed same lo/65536/lo/0 br0/1400/uplink/1 connected=1/2",
                                 "removed redumped lo/65536/lo/0 connected=0/0"}));
}
