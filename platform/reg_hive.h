// A registry hive read from a registry export file (".reg" text).
//
// The file starts with "REGEDIT4" or "Windows Registry Editor Version 5.00"
// and is UTF-8 (with or without byte-order mark) or UTF-16LE with a byte-order
// mark. It lists keys under HKEY_LOCAL_MACHINE as "[HKEY_LOCAL_MACHINE\...]"
// lines, each followed by its values: "name"= or @= (the default value) with
// "string" data (\\ and \" escapes), dword:XXXXXXXX, hex:.. or hex(N):..
// bytes (continued over lines ending in a backslash). Lines starting with ';'
// are comments.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RegValue {
    std::string name;  // as written; "" for the default value
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;  // string data ends with its NUL
};

struct RegKey {
    std::vector<RegValue> values;  // in file order
};

class RegHive {
  public:
    enum class Status { Loaded, Missing, Malformed };

    // Replaces the hive by the file at `path`. A missing or malformed file
    // leaves the hive empty; a malformed one is reported on standard error with
    // the file and line.
    Status Load(const std::string& path);

    // Parses hive text; false with `error` and `line` set when it is malformed.
    bool Parse(const std::string& bytes, std::string* error, int* line);

    // The key at `path` (backslash-separated below HKEY_LOCAL_MACHINE, letter
    // case ignored), or null. Keys that only have sub-keys exist too, empty.
    const RegKey* Find(const std::string& path) const;

    // True when `path` is a listed key or lies above one.
    bool Exists(const std::string& path) const;

  private:
    std::map<std::string, RegKey> m_keys;  // by lower-case path
};

// `path` in lower case with its separators tidied: no leading, trailing or
// doubled backslashes.
std::string NormalizeKeyPath(const std::string& path);
