// Exclusive locks that keep two writers of one page apart.
//
// A lock is an advisory flock(2) lock on an open file: the page itself when
// it exists, its folder while it does not. Every program that changes a page
// holds the lock from the read to the rename, and after taking it checks that
// the path still names the file it locked (see page/PageSession.h for the
// whole protocol). The lock ends when the descriptor is closed, also when the
// process dies, so a killed run never leaves a page locked.
//
// A folder is locked through a file of the system's lock directory named
// after the folder's device and inode: every path to the folder, through
// whatever links, leads to the same lock, and a user who may create files in
// the folder without being allowed to open it (a write-only folder) takes it
// as well. The files are empty and stay, one per folder where a page was
// created; the lock directory is emptied at boot.
#pragma once

#include <string>

// The system's lock directory, shared by every user.
inline constexpr char kLockDirectory[] = "/run/lock";

// The longest wait for a lock, in seconds: one day.
inline constexpr double kLongestLockWait = 86400;

// Takes an exclusive lock on `fd`, retrying until `waitSeconds` have passed
// (0: one attempt; more than kLongestLockWait waits that long, and a wait
// that is no number at all counts as 0). True when held; false with errno EWOULDBLOCK when another
// program held it the whole time, or with the errno of another failure.
bool LockExclusive(int fd, double waitSeconds);

// Opens the file that locks the folder `folder` (see above), creating it when
// needed; where the lock directory cannot be used, the folder itself. -1
// with errno set when the folder cannot be examined or neither can be opened.
int OpenFolderLock(const std::string& folder);
