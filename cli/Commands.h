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

// How a page command treats the page.
struct PageOptions {
    // How long to wait for another program to finish with the page; 0: not at all.
    double waitSeconds = 5;
    // Build the page even when its list holds content that rebuilding drops.
    bool force = false;
};

// Every field of every command is checked to be UTF-8 before the page is
// read; a field that is not is refused with exit code 1, naming its option.
int RunList(const std::string& page, bool json, const PageOptions& options = {});
int RunAdd(const std::string& page, const EntryFields& fields, const PageOptions& options = {});
int RunChange(const std::string& page, long long index, const EntryFields& fields,
              const PageOptions& options = {});
int RunDelete(const std::string& page, long long index, const PageOptions& options = {});
int RunRebuild(const std::string& page, const PageOptions& options = {});

// `machine` empty: this machine's registry; otherwise the -r machine's.
int RunDocmap(const std::string& machine, bool json);
int RunDirs(const std::string& machine, bool json);
int RunFiles(const std::string& directory, bool json);
