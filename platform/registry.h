// Registry access: the real registry on Windows, hive files elsewhere.
//
// The program reads the web server's settings through the registry calls of
// Windows, with UTF-8 strings. On Windows they are the system's own calls
// (the wide ones, converted: the names below stand for UTF-8 wrappers of
// RegOpenKeyExW, RegQueryValueExW, RegEnumValueW and RegConnectRegistryW),
// and the types and constants are those of <windows.h>. String data is
// handed over in UTF-8 with its terminating NUL on both systems.
//
// Elsewhere this layer answers those calls from registry export files (".reg" text): the folder
// named by TAVREL_REGISTRY_DIR (default /etc/tavrel-wizard/registry) holds local.reg, this
// machine's HKEY_LOCAL_MACHINE, and NAME.reg for a machine NAME reached through
// RegConnectRegistryA. Keys and values are read only. Key and value names
// match case-insensitively; values enumerate in file order; data is handed
// over as bytes whatever its type (string data with its terminating NUL).
//
// A missing local.reg is an empty registry. A hive file that exists but
// cannot be read or does not parse is a damaged registry: every call that
// needs it returns ERROR_BADDB, and RegGetLastFailure then tells the file,
// the line and the reason, the way the system's last-error text accompanies
// a failed call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>

#define RegOpenKeyExA RegOpenKeyExUtf8
#define RegQueryValueExA RegQueryValueExUtf8
#define RegEnumValueA RegEnumValueUtf8
#define RegConnectRegistryA RegConnectRegistryUtf8
#else
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using REGSAM = DWORD;
struct HKEY__;
using HKEY = HKEY__*;

// Predefined root: this machine's HKEY_LOCAL_MACHINE.
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))

constexpr REGSAM KEY_READ = 0x20019;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_BAD_NETPATH = 53;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADDB = 1009;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Closes a key opened or connected below; predefined roots are ignored.
LONG RegCloseKey(HKEY key);
#endif

// Opens `subKey` (backslash-separated, case-insensitive) below `key`.
// ERROR_FILE_NOT_FOUND when it does not exist; ERROR_BADDB when `key` is this
// machine's root and local.reg is damaged. Close the result with RegCloseKey.
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);

// Queries the value `name` (NULL or "" for the default value) of an open key.
// `*size` holds the room at `data` on entry and the value's size on return
// (string data counts its terminating NUL). A value that does not fit gives
// ERROR_MORE_DATA with the size needed; `data` NULL asks only for the size.
// ERROR_BADDB as for RegOpenKeyExA.
LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size);

// Enumerates the values of an open key by index, in stored order.
// `*nameLength` is the room for the name in characters (NUL included) on entry
// and its length without the NUL on return; `*size` as for RegQueryValueExA.
// ERROR_NO_MORE_ITEMS past the last value; ERROR_MORE_DATA when the name or
// the data does not fit; ERROR_BADDB as for RegOpenKeyExA.
LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved,
                   DWORD* type, BYTE* data, DWORD* size);

// Connects to HKEY_LOCAL_MACHINE of `machine` (NULL or "": this machine).
// On Windows through the network (ERROR_BAD_NETPATH when it cannot be
// reached, a name with anything but letters, digits, '.', '_' or '-'
// included). Elsewhere it succeeds only when the machine's hive exists and parses:
// ERROR_BAD_NETPATH when there is no hive for that name (a name with anything but letters, digits,
// '.', '_' or '-' is an unreachable machine), ERROR_BADDB when it is damaged.
LONG RegConnectRegistryA(const char* machine, HKEY key, HKEY* result);

// Why the last call of this thread that returned ERROR_BADDB failed:
// "FILE: reason" for a hive that cannot be read, "FILE:LINE: malformed
// registry hive: reason" for one that does not parse. Calls that succeed or
// fail otherwise leave it as it was; "" before any such failure.
std::string RegGetLastFailure();

// True when `machine` can name a hive: letters, digits, '.', '_' and '-',
// not beginning with '.'; never a path.
bool RegIsMachineName(const char* machine);

// The hive file of `machine` (NULL or "": this machine's local.reg) in the
// folder named by TAVREL_REGISTRY_DIR, or /etc/tavrel-wizard/registry when
// that is unset or empty; whether or not it exists. On Windows, which has
// no hive files, the registry's own name: "HKEY_LOCAL_MACHINE" or
// "\\MACHINE\HKEY_LOCAL_MACHINE".
std::string RegHiveFile(const char* machine);

// True where the settings are hive files (RegHiveFile names a file), false
// where they are the system's registry (Windows).
bool RegUsesHiveFiles();

// An open key closed when it goes out of scope, also when an exception
// (memory running out) passes.
struct RegKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using ScopedRegKey = std::unique_ptr<HKEY__, RegKeyCloser>;
