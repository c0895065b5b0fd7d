#include "model/ServerSource.h"

#include <vector>

#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "platform/registry.h"

ServerChoice g_serverChoice;

namespace {

constexpr char kServerConfigValue[] = "ServerConfig";

// The hive value naming the configuration, "" when there is none.
// ERROR_BADDB when the local hive is damaged.
LONG ReadConfigValue(std::string* file) {
    file->clear();
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return opened == ERROR_BADDB ? opened : ERROR_SUCCESS;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, kServerConfigValue, nullptr, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS && size > 0) {
        std::vector<BYTE> data(size + 1, 0);
        result = RegQueryValueExA(key, kServerConfigValue, nullptr, nullptr, data.data(), &size);
        if (result == ERROR_SUCCESS) *file = reinterpret_cast<const char*>(data.data());
    }
    RegCloseKey(key);
    return result == ERROR_BADDB ? result : ERROR_SUCCESS;
}

}  // namespace

bool LookUpServerSource(ServerSource* source, std::string* error) {
    *source = ServerSource{};
    if (g_hkeyServer != HKEY_LOCAL_MACHINE) return true;  // -r: that machine's hive
    std::string file = g_serverChoice.configFile;
    source->namedBy = kSourceByOption;
    if (file.empty()) {
        if (ReadConfigValue(&file) == ERROR_BADDB) {
            *error = RegGetLastFailure();
            return false;
        }
        source->namedBy = kSourceByHiveValue;
    }
    if (file.empty()) {
        source->namedBy.clear();
        return true;
    }
    source->kind = ServerSourceKind::kConfig;
    if (!ReadServerConfig(file, ServerConfigOptions{}, &source->config, error)) return false;
    const ServerHost* host =
        ChooseServerHost(source->config, g_serverChoice.site, g_serverChoice.page, error);
    if (host == nullptr) return false;
    source->hostIndex = static_cast<std::size_t>(host - source->config.hosts.data());
    return true;
}

std::string DescribeServerSource(const ServerSource& source) {
    if (source.kind == ServerSourceKind::kHive) {
        return g_hkeyServer == HKEY_LOCAL_MACHINE ? kSourceLocalHive : kSourceRemoteHive;
    }
    const ServerHost& host = source.Host();
    std::string text = std::string(ServerKindName(source.config.kind)) + kSourceConfigOf +
                       source.config.file + " (" + source.namedBy + ")" + kSourceHost;
    text += host.names.empty() ? std::string(kSourceUnnamedHost) : host.names.front();
    if (host.place.line > 0) text += " (" + PlaceText(host.place) + ")";
    return text;
}
