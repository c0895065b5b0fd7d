#include "model/ServerRegistry.h"

#include <vector>

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;

bool ReadLocalServerText(const char* name, DWORD room, std::string* value) {
    value->clear();
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return opened != ERROR_BADDB;
    std::vector<BYTE> buffer(room, 0);
    DWORD size = room;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, buffer.data(), &size);
    RegCloseKey(key);
    if (result == ERROR_BADDB) return false;
    if (result != ERROR_SUCCESS) return true;
    buffer[room - 1] = 0;
    *value = reinterpret_cast<const char*>(buffer.data());
    return true;
}
