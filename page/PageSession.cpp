#include "page/PageSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "htmlparse.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "page/HashingFileReader.h"
#include "page/NewPageWriter.h"
#include "page/PageRewriter.h"
#include "page/PageScan.h"
#include "platform/file_ops.h"
#include "platform/file_replace.h"
#include "platform/file_system.h"
#include "platform/page_lock.h"

namespace {

// The page a write leaves is moved in after the write: that must not fail.
static_assert(std::is_nothrow_move_assignable_v<PageScan>);

const SessionFailure kNoFailure{};

PageIdentity IdentityOf(const FileStatus& info, uint64_t hash) {
    PageIdentity identity;
    identity.exists = true;
    identity.device = info.id.device;
    identity.inode = info.id.inode;
    identity.size = info.size;
    identity.modified.tv_sec = static_cast<std::time_t>(info.modifiedSeconds);
    identity.modified.tv_nsec = info.modifiedNanoseconds;
    identity.hash = hash;
    return identity;
}

// The identity of the open page `fd` as it is now; false with errno set when
// it cannot be read. The bytes are hashed piece by piece, never held whole.
bool CurrentIdentity(int fd, PageIdentity* identity) {
    HashingFileReader reader(fd);
    char piece[1 << 16];
    ssize_t got = 0;
    while ((got = reader.Read(piece, sizeof piece)) > 0) {
    }
    FileStatus info;
    if (got < 0 || !FileStatusOf(fd, &info)) return false;
    *identity = IdentityOf(info, reader.Hash());
    return true;
}

bool SameFile(const FileStatus& a, const FileStatus& b) { return a.id == b.id; }

void CloseIfOpen(int* fd) {
    if (*fd >= 0) FileClose(*fd);
    *fd = -1;
}

// Runs `step`, turning memory exhaustion into a refusal.
template <typename Step>
SessionFailure Guarded(Step step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return {FailureCode::kOutOfMemory, ENOMEM};
    }
}

SessionFailure LockFailure() {
    if (errno == EWOULDBLOCK) return {FailureCode::kPageBusy, 0};
    return {FailureCode::kCannotRead, errno};
}

}  // namespace

bool PageIdentity::operator==(const PageIdentity& other) const {
    if (exists != other.exists) return false;
    if (!exists) return true;
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           hash == other.hash;
}

PageSession::PageSession(std::string path) : m_path(std::move(path)) {}

PageSession::~PageSession() { Unlock(); }

SessionFailure PageSession::Open(double waitSeconds, bool keepLock) {
    SessionFailure failure = Acquire(waitSeconds);
    if (!failure) failure = ReadLocked();
    if (!keepLock || failure) Unlock();
    return failure;
}

SessionFailure PageSession::Lock(double waitSeconds, bool* changed) {
    return Guarded([&]() -> SessionFailure {
        if (SessionFailure failure = Acquire(waitSeconds)) return failure;
        PageIdentity now;
        if (m_pageFd >= 0 && !CurrentIdentity(m_pageFd, &now))
            return {FailureCode::kCannotRead, errno};
        *changed = !(now == m_identity);
        return kNoFailure;
    });
}

SessionFailure PageSession::Reread() { return ReadLocked(); }

// On a page that exists now its section is rebuilt, also when it was
// missing at the last read: the user's list replaces the list another
// program's page holds, never that page.
SessionFailure PageSession::Write(const ItemList& entries, const DropCheck& mayDrop) {
    return Guarded([&]() -> SessionFailure {
        CloseIfOpen(&m_renamedLockFd);
        if (m_pageFd < 0) return WriteFreshPage(entries);
        return ChangeLocked(SectionChange([&](const PageScan& scan, ItemList& pageEntries) {
            if (!scan.unreadContent.empty() && !mayDrop(scan.unreadContent)) return false;
            pageEntries = entries.Copy();
            return true;
        }));
    });
}

SessionFailure PageSession::Rewrite(double waitSeconds, const EntriesEdit& edit) {
    return Guarded([&]() -> SessionFailure {
        if (SessionFailure failure = Acquire(waitSeconds)) return failure;
        m_page = PageScan{};
        if (m_pageFd >= 0) return ChangeLocked(SectionChange(edit));
        m_identity = PageIdentity{};
        ItemList entries;
        if (!edit(m_page, entries)) return {FailureCode::kEditRefused, 0};
        return WriteFreshPage(entries);
    });
}

SessionFailure PageSession::Change(const PageChange& change) {
    return Guarded([&]() -> SessionFailure {
        if (m_pageFd < 0) return {FailureCode::kPageMissing, 0};
        return ChangeLocked(change);
    });
}

void PageSession::Unlock() {
    if (m_pageFd != m_lockFd) CloseIfOpen(&m_pageFd);
    m_pageFd = -1;
    CloseIfOpen(&m_lockFd);
    CloseIfOpen(&m_renamedLockFd);
}

SessionFailure PageSession::Acquire(double waitSeconds) {
    while (true) {
        bool retry = false;
        SessionFailure failure = AcquireOnce(waitSeconds, &retry);
        if (!retry) return failure;
    }
}

// One attempt at locking the page (or its folder while it is missing). Sets
// `*retry` when the path named another file by the time the lock was held.
SessionFailure PageSession::AcquireOnce(double waitSeconds, bool* retry) {
    Unlock();
    const int page = FileOpenForReading(m_path.c_str());
    if (page < 0 && errno != ENOENT) return {FailureCode::kCannotRead, errno};
    FileStatus opened;
    if (page >= 0) {
        m_pageFd = m_lockFd = page;
        if (!FileStatusOf(page, &opened)) return {FailureCode::kCannotRead, errno};
        if (!opened.regular) return {FailureCode::kNotRegularFile, 0};
    } else {
        // The page will be created where its path leads, also through a
        // dangling link, so that folder is locked. A missing folder is not
        // locked: the write reports why it cannot create the page there.
        std::string target = m_path;
        ResolveLinks(&target);
        m_lockFd = OpenFolderLock(FolderOf(target));
        if (m_lockFd < 0) return kNoFailure;
    }
    if (!LockExclusive(m_lockFd, waitSeconds)) return LockFailure();
    FileStatus now;
    const bool exists = PathStatus(m_path, &now);
    *retry = page >= 0 ? !exists || !SameFile(now, opened) : exists;
    return kNoFailure;
}

SessionFailure PageSession::ReadLocked() {
    return Guarded([this]() -> SessionFailure {
        m_page = PageScan{};
        if (m_pageFd < 0) {
            m_identity = PageIdentity{};
            return kNoFailure;
        }
        HashingFileReader reader(m_pageFd);
        FILE* stream = reader.OpenStream();
        if (stream == nullptr) return {FailureCode::kCannotRead, errno};
        PageScan scan;
        SessionFailure failure = ScanPage(stream, &scan);
        std::fclose(stream);
        if (reader.Error() != 0) failure = {FailureCode::kCannotRead, reader.Error()};
        FileStatus info;
        if (!failure && !FileStatusOf(m_pageFd, &info)) failure = {FailureCode::kCannotRead, errno};
        if (failure) return failure;
        m_identity = IdentityOf(info, reader.Hash());
        m_page = std::move(scan);
        return kNoFailure;
    });
}

SessionFailure PageSession::WriteFreshPage(const ItemList& entries) {
    std::string admin;
    if (!ReadServerAdmin(&admin)) return {FailureCode::kRegistryDamaged, 0, RegGetLastFailure()};
    // What the session holds afterwards is made first: nothing may fail once
    // the page is written.
    PageScan written;
    written.entries = entries.Copy();
    int error = 0;
    if (!WriteNewPage(m_path, entries.Head(), admin, &error, &m_renamedLockFd)) {
        return {FailureCode::kCouldNotCreate, error};
    }
    m_page = std::move(written);
    return kNoFailure;
}

// The replacement is prepared before the page is read, so that the page is
// copied into it right after the scan. The lock is held from here to the
// rename, so the page's identity is not needed: it is read through a plain
// stream on a second descriptor of the locked file, unhashed.
SessionFailure PageSession::ChangeLocked(const PageChange& change) {
    FileReplacement replacement(m_path);
    replacement.KeepLocked();
    if (!replacement.Open()) return {FailureCode::kCouldNotCreate, replacement.Error()};
    // Closed however the rewrite ends: its descriptor shares the page's lock.
    const std::unique_ptr<FILE, int (*)(FILE*)> stream(OpenReadStream(m_pageFd), &std::fclose);
    if (!stream) return {FailureCode::kCannotRead, errno};
    PageScan scan;
    SessionFailure failure = RewritePage(stream.get(), replacement.Stream(), change, &scan);
    if (failure) {
        replacement.Abandon();
        if (failure.code == FailureCode::kCouldNotCreate && failure.error == 0) {
            failure.error = replacement.Error();
        }
        return failure;
    }
    if (!replacement.Commit()) return {FailureCode::kCouldNotCreate, replacement.Error()};
    m_renamedLockFd = replacement.TakeLock();
    m_page = std::move(scan);
    return kNoFailure;
}
