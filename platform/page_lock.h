// Exclusive locks that keep two writers of one page apart.
//
// Every program that changes a page holds the lock from the read to the
// rename, and after taking it checks that the path still names the file it
// locked (see page/PageSession.h for the whole protocol). The lock is on an
// open file: the page itself when it exists, while it does not a lock file
// named after its folder's identity (device and inode; on Windows volume
// serial number and file index), so that every path to the folder, through
// whatever links, leads to the same lock. The lock ends when the descriptor
// is closed, also when the process dies, so a killed run never leaves a page
// locked. The lock files are empty and stay, one per folder where a page was
// created.
//
// On POSIX systems a lock is an advisory flock(2) lock. The folder locks
// live in /run/lock (emptied at boot); where it cannot be used, the folder
// itself is locked, which a user who may create files in the folder without
// being allowed to open it (a write-only folder) cannot do.
//
// On Windows a lock is a LockFileEx lock on one byte far past the end of the
// file (platform/win32/lock_range.h): such locks are mandatory for the bytes
// they cover, and none of the page's bytes is covered, so the web server and
// editors still read and write the page. A folder cannot be locked on
// Windows, so the folder locks live in %ProgramData%\TavrelWizard\locks,
// which every user may create files in and open, or, where that cannot be
// used, in the user's temporary folder (which keeps apart only writers of
// the same user). Every open of a page shares delete access, so that the
// writer holding the lock can rename the new page over a page that others
// hold open; the rename uses POSIX semantics where the file system offers
// them (the old file stays readable to those who hold it open, and its name
// is free at once).
#pragma once

#include <string>

// The longest wait for a lock, in seconds: one day.
inline constexpr double kLongestLockWait = 86400;

// Takes an exclusive lock on `fd`, retrying until `waitSeconds` have passed (0:
// one attempt; more than kLongestLockWait waits that long, and a wait that is
// no number at all counts as 0). True when held; false with errno EWOULDBLOCK
// when another program held it the whole time, or with the errno of another
// failure.
bool LockExclusive(int fd, double waitSeconds);

// A second descriptor of the open file `fd` with the lock taken at once, for
// a writer that keeps the new page locked; -1 when either fails, which costs
// only the lock.
int LockedDuplicate(int fd);

// Opens the file that locks the folder `folder` (see above), creating it when
// needed. -1 with errno set when the folder cannot be examined or no lock
// file can be opened.
int OpenFolderLock(const std::string& folder);
