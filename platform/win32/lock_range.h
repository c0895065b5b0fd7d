// The byte range that the Win32 backend locks to lock a file.
//
// LockFileEx locks are mandatory: a locked range cannot be read or written
// through any other handle. A page's lock must keep other writers of this
// program out without keeping readers (the web server, an editor) from the
// page, so the range lies far past the end of any page: Windows allows
// locking bytes a file does not have, and nobody reads them.
#pragma once

#include <windows.h>

// Where the range begins (1 TiB) and how long it is.
inline constexpr DWORD kLockOffsetHigh = 0x100;
inline constexpr DWORD kLockLength = 1;

// An OVERLAPPED that addresses the range.
inline OVERLAPPED LockRange() {
    OVERLAPPED range{};
    range.OffsetHigh = kLockOffsetHigh;
    return range;
}
