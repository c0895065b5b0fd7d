#include "platform/file_faults.h"

#include <atomic>
#include <cerrno>

#include "platform/file_ops.h"

namespace {

std::atomic<long> g_faultAt{0};
std::atomic<int> g_faultError{0};
std::atomic<long> g_operations{0};
std::atomic<bool> g_faultHappened{false};

}  // namespace

bool FileFaultInjected() {
    const long count = ++g_operations;
    if (g_faultAt.load() == 0 || count != g_faultAt.load()) return false;
    g_faultHappened = true;
    errno = g_faultError.load();
    return true;
}

void SetFileFault(long nth, int error) {
    g_faultAt = 0;
    g_faultError = error;
    g_operations = 0;
    g_faultHappened = false;
    g_faultAt = nth;
}

long FileOperationsSince() { return g_operations.load(); }

bool FileFaultHappened() { return g_faultHappened.load(); }
