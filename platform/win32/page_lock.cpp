#include "platform/page_lock.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/file_faults.h"
#include "platform/file_ops.h"
#include "platform/lock_attempt.h"
#include "platform/win32/lock_range.h"
#include "platform/win32/wide_path.h"

namespace {

// %ProgramData%\TavrelWizard\locks, created when missing; "" when the
// system names no such folder.
std::wstring SharedLockFolder() {
    wchar_t data[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableW(L"ProgramData", data, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return L"";
    std::wstring folder = std::wstring(data, length) + L"\\TavrelWizard";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\locks";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// This user's temporary folder.
std::wstring UserLockFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, length);
}

// Opens (creating when missing) the lock file `name` in `folder`; only a
// plain file will do, never a link somebody planted there. -1 with errno.
int OpenLockFile(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) {
        errno = ENOENT;
        return -1;
    }
    const std::wstring path = folder + (folder.back() == L'\\' ? L"" : L"\\") + name;
    const HANDLE file = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailWithLastError(-1);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(file);
        errno = EEXIST;
        return -1;
    }
    return DescriptorOf(file, _O_RDONLY);
}

}  // namespace

bool TryLockExclusive(int fd) {
    return FileOperation([&] {
               OVERLAPPED range = LockRange();
               if (LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                              kLockLength, 0, &range)) {
                   return 0;
               }
               return FailWithLastError(-1);
           }) == 0;
}

int OpenFolderLock(const std::string& folder) {
    FileStatus status;
    if (!PathStatus(folder, &status)) return -1;
    const std::wstring name = L"tavrel-folder-" + std::to_wstring(status.id.device) + L"-" +
                              std::to_wstring(status.id.inode);
    const int fd = OpenLockFile(SharedLockFolder(), name);
    return fd >= 0 ? fd : OpenLockFile(UserLockFolder(), name);
}
