// The tavrel subcommands that show the web server's document map and tree.
#include <iostream>

#include "cli/Commands.h"

namespace {

int NotAvailable(const char* what) {
    std::cerr << "tavrel: " << what << " is not available in this build.\n";
    return 1;
}

}  // namespace

int RunDocmap(const std::string&, bool) { return NotAvailable("docmap"); }
int RunDirs(const std::string&, bool) { return NotAvailable("dirs"); }
int RunFiles(const std::string&, bool) { return NotAvailable("files"); }
