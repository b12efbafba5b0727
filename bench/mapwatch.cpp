// Starts a program and reports, on one line, how long it took until the first window on the
// X display was mapped (and the processor time it had used by then, less disturbed by other
// load on the machine), its resident memory one second later and, when asked, the processor
// time all its threads used over the following idle seconds:
//   mapwatch <idle-seconds> <program> [arguments...]
//   startup_ms=<ms> startup_cpu_ms=<ms> rss_kb=<kB> cpu_ms=<ms>
// The program is ended afterwards.
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Time on the processor of every live thread, in nanoseconds (first field of schedstat).
double CpuNs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') {
                continue;
            }
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            double ns = 0;
            stat >> ns;
            total += ns;
        }
        closedir(dir);
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch <idle-seconds> <program> [arguments...]\n");
        return 2;
    }
    const int idleSeconds = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1;
    double startupCpuMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool isMap = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (isMap) {
            mapped = NowMs();
            startupCpuMs = CpuNs(pid) / 1e6;
            break;
        }
    }
    sleep(1);
    const long rss = ResidentKb(pid);
    double cpuMs = 0;
    if (idleSeconds > 0) {
        const double before = CpuNs(pid);
        sleep(static_cast<unsigned>(idleSeconds));
        cpuMs = (CpuNs(pid) - before) / 1e6;
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    std::printf("startup_ms=%.1f startup_cpu_ms=%.1f rss_kb=%ld cpu_ms=%.1f\n", mapped - start,
                startupCpuMs, rss, cpuMs);
    return mapped < 0 ? 1 : 0;
}
