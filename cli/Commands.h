// The subcommands of the tavrel command, one function each. The command line
// is parsed in main.cpp; each function gets its options checked for form and
// returns the exit code: 0 success, 1 refused or failed (the reason already
// written to standard error), 2 bad usage.
#pragma once

#include <optional>
#include <string>

struct EntryFields {
    std::optional<std::string> date;
    std::optional<std::string> title;
    std::optional<std::string> hyperlink;
    std::optional<std::string> description;
};

int RunList(const std::string& page, bool json);
int RunAdd(const std::string& page, const EntryFields& fields);
int RunChange(const std::string& page, int index, const EntryFields& fields);
int RunDelete(const std::string& page, int index);
int RunRebuild(const std::string& page);

// `machine` empty: this machine's registry; otherwise the -r machine's.
int RunDocmap(const std::string& machine, bool json);
int RunDirs(const std::string& machine, bool json);
int RunFiles(const std::string& directory, bool json);
