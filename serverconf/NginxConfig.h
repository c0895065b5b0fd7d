// Reading an nginx configuration.
//
// `include` takes the files its pattern names, relative to the folder of the
// main file, wherever it stands. Each `server` block of `http` is a host:
// its document root is its `root`, else the one of `http`, else `html`
// below the prefix; `server_name` names it and its first plain name and
// first `listen` give its site address (https when that listen says `ssl`).
// A prefix `location` (plain or ^~) with `alias` maps its path to that
// folder, one with its own `root` maps it to the root joined with the path;
// nested locations inherit root. A location by regular expression or
// exact match, and a root or alias built from request variables, are kept
// as unmapped rules when they serve files. The default host is the first
// server whose listen says `default_server`, else the first one.
#pragma once

#include <string>

#include "serverconf/ServerConfig.h"

// Reads the configuration whose main file `file` holds `text`. Throws
// ConfigFailure naming the file and line of what cannot be read, or the file
// when it defines no server.
ServerConfig ReadNginxConfig(const std::string& file, const std::string& text,
                             const ServerConfigOptions& options);
