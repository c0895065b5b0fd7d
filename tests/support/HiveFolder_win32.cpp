#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/reg_hive.h"
#include "support/Hive.h"

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length));
    return wide;
}

bool IsString(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Stores `value` in `key` as the system would have it: strings in UTF-16.
void SetValue(HKEY key, const RegValue& value) {
    const std::wstring name = Wide(value.name);
    if (IsString(value.type)) {
        const std::string text(value.data.begin(), value.data.end());
        const std::wstring wide = Wide(text);
        RegSetValueExW(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(wide.data()),
                       static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    } else {
        RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }
}

// Makes a fresh, empty key at `path` under HKEY_CURRENT_USER this process's
// HKEY_LOCAL_MACHINE.
void OverrideWithEmptyKey(const std::string& path) {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path).c_str());
    HKEY root = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &root, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, root) != ERROR_SUCCESS) {
        throw std::runtime_error("no private registry key");
    }
    RegCloseKey(root);
}

}  // namespace

ScopedHiveFolder::ScopedHiveFolder() {
    static int count = 0;
    m_previous = "Software\\TavrelTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++count);
    OverrideWithEmptyKey(*m_previous);
}

ScopedHiveFolder::~ScopedHiveFolder() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(*m_previous).c_str());
}

void ScopedHiveFolder::Write(const std::string& machine, const std::string& text) const {
    const std::string file = m_folder / (machine + ".reg");
    WriteFileBytes(file, "Windows Registry Editor Version 5.00\r\n\r\n" + text);
    if (machine != "local") return;
    OverrideWithEmptyKey(*m_previous);
    RegHive hive;
    if (hive.Load(file) != RegHive::Status::Loaded) return;
    for (const auto& [path, key] : hive.Keys()) {
        HKEY opened = nullptr;
        const std::wstring below = Wide(*m_previous + "\\" + path);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, below.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &opened, nullptr) != ERROR_SUCCESS) {
            continue;
        }
        for (const RegValue& value : key.values) SetValue(opened, value);
        RegCloseKey(opened);
    }
}
