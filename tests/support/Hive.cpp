#include "support/Hive.h"

#include <cstdlib>

ScopedHiveFolder::ScopedHiveFolder() {
    if (const char* previous = std::getenv("TAVREL_REGISTRY_DIR")) m_previous = previous;
    setenv("TAVREL_REGISTRY_DIR", m_folder.path().c_str(), 1);
}

ScopedHiveFolder::~ScopedHiveFolder() {
    if (m_previous) {
        setenv("TAVREL_REGISTRY_DIR", m_previous->c_str(), 1);
    } else {
        unsetenv("TAVREL_REGISTRY_DIR");
    }
}

void ScopedHiveFolder::Write(const std::string& machine, const std::string& text) const {
    WriteFileBytes(m_folder / (machine + ".reg"),
                   "Windows Registry Editor Version 5.00\r\n\r\n" + text);
}

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
