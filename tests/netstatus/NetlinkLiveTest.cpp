// The kernel's own answers on this machine, where they are known.
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include "support/FileBytes.h"

#include <QDir>
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
    for (const QByteArray& line : ReadFileBytes(QStringLiteral("/proc/net/dev")).split('\n')) {
        const auto fields = line.mid(line.indexOf(':') + 1).simplified().split(' ');
        if (line.contains(':')) {
            counters[QString::fromLatin1(line.left(line.indexOf(':')).trimmed())] = {
                fields.value(0).toULongLong(), fields.value(8).toULongLong()};
        }
    }
    return counters;
}

// What the probe printed inside a fresh network namespace; nothing when that was refused.
std::optional<QByteArray> RunInFreshNamespace(const char* mode) {
    QProcess process;
    process.start(QStringLiteral("unshare"), {QStringLiteral("-n"), PROBE, QLatin1String(mode)});
    EXPECT_TRUE(process.waitForFinished(20000));
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return process.readAllStandardOutput().trimmed();
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

// The interface of the default route: a mobile broadband device is a modem, the rest LAN.
TEST(NetlinkConnectionState, TheOutgoingInterfaceTellsLanFromModem) {
    if (!ReadFileBytes(QStringLiteral("/proc/net/route")).contains("\t00000000\t")) {
        GTEST_SKIP() << "this machine has no default route";
    }
    QTemporaryDir sysfs;
    for (const quint32 expected : {2u, 1u}) {
        quint32 flags = 0;
        EXPECT_TRUE(NetlinkConnectionState(sysfs.path()).InternetGetConnectedState(flags));
        EXPECT_EQ(flags, expected);
        for (const QString& name : QDir(QStringLiteral("/sys/class/net")).entryList()) {
            WriteFileBytes(sysfs.filePath(name + QStringLiteral("/uevent")), "A=b\nDEVTYPE=wwan\n");
        }
    }
}

TEST(NetlinkInFreshNamespace, OnlyLoopbackAndLinksDumpedAgainOnlyWhenTheyChange) {
    const auto connection = RunInFreshNamespace("connection");
    const auto links = RunInFreshNamespace("links");
    if (!connection || !links) {
        GTEST_SKIP() << "no network namespace with a bridge here";
    }
    EXPECT_EQ(*connection, QByteArrayLiteral("connected=0 flags=0"));
    EXPECT_EQ(links->split('\n'),
              QList<QByteArray>({"start redumped lo/65536/lo/0", "quiet same lo/65536/lo/0",
                                 "added redumped lo/65536/lo/0 br0/1400/uplink/0",
                                 "up redumped lo/65536/lo/0 br0/1400/uplink/1",
                                 "removed redumped lo/65536/lo/0"}));
}
