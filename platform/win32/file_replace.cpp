#include "platform/file_replace.h"

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/file_faults.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/page_lock.h"
#include "platform/win32/wide_path.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// How long a commit waits for the page's folder lock (held by a writer
// creating another page of the folder) before renaming without it.
constexpr double kFolderLockWait = 30;
// FileRenameInfoEx (Windows 10 1607), which the cross headers declare only
// for a later target than the one this program names.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

// "." + name + ".tavrel-": how every temporary file of `name` begins.
std::string TempPrefix(const std::string& name) { return "." + name + ".tavrel-"; }

// The temporary file that the console's Ctrl+C, Ctrl+Break, close, logoff
// or shutdown must remove, kept where the handler thread can read it
// without allocating.
wchar_t g_pendingTemp[32768];
volatile LONG g_hasPendingTemp = 0;

BOOL WINAPI RemovePendingTemporary(DWORD) {
    if (InterlockedExchange(&g_hasPendingTemp, 0) != 0) DeleteFileW(g_pendingTemp);
    return FALSE;  // the process ends as it would have
}

void GuardTemporary(const std::wstring& path) {
    static const bool installed = SetConsoleCtrlHandler(RemovePendingTemporary, TRUE) != 0;
    if (!installed || path.size() >= sizeof g_pendingTemp / sizeof g_pendingTemp[0]) return;
    std::wmemcpy(g_pendingTemp, path.c_str(), path.size() + 1);
    InterlockedExchange(&g_hasPendingTemp, 1);
}

void ReleaseGuard() { InterlockedExchange(&g_hasPendingTemp, 0); }

// A temporary file's name names the process that wrote it; true when that
// process no longer runs.
bool OwnerIsGone(const std::string& entry, const std::string& prefix) {
    if (entry.compare(0, prefix.size(), prefix) != 0) return false;
    char* end = nullptr;
    const unsigned long pid = std::strtoul(entry.c_str() + prefix.size(), &end, 10);
    if (end == entry.c_str() + prefix.size() || *end != '-' || pid == 0) return false;
    if (pid == GetCurrentProcessId()) return false;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

constexpr char kOldSuffix[] = "-old";

bool IsSetAside(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, kOldSuffix) == 0;
}

// Removes the temporary files of `target` left behind by runs that were
// killed. A run killed between its two renames (see Commit) left the page
// set aside and its name free: that page is put back.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TempPrefix(NameOf(target));
    DirectoryReader reader = DirectoryReader::Open(folder);
    DirectoryEntry entry;
    std::vector<std::string> stale;
    while (reader.IsOpen() && reader.Next(&entry)) {
        if (OwnerIsGone(std::string(entry.name), prefix)) stale.emplace_back(entry.name);
    }
    const std::wstring page = LongPath(target);
    for (const std::string& name : stale) {
        const std::wstring path = LongPath(folder + "/" + name);
        if (!IsSetAside(name) || !MoveFileExW(path.c_str(), page.c_str(), MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(path.c_str());
        }
    }
}

// Gives the new file `file` the access control list and the attributes of
// the target `path`, so that the replaced page is protected as it was. A
// target whose list cannot be read keeps the folder's inherited one, as a
// new file would; a list read but not set fails the write (errno set).
bool CopyProtection(const std::wstring& path, HANDLE file) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // a new page
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                : UNPROTECTED_DACL_SECURITY_INFORMATION);
        const DWORD set =
            SetSecurityInfo(file, SE_FILE_OBJECT, which, nullptr, nullptr, dacl, nullptr);
        LocalFree(descriptor);
        if (set != ERROR_SUCCESS) {
            errno = ErrnoFromWin32(set);
            return false;
        }
    }
    FILE_BASIC_INFO basic{};
    basic.FileAttributes =
        attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    return true;
}

// True when the existing file `path` may not be written: read-only, or
// this user is refused write access.
bool WriteRefused(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(file);
    return false;
}

// Renames the open file `file` over `target` with POSIX semantics: the name
// is taken even while others hold the old file open (with delete sharing).
// False where the file system or the system does not offer it.
bool RenameOpenFile(HANDLE file, const std::wstring& target) {
    const size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, target.c_str(), nameBytes);
    return SetFileInformationByHandle(file, kFileRenameInfoEx, info,
                                      static_cast<DWORD>(buffer.size())) != 0;
}

// Moves the closed file `from` to the name `to`. Where `to` exists and is
// held open by others (or by this process), Windows refuses to replace it,
// so it is first renamed to `aside` (allowed while it is open, as every open
// of this program shares delete access), then `from` takes the free name, and
// the old file is deleted (it goes when its last holder closes it). A failure
// of the second rename puts the old file back. Between the two renames the
// name is free: a writer that finds the page missing then locks its folder
// (platform/page_lock.h), so the folder's lock is held across them, and that
// writer finds the page again once it holds the lock. False with errno set.
bool MoveIntoPlace(const std::wstring& from, const std::wstring& to, const std::wstring& aside,
                   const std::string& folder) {
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(from.c_str(), to.c_str(), kFlags)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
        return FailWithLastError(false);
    }
    const int folderLock = OpenFolderLock(folder);
    if (folderLock >= 0) LockExclusive(folderLock, kFolderLockWait);
    bool moved = MoveFileExW(to.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH);
    int moveError = moved ? 0 : ErrnoFromWin32(GetLastError());
    if (moved && !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        moveError = ErrnoFromWin32(GetLastError());
        MoveFileExW(aside.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);
        moved = false;
    }
    if (folderLock >= 0) FileClose(folderLock);
    if (!moved) {
        errno = moveError;
        return false;
    }
    DeleteFileW(aside.c_str());
    return true;
}

}  // namespace

bool FileReplacement::Open() {
    m_error = 0;
    if (!ResolveLinks(&m_target)) return Fail(errno);
    const std::wstring target = LongPath(m_target);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return Fail(ErrnoFromWin32(error));
    }
    if (error == ERROR_SUCCESS && WriteRefused(target, attributes)) return Fail(EACCES);
    m_inPlace = false;
    RemoveStaleTemporaries(m_target);
    if (!OpenTemporary()) return Fail(errno);
    if (!CopyProtection(target, HandleOf(m_fd))) return Fail(errno);
    return true;
}

bool FileReplacement::OpenTemporary() {
    const std::string stem = FolderOf(m_target) + "/" + TempPrefix(NameOf(m_target)) +
                             std::to_string(GetCurrentProcessId()) + "-";
    HANDLE file = INVALID_HANDLE_VALUE;
    std::string path;
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        if (FileFaultInjected()) return false;
        char tag[16];
        std::snprintf(tag, sizeof tag, "%06lx", (GetTickCount() * 7919UL + attempt) & 0xffffffUL);
        path = stem + tag;
        file = CreateFileW(LongPath(path).c_str(),
                           GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_DAC | READ_CONTROL,
                           kShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return FailWithLastError(false);
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        errno = EEXIST;
        return false;
    }
    m_tempPath = std::move(path);
    GuardTemporary(LongPath(m_tempPath));
    const int fd = DescriptorOf(file, _O_RDWR);
    if (fd < 0) return false;
    m_stream = OpenWriteStream(fd);
    if (m_stream == nullptr) return false;
    m_fd = fd;
    return true;
}

bool FileReplacement::Commit() {
    if (m_stream == nullptr) return Fail(m_error != 0 ? m_error : EBADF);
    return CommitTemporary();
}

// The new file is renamed while still open (POSIX semantics: the name
// changes hands at once, whoever holds the old page open), or, where that is
// not offered, closed and moved into place (MoveIntoPlace).
bool FileReplacement::CommitTemporary() {
    const std::wstring target = LongPath(m_target);
    errno = EIO;
    bool ok = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    const HANDLE file = HandleOf(m_fd);
    ok = ok &&
         FileOperation([&] { return FlushFileBuffers(file) ? 0 : FailWithLastError(-1); }) == 0;
    int error = errno;
    // Locked before the rename: nobody can lock the file before this writer.
    const int lock = ok && m_keepLocked ? LockedDuplicate(m_fd) : -1;
    bool renamed = false;
    if (ok && FileFaultInjected()) {
        ok = false;  // the rename's failure
        error = errno;
    } else {
        renamed = ok && RenameOpenFile(file, target);
    }
    if (std::fclose(m_stream) != 0 && ok && !renamed) {
        ok = false;
        error = errno;
    }
    m_stream = nullptr;
    m_fd = -1;
    const std::wstring temporary = LongPath(m_tempPath);
    if (ok && !renamed &&
        !MoveIntoPlace(temporary, target, temporary + L"-old", FolderOf(m_target))) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (lock >= 0) FileClose(lock);
        return Fail(error);
    }
    m_lockFd = lock;
    ReleaseGuard();
    m_tempPath.clear();
    return true;
}

void FileReplacement::Rollback() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        DeleteFileW(LongPath(m_tempPath).c_str());
        m_tempPath.clear();
        ReleaseGuard();
    }
}
