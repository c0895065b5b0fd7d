#include "ServerHive.h"

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
    std::string text = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n";
    if (serverRoot) text += "\"ServerRoot\"=" + RegString(*serverRoot) + "\r\n";
    if (values) {
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n";
        for (const auto& [prefix, directory] : *values) {
            text += RegString(prefix) + "=" + RegString(directory) + "\r\n";
        }
    }
    return text;
}
