#include "name_table.h"

#include <cstring>

#include "text/ascii.h"

namespace htmlparse {

NameTable::NameTable(const Entry* entries, std::size_t count) {
    std::size_t size = 16;
    while (size < count * 4) size *= 2;
    slots_.assign(size, Entry{nullptr, 0});
    mask_ = static_cast<std::uint32_t>(size - 1);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t slot = Hash(entries[i].name, std::strlen(entries[i].name)) & mask_;
        while (slots_[slot].name != nullptr) slot = (slot + 1) & mask_;
        slots_[slot] = entries[i];
    }
}

int NameTable::Find(const char* name, std::size_t length, int missing) const {
    std::uint32_t slot = Hash(name, length) & mask_;
    while (slots_[slot].name != nullptr) {
        const char* candidate = slots_[slot].name;
        std::size_t i = 0;
        while (i < length && candidate[i] == ascii::ToLower(name[i])) ++i;
        if (i == length && candidate[i] == '\0') return slots_[slot].code;
        slot = (slot + 1) & mask_;
    }
    return missing;
}

// FNV-1a over the lower-cased bytes.
std::uint32_t NameTable::Hash(const char* name, std::size_t length) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(ascii::ToLower(name[i]));
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace htmlparse
