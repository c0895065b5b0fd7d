// The directives of an nginx configuration file, as a tree of blocks.
#pragma once

#include <string>
#include <vector>

#include "serverconf/ServerConfig.h"

struct NginxDirective {
    std::string name;
    std::vector<std::string> args;  // quotes removed
    ConfigPlace place;
    bool hasBlock = false;
    std::vector<NginxDirective> block;  // the directives between { and }
};

// The directives of `text`, the file `file`: words separated by blanks, a
// directive ended by ';' or by a block in braces; '#' starts a comment where
// a word could start; quoted words lose their quotes and take \" \' \\ \n
// \t \r as those characters. Throws ConfigFailure naming the line of a brace
// or a quote that does not close, a '}' that closes nothing, or a
// directive without its ';'.
std::vector<NginxDirective> ReadNginxBlocks(const std::string& file, const std::string& text);
