// One attempt at a page lock (platform/page_lock.h), made by the backend.
#pragma once

// Tries once to take the exclusive lock on `fd`. True when held; false with
// errno EWOULDBLOCK when another holder has it, or another errno.
bool TryLockExclusive(int fd);
