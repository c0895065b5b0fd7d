#include "model/ServerRegistry.h"

#include <cstring>
#include <optional>
#include <vector>

#include "model/ServerSource.h"

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;

namespace {

// The value `name` as this run's server configuration sets it: nothing when
// the settings come from the hive or the configuration does not set it, ""
// when the configuration cannot be read.
std::optional<std::string> ConfiguredText(const char* name) {
    const bool admin = std::strcmp(name, "ServerAdmin") == 0;
    if (!admin && std::strcmp(name, "SiteURL") != 0) return std::nullopt;
    ServerSource source;
    std::string error;
    if (!LookUpServerSource(&source, &error)) return std::string();
    if (source.kind != ServerSourceKind::kConfig) return std::nullopt;
    const std::string& value = admin ? source.Host().admin.value : source.Host().siteUrl.value;
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::string ReadLocalServerText(const char* name, DWORD room) {
    if (const std::optional<std::string> configured = ConfiguredText(name)) {
        return configured->substr(0, room - 1);
    }
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
