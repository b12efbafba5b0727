// Run by the tests as a process of its own. "instance [hold]": whether another copy holds the
// lock; "hold" keeps it until the input closes. "links", in a fresh network namespace: after
// each change of links and routes, one read of the table, whether it dumped the links, and the
// Internet connection.
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"
#include "runtime/PreviousInstance.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace horlan;

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "instance") {
        LockFileInstance instance;
        std::printf("prev=%d\n", instance.PrevInstance() ? 1 : 0);
        std::fflush(stdout);
        while (argc > 2 && std::getchar() != EOF) {
        }
        return 0;
    }
    NetlinkInterfaceTable table;
    const char* steps[][2] = {
        {"start", ""},
        {"quiet", ""},
        {"added", "ip link add br0 mtu 1400 type bridge && ip link set br0 alias uplink"},
        {"up", "ip link set br0 up"},
        {"routed", "ip route add default dev br0"},
        {"removed", "ip link del br0"}};
    quint64 dumps = 0;
    for (const auto& [step, command] : steps) {
        if (*command != '\0' && std::system(command) != 0) {
            return 2; // refused
        }
        std::vector<InterfaceRow> rows;
        std::printf("%s %s", step,
                    table.Read(rows) != InterfaceTableResult::Ok ? "failed"
                    : table.LinkDumps() == dumps                 ? "same"
                                                                 : "redumped");
        dumps = table.LinkDumps();
        for (const InterfaceRow& row : rows) {
            const QString name = QString::fromUtf16(row.Name.data(), row.NameLength);
            std::printf(" %s/%u/%.*s/%u", qPrintable(name), row.Mtu,
                        static_cast<int>(row.DescrLength), row.Descr.data(), row.AdminStatus);
        }
        quint32 flags = 0;
        const bool connected = NetlinkConnectionState().InternetGetConnectedState(flags);
        std::printf(" connected=%d/%u\n", connected ? 1 : 0, flags);
    }
    return 0;
}
