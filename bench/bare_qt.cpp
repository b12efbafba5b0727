// The yardsticks of bench/startup-ratios.sh: the least a Qt Widgets program can do. Without
// arguments it shows one empty window; with "timer" it also runs an empty 100 ms timer, the
// idle cost of a program that wakes up as often as the activity picture does; with "netlink"
// that timer asks the kernel for one dump of every link's traffic counters and sums the bytes
// received and sent, the least a program that shows network activity ten times a second does.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

volatile unsigned long long totalSeen = 0;

// One dump of every link's 64-bit counters; false when the kernel could not be asked.
bool SumLinkBytes(int fd, unsigned sequence, unsigned long long& received,
                  unsigned long long& sent) {
    struct {
        nlmsghdr Header;
        if_stats_msg Stats;
    } request{};
    request.Header.nlmsg_len = sizeof request;
    request.Header.nlmsg_type = RTM_GETSTATS;
    request.Header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.Header.nlmsg_seq = sequence;
    request.Stats.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel),
               sizeof kernel) < 0) {
        return false;
    }
    received = sent = 0;
    alignas(nlmsghdr) static char buffer[4096];
    for (;;) {
        const ssize_t length = recv(fd, buffer, sizeof buffer, 0);
        if (length <= 0) {
            return false;
        }
        const auto end = static_cast<std::size_t>(length);
        for (std::size_t at = 0; at + sizeof(nlmsghdr) <= end;) {
            nlmsghdr header;
            std::memcpy(&header, buffer + at, sizeof header);
            if (header.nlmsg_len < sizeof header || at + header.nlmsg_len > end) {
                return false;
            }
            if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR) {
                return header.nlmsg_type == NLMSG_DONE;
            }
            const std::size_t last = at + header.nlmsg_len;
            for (std::size_t attribute = at + NLMSG_LENGTH(NLMSG_ALIGN(sizeof(if_stats_msg)));
                 attribute + sizeof(rtattr) <= last;) {
                rtattr value;
                std::memcpy(&value, buffer + attribute, sizeof value);
                if (value.rta_len < sizeof value || attribute + value.rta_len > last) {
                    break;
                }
                if (value.rta_type == IFLA_STATS_LINK_64 &&
                    value.rta_len >= RTA_LENGTH(sizeof(rtnl_link_stats64))) {
                    rtnl_link_stats64 counters;
                    std::memcpy(&counters, buffer + attribute + RTA_LENGTH(0), sizeof counters);
                    received += counters.rx_bytes;
                    sent += counters.tx_bytes;
                }
                attribute += RTA_ALIGN(value.rta_len);
            }
            at += NLMSG_ALIGN(header.nlmsg_len);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(244, 248);
    window.show();
    QTimer timer;
    const bool netlink = argc > 1 && std::strcmp(argv[1], "netlink") == 0;
    if (netlink) {
        const int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
        if (fd < 0) {
            std::perror("bare_qt: netlink socket");
            return 1;
        }
        QObject::connect(&timer, &QTimer::timeout, [fd, sequence = 0u]() mutable {
            unsigned long long received = 0;
            unsigned long long sent = 0;
            if (SumLinkBytes(fd, ++sequence, received, sent)) {
                totalSeen = received + sent; // kept, so that the sums are not left out
            }
        });
        timer.start(100);
    } else if (argc > 1 && std::strcmp(argv[1], "timer") == 0) {
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start(100);
    }
    return QApplication::exec();
}
