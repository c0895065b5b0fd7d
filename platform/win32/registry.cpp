#include "platform/registry.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/win32/wide_path.h"

namespace {

thread_local std::string t_lastFailure;

// Keeps the system's text for a damaged registry as this thread's last
// failure; every result passes through.
LONG Noted(LONG result) {
    if (result == ERROR_BADDB) {
        wchar_t* text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<LPWSTR>(&text), 0,
                       nullptr);
        t_lastFailure = "registry: " + (text != nullptr ? Utf8(text) : std::string("damaged"));
        LocalFree(text);
    }
    return result;
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Wide string data (NUL-terminated or not) as UTF-8 with one terminating NUL.
std::vector<BYTE> Utf8Data(const std::vector<BYTE>& wide) {
    std::wstring text(wide.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), wide.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    const std::string narrow = Utf8(text);
    std::vector<BYTE> bytes(narrow.begin(), narrow.end());
    bytes.push_back(0);
    return bytes;
}

// The value `name` of `key` whole, string data as UTF-8.
LONG ReadValue(HKEY key, const std::wstring* name, DWORD index, std::wstring* foundName,
               DWORD* type, std::vector<BYTE>* data) {
    for (DWORD room = 256;; room *= 2) {
        data->resize(room);
        DWORD size = room;
        LONG result = 0;
        if (name != nullptr) {
            result = RegQueryValueExW(key, name->c_str(), nullptr, type, data->data(), &size);
        } else {
            wchar_t nameBuffer[16384];
            DWORD nameLength = 16384;
            result = RegEnumValueW(key, index, nameBuffer, &nameLength, nullptr, type, data->data(),
                                   &size);
            if (result == ERROR_SUCCESS) foundName->assign(nameBuffer, nameLength);
        }
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return result;
        data->resize(size);
        if (IsString(*type)) *data = Utf8Data(*data);
        return ERROR_SUCCESS;
    }
}

// Copies `value` into the caller's room per the query rules.
LONG HandOver(const std::vector<BYTE>& value, BYTE* data, DWORD* size) {
    const auto needed = static_cast<DWORD>(value.size());
    if (size == nullptr) return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && needed > 0) std::memcpy(data, value.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) {
    const std::wstring wide = Wide(subKey != nullptr ? subKey : "");
    return Noted(RegOpenKeyExW(key, wide.c_str(), options, access, result));
}

LONG RegQueryValueExA(HKEY key, const char* name, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                      DWORD* size) {
    const std::wstring wide = Wide(name != nullptr ? name : "");
    DWORD found = REG_NONE;
    std::vector<BYTE> value;
    const LONG result = Noted(ReadValue(key, &wide, 0, nullptr, &found, &value));
    if (result != ERROR_SUCCESS) return result;
    if (type != nullptr) *type = found;
    return HandOver(value, data, size);
}

LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* /*reserved*/,
                   DWORD* type, BYTE* data, DWORD* size) {
    if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_HANDLE;
    std::wstring wideName;
    DWORD found = REG_NONE;
    std::vector<BYTE> value;
    const LONG result = Noted(ReadValue(key, nullptr, index, &wideName, &found, &value));
    if (result != ERROR_SUCCESS) return result;
    const std::string narrow = Utf8(wideName);
    if (narrow.size() + 1 > *nameLength) return ERROR_MORE_DATA;
    if (type != nullptr) *type = found;
    const LONG handed = HandOver(value, data, size);
    if (handed != ERROR_SUCCESS) return handed;
    std::memcpy(name, narrow.c_str(), narrow.size() + 1);
    *nameLength = static_cast<DWORD>(narrow.size());
    return ERROR_SUCCESS;
}

LONG RegConnectRegistryA(const char* machine, HKEY key, HKEY* result) {
    if (key != HKEY_LOCAL_MACHINE || result == nullptr) return ERROR_INVALID_HANDLE;
    if (machine == nullptr || *machine == '\0') {
        *result = HKEY_LOCAL_MACHINE;
        return ERROR_SUCCESS;
    }
    if (!RegIsMachineName(machine)) return ERROR_BAD_NETPATH;
    const std::wstring name = L"\\\\" + Wide(machine);
    const LONG connected = Noted(RegConnectRegistryW(name.c_str(), key, result));
    // The program tells a damaged registry from one it cannot reach, and
    // nothing else: a machine not found, refusing or not answering is out
    // of reach alike.
    if (connected == ERROR_SUCCESS || connected == ERROR_BADDB) return connected;
    return ERROR_BAD_NETPATH;
}

bool RegIsMachineName(const char* machine) {
    if (machine == nullptr || *machine == '\0' || *machine == '.') return false;
    for (const char* c = machine; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (!std::isalnum(byte) && byte != '.' && byte != '_' && byte != '-') return false;
    }
    return std::strstr(machine, "..") == nullptr;
}

std::string RegHiveFile(const char* machine) {
    if (machine == nullptr || *machine == '\0') return "HKEY_LOCAL_MACHINE";
    return std::string("\\\\") + machine + "\\HKEY_LOCAL_MACHINE";
}

bool RegUsesHiveFiles() { return false; }

std::string RegGetLastFailure() { return t_lastFailure; }
