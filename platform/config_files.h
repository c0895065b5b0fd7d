// Reading a web server's configuration files: whole files with the system's
// reason when they cannot be read, the files a wildcard pattern names, and
// the environment a configuration's variables may come from.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Reads the regular file at `path` whole into `text`. False, with the
// system's reason in `reason`, when it cannot be opened or read or is not a
// regular file (a folder, a pipe: the reason says so).
bool ReadConfigFile(const std::string& path, std::string* text, std::string* reason);

// The paths `pattern` matches (shell wildcards `*`, `?` and `[...]` in any of
// its parts), sorted by byte value. A pattern without wildcards gives itself
// when something exists there and nothing otherwise.
std::vector<std::string> MatchConfigFiles(const std::string& pattern);

// True when `path` names a directory (following links).
bool IsConfigFolder(const std::string& path);

// True when something exists at `path` (following links).
bool ConfigPathExists(const std::string& path);

// The regular files in the folder `folder` and every folder below it, each
// folder's names sorted by byte value, folders' contents where their names
// sort. Names starting with '.' are left out, and folders more than 16
// levels down (a link loop ends there), into `files`. False, with the
// listing cut short, when the folders hold more than `limit` names (files and
// folders): a folder as large as the whole file system is not listed whole.
bool FilesBelow(const std::string& folder, std::size_t limit, std::vector<std::string>* files);

// The value of the environment variable `name`, or nothing when it is unset.
std::optional<std::string> EnvironmentValue(const std::string& name);

// `path` with its symbolic links and dot segments resolved, or nothing when
// it does not exist.
std::optional<std::string> RealPath(const std::string& path);
