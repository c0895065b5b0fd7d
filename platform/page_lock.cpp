#include "platform/page_lock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/file_ops.h"
#include "platform/lock_attempt.h"

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(20);

// The wait as a clock duration: what the clock cannot hold (NaN, negative,
// beyond kLongestLockWait) never reaches the conversion.
std::chrono::steady_clock::duration WaitDuration(double waitSeconds) {
    const double seconds = waitSeconds >= 0 ? std::min(waitSeconds, kLongestLockWait) : 0;
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(seconds));
}

}  // namespace

bool LockExclusive(int fd, double waitSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + WaitDuration(waitSeconds);
    while (true) {
        if (TryLockExclusive(fd)) return true;
        if (errno != EWOULDBLOCK) return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

int LockedDuplicate(int fd) {
    const int duplicate = FileDuplicate(fd);
    if (duplicate >= 0 && !LockExclusive(duplicate, 0)) {
        FileClose(duplicate);
        return -1;
    }
    return duplicate;
}
