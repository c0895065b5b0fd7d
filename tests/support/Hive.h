// Gives one test its own registry, and builds the web server's hive text for
// it: a temporary hive folder where the registry is hive files, and on
// Windows a private key standing in for HKEY_LOCAL_MACHINE
// (RegOverridePredefKey), loaded from the same hive texts.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

class ScopedHiveFolder {
  public:
    ScopedHiveFolder();
    ~ScopedHiveFolder();
    ScopedHiveFolder(const ScopedHiveFolder&) = delete;
    ScopedHiveFolder& operator=(const ScopedHiveFolder&) = delete;

    // Writes MACHINE.reg ("local" for this machine) with `text` after the
    // version-5 header line; on Windows also loads the text of "local" into
    // the private key, replacing what an earlier Write loaded.
    void Write(const std::string& machine, const std::string& text) const;
    const TempDir& folder() const { return m_folder; }

  private:
    TempDir m_folder;
    // What the destructor puts back or removes: the earlier
    // TAVREL_REGISTRY_DIR, or on Windows the private key's path under
    // HKEY_CURRENT_USER.
    std::optional<std::string> m_previous;
};

// One DocMap value: the URL prefix and the directory text, both unescaped.
using MapValueText = std::pair<std::string, std::string>;

// Hive text holding "ServerRoot" (left out when absent) and a DocMap key with
// `values` in this order (left out entirely when absent).
std::string ServerHiveText(const std::optional<std::string>& serverRoot,
                           const std::optional<std::vector<MapValueText>>& values);
