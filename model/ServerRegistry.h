// The registry root that the web server's settings are read from, and the key
// that holds them.
//
// Start-up sets the root once, before any dialog or subcommand runs: this
// machine's HKEY_LOCAL_MACHINE, or the one of the machine named with -r,
// reached through RegConnectRegistryA. The document map reads every key through
// it; the fresh page reads the administrator's address from this machine.
#pragma once

#include <string>

#include "platform/registry.h"

// HKEY_LOCAL_MACHINE of this machine or of the -r machine. Set once at
// start-up; read by the document map.
extern HKEY g_hkeyServer;

// The web server's key under HKEY_LOCAL_MACHINE: ServerRoot, ServerAdmin.
inline constexpr char kServerKey[] = "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion";
// Its subkey whose values map URL prefixes to directories.
inline constexpr char kDocMapKey[] = "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap";

// Puts the text value `name` of the web server's key on this machine, cut to
// `room` - 1 bytes, into `*value`: "" when the key or the value is missing
// (also in a missing hive). When this run reads a server configuration
// (model/ServerSource.h), "ServerAdmin" and "SiteURL" come from its host
// where it sets them, and from the hive where it does not or where the
// configuration cannot be read. False when this machine's hive cannot be read or parsed;
// RegGetLastFailure then tells the file, the line and the reason.
bool ReadLocalServerText(const char* name, DWORD room, std::string* value);
