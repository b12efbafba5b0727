// Runs the start-up refresh of list.txt in a loop until it is killed, for the crash-safety
// test. It finds list.txt through $XDG_DATA_HOME and says "ready" once before it starts.
#include "serverlist/ServerListFile.h"

#include <cstdio>

int main() {
    const QString fallback = QStringLiteral("/nonexistent/program/folder");
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        horlan::RefreshListFile(fallback);
    }
}
