#include "platform/write_access.h"

#include <aclapi.h>

#include "platform/file_system.h"
#include "platform/win32/wide_path.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The account name of `sid` ("DOMAIN\user"); its string form when it has none.
std::string AccountName(PSID sid) {
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = 256;
    DWORD domainLength = 256;
    SID_NAME_USE use{};
    if (LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) {
        const std::string user = Utf8(std::wstring_view(name, nameLength));
        return domainLength > 0 ? Utf8(std::wstring_view(domain, domainLength)) + "\\" + user
                                : user;
    }
    return "unknown owner";
}

// This process's user, as AccountName gives it.
std::string CurrentUser() {
    wchar_t name[257];
    DWORD length = 257;
    return GetUserNameW(name, &length) && length > 0 ? Utf8(std::wstring_view(name, length - 1))
                                                     : "unknown user";
}

WriteObstacle Describe(WriteObstacleKind kind, const std::string& path) {
    WriteObstacle obstacle;
    obstacle.kind = kind;
    obstacle.path = path;
    obstacle.user = CurrentUser();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(LongPath(path).c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                              &owner, nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS) {
        obstacle.owner = AccountName(owner);
        LocalFree(descriptor);
    }
    const std::string& user = obstacle.user;
    obstacle.ownedByUser =
        obstacle.owner.size() >= user.size() &&
        obstacle.owner.compare(obstacle.owner.size() - user.size(), user.size(), user) == 0;
    obstacle.mode =
        (GetFileAttributesW(LongPath(path).c_str()) & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    return obstacle;
}

}  // namespace

// Windows tells whether a file may be written by trying: the file is opened
// for writing (and closed) without changing it. A missing file's folder is
// only checked to exist; whether a file may be created in it shows when the
// page is written.
WriteObstacle FindWriteObstacle(const std::string& path) {
    const std::string file = AbsoluteSystemPath(path);
    const std::wstring wide = LongPath(file);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return Describe(WriteObstacleKind::kFileNotWritable, file);
        }
        const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return {};
        }
        const DWORD error = GetLastError();
        if (error == ERROR_WRITE_PROTECT) {
            return Describe(WriteObstacleKind::kReadOnlyFileSystem, file);
        }
        return error == ERROR_ACCESS_DENIED ? Describe(WriteObstacleKind::kFileNotWritable, file)
                                            : WriteObstacle{};
    }
    const std::string folder = FolderOf(file);
    if (KindOfPath(folder) != PathKind::kDirectory) {
        WriteObstacle missing;
        missing.kind = WriteObstacleKind::kFolderMissing;
        missing.path = folder;
        return missing;
    }
    return {};
}
