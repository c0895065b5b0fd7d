#include "model/ServerRegistry.h"

#include <cstring>
#include <optional>
#include <vector>

#include "model/ServerSource.h"

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;

namespace {

// The value `name` as this run's server configuration sets it: nothing when
// the settings come from the hive, when the configuration does not set it,
// or when the source cannot be found out (a damaged hive or configuration),
// which leaves the hive's own value, or its failure, to tell.
std::optional<std::string> ConfiguredText(const char* name) {
    const bool admin = std::strcmp(name, "ServerAdmin") == 0;
    if (!admin && std::strcmp(name, "SiteURL") != 0) return std::nullopt;
    ServerSource source;
    std::string error;
    if (!LookUpServerSource(&source, &error)) return std::nullopt;
    if (source.kind != ServerSourceKind::kConfig) return std::nullopt;
    const std::string& value = admin ? source.Host().admin.value : source.Host().siteUrl.value;
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace

bool ReadLocalServerText(const char* name, DWORD room, std::string* value) {
    value->clear();
    if (const std::optional<std::string> configured = ConfiguredText(name)) {
        *value = configured->substr(0, room - 1);
        return true;
    }
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
