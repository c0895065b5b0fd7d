#include "model/ServerRegistry.h"

#include <vector>

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;

bool ReadLocalServerText(const char* name, DWORD room, std::string* value) {
    value->clear();
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &opened);
    if (result != ERROR_SUCCESS) return result != ERROR_BADDB;
    const ScopedRegKey key(opened);
    std::vector<BYTE> buffer(room, 0);
    DWORD size = room;
    const LONG queried = RegQueryValueExA(key.get(), name, nullptr, nullptr, buffer.data(), &size);
    if (queried == ERROR_BADDB) return false;
    if (queried != ERROR_SUCCESS) return true;
    buffer[room - 1] = 0;
    *value = reinterpret_cast<const char*>(buffer.data());
    return true;
}
