#include "platform/config_files.h"

#include <algorithm>
#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/win32/wide_path.h"

namespace {

// Whether `name` matches the shell wildcard `pattern` (`*`, `?`, `[...]`
// with ranges and `!` or `^`), letters compared without case as the file
// system names them.
bool Matches(const char* pattern, const char* name) {
    for (; *pattern != '\0'; ++pattern, ++name) {
        if (*pattern == '*') {
            for (const char* rest = name;; ++rest) {
                if (Matches(pattern + 1, rest)) return true;
                if (*rest == '\0') return false;
            }
        }
        if (*name == '\0') return false;
        if (*pattern == '[') {
            const char* end = pattern + 1;
            const bool negated = *end == '!' || *end == '^';
            if (negated) ++end;
            bool found = false;
            for (const char* c = end; *c != '\0' && (*c != ']' || c == end); ++c) {
                if (c[1] == '-' && c[2] != '\0' && c[2] != ']') {
                    found = found || (*name >= c[0] && *name <= c[2]);
                    c += 2;
                } else {
                    found = found || std::tolower(*c) == std::tolower(*name);
                }
                pattern = c + 1;
            }
            if (*pattern != ']' || found == negated) return false;
        } else if (*pattern != '?' && std::tolower(*pattern) != std::tolower(*name)) {
            return false;
        }
    }
    return *name == '\0';
}

bool HasWildcard(const std::string& part) { return part.find_first_of("*?[") != std::string::npos; }

// Extends every path in `paths` by the component `part`, matching it
// against the names of each folder when it holds wildcards.
std::vector<std::string> Extend(const std::vector<std::string>& paths, const std::string& part) {
    std::vector<std::string> extended;
    for (const std::string& path : paths) {
        const std::string prefix = path.empty() || path.back() == '/' ? path : path + "/";
        if (!HasWildcard(part)) {
            extended.push_back(prefix + part);
            continue;
        }
        DirectoryReader reader = DirectoryReader::Open(path.empty() ? "." : path);
        DirectoryEntry entry;
        while (reader.IsOpen() && reader.Next(&entry)) {
            const std::string name(entry.name);
            if (name == "." || name == "..") continue;
            if (name[0] == '.' && part[0] != '.') continue;
            if (Matches(part.c_str(), name.c_str())) extended.push_back(prefix + name);
        }
    }
    return extended;
}

}  // namespace

std::vector<std::string> MatchConfigFiles(const std::string& pattern) {
    const std::string path = SystemPath(pattern);
    std::size_t start = path.rfind("//", 0) == 0 ? 2 : 0;
    std::vector<std::string> paths{path.substr(0, start)};
    if (path.size() > start && path[start] == '/') paths = {path.substr(0, ++start)};
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) paths = Extend(paths, path.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> existing;
    for (const std::string& found : paths) {
        if (ConfigPathExists(found)) existing.push_back(found);
    }
    std::sort(existing.begin(), existing.end());
    return existing;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const std::wstring wide = Wide(name);
    const DWORD length = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (length == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    std::wstring value(length, L'\0');
    const DWORD written = GetEnvironmentVariableW(wide.c_str(), value.data(), length);
    value.resize(written);
    return Utf8(value);
}

std::optional<std::string> RealPath(const std::string& path) {
    const HANDLE file = CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, name.data(), MAX_PATH, FILE_NAME_NORMALIZED);
    if (length >= MAX_PATH) {
        name.resize(length);
        length = GetFinalPathNameByHandleW(file, name.data(), length, FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    if (length == 0) return std::nullopt;
    name.resize(length);
    return ProgramPath(name);
}
