// A registry hive read from a registry export file (".reg" text).
//
// The file starts with "REGEDIT4" or "Windows Registry Editor Version 5.00"
// and is UTF-8 (with or without byte-order mark) or UTF-16LE with a byte-order
// mark; lines end in CR LF, LF or CR alone. It lists keys under
// HKEY_LOCAL_MACHINE as "[HKEY_LOCAL_MACHINE\...]" lines, each followed by
// its values: "name"= or @= (the default value) with "string" data (\\ and
// \" escapes), dword:XXXXXXXX, hex:.. or hex(N):.. bytes (continued over lines
// ending in a backslash), or "-", which deletes the value named earlier in
// the file. "[-HKEY_LOCAL_MACHINE\...]" deletes a key with everything below
// it. Lines starting with ';' are comments.
//
// String types written as hex (hex(1), hex(2) and hex(7)) hold UTF-16LE text
// in version-5 files and are kept as UTF-8, like quoted strings; in REGEDIT4
// files their bytes are 8-bit text and are kept as they are.
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
    enum class Status { Loaded, Missing, Unreadable, Malformed };

    // Replaces the hive by the file at `path`. Missing: no file by that name.
    // Unreadable: the name is there but is no regular file or cannot be read
    // (it is never waited for, so a pipe does not block). Malformed: the text
    // does not parse. The hive is empty unless Loaded; Problem() then says why.
    Status Load(const std::string& path);

    // Why the last Load did not load: "FILE: reason" for a file that cannot be
    // read, "FILE:LINE: malformed registry hive: reason" for one that does
    // not parse; "" after a load that succeeded or found no file.
    const std::string& Problem() const { return m_problem; }

    // Parses hive text into the hive; false with `error` and `line` set when
    // it is malformed.
    bool Parse(const std::string& bytes, std::string* error, int* line);

    // The key at `path` (backslash-separated below HKEY_LOCAL_MACHINE, letter
    // case ignored), or null. Keys that only have sub-keys exist too, empty.
    const RegKey* Find(const std::string& path) const;

    // True when `path` is a listed key or lies above one.
    bool Exists(const std::string& path) const;

    // Every listed key by its normalized (lower-case) path, for copying the
    // hive into a registry.
    const std::map<std::string, RegKey>& Keys() const { return m_keys; }

  private:
    // One "[...]" line: makes `*key` the key it names, or deletes that key
    // (and makes `*key` null). False with `error` set when it is malformed.
    bool ParseKeyLine(const std::string& text, RegKey** key, std::string* error);
    // Deletes the key at `below` (a normalized path below the root) and
    // every key under it.
    void DeleteTree(const std::string& below);

    std::map<std::string, RegKey> m_keys;  // by lower-case path
    std::string m_problem;
};

// `path` in lower case with its separators tidied: no leading, trailing or
// doubled backslashes.
std::string NormalizeKeyPath(const std::string& path);
