#include "app/PrivilegedStart.h"

#include <cstdio>
#include <sys/auxv.h>
#include <unistd.h>

namespace horlan {

std::optional<int> RefusePrivilegedStart() {
    // AT_SECURE: the kernel marked this start as raising the caller's privileges.
    if (getauxval(AT_SECURE) == 0 || getuid() == 0) {
        return std::nullopt;
    }
    std::fputs("horlan: refusing to run with privileges from its executable file (setuid, "
               "setgid or file capabilities); remove them, or run Horlan as root\n",
               stderr);
    return 1;
}

} // namespace horlan
