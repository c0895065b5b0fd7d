#include "platform/registry.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/reg_hive.h"
#include "text/ascii.h"

// An open key: the hive it belongs to and its path below HKEY_LOCAL_MACHINE.
struct HKEY__ {
    std::shared_ptr<const RegHive> hive;
    std::string path;
};

namespace {

std::string HiveFolder() {
    const char* folder = std::getenv("TAVREL_REGISTRY_DIR");
    return folder != nullptr && *folder != '\0' ? folder : "/etc/tavrel-wizard/registry";
}

// A machine name is a file name in the hive folder, never a path.
bool IsValidMachineName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.find("..") != std::string::npos) return false;
    for (unsigned char c : name) {
        if (!std::isalnum(c) && c != '.' && c != '_' && c != '-') return false;
    }
    return true;
}

thread_local std::string t_lastFailure;

// Loads the hive at `path`; a damaged one is kept as this thread's last
// failure and given as ERROR_BADDB, a missing one as ERROR_FILE_NOT_FOUND.
LONG LoadHive(const std::string& path, RegHive* hive) {
    switch (hive->Load(path)) {
        case RegHive::Status::Loaded:
            return ERROR_SUCCESS;
        case RegHive::Status::Missing:
            return ERROR_FILE_NOT_FOUND;
        case RegHive::Status::Unreadable:
        case RegHive::Status::Malformed:
            break;
    }
    t_lastFailure = hive->Problem();
    return ERROR_BADDB;
}

// The hive and path a handle stands for, in `*open`. This machine's hive is
// read afresh at each use, so a changed file is seen and nothing is cached
// across runs of the same process; a missing one is empty.
LONG Resolve(HKEY key, HKEY__& scratch, const HKEY__** open) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (key != HKEY_LOCAL_MACHINE) {
        *open = key;
        return ERROR_SUCCESS;
    }
    auto hive = std::make_shared<RegHive>();
    if (LoadHive(HiveFolder() + "/local.reg", hive.get()) == ERROR_BADDB) return ERROR_BADDB;
    scratch.hive = std::move(hive);
    scratch.path.clear();
    *open = &scratch;
    return ERROR_SUCCESS;
}

const RegValue* FindValue(const HKEY__& key, const char* name) {
    const RegKey* found = key.hive->Find(key.path);
    if (found == nullptr) return nullptr;
    const char* wanted = name != nullptr ? name : "";
    for (const RegValue& value : found->values) {
        if (ascii::EqualsIgnoringCase(value.name, wanted)) return &value;
    }
    return nullptr;
}

// Copies `data` into the caller's room per the query rules.
LONG HandOver(const RegValue& value, DWORD* type, BYTE* data, DWORD* size) {
    if (type != nullptr) *type = value.type;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (size == nullptr) return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && needed > 0) std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, REGSAM /*access*/,
                   HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_HANDLE;
    HKEY__ scratch;
    const HKEY__* parent = nullptr;
    const LONG resolved = Resolve(key, scratch, &parent);
    if (resolved != ERROR_SUCCESS) return resolved;
    std::string path = parent->path;
    if (subKey != nullptr && *subKey != '\0') path = NormalizeKeyPath(path + "\\" + subKey);
    if (!parent->hive->Exists(path)) return ERROR_FILE_NOT_FOUND;
    *result = new HKEY__{parent->hive, path};
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* name, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                      DWORD* size) {
    HKEY__ scratch;
    const HKEY__* open = nullptr;
    const LONG resolved = Resolve(key, scratch, &open);
    if (resolved != ERROR_SUCCESS) return resolved;
    const RegValue* value = FindValue(*open, name);
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    return HandOver(*value, type, data, size);
}

LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* /*reserved*/,
                   DWORD* type, BYTE* data, DWORD* size) {
    if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_HANDLE;
    HKEY__ scratch;
    const HKEY__* open = nullptr;
    const LONG resolved = Resolve(key, scratch, &open);
    if (resolved != ERROR_SUCCESS) return resolved;
    const RegKey* found = open->hive->Find(open->path);
    if (found == nullptr || index >= found->values.size()) return ERROR_NO_MORE_ITEMS;
    const RegValue& value = found->values[index];
    if (value.name.size() + 1 > *nameLength) return ERROR_MORE_DATA;
    const LONG result = HandOver(value, type, data, size);
    if (result != ERROR_SUCCESS) return result;
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameLength = static_cast<DWORD>(value.name.size());
    return ERROR_SUCCESS;
}

LONG RegConnectRegistryA(const char* machine, HKEY key, HKEY* result) {
    if (key != HKEY_LOCAL_MACHINE || result == nullptr) return ERROR_INVALID_HANDLE;
    if (machine == nullptr || *machine == '\0') {
        *result = HKEY_LOCAL_MACHINE;
        return ERROR_SUCCESS;
    }
    if (!IsValidMachineName(machine)) return ERROR_BAD_NETPATH;
    auto hive = std::make_shared<RegHive>();
    const LONG loaded = LoadHive(HiveFolder() + "/" + machine + ".reg", hive.get());
    if (loaded == ERROR_FILE_NOT_FOUND) return ERROR_BAD_NETPATH;
    if (loaded != ERROR_SUCCESS) return loaded;
    *result = new HKEY__{hive, ""};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (key != HKEY_LOCAL_MACHINE) delete key;
    return ERROR_SUCCESS;
}

bool RegIsMachineName(const char* machine) {
    return machine != nullptr && IsValidMachineName(machine);
}

std::string RegHiveFile(const char* machine) {
    const bool local = machine == nullptr || *machine == '\0';
    return HiveFolder() + "/" + (local ? std::string("local") : std::string(machine)) + ".reg";
}

std::string RegGetLastFailure() { return t_lastFailure; }

bool RegUsesHiveFiles() { return true; }
