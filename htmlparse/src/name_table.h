// NameTable: a fixed, case-insensitive map from ASCII names to small codes.
//
// The tag and attribute tables are looked up once per tag and attribute of a
// page, so the lookup is made cheap: a name of up to eight bytes, nearly
// every name, is read as one 64-bit key in lower case, hashed by one
// multiplication and compared in one step; a longer name is hashed byte by
// byte, and one longer than every entry is turned away at once. It never
// allocates.
#ifndef HTMLPARSE_NAME_TABLE_H
#define HTMLPARSE_NAME_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace htmlparse {

class NameTable {
  public:
    // One name; `name` must be lower case and outlive the table.
    struct Entry {
        const char* name;
        int code;
    };

    // Builds the table; names must be distinct.
    NameTable(const Entry* entries, std::size_t count);

    // The code of `name` (`length` bytes, any letter case), or `missing`.
    int Find(const char* name, std::size_t length, int missing) const;

  private:
    struct Slot {
        const char* name;    // null: empty
        std::size_t length;  // of `name`
        std::uint64_t key;   // names of up to eight bytes: ShortKey
        int code;
    };
    static constexpr std::size_t kLongestName = 32;

    // The lower-case bytes of a name of up to eight bytes, first byte lowest.
    static std::uint64_t ShortKey(const char* name, std::size_t length);
    static std::uint32_t Hash(const char* lower, std::size_t length);
    std::uint32_t SlotOf(std::uint64_t key, const char* lower, std::size_t length) const;

    std::vector<Slot> slots_;  // open addressing
    std::uint32_t mask_ = 0;
    std::size_t longest_ = 0;
};

}  // namespace htmlparse

#endif
