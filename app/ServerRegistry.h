// The registry root that the web server's settings are read from.
//
// Start-up sets it once, before any dialog or subcommand runs: this machine's
// HKEY_LOCAL_MACHINE, or the one of the machine named with -r, reached through
// RegConnectRegistryA. The document map reads every key through it.
#pragma once

#include "platform/registry.h"

// HKEY_LOCAL_MACHINE of this machine or of the -r machine. Set once at
// start-up; read by the document map.
extern HKEY g_hkeyServer;
