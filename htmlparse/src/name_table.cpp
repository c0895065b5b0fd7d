#include "name_table.h"

#include <cstring>

#include "text/ascii.h"

namespace htmlparse {

// Names longer than kLongestName are not taken: no element or attribute
// name is that long.
NameTable::NameTable(const Entry* entries, std::size_t count) {
    std::size_t size = 16;
    while (size < count * 4) size *= 2;
    slots_.assign(size, Slot{nullptr, 0, 0, 0});
    mask_ = static_cast<std::uint32_t>(size - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = std::strlen(entries[i].name);
        if (length > kLongestName) continue;
        if (length > longest_) longest_ = length;
        const char* name = entries[i].name;
        const std::uint64_t key = length <= 8 ? ShortKey(name, length) : 0;
        std::uint32_t slot = SlotOf(key, name, length);
        while (slots_[slot].name != nullptr) slot = (slot + 1) & mask_;
        slots_[slot] = Slot{name, length, key, entries[i].code};
    }
}

int NameTable::Find(const char* name, std::size_t length, int missing) const {
    if (length == 0 || length > longest_) return missing;
    if (length <= 8) {
        const std::uint64_t key = ShortKey(name, length);
        for (std::uint32_t slot = SlotOf(key, nullptr, length); slots_[slot].name != nullptr;
             slot = (slot + 1) & mask_) {
            if (slots_[slot].key == key && slots_[slot].length == length) return slots_[slot].code;
        }
        return missing;
    }
    char lower[kLongestName];
    for (std::size_t i = 0; i < length; ++i) lower[i] = ascii::ToLower(name[i]);
    for (std::uint32_t slot = SlotOf(0, lower, length); slots_[slot].name != nullptr;
         slot = (slot + 1) & mask_) {
        const Slot& candidate = slots_[slot];
        if (candidate.length == length && std::memcmp(candidate.name, lower, length) == 0) {
            return candidate.code;
        }
    }
    return missing;
}

std::uint64_t NameTable::ShortKey(const char* name, std::size_t length) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < length; ++i) {
        key |= std::uint64_t{static_cast<unsigned char>(ascii::ToLower(name[i]))} << (8 * i);
    }
    return key;
}

std::uint32_t NameTable::SlotOf(std::uint64_t key, const char* lower, std::size_t length) const {
    if (length <= 8) {
        return static_cast<std::uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 40) & mask_;
    }
    return Hash(lower, length) & mask_;
}

// FNV-1a over bytes already in lower case.
std::uint32_t NameTable::Hash(const char* lower, std::size_t length) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(lower[i]);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace htmlparse
