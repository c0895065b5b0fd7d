// The files of a configuration being read, from the main file to the one
// whose includes are being read now. Including a file that is already on the
// chain is a loop; a configuration of more files than any real server has is
// refused, so no arrangement of includes makes the reading run away.
#pragma once

#include <string>
#include <vector>

#include "serverconf/ServerConfig.h"

class IncludeChain {
  public:
    // More files than this in one configuration are refused.
    static constexpr int kMaxFiles = 4096;

    // A chain holding `mainFile`.
    explicit IncludeChain(const std::string& mainFile);

    // Puts `file`, included at `place`, on the chain. Throws ConfigFailure
    // at `place` when `file` is on it already or too many files were read.
    void Enter(const std::string& file, const ConfigPlace& place);
    // Takes the innermost file off the chain.
    void Leave() { m_files.pop_back(); }

  private:
    std::vector<std::string> m_files;  // resolved paths, outermost first
    int m_read = 1;
};
