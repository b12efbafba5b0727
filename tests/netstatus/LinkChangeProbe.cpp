// Changes the links of a fresh network namespace and prints, after each change, what one
// read of the interface table shows and whether that read had to dump the links again.
#include "netstatus/NetlinkInterfaceTable.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

horlan::NetlinkInterfaceTable table;
quint64 dumpsSeen = 0;

void Show(const char* step) {
    std::vector<horlan::InterfaceRow> rows;
    if (table.Read(rows) != horlan::InterfaceTableResult::Ok) {
        std::printf("%s failed\n", step);
        return;
    }
    std::printf("%s %s", step, table.LinkDumps() == dumpsSeen ? "same" : "redumped");
    dumpsSeen = table.LinkDumps();
    for (const horlan::InterfaceRow& row : rows) {
        const std::u16string name(row.Name.data(), row.NameLength);
        std::printf(" %s/%u/%.*s/%u", std::string(name.begin(), name.end()).c_str(), row.Mtu,
                    static_cast<int>(row.DescrLength), row.Descr.data(), row.AdminStatus);
    }
    std::printf("\n");
}

} // namespace

int main() {
    Show("start");
    Show("quiet");
    if (std::system("ip link add br0 type bridge") != 0) {
        std::fprintf(stderr, "cannot add a bridge here\n");
        return 2;
    }
    Show("added");
    std::system("ip link set br0 mtu 1400 alias uplink");
    Show("changed");
    std::system("ip link set br0 up");
    Show("up");
    std::system("ip link del br0");
    Show("removed");
    return 0;
}
