// Exclusive locks that keep two writers of one page apart.
//
// A lock is an advisory flock(2) lock on an open file: the page itself when
// it exists, its folder while it does not. Every program that changes a page
// holds the lock from the read to the rename, and after taking it checks that
// the path still names the file it locked (see page/PageSession.h for the
// whole protocol). The lock ends when the descriptor is closed, also when the
// process dies, so a killed run never leaves a page locked.
#pragma once

// The longest wait for a lock, in seconds: one day.
inline constexpr double kLongestLockWait = 86400;

// Takes an exclusive lock on `fd`, retrying until `waitSeconds` have passed
// (0: one attempt; more than kLongestLockWait waits that long, and a wait
// that is no number at all counts as 0). True when held; false with errno EWOULDBLOCK when another
// program held it the whole time, or with the errno of another failure.
bool LockExclusive(int fd, double waitSeconds);
