// The kernel's own answers on this machine, where they are known.
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

using namespace horlan;

namespace {

struct DevCounters {
    quint64 Received = 0;
    quint64 Sent = 0;
};

// The byte counters of every interface as /proc/net/dev shows them.
std::map<QString, DevCounters> ProcNetDev() {
    QFile file(QStringLiteral("/proc/net/dev"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QString, DevCounters> counters;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0) {
            continue;
        }
        const auto fields = line.mid(colon + 1).simplified().split(' ');
        counters[QString::fromLatin1(line.left(colon).trimmed())] = {fields.value(0).toULongLong(),
                                                                     fields.value(8).toULongLong()};
    }
    return counters;
}

QString NameOf(const InterfaceRow& row) {
    return QString::fromUtf16(row.Name.data(), static_cast<qsizetype>(row.NameLength));
}

bool HasDefaultRoute() {
    QFile v4(QStringLiteral("/proc/net/route"));
    QFile v6(QStringLiteral("/proc/net/ipv6_route"));
    const bool hasV4 = v4.open(QIODevice::ReadOnly) && v4.readAll().contains("\t00000000\t");
    const bool hasV6 = v6.open(QIODevice::ReadOnly) &&
                       v6.readAll().contains("00000000000000000000000000000000 00 ");
    return hasV4 || hasV6;
}

void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// Runs `probe` inside a fresh network namespace and returns what it printed, or nothing when
// the namespace or the probe's work there was refused.
std::optional<QByteArray> RunInFreshNamespace(const char* probe) {
    QProcess process;
    process.start(QStringLiteral("unshare"), {QStringLiteral("-n"), QString::fromUtf8(probe)});
    EXPECT_TRUE(process.waitForFinished(20000));
    const QByteArray answer = process.readAllStandardOutput().trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        answer.isEmpty()) {
        std::printf("refused: %s\n", process.readAllStandardError().constData());
        return std::nullopt;
    }
    return answer;
}

std::map<QString, InterfaceRow> ReadByName(NetlinkInterfaceTable& table) {
    std::vector<InterfaceRow> rows;
    EXPECT_EQ(table.Read(rows), InterfaceTableResult::Ok);
    std::map<QString, InterfaceRow> byName;
    for (const InterfaceRow& row : rows) {
        byName[NameOf(row)] = row;
    }
    return byName;
}

} // namespace

TEST(NetlinkInterfaceTable, LiveDumpListsEveryInterfaceWithTheKernelsCounters) {
    NetlinkInterfaceTable table;
    std::vector<InterfaceRow> rows;
    const auto before = ProcNetDev();
    ASSERT_EQ(table.Read(rows), InterfaceTableResult::Ok);
    const auto after = ProcNetDev();

    std::map<QString, const InterfaceRow*> byName;
    for (const InterfaceRow& row : rows) {
        byName[NameOf(row)] = &row;
    }
    EXPECT_EQ(byName.size(), after.size());
    ASSERT_TRUE(byName.count(QStringLiteral("lo")));
    for (const auto& [name, row] : byName) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(before.count(name) && after.count(name));
        // Other tests may use the interfaces meanwhile: the dump lies between the two looks.
        EXPECT_GE(row->InOctets, before.at(name).Received);
        EXPECT_LE(row->InOctets, after.at(name).Received);
        EXPECT_GE(row->OutOctets, before.at(name).Sent);
        EXPECT_LE(row->OutOctets, after.at(name).Sent);
    }
    const InterfaceRow& lo = *byName.at(QStringLiteral("lo"));
    EXPECT_EQ(lo.Type, 772u); // ARPHRD_LOOPBACK
    EXPECT_EQ(std::string(lo.Descr.data(), lo.DescrLength), "lo");
    EXPECT_EQ(lo.Speed, 0u);
    EXPECT_GT(lo.Mtu, 0u);

    // The socket stays usable for the next refresh.
    ASSERT_EQ(table.Read(rows), InterfaceTableResult::Ok);
    EXPECT_TRUE(table.DumpOnly());
    EXPECT_EQ(table.Read(rows), InterfaceTableResult::Ok);
    EXPECT_EQ(rows.size(), byName.size());
}

TEST(NetlinkInterfaceTable, SpeedIsReadOncePerInterfaceInBitsPerSecond) {
    QTemporaryDir sysfs;
    ASSERT_TRUE(sysfs.isValid());
    std::vector<InterfaceRow> rows;
    ASSERT_EQ(NetlinkInterfaceTable().Read(rows), InterfaceTableResult::Ok);
    QStringList others;
    for (const InterfaceRow& row : rows) {
        if (NameOf(row) != QStringLiteral("lo")) {
            others.append(NameOf(row));
            WriteFile(sysfs.path() + QLatin1Char('/') + NameOf(row) + QStringLiteral("/speed"),
                      "-1\n");
        }
    }
    const QString loSpeed = sysfs.path() + QStringLiteral("/lo/speed");
    WriteFile(loSpeed, "2500\n");

    NetlinkInterfaceTable table(sysfs.path());
    const auto speeds = [&] {
        std::map<QString, quint64> result;
        EXPECT_EQ(table.Read(rows), InterfaceTableResult::Ok);
        for (const InterfaceRow& row : rows) {
            result[NameOf(row)] = row.Speed;
        }
        return result;
    };
    auto first = speeds();
    EXPECT_EQ(first[QStringLiteral("lo")], 2'500'000'000ULL);
    for (const QString& name : others) {
        EXPECT_EQ(first[name], 0u) << name.toStdString(); // unknown speed
    }
    WriteFile(loSpeed, "10\n");
    EXPECT_EQ(speeds()[QStringLiteral("lo")], 2'500'000'000ULL);
}

TEST(NetlinkConnectionState, ThisMachineIsConnectedThroughItsNetwork) {
    if (!HasDefaultRoute()) {
        GTEST_SKIP() << "this machine has no default route";
    }
    const struct {
        const char* name;
        QByteArray uevent;
        quint32 flags;
    } rows[] = {
        {"wired or wireless network", "DEVTYPE=wlan\nINTERFACE=x\n", 2},
        {"mobile broadband", "INTERFACE=x\nDEVTYPE=wwan\n", 1},
    };
    QStringList names =
        QDir(QStringLiteral("/sys/class/net")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir sysfs;
        for (const QString& name : names) {
            WriteFile(sysfs.path() + QLatin1Char('/') + name + QStringLiteral("/uevent"),
                      row.uevent);
        }
        NetlinkConnectionState source(sysfs.path());
        quint32 flags = 0;
        EXPECT_TRUE(source.InternetGetConnectedState(flags));
        EXPECT_EQ(flags, row.flags);
    }
}

TEST(NetlinkInterfaceTable, ReadsBetweenLinkChangesFollowTheTraffic) {
    NetlinkInterfaceTable table;
    const auto first = ReadByName(table);
    ASSERT_TRUE(first.count(QStringLiteral("lo")));

    QUdpSocket socket;
    const QHostAddress address(QStringLiteral("127.0.0.61"));
    ASSERT_TRUE(socket.bind(address, 0));
    const QByteArray payload(1000, 'x');
    ASSERT_EQ(socket.writeDatagram(payload, address, socket.localPort()), payload.size());

    const auto before = ProcNetDev();
    const auto second = ReadByName(table);
    const auto after = ProcNetDev();
    ASSERT_TRUE(second.count(QStringLiteral("lo")));
    const InterfaceRow& lo = second.at(QStringLiteral("lo"));
    EXPECT_GE(lo.InOctets, first.at(QStringLiteral("lo")).InOctets + payload.size());
    EXPECT_GE(lo.OutOctets, first.at(QStringLiteral("lo")).OutOctets + payload.size());
    EXPECT_GE(lo.InOctets, before.at(QStringLiteral("lo")).Received);
    EXPECT_LE(lo.InOctets, after.at(QStringLiteral("lo")).Received);
    // Everything but the counters is what the first read said.
    EXPECT_EQ(NameOf(lo), QStringLiteral("lo"));
    EXPECT_EQ(lo.Mtu, first.at(QStringLiteral("lo")).Mtu);
    EXPECT_EQ(lo.Type, 772u);
    EXPECT_EQ(second.size(), first.size());
}

TEST(NetlinkInterfaceTable, LinksAreDumpedAgainOnlyWhenTheyChange) {
    const auto answer = RunInFreshNamespace(LINK_CHANGE_PROBE);
    if (!answer) {
        GTEST_SKIP() << "no namespace with a bridge here";
    }
    const char* expected[] = {
        "start redumped lo/65536/lo/0",
        "quiet same lo/65536/lo/0",
        "added redumped lo/65536/lo/0 br0/1500/br0/0",
        "changed redumped lo/65536/lo/0 br0/1400/uplink/0",
        "up redumped lo/65536/lo/0 br0/1400/uplink/1",
        "removed redumped lo/65536/lo/0",
    };
    const QList<QByteArray> lines = answer->split('\n');
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(std::size(expected))) << answer->constData();
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(lines[static_cast<qsizetype>(i)].toStdString(), expected[i]);
    }
}

TEST(NetlinkConnectionState, ANamespaceWithOnlyLoopbackIsNotConnected) {
    const auto answer = RunInFreshNamespace(CONNECTION_PROBE);
    if (!answer) {
        GTEST_SKIP() << "unshare -n refused";
    }
    EXPECT_EQ(*answer, QByteArrayLiteral("connected=0 flags=0"));
}
