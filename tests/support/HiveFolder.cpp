#include <cstdlib>

#include "support/Hive.h"

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
