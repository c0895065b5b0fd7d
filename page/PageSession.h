// One page session: opening, reading, locking and writing a Tavrel page, the
// same way for the wizard and for every tavrel subcommand.
//
// Opening never blocks on something that is not a page: the path is opened
// with O_NONBLOCK and anything fstat does not call a regular file (a pipe, a
// folder, a device, also behind a symbolic link) is refused before a byte is
// read. The page is scanned straight from its file (every read checked,
// the bytes hashed as they pass; a write, which holds the lock throughout,
// reads it unhashed; page/PageScan.h), and the session keeps the page as a
// value: its entries, what they cannot carry, its head. A parse that did not
// take in the whole page is refused. Every write copies the page's own bytes
// and replaces only what the program owns (page/PageRewriter.h), reading the
// page as it is on disk under the lock, so nothing another program wrote
// outside the generated section is ever lost. Running out of memory anywhere
// in a session is a refusal that leaves the page as it was. The session
// remembers the page's identity as read: device, inode, size, modification
// time and a hash of its bytes.
//
// Locking. Every read-modify-write holds an exclusive advisory lock
// (platform/page_lock.h) from the read to the rename:
//   - an existing page is locked on its own open file; once the lock is held,
//     the path must still name that file (same device and inode), or another
//     writer renamed a new page into place meanwhile, and the session drops
//     the lock and starts again on the new file;
//   - a missing page is locked on the folder it would be created in (where a
//     dangling link leads), through the folder's lock file, the same for
//     every path to it and for users who may not open it; once held, the
//     page must still be missing, or the session starts again on the page
//     that appeared.
// A writer that renames a new page in place releases the lock of the old
// file only after the rename, so the next writer always reads the newest
// page; and it locks the new file before renaming it, keeping that lock until
// Unlock too, so that what it writes after the page (the feed) is done before
// the next writer reads the page. Waiting for the lock ends after a given
// time with a refusal that says another program is changing the page. The
// lock dies with the process.
// Readers take the same lock for the read only, so they never see half of a
// page written in place.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/ItemList.h"
#include "page/PageHead.h"
#include "page/PageRewriter.h"
#include "page/PageScan.h"
#include "page/SessionFailure.h"

// What a page was when it was read; two reads of an unchanged page are equal.
struct PageIdentity {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    timespec modified{};
    uint64_t hash = 0;  // of the page's bytes

    bool operator==(const PageIdentity& other) const;
};

class PageSession {
  public:
    explicit PageSession(std::string path);
    ~PageSession();  // releases the lock
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // Takes the lock (waiting up to `waitSeconds`, 0: one attempt), reads the
    // page, and keeps the lock when `keepLock` is set. A missing page gives
    // an empty page and IsNew(). Refused: a path that is
    // not a regular file, a page that cannot be read or parsed whole, a lock
    // that stayed taken.
    SessionFailure Open(double waitSeconds, bool keepLock);

    // True when the page did not exist at the last read.
    bool IsNew() const { return !m_identity.exists; }

    // Takes the lock for writing after an Open that did not keep it, and
    // sets `*changed` when the page on disk is no longer what was read.
    SessionFailure Lock(double waitSeconds, bool* changed);

    // Reads the page again, under the lock already held. When this fails the
    // session's page is empty.
    SessionFailure Reread();

    // Told what the page as it is now holds beyond its entries, which
    // rebuilding the section drops: true to drop it, false to refuse.
    using DropCheck = std::function<bool(const std::vector<std::string>& unread)>;

    // Writes `entries` to the page, under the lock already held: a fresh
    // page when the page is missing now, otherwise the page as it is now
    // with its section rebuilt from them (page/PageRewriter.h), once
    // `mayDrop` agreed to what that section held beyond its entries (it is
    // asked only when there is such content). The page is unchanged when
    // this fails (kEditRefused when `mayDrop` refused). A fresh page is
    // refused while this machine's registry is damaged, as it could not be
    // signed.
    SessionFailure Write(const ItemList& entries, const DropCheck& mayDrop);

    // Takes the lock (waiting up to `waitSeconds`) and, under it, scans and
    // writes the page (page/PageRewriter.h), calling `edit` with the page's
    // entries once they are known; the page is never held whole. A missing
    // page gives `edit` an empty page and is then written fresh. Refused as
    // Open and Write are, and with kEditRefused when `edit` returned false;
    // the page is then unchanged. Keeps the lock and the page as written.
    SessionFailure Rewrite(double waitSeconds, const EntriesEdit& edit);

    // Under the lock already held (Open with `keepLock`, or Lock), scans the
    // page and writes it changed by `change`. A missing page is refused. The
    // page is unchanged when this fails.
    SessionFailure Change(const PageChange& change);

    // Releases the lock; the page as last read or written stays.
    void Unlock();

    // The page as last read or written: empty for a missing page, and after
    // a failed read.
    const PageScan& Page() const { return m_page; }

    // The title and feed link of the page as last read or written.
    const PageHead& Head() const { return m_page.head; }

    // The page's path as given.
    const std::string& Path() const { return m_path; }

  private:
    SessionFailure Acquire(double waitSeconds);
    SessionFailure AcquireOnce(double waitSeconds, bool* retry);
    SessionFailure ReadLocked();
    SessionFailure WriteFreshPage(const ItemList& entries);
    SessionFailure ChangeLocked(const PageChange& change);

    std::string m_path;
    int m_pageFd = -1;         // the page opened for reading, or -1 when it is missing
    int m_lockFd = -1;         // the descriptor holding the lock (page or folder)
    int m_renamedLockFd = -1;  // the lock on the page this session renamed into place
    PageIdentity m_identity;   // of the last successful read
    PageScan m_page;           // as last read or written
};
