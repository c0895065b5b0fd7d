#include "platform/file_system.h"

#include <cctype>
#include <cerrno>
#include <utility>

#include "platform/file_faults.h"
#include "platform/file_ops.h"
#include "platform/win32/wide_path.h"

namespace {

// True for "C:/..." and "C:" alone: a path that names its drive.
bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// How many leading characters are the path's root: "C:/" 3, "//host/share/"
// through its share, "/" 1, none 0.
std::size_t RootLength(std::string_view path) {
    if (HasDrive(path)) return path.size() > 2 && path[2] == '/' ? 3 : 2;
    if (path.rfind("//", 0) == 0) {
        const std::size_t host = path.find('/', 2);
        if (host == std::string_view::npos) return path.size();
        const std::size_t share = path.find('/', host + 1);
        return share == std::string_view::npos ? path.size() : share + 1;
    }
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

// The reparse tag of what `path` names itself, 0 when it is no reparse point.
DWORD ReparseTag(const std::string& path) {
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileExW(LongPath(path).c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return 0;
    FindClose(find);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? data.dwReserved0 : 0;
}

// The final path of what `path` leads to, links followed; nothing when it
// cannot be opened (errno set).
bool FinalPath(const std::string& path, std::string* final) {
    const HANDLE file = CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailWithLastError(false);
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, name.data(), MAX_PATH, FILE_NAME_NORMALIZED);
    if (length >= MAX_PATH) {
        name.resize(length);
        length = GetFinalPathNameByHandleW(file, name.data(), length, FILE_NAME_NORMALIZED);
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (length == 0) {
        errno = ErrnoFromWin32(error);
        return false;
    }
    name.resize(length);
    *final = ProgramPath(name);
    return true;
}

// The search pattern that lists every name in the folder `path`.
std::wstring EveryNameIn(const std::string& path) {
    std::wstring pattern = LongPath(path);
    if (pattern.back() != L'\\') pattern += L'\\';
    return pattern + L'*';
}

// The current folder; "" when it cannot be named.
std::string CurrentFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring current(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, current.data());
    if (length == 0 || written == 0 || written >= length) return "";
    current.resize(written);
    return ProgramPath(current);
}

}  // namespace

struct DirectoryReader::Handle {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool unread = true;  // `data` holds the first name, not yet handed out
    std::string path;
    std::string name;  // the name handed out last, in UTF-8

    ~Handle() {
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
    }
};

std::string SystemPath(std::string_view path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::string FolderOf(const std::string& given) {
    const std::string path = SystemPath(given);
    const std::size_t root = RootLength(path);
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos || slash < root) {
        return root > 0 ? path.substr(0, root) : std::string(".");
    }
    return slash + 1 == root ? path.substr(0, root) : path.substr(0, slash);
}

std::string NameOf(const std::string& given) {
    const std::string path = SystemPath(given);
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return HasDrive(path) ? path.substr(2) : path;
    return path.substr(slash + 1);
}

std::string TidySystemPath(std::string_view path) {
    const std::string system = SystemPath(path);
    const bool unc = system.rfind("//", 0) == 0;
    std::string result = unc ? "//" : "";
    for (std::size_t i = unc ? 2 : 0; i < system.size(); ++i) {
        if (system[i] != '/' || result.empty() || result.back() != '/') result += system[i];
    }
    if (result.size() > RootLength(result) && result.back() == '/') result.pop_back();
    return result;
}

bool IsAbsolutePathText(std::string_view path) {
    if (path.empty()) return false;
    if (path.front() == '/' || path.front() == '\\') return true;
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string CurrentDirectoryPath() { return CurrentFolder(); }

std::string AbsoluteSystemPath(std::string_view path) {
    std::string joined = SystemPath(path);
    const bool rooted = RootLength(joined) >= 3 || joined.rfind("//", 0) == 0;
    const std::string here = rooted ? "" : CurrentFolder();
    if (!rooted && !here.empty()) {
        if (!joined.empty() && joined[0] == '/') {
            joined = here.substr(0, RootLength(here) - 1) + joined;  // the current drive
        } else if (HasDrive(joined)) {
            joined = joined.substr(0, 2) + "/" + joined.substr(2);
        } else {
            joined = here + "/" + joined;
        }
    }
    return TidySystemPath(joined);
}

bool ResolveLinks(std::string* path) {
    if (!IsSymbolicLink(*path)) return true;
    std::string final;
    if (FinalPath(*path, &final)) {
        *path = final;
        return true;
    }
    if (errno == ELOOP) return false;
    return true;  // a dangling link: written through its own name
}

bool IsSymbolicLink(const std::string& path) {
    const DWORD tag = ReparseTag(path);
    return tag != 0 && IsReparseTagNameSurrogate(tag);
}

PathKind KindOfPath(const std::string& path) {
    FileStatus status;
    if (!PathStatus(SystemPath(path), &status)) return PathKind::kMissing;
    return status.directory ? PathKind::kDirectory : PathKind::kOther;
}

DirectoryReader DirectoryReader::Open(const std::string& path) {
    const std::string systemPath = SystemPath(path);
    FileStatus status;
    if (systemPath.empty() || !PathStatus(systemPath, &status) || !status.directory) return {};
    auto* handle = new Handle;
    handle->find = FindFirstFileExW(EveryNameIn(systemPath).c_str(), FindExInfoBasic, &handle->data,
                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (handle->find == INVALID_HANDLE_VALUE) {
        delete handle;
        return {};
    }
    handle->path = systemPath;
    return {handle, status.id};
}

void DirectoryReader::Close() {
    delete m_handle;
    m_handle = nullptr;
}

DirectoryReader DirectoryReader::OpenChild(std::string_view name) const {
    if (m_handle == nullptr) return {};
    return Open(m_handle->path + "/" + std::string(name));
}

bool DirectoryReader::ChildIsDirectory(std::string_view name) const {
    if (m_handle == nullptr) return false;
    FileStatus status;
    return PathStatus(m_handle->path + "/" + std::string(name), &status) && status.directory;
}

bool DirectoryReader::Next(DirectoryEntry* entry) {
    if (m_handle == nullptr) return false;
    if (FileFaultInjected()) return false;
    if (!m_handle->unread && !FindNextFileW(m_handle->find, &m_handle->data)) return false;
    m_handle->unread = false;
    const WIN32_FIND_DATAW& data = m_handle->data;
    m_handle->name = Utf8(data.cFileName);
    entry->name = m_handle->name;
    const bool reparse = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry->isLink = reparse && IsReparseTagNameSurrogate(data.dwReserved0);
    entry->mayBeDirectory =
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || entry->isLink;
    return true;
}
