#include "ServerHive.h"

#include "linkchooser/DocMap.h"

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
    if (serverRoot) text += RegString("ServerRoot") + "=" + RegString(*serverRoot) + "\r\n";
    if (values) {
        text += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n";
        for (const auto& [prefix, directory] : *values) {
            text += RegString(prefix) + "=" + RegString(directory) + "\r\n";
        }
    }
    return text;
}

std::vector<MapValueText> ReadResolvedMap() {
    DocMapEntry head;
    head.ReadDocMap();
    std::vector<MapValueText> resolved;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir) break;
        resolved.emplace_back(entry->m_pszUrlPrefix.get(), entry->m_pszResolvedDir.get());
    }
    return resolved;
}
