#include "platform/process.h"

#include <unistd.h>

#include <climits>
#include <csignal>

void PrepareProcess(int*, char***) { std::signal(SIGXFSZ, SIG_IGN); }

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}
