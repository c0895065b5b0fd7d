#include "model/ServerRegistry.h"

#include <vector>

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;

std::string LocalRegistryFailure() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key) == ERROR_BADDB) {
        return RegGetLastFailure();
    }
    RegCloseKey(key);
    return {};
}

std::string ReadLocalServerText(const char* name, DWORD room) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> buffer(room, 0);
    DWORD size = room;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, buffer.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return {};
    buffer[room - 1] = 0;
    return reinterpret_cast<const char*>(buffer.data());
}
