// The kernel's own answers on this machine, where they are known.
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

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

TEST(NetlinkConnectionState, ANamespaceWithOnlyLoopbackIsNotConnected) {
    QProcess probe;
    probe.start(QStringLiteral("unshare"),
                {QStringLiteral("-n"), QStringLiteral(CONNECTION_PROBE)});
    ASSERT_TRUE(probe.waitForFinished(20000));
    const QByteArray answer = probe.readAllStandardOutput().trimmed();
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0 || answer.isEmpty()) {
        GTEST_SKIP() << "unshare -n refused: " << probe.readAllStandardError().toStdString();
    }
    EXPECT_EQ(answer, QByteArrayLiteral("connected=0 flags=0"));
}
