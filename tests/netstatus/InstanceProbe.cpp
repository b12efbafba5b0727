// Reports whether another copy holds the program's lock. With "hold" it keeps its own lock
// until its input closes or it is killed.
#include "runtime/PreviousInstance.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    horlan::LockFileInstance instance;
    std::printf("prev=%d\n", instance.PrevInstance() ? 1 : 0);
    std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "hold") == 0) {
        while (std::getchar() != EOF) {
        }
    }
    return 0;
}
