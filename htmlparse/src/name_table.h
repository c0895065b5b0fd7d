// NameTable: a fixed, case-insensitive map from ASCII names to small codes.
//
// The tag and attribute tables are looked up once per tag and attribute of a
// page, so the lookup folds letter case while hashing and compares at most one
// or two candidates; it never allocates.
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
    static std::uint32_t Hash(const char* name, std::size_t length);

    std::vector<Entry> slots_;  // open addressing; empty slots have a null name
    std::uint32_t mask_ = 0;
};

}  // namespace htmlparse

#endif
