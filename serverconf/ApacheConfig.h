// Reading an Apache 2.4 configuration.
//
// Files are read in the server's order: Include and IncludeOptional take
// the file, the folder (every file below it, sorted) or the wildcard pattern
// they name, relative to ServerRoot, where they stand. ${NAME} takes the
// value of Define, else of Debian's `envvars` beside the main file (its plain
// `NAME=value` lines), else of the environment. <IfModule> holds when the
// module is built in or loaded by a LoadModule read before it; <IfDefine>
// when the name was defined by Define (no -D switches are known); <IfFile>
// when the path exists; <IfVersion>, <IfDirective> and <IfSection> are
// taken as holding. The contents of <Directory>, <Location>, <Files>, <If>,
// <Macro> and the like are not read for the map, except a one-argument Alias
// in a <Location>, which maps that location.
//
// A virtual host takes DocumentRoot, ServerName and ServerAdmin from the
// main server when it sets none, and its aliases come before the main
// server's. Without a DocumentRoot anywhere, the document root is the
// server's built-in /var/www/html. The default host is the first virtual
// host, or the main server when there is none.
#pragma once

#include <string>

#include "serverconf/ServerConfig.h"

// Reads the configuration whose main file `file` holds `text`. Throws
// ConfigFailure naming the file and line of what cannot be read: a file
// that cannot be read, a section not closed in its own file, an include
// loop, a variable that is not defined in a setting the map uses (the
// server would go on with the name as written, and serve elsewhere), or a
// main file with neither a section nor a directive Apache has.
ServerConfig ReadApacheConfig(const std::string& file, const std::string& text,
                              const ServerConfigOptions& options);
