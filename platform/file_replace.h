// Replacing a file safely: the one way this program writes a page.
//
// Normally the new contents go into a temporary file in the target's own
// folder; only Commit, after every write, the flush, the sync to disk and the
// close have succeeded, renames it over the target. Whatever fails before
// that, the temporary file is removed and the target (or its absence) stays
// exactly as it was. The temporary file gets the target's mode, its group
// (also for a writer who is only a member of it) and, where the process may
// set it, its owner. A target that is a symbolic link is replaced at the
// link's destination, so the link stays a link.
//
// Two kinds of target cannot be renamed over without harm, and are written in
// place instead, as a plain writer would: a file with more than one hard link
// (a rename would split it from its other names) and a writable file in a
// folder the process may not write. The whole new contents are first prepared
// in memory; Commit then reads the old contents into memory, reserves the
// room for the larger of the two (refusing, with nothing written, when the
// disk, the quota or the file-size limit cannot take it), writes the new
// contents over the file from its start, truncates it to their length and
// syncs. When any of that fails, the old contents are written back the same
// way, so the file holds exactly its old bytes again; only a second failure,
// while putting them back, or the process being killed in the middle of the
// write, can leave it part old, part new.
//
// Refused before anything is written: a target the process may not write or
// whose write permission bits are all clear (EACCES), and a path whose
// symbolic links loop (ELOOP).
//
// The temporary file is named ".NAME.tavrel-PID-XXXXXX" after the target and
// the writing process. TERM, INT and HUP while it exists remove it before the
// process ends. Open removes such files of the same target whose process is
// gone. One replacement is in progress per process at a time.
//
// On Windows the page is always replaced through a temporary file (a page
// with more than one hard link is split from its other names there). The new
// file gets the page's access control list and its hidden, system and
// archive attributes; a read-only page is refused (EACCES). Ctrl+C,
// Ctrl+Break and closing the console remove the temporary file. Commit
// renames the new file with POSIX semantics where the system offers them
// (Windows 10 1607 and later on NTFS): the page's name changes hands at once
// even while readers hold the old page open. Elsewhere (FAT, older systems,
// wine), a page held open cannot be renamed over, so the old page is first
// renamed aside, the new one takes its name, and the old one is deleted
// when its last reader closes it; the page's folder lock
// (platform/page_lock.h) is held across the two renames, during which the
// page's name is briefly free. A run killed between them leaves the old page
// aside, and the next replacement of that page puts it back.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

class FileReplacement {
  public:
    explicit FileReplacement(std::string path);
    ~FileReplacement();  // rolls back unless committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks the target and prepares the stream: the temporary file, or an
    // in-memory buffer when the target is written in place. False (with
    // nothing created, Error() telling why) when the target is refused or the
    // folder cannot take the temporary file.
    bool Open();

    // Where written contents go, in binary mode; valid after Open.
    FILE* Stream() const { return m_stream; }

    // Makes the written contents the target's. False, with Error() telling
    // why, when anything fails; the target then holds its old contents.
    bool Commit();

    // Drops the temporary file or buffer; the target stays as it was.
    void Rollback();

    // Rolls back after the writer gave up; Error() then tells why a write to
    // Stream() failed, or is 0 when none did.
    void Abandon();

    // The errno value of the last failure, 0 when none.
    int Error() const { return m_error; }

    // Whether Open chose to write the target in place.
    bool InPlace() const { return m_inPlace; }

    // Makes Commit lock the new file (as platform/page_lock.h locks a page)
    // before renaming it into place and keep that lock for TakeLock, so that
    // a writer holding the page's lock across the rename still holds it
    // afterwards, on the file now at the path. A target written in place
    // keeps its own file, and with it the lock its writer holds.
    void KeepLocked() { m_keepLocked = true; }

    // After a Commit with KeepLocked: the descriptor holding the new file's
    // lock, the caller's to close; -1 when there is none.
    int TakeLock();

  private:
    bool Fail(int error);
    bool OpenTemporary();
    bool OpenBuffer();
    bool CommitTemporary();
    bool CommitInPlace();

    std::string m_target;
    std::string m_tempPath;
    FILE* m_stream = nullptr;
    int m_fd = -1;             // the temporary file's descriptor, which m_stream owns
    char* m_buffer = nullptr;  // in place: the prepared contents
    size_t m_bufferSize = 0;
    bool m_inPlace = false;
    bool m_keepLocked = false;
    int m_lockFd = -1;  // the committed file's lock, until taken
    int m_error = 0;
};

// Replaces the file at `path` with what `write` puts into the stream. `write`
// returns false to abandon the replacement. True only when the file now holds
// exactly what was written; otherwise `*error` (when given) gets the errno
// value of the failure (0 when `write` gave up). With `keptLock`, the new
// file stays locked (KeepLocked) and `*keptLock` gets the descriptor, or -1.
bool ReplaceFileSafely(const std::string& path, const std::function<bool(FILE*)>& write,
                       int* error = nullptr, int* keptLock = nullptr);
