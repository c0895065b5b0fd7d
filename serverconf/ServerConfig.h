// The web server's own configuration, read for what the link chooser, the
// feed and a fresh page need: each host's document map, its administrator's
// address and its site address, with the place (file and line) every
// setting was read from.
//
// Two servers are read: Apache 2.4 (as Debian lays it out: apache2.conf,
// Include and IncludeOptional with wildcards, Define and ${VAR} with
// Debian's envvars, <IfModule>, <IfDefine>, <VirtualHost>) and nginx
// (include, http and server blocks, location with root or alias). The kind
// is told from the text of the file named. A rule that maps URLs by a
// pattern (AliasMatch, a regular-expression location) or through request
// variables cannot be listed as a folder; it is kept as an unmapped rule, not
// guessed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Where a setting was read: a file and its line (1-based; 0 for a default
// that holds for the whole file).
struct ConfigPlace {
    std::string file;
    int line = 0;
};

// "FILE:LINE", or "FILE" without a line.
std::string PlaceText(const ConfigPlace& place);

// One URL prefix served from one folder.
struct MappedFolder {
    std::string urlPrefix;  // "/" for the document root
    std::string written;    // the folder as the configuration gives it, variables expanded
    std::string folder;     // the folder as an absolute path
    std::string directive;  // what maps it: "DocumentRoot", "Alias", "root", "location alias"
    ConfigPlace place;
};

// A rule that serves files but cannot be listed as a folder.
struct UnmappedRule {
    std::string pattern;  // the URL pattern or location as written
    std::string reason;   // why it cannot be listed
    ConfigPlace place;
};

// A value and where it was read; an empty value was set nowhere.
struct PlacedValue {
    std::string value;
    ConfigPlace place;
};

// One virtual host (Apache) or server block (nginx), or Apache's main server
// when no virtual host is defined.
struct ServerHost {
    std::vector<std::string> names;     // ServerName then ServerAlias; server_name
    PlacedValue siteUrl;                // "scheme://name[:port]" without a trailing slash
    PlacedValue admin;                  // ServerAdmin; always empty for nginx
    std::vector<MappedFolder> folders;  // the document root first
    std::vector<UnmappedRule> unmapped;
    ConfigPlace place;  // where the host is defined
};

enum class ServerKind { kApache, kNginx };

struct ServerConfig {
    ServerKind kind = ServerKind::kApache;
    std::string file;               // the main file, as named
    std::vector<ServerHost> hosts;  // in configuration order; never empty
    std::size_t defaultHost = 0;    // the host serving requests no name matches
};

// Where relative paths of a configuration are taken from when it does not
// say; the defaults are those Debian's servers are built with.
struct ServerConfigOptions {
    std::string apacheRoot = "/etc/apache2";       // ServerRoot when none is given
    std::string nginxPrefix = "/usr/share/nginx";  // the prefix `root` is relative to
};

// Reads the configuration whose main file is `file` (made absolute against
// the current directory), of the kind its text shows. False, with "FILE:LINE: reason" (or "FILE:
// reason" for a file that cannot be read) in `error`, when a file cannot be read, does not parse,
// or a setting the map needs names an undefined variable.
bool ReadServerConfig(const std::string& file, const ServerConfigOptions& options,
                      ServerConfig* config, std::string* error);

// The host of `config` to use: the one named `site` (a ServerName,
// ServerAlias or server_name) when `site` is not empty; else the one whose
// document root holds `page` (when given and one does); else the default
// host. Null, with the reason in `error`, when no host has the name `site`.
const ServerHost* ChooseServerHost(const ServerConfig& config, const std::string& site,
                                   const std::string& page, std::string* error);

// "Apache" or "nginx".
const char* ServerKindName(ServerKind kind);
