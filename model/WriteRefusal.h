// The reason and the fix for a page that cannot be written, in words: which
// page or folder is in the way, who owns it, its mode, who this user is, and
// what would let the write through.
#pragma once

#include <string>

// The explanation for a write of the page `page` that failed with the errno
// value `error`, or "" when the failure is not one of access (EACCES, EPERM,
// EROFS, ENOENT) or the system shows nothing in the way.
std::string WriteRefusalReason(const std::string& page, int error);

// What keeps this user from writing the page `page`, as a warning given when
// the page opens: kMsgPageNotWritable, kMsgFolderMissing or
// kMsgFolderNotWritable, or the read-only file system named; "" when nothing
// is seen in the way. The same checks as WriteRefusalReason, so the warning
// and the refusal agree.
std::string UnwritablePageWarning(const std::string& page);
