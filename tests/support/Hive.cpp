#include "support/Hive.h"

namespace {

// A quoted .reg string: backslashes and quotes escaped.
std::string RegString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string ServerHiveText(const std::optional<std::string>& serverRoot,
                           const std::optional<std::vector<MapValueText>>& values) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion";
    std::string text = key + "]\r\n";
    if (serverRoot) text += "\"ServerRoot\"=" + RegString(*serverRoot) + "\r\n";
    if (values) {
        text += key + "\\DocMap]\r\n";
        for (const auto& [prefix, directory] : *values)
            text += RegString(prefix) + "=" + RegString(directory) + "\r\n";
    }
    return text;
}
