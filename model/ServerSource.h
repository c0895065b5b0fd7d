// Where this run reads the web server's settings from: the document map, the
// administrator's address and the site address.
//
// In order: the configuration file named on the command line
// (--server-config), else the one the hive value "ServerConfig" names, else
// the hive itself. A run on another machine's hive (-r) reads that hive
// alone. From a configuration, the host is the one named with --site, else
// the one whose document root holds the page of this run, else the default
// host. The configuration is read afresh every time it is looked up, so an
// edit shows in the next Browse.
#pragma once

#include <cstddef>
#include <string>

#include "serverconf/ServerConfig.h"

// What start-up knows of this run. Set once, before any setting is read.
struct ServerChoice {
    std::string configFile;  // --server-config; empty: none named
    std::string site;        // --site; empty: by the page, else the default host
    std::string page;        // the page this run works on; empty: none yet
};
extern ServerChoice g_serverChoice;

enum class ServerSourceKind { kHive, kConfig };

struct ServerSource {
    ServerSourceKind kind = ServerSourceKind::kHive;
    // Where the configuration's name came from: "--server-config" or the
    // hive value; empty for the hive.
    std::string namedBy;
    ServerConfig config;        // read, for kConfig
    std::size_t hostIndex = 0;  // the chosen host of `config`

    const ServerHost& Host() const { return config.hosts[hostIndex]; }
};

// Finds and reads this run's source. False, with "FILE:LINE: reason" (or
// why no host fits --site) in `error`, when the configuration cannot be
// read or the local hive that would name it is damaged (`error` then holds
// the hive's failure).
bool LookUpServerSource(ServerSource* source, std::string* error);

// One line saying which source `source` is, for people reading the map.
std::string DescribeServerSource(const ServerSource& source);
